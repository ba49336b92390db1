#include "RandomSession.h"

#include "platform/BevelButton.h"
#include "platform/Canvas.h"

#include <QDebug>

QString RandomSession::Run(long long count) {
    for (long long n = -1; n < count; ++n) {
        QString problem = n < 0 ? QString() : Act(n);
        problem = problem.isEmpty() ? Check(n, n == count - 1) : problem;
        if (!problem.isEmpty())
            return QStringLiteral("#%1: %2\nlast actions:\n  %3").arg(n).arg(problem, m_done.join("\n  "));
    }
    return {};
}

void RandomSession::Do(const QString& what, const std::function<void()>& action) {
    m_done = (m_done << what).mid(std::max(int(m_done.size()) - 19, 0));
    if (m_trace)
        qInfo().noquote() << what;
    action();
}

QString RandomSession::StalePicture() {
    const QImage shown = w.canMain->Buffer().copy();
    w.btnViewGrid->click();
    w.btnViewGrid->click();
    return shown == w.canMain->Buffer() ? QString() : QStringLiteral("a stale map picture");
}
