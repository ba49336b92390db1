#pragma once

#include "platform/FolderItem.h"
#include "platform/GameValues.h"

#include <QImage>
#include <QMessageBox>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// What the open dialog is asked to show.
struct OpenDialogRequest {
    QString Title;
    QString Filter;
    QString ActionButtonCaption;
    // The folder the dialog starts in; empty leaves it to the dialog.
    QString StartAt;
};

// What the save dialog is asked to show: a file name is completed with DefaultSuffix when it has none.
struct SaveDialogRequest {
    QString Title;
    QString Filter;
    QString DefaultSuffix;
    // The file or folder the dialog starts at.
    QString StartAt;
};

// A question with buttons of its own; Default is what Return chooses, Escape what Escape and the close box
// choose.
struct Question {
    struct Button {
        QString Text;
        QMessageBox::ButtonRole Role = QMessageBox::AcceptRole;
    };
    QString Text;
    QString Details;
    std::vector<Button> Buttons;
    int Default = 0;
    int Escape = 0;
};

// The game properties of a tile or a map cell to edit.
struct PropertiesRequest {
    QString Title;
    // What the values belong to, shown read-only above them: a label and its value each (the tile's number,
    // a cell's position and layer).
    std::vector<std::pair<QString, QString>> Facts;
    // The tile's picture, when it has one.
    QImage Picture;
    GameValues Values;
    // A choice offered below the values, off at first; none when empty.
    QString Option;
};

// What the user accepted: the values, and whether the option was chosen.
struct PropertiesAnswer {
    GameValues Values;
    bool Option = false;
};

// One item of a context menu.
struct MenuChoice {
    QString Text;
    bool Enabled = true;
};

// Long work the user sees progress of and may cancel.
class WorkDialog {
public:
    virtual ~WorkDialog() = default;
    // Reports how far the work is; false once the user has cancelled it.
    virtual bool Update(qint64 done, qint64 total) = 0;
};

// The modal dialogs the editor shows. The window talks only to this interface, so a test can answer the
// dialogs itself and never blocks on a modal window.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The chosen file, or a null item when the user cancels.
    virtual FolderItem ShowOpenDialog(QWidget* parent, const OpenDialogRequest& request) = 0;
    virtual FolderItem ShowSaveDialog(QWidget* parent, const SaveDialogRequest& request) = 0;
    // A modal message with one button.
    virtual void MsgBox(QWidget* parent, const QString& text) = 0;
    // The index of the button chosen.
    virtual int Ask(QWidget* parent, const Question& question) = 0;
    // A progress dialog for work titled label; it shows only if the work lasts.
    virtual std::unique_ptr<WorkDialog> StartWork(QWidget* parent, const QString& label) = 0;
    // The properties dialog; nothing when the user cancels.
    virtual std::optional<PropertiesAnswer> EditProperties(QWidget* parent,
                                                           const PropertiesRequest& request) = 0;
    // A context menu at a point of the screen: the index of the item chosen, or -1 when none was.
    virtual int ShowMenu(QWidget* parent, QPoint globalAt, const std::vector<MenuChoice>& items) = 0;
};

// The real dialogs, shown by Qt.
class QtDialogs : public Dialogs {
public:
    FolderItem ShowOpenDialog(QWidget* parent, const OpenDialogRequest& request) override;
    FolderItem ShowSaveDialog(QWidget* parent, const SaveDialogRequest& request) override;
    void MsgBox(QWidget* parent, const QString& text) override;
    int Ask(QWidget* parent, const Question& question) override;
    std::unique_ptr<WorkDialog> StartWork(QWidget* parent, const QString& label) override;
    std::optional<PropertiesAnswer> EditProperties(QWidget* parent,
                                                   const PropertiesRequest& request) override;
    int ShowMenu(QWidget* parent, QPoint globalAt, const std::vector<MenuChoice>& items) override;
};
