#pragma once

#include "platform/FolderItem.h"

#include <QString>
#include <QWidget>

// What the open dialog is asked to show.
struct OpenDialogRequest {
    QString Title;
    QString Filter;
    QString ActionButtonCaption;
};

// The modal dialogs the editor shows. The window talks only to this interface, so a test can answer the
// dialogs itself and never blocks on a modal window.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The chosen file, or a null item when the user cancels.
    virtual FolderItem ShowOpenDialog(QWidget* parent, const OpenDialogRequest& request) = 0;
    // A modal message with one button.
    virtual void MsgBox(QWidget* parent, const QString& text) = 0;
};

// The real dialogs, shown by Qt.
class QtDialogs : public Dialogs {
public:
    FolderItem ShowOpenDialog(QWidget* parent, const OpenDialogRequest& request) override;
    void MsgBox(QWidget* parent, const QString& text) override;
};
