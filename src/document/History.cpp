#include "document/History.h"

void History::Push(std::unique_ptr<HistoryStep> step) {
    const bool wasClean = IsClean();
    m_steps.erase(m_steps.begin() + m_index, m_steps.end());
    // The saved state was among the steps just dropped: no undo or redo leads back to it now.
    if (m_cleanIndex > m_index)
        m_cleanIndex = -1;
    m_steps.push_back(std::move(step));
    ++m_index;
    Changed(wasClean);
}

QString History::UndoText() const {
    return CanUndo() ? m_steps[static_cast<std::size_t>(m_index - 1)]->text() : QString();
}

QString History::RedoText() const {
    return CanRedo() ? m_steps[static_cast<std::size_t>(m_index)]->text() : QString();
}

void History::Undo() {
    if (!CanUndo())
        return;
    const bool wasClean = IsClean();
    --m_index;
    m_steps[static_cast<std::size_t>(m_index)]->undo();
    Changed(wasClean);
}

void History::Redo() {
    if (!CanRedo())
        return;
    const bool wasClean = IsClean();
    m_steps[static_cast<std::size_t>(m_index)]->redo();
    ++m_index;
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
    Changed(wasClean);
}

void History::Changed(bool wasClean) {
    emit changed();
    if (wasClean != IsClean())
        emit cleanChanged(IsClean());
}
