#pragma once

#include "platform/Dialogs.h"

#include <QApplication>
#include <QCursor>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

// Dialogs a test answers itself, each from its queue of prepared answers; once a queue runs out, the dialog
// is cancelled (open and save dialogs: a null item; questions: the Escape button; properties: Cancel; menus:
// nothing chosen). Message boxes, questions and context menus are recorded instead of shown.
class ScriptedDialogs : public Dialogs {
public:
    FolderItem ShowOpenDialog(QWidget*, const OpenDialogRequest& request) override {
        requests.push_back(request);
        return Next(answers);
    }
    FolderItem ShowSaveDialog(QWidget*, const SaveDialogRequest& request) override {
        saveRequests.push_back(request);
        return Next(saveAnswers);
    }
    void MsgBox(QWidget*, const QString& text) override {
        NoteBusy(text);
        messages.append(text);
    }
    int Ask(QWidget*, const Question& question) override {
        NoteBusy(question.Text);
        questions.append(question.Text);
        const QString answer = Next(replies);
        // A box told of no default button makes its accept button, always the first here, the default.
        if (answer == QStringLiteral("Return"))
            return question.Default >= 0 && question.Default < int(question.Buttons.size()) ? question.Default
                                                                                            : 0;
        for (std::size_t i = 0; i < question.Buttons.size(); ++i)
            if (question.Buttons[i].Text == answer)
                return int(i);
        return question.Escape;
    }
    std::unique_ptr<WorkDialog> StartWork(QWidget*, const QString&) override {
        return std::make_unique<Work>(*this);
    }

    std::optional<PropertiesAnswer> EditProperties(QWidget*, const PropertiesRequest& request) override {
        propertyRequests.push_back(request);
        const auto edit = Next(propertyEdits);
        return edit ? edit(request) : std::nullopt;
    }
    int ShowMenu(QWidget*, QPoint, const std::vector<MenuChoice>& items) override {
        QStringList shown;
        for (const MenuChoice& item : items)
            shown << (item.Enabled ? item.Text : item.Text + QStringLiteral(" (disabled)"));
        menus.push_back(shown);
        const QString reply = Next(menuReplies);
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].Text == reply && items[i].Enabled)
                return int(i);
        return -1;
    }

    std::deque<FolderItem> answers;
    std::vector<OpenDialogRequest> requests;
    std::deque<FolderItem> saveAnswers;
    std::vector<SaveDialogRequest> saveRequests;
    // Button texts, one per question to come ("Return": the default button).
    std::deque<QString> replies;
    QStringList questions;
    QStringList messages;
    // One per properties dialog to come: what the user makes of the values shown (nothing: Cancel).
    std::deque<std::function<std::optional<PropertiesAnswer>(const PropertiesRequest&)>> propertyEdits;
    std::vector<PropertiesRequest> propertyRequests;
    // Item texts, one per context menu to come (one disabled or missing: nothing chosen); and the menus
    // shown, a disabled item with " (disabled)" after its text.
    std::deque<QString> menuReplies;
    std::vector<QStringList> menus;
    // The work is cancelled at this many updates of its progress (never when negative).
    long long cancelWorkAfter = -1;
    // Called at every update of a work's progress, to look at the window while the work goes on.
    std::function<void()> whileWorking;
    // Messages and questions that came up under the busy cursor, where the user could not tell they wait.
    QStringList underBusyCursor;

private:
    void NoteBusy(const QString& text) {
        if (const QCursor* cursor = QApplication::overrideCursor();
            cursor && cursor->shape() == Qt::WaitCursor)
            underBusyCursor.append(text);
    }
    struct Work : WorkDialog {
        explicit Work(ScriptedDialogs& owner) : owner(owner) {}
        bool Update(qint64, qint64) override {
            if (owner.whileWorking)
                owner.whileWorking();
            return owner.cancelWorkAfter < 0 || updates++ < owner.cancelWorkAfter;
        }
        ScriptedDialogs& owner;
        long long updates = 0;
    };
    // The next prepared answer, or an empty one once they run out.
    template <class T> static T Next(std::deque<T>& queue) {
        if (queue.empty())
            return T();
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};
