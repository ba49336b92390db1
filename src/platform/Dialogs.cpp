#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QMessageBox>
#include <QMimeDatabase>

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
    QFileDialog dialog(parent, request.Title, QString(), request.Filter);
    dialog.setIconProvider(&icons);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setLabelText(QFileDialog::Accept, request.ActionButtonCaption);
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
