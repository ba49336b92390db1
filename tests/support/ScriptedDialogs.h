#pragma once

#include "platform/Dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>

// Dialogs a test answers itself: the open dialog returns prepared files (a null item once they run out, as
// if the user cancelled) and message boxes are recorded instead of shown. beforeAnswer, when set, runs as
// the open dialog answers: what happens to the chosen file while the dialog closes.
class ScriptedDialogs : public Dialogs {
public:
    FolderItem ShowOpenDialog(QWidget*, const OpenDialogRequest& request) override {
        requests.push_back(request);
        if (answers.empty())
            return FolderItem();
        FolderItem answer = answers.front();
        answers.pop_front();
        if (beforeAnswer)
            beforeAnswer(answer);
        return answer;
    }
    void MsgBox(QWidget*, const QString& text) override { messages.append(text); }

    std::deque<FolderItem> answers;
    std::function<void(const FolderItem&)> beforeAnswer;
    std::vector<OpenDialogRequest> requests;
    QStringList messages;
};
