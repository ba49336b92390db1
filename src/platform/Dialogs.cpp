#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

FolderItem QtDialogs::ShowOpenDialog(QWidget* parent, const OpenDialogRequest& request) {
    QFileDialog dialog(parent, request.Title, QString(), request.Filter);
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
