#include "platform/Dialogs.h"

#include "platform/PropertiesDialog.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProgressDialog>
#include <QPushButton>
#include <algorithm>

namespace {

// Long work under way, whose progress dialog shows once the work has run for a while. While the user is
// asked something the work waits for the answer: its dialog goes, so it can neither cover the question nor
// sit modal behind it, and the wait does not count as the work's time.
class QtWorkDialog : public WorkDialog {
public:
    QtWorkDialog(QWidget* parent, const QString& label);
    ~QtWorkDialog() override;
    bool Update(qint64 done, qint64 total) override;
    void Pause();
    void Resume();

private:
    static constexpr int kSteps = 1000;
    // Short work shows no dialog at all.
    static constexpr qint64 kShowAfterMs = 700;
    QWidget* m_parent;
    QString m_label;
    std::unique_ptr<QProgressDialog> m_dialog;
    // The work's own time: what ran before the last pause, and the clock since.
    qint64 m_spentMs = 0;
    QElapsedTimer m_clock;
    bool m_cancelled = false;
};

// The work under way, of every window: any modal dialog pauses all of it.
std::vector<QtWorkDialog*>& WorkUnderWay() {
    static std::vector<QtWorkDialog*> work;
    return work;
}

// Pauses the work under way while a modal dialog is up.
class WorkPaused {
public:
    WorkPaused() {
        for (QtWorkDialog* work : WorkUnderWay())
            work->Pause();
    }
    ~WorkPaused() {
        for (QtWorkDialog* work : WorkUnderWay())
            work->Resume();
    }
    WorkPaused(const WorkPaused&) = delete;
    WorkPaused& operator=(const WorkPaused&) = delete;
};

QtWorkDialog::QtWorkDialog(QWidget* parent, const QString& label) : m_parent(parent), m_label(label) {
    m_clock.start();
    WorkUnderWay().push_back(this);
}

QtWorkDialog::~QtWorkDialog() {
    std::erase(WorkUnderWay(), this);
}

bool QtWorkDialog::Update(qint64 done, qint64 total) {
    const int step = total > 0 ? int(std::min<qint64>(kSteps, done * kSteps / total)) : 0;
    if (!m_dialog && !m_cancelled && m_clock.isValid() && m_spentMs + m_clock.elapsed() >= kShowAfterMs) {
        m_dialog = std::make_unique<QProgressDialog>(m_parent);
        // The label names a file: shown as it is, never read as markup.
        auto* label = new QLabel(m_dialog.get());
        label->setTextFormat(Qt::PlainText);
        label->setText(m_label);
        m_dialog->setLabel(label);
        m_dialog->setCancelButtonText(QStringLiteral("Cancel"));
        m_dialog->setRange(0, kSteps);
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->show();
    }
    // A modal progress dialog lets the window repaint and the Cancel button work while it is updated.
    if (m_dialog && step != m_dialog->value())
        m_dialog->setValue(step);
    if (m_dialog && m_dialog->wasCanceled())
        m_cancelled = true;
    return !m_cancelled;
}

void QtWorkDialog::Pause() {
    if (m_clock.isValid())
        m_spentMs += m_clock.elapsed();
    m_clock.invalidate();
    if (m_dialog && m_dialog->wasCanceled())
        m_cancelled = true;
    m_dialog.reset();
}

void QtWorkDialog::Resume() {
    m_clock.start();
}

// What a message box shows below its text: plain text too, as the main text is.
void PlainDetails(QMessageBox& box, const QString& details) {
    box.setInformativeText(details);
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        label->setTextFormat(Qt::PlainText);
}

// Tells a listed file's type and icon from its name alone. Qt's own provider opens each file to look at
// its content, on the user-interface thread; a FIFO swapped in under a listed name would hold that open for
// good, and the dialog with it.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override {
        if (info.isRoot())
            return icon(Drive);
        if (info.isDir())
            return icon(Folder);
        const QIcon themed = QIcon::fromTheme(MimeType(info).iconName());
        return themed.isNull() ? icon(File) : themed;
    }
    QString type(const QFileInfo& info) const override {
        if (!info.isFile())
            return QFileIconProvider::type(info);
        const QMimeType mime = MimeType(info);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    QMimeType MimeType(const QFileInfo& info) const {
        return m_types.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    }
    QMimeDatabase m_types;
};

} // namespace

FolderItem QtDialogs::ShowOpenDialog(QWidget* parent, const OpenDialogRequest& request) {
    const WorkPaused paused;
    NameOnlyIconProvider icons;
    QFileDialog dialog(parent, request.Title, request.StartAt, request.Filter);
    dialog.setIconProvider(&icons);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setLabelText(QFileDialog::Accept, request.ActionButtonCaption);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return FolderItem();
    return FolderItem(dialog.selectedFiles().constFirst());
}

FolderItem QtDialogs::ShowSaveDialog(QWidget* parent, const SaveDialogRequest& request) {
    const WorkPaused paused;
    QFileDialog dialog(parent, request.Title, request.StartAt, request.Filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    // A name typed without a suffix takes the suffix of the file type chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const qsizetype star = filter.indexOf(QLatin1String("*."));
        if (star >= 0)
            dialog.setDefaultSuffix(
                filter.mid(star + 2).section(QLatin1Char(' '), 0, 0).remove(QLatin1Char(')')));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return FolderItem();
    return FolderItem(dialog.selectedFiles().constFirst());
}

void QtDialogs::MsgBox(QWidget* parent, const QString& text) {
    const WorkPaused paused;
    QMessageBox box(parent);
    // Messages name files and quote them: never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

int QtDialogs::Ask(QWidget* parent, const Question& question) {
    const WorkPaused paused;
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setTextFormat(Qt::PlainText);
    box.setText(question.Text);
    PlainDetails(box, question.Details);
    std::vector<QAbstractButton*> buttons;
    for (const Question::Button& b : question.Buttons)
        buttons.push_back(box.addButton(b.Text, b.Role));
    if (question.Default >= 0 && question.Default < int(buttons.size()))
        box.setDefaultButton(static_cast<QPushButton*>(buttons[std::size_t(question.Default)]));
    if (question.Escape >= 0 && question.Escape < int(buttons.size()))
        box.setEscapeButton(buttons[std::size_t(question.Escape)]);
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return int(i);
    return question.Escape;
}

std::unique_ptr<WorkDialog> QtDialogs::StartWork(QWidget* parent, const QString& label) {
    return std::make_unique<QtWorkDialog>(parent, label);
}

std::optional<PropertiesAnswer> QtDialogs::EditProperties(QWidget* parent, const PropertiesRequest& request) {
    const WorkPaused paused;
    PropertiesDialog dialog(request, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Answer();
}

int QtDialogs::ShowMenu(QWidget* parent, QPoint globalAt, const std::vector<MenuChoice>& items) {
    const WorkPaused paused;
    QMenu menu(parent);
    std::vector<QAction*> actions;
    for (const MenuChoice& item : items) {
        QAction* action = menu.addAction(item.Text);
        action->setEnabled(item.Enabled);
        actions.push_back(action);
    }
    const QAction* chosen = menu.exec(globalAt);
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (chosen && chosen == actions[i])
            return int(i);
    return -1;
}
