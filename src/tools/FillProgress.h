#pragma once

#include "platform/CommandGuard.h"
#include "platform/Dialogs.h"

#include <QWidget>
#include <memory>

// How far a fill is, told to a work dialog that shows if the fill lasts (QtDialogs: after most of a second),
// counted in cells written against the cells the fill could reach at most. Only fills that could reach
// kLargeFill cells open a dialog at all.
class FillProgress {
public:
    static constexpr qint64 kLargeFill = qint64{1} << 20;

    FillProgress(Dialogs& dialogs, QWidget* parent, qint64 reachable);
    // cells more written. Throws WorkCancelled once the user has cancelled.
    void Written(qint64 cells = 1) {
        if (!m_work)
            return;
        const qint64 before = m_done / kBatch;
        m_done += cells;
        if (m_done / kBatch != before)
            Report();
    }

private:
    // Cells between two reports: few enough reports to cost nothing, often enough to keep the window alive.
    static constexpr qint64 kBatch = qint64{1} << 16;
    void Report();

    std::unique_ptr<WorkDialog> m_work;
    qint64 m_reachable;
    qint64 m_done = 0;
};
