#pragma once

#include <QObject>
#include <QUndoCommand>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

// One step of the history: a change of the document that can be taken back and made again. Steps are the
// commands Qt's undo framework knows; they are pushed once they are done.
class HistoryStep : public QUndoCommand {
public:
    using QUndoCommand::QUndoCommand;
    // Memory the step keeps: what it holds itself and the cells that only it keeps alive. It changes when
    // the step is undone or redone, as it then holds the other side of its change.
    virtual std::size_t Bytes() const = 0;
};

// The steps a user can undo and redo, and where the document was last saved. It works like QUndoStack but
// takes steps that are already done (an edit writes its cells while the user works, and only its end makes
// it a step), and it keeps its memory within a bound, counted from what the steps hold: the oldest steps go
// first when it is exceeded, and a step that alone exceeds it stays done but cannot be undone.
class History : public QObject {
    Q_OBJECT
public:
    History();

    // The most memory the history may keep: 2 GB or a quarter of the machine's memory, whichever is
    // smaller.
    static std::size_t DefaultMemoryBound();
    void SetMemoryBound(std::size_t bytes);
    std::size_t MemoryBound() const { return m_bound; }
    std::size_t Bytes() const { return m_bytes; }

    // Makes room for one more step, so that pushing a step after making its change cannot fail.
    void Reserve() { m_steps.reserve(static_cast<std::size_t>(m_index) + 1); }
    // Adds a step that has been done; the steps undone before it can no longer be redone.
    void Push(std::unique_ptr<HistoryStep> step);

    bool CanUndo() const { return m_index > 0; }
    bool CanRedo() const { return m_index < static_cast<int>(m_steps.size()); }
    QString UndoText() const;
    void Undo();
    void Redo();

    // Whether the document is as it was when last marked clean (saved, opened or made new).
    bool IsClean() const { return m_cleanIndex == m_index; }
    void SetClean();
    // Forgets every step; the document as it is now is the clean state.
    void Clear();
    // The document as it is now has changes no file holds (a recovered map): it is not clean, and no undo
    // or redo makes it so.
    void MarkUnsaved();

    int Count() const { return static_cast<int>(m_steps.size()); }
    int Index() const { return m_index; }
    // The text of the last step pushed that could not be kept because it alone needed more memory than the
    // bound, once; empty when there was none since the last call.
    QString TakeTooLargeStep() { return std::exchange(m_tooLarge, QString()); }

signals:
    // The steps, the position among them or the clean state changed.
    void changed();
    void cleanChanged(bool clean);

private:
    void Changed(bool wasClean);
    // Drops steps until the memory kept is within the bound: the oldest done steps first, then the steps
    // furthest from being redone. The newest done step and the next one to redo stay.
    void KeepWithinBound();
    void Recount();

    std::vector<std::unique_ptr<HistoryStep>> m_steps;
    // Steps before this index are done, the others undone.
    int m_index = 0;
    // The index at which the document is clean; -1 once that state cannot be reached again.
    int m_cleanIndex = 0;
    std::size_t m_bound;
    std::size_t m_bytes = 0;
    QString m_tooLarge;
};
