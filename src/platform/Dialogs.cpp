#include "platform/Dialogs.h"

#include "platform/PropertiesDialog.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QMenu>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProgressDialog>
#include <QPushButton>

namespace {

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
    QMessageBox box(parent);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

int QtDialogs::Ask(QWidget* parent, const Question& question) {
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setTextFormat(Qt::PlainText);
    box.setText(question.Text);
    box.setInformativeText(question.Details);
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

namespace {
class QtWorkDialog : public WorkDialog {
public:
    QtWorkDialog(QWidget* parent, const QString& label)
        : m_dialog(label, QStringLiteral("Cancel"), 0, kSteps, parent) {
        m_dialog.setWindowModality(Qt::WindowModal);
        // Short work shows no dialog at all.
        m_dialog.setMinimumDuration(700);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }
    bool Update(qint64 done, qint64 total) override {
        const int step = total > 0 ? int(std::min<qint64>(kSteps, done * kSteps / total)) : 0;
        // A modal progress dialog lets the window repaint and the Cancel button work while it is updated.
        if (step != m_dialog.value())
            m_dialog.setValue(step);
        return !m_dialog.wasCanceled();
    }

private:
    static constexpr int kSteps = 1000;
    QProgressDialog m_dialog;
};
} // namespace

std::unique_ptr<WorkDialog> QtDialogs::StartWork(QWidget* parent, const QString& label) {
    return std::make_unique<QtWorkDialog>(parent, label);
}

std::optional<PropertiesAnswer> QtDialogs::EditProperties(QWidget* parent, const PropertiesRequest& request) {
    PropertiesDialog dialog(request, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Answer();
}

int QtDialogs::ShowMenu(QWidget* parent, QPoint globalAt, const std::vector<MenuChoice>& items) {
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
