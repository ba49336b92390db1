#include "document/History.h"

#include <algorithm>

#include <unistd.h>

std::size_t History::DefaultMemoryBound() {
    constexpr std::size_t kMost = std::size_t(2) << 30;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return kMost;
    return std::min(kMost, static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize) / 4);
}

History::History() : m_bound(DefaultMemoryBound()) {}

void History::SetMemoryBound(std::size_t bytes) {
    m_bound = bytes;
    const bool wasClean = IsClean();
    KeepWithinBound();
    Changed(wasClean);
}

void History::Push(std::unique_ptr<HistoryStep> step) {
    const bool wasClean = IsClean();
    m_steps.erase(m_steps.begin() + m_index, m_steps.end());
    // The saved state was among the steps just dropped: no undo or redo leads back to it now.
    if (m_cleanIndex > m_index)
        m_cleanIndex = -1;
    if (step->Bytes() > m_bound) {
        // Done, but too large to keep: nothing before it can be undone either, since undoing an earlier step
        // over its change would make a map that never was.
        m_tooLarge = step->text();
        m_steps.clear();
        m_index = 0;
        m_cleanIndex = -1;
        m_bytes = 0;
        Changed(wasClean);
        return;
    }
    m_steps.push_back(std::move(step));
    ++m_index;
    Recount();
    KeepWithinBound();
    Changed(wasClean);
}

QString History::UndoText() const {
    return CanUndo() ? m_steps[static_cast<std::size_t>(m_index - 1)]->text() : QString();
}

void History::Undo() {
    if (!CanUndo())
        return;
    const bool wasClean = IsClean();
    // The index moves once the step is taken back: a step that fails part way leaves the history where it
    // was.
    m_steps[static_cast<std::size_t>(m_index - 1)]->undo();
    --m_index;
    Recount();
    KeepWithinBound();
    Changed(wasClean);
}

void History::Redo() {
    if (!CanRedo())
        return;
    const bool wasClean = IsClean();
    m_steps[static_cast<std::size_t>(m_index)]->redo();
    ++m_index;
    Recount();
    KeepWithinBound();
    Changed(wasClean);
}

void History::SetClean() {
    const bool wasClean = IsClean();
    m_cleanIndex = m_index;
    Changed(wasClean);
}

void History::Clear() {
    const bool wasClean = IsClean();
    m_steps.clear();
    m_index = 0;
    m_cleanIndex = 0;
    m_bytes = 0;
    Changed(wasClean);
}

void History::MarkUnsaved() {
    const bool wasClean = IsClean();
    m_cleanIndex = -1;
    Changed(wasClean);
}

void History::Recount() {
    m_bytes = 0;
    for (const auto& step : m_steps)
        m_bytes += step->Bytes();
}

void History::KeepWithinBound() {
    // The newest done step and the next one to redo stay whatever they hold: they are what a user reaches
    // for first.
    while (m_bytes > m_bound) {
        std::size_t drop;
        if (m_index >= 2) {
            // The oldest done step: the map can never go back past it again.
            drop = 0;
            --m_index;
            m_cleanIndex = m_cleanIndex > 0 ? m_cleanIndex - 1 : -1;
        } else if (m_steps.size() > static_cast<std::size_t>(m_index) + 1) {
            drop = m_steps.size() - 1;
            if (m_cleanIndex > static_cast<int>(drop))
                m_cleanIndex = -1;
        } else {
            break;
        }
        m_bytes -= m_steps[drop]->Bytes();
        m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(drop));
    }
}

void History::Changed(bool wasClean) {
    emit changed();
    if (wasClean != IsClean())
        emit cleanChanged(IsClean());
}
