#include "tools/FillProgress.h"

FillProgress::FillProgress(Dialogs& dialogs, QWidget* parent, qint64 reachable) : m_reachable(reachable) {
    if (reachable >= kLargeFill)
        m_work = dialogs.StartWork(parent, QStringLiteral("Filling"));
}

void FillProgress::Report() {
    if (!m_work->Update(std::min(m_done, m_reachable), m_reachable))
        throw WorkCancelled();
}
