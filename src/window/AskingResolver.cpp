#include "window/AskingResolver.h"

#include "platform/BusyCursor.h"

#include <QFileInfo>
#include <QMessageBox>

TilesetImageResolver::Answer AskingResolver::Resolve(const TilesetLoadRecord& load, Problem problem,
                                                     QString* located) {
    // Opening shows the wait cursor; a question wants the ordinary pointer.
    const PlainCursor pointer;
    const QString name = QFileInfo(load.absolutePath).fileName();
    Question question;
    question.Text =
        problem == Problem::Missing
            ? QStringLiteral("The tileset image %1 is missing.").arg(name)
            : QStringLiteral("The tileset image %1 is not the image the map was made with.").arg(name);
    question.Details = QStringLiteral("Locate it, or open the map without it: cells showing its tiles keep "
                                      "their records and show empty until the image is back.");
    question.Buttons = {{QStringLiteral("Locate\u2026"), QMessageBox::AcceptRole},
                        {QStringLiteral("Open Without It"), QMessageBox::DestructiveRole},
                        {QStringLiteral("Cancel"), QMessageBox::RejectRole}};
    question.Default = 0;
    question.Escape = 2;
    const int answer = m_dialogs.Ask(m_parent, question);
    if (answer == 1)
        return Answer::GoOn;
    if (answer != 0)
        return Answer::Cancel;
    OpenDialogRequest request;
    request.Title = QStringLiteral("Locate %1").arg(name);
    request.Filter = QStringLiteral("PNG image (*.png)");
    request.ActionButtonCaption = QStringLiteral("Open PNG");
    request.StartAt = m_startAt;
    *located = m_dialogs.ShowOpenDialog(m_parent, request).Path();
    if (!located->isEmpty()) {
        m_startAt = QFileInfo(*located).absolutePath();
        m_chosen(*located);
    }
    // Cancelling the dialog asks again.
    return Answer::Locate;
}
