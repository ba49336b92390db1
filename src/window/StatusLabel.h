#pragma once

#include <QLabel>

// The status line: one line of plain text that, when longer than the line, is shown cut at its end with an
// ellipsis, the whole text then being the label's tooltip. text() is always the whole text.
class StatusLabel : public QLabel {
    Q_OBJECT
public:
    explicit StatusLabel(QWidget* parent = nullptr);
    // What the line shows of the text at its present width.
    QString ShownText() const;
    // The tooltip holds the whole text when the line cannot; called after every change of the text.
    void UpdateToolTip();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};
