#pragma once

#include "platform/Picture.h"

#include <QWidget>

// A small square beside the palette showing the tile that painting uses: its picture fitted inside a thin
// frame, or nothing at all while no tile is selected.
class TileSwatch : public QWidget {
    Q_OBJECT
public:
    explicit TileSwatch(QWidget* parent = nullptr);
    // Shows picture (null: nothing); repaints only when it differs from what is shown.
    void Show(const PicturePtr& picture);
    const PicturePtr& Shown() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PicturePtr m_picture;
    qint64 m_pictureKey = 0;
};
