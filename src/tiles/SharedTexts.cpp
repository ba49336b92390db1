#include "tiles/SharedTexts.h"

#include <deque>
#include <utility>

namespace SharedTexts {
namespace {

struct Entry {
    CellTexts texts;
    std::uint32_t users = 0;
    // While free: the handle of the next free entry, kNone at the end of the list.
    Handle nextFree = kNone;
};

struct Table {
    // A deque grows without moving its entries, so a text read from one stays put while others are added.
    std::deque<Entry> entries;
    Handle freeHead = kNone;
    std::size_t live = 0;
};
// One table for all cells, as the pool is one for all of them.
Table g_table;

const CellTexts kEmpty;

Entry& At(Handle handle) {
    return g_table.entries[handle - 1];
}

Handle NewEntry(CellTexts&& texts) {
    Handle handle = g_table.freeHead;
    if (handle != kNone) {
        g_table.freeHead = At(handle).nextFree;
    } else {
        g_table.entries.emplace_back();
        handle = static_cast<Handle>(g_table.entries.size());
    }
    Entry& entry = At(handle);
    entry.texts = std::move(texts);
    entry.users = 1;
    entry.nextFree = kNone;
    ++g_table.live;
    return handle;
}

void Free(Handle handle) noexcept {
    Entry& entry = At(handle);
    entry.texts = CellTexts();
    entry.users = 0;
    entry.nextFree = g_table.freeHead;
    g_table.freeHead = handle;
    // With no texts left anywhere, the table gives back all it took (after a large map with many texts).
    if (--g_table.live == 0) {
        g_table.entries.clear();
        g_table.entries.shrink_to_fit();
        g_table.freeHead = kNone;
    }
}

} // namespace

const CellTexts& Get(Handle handle) noexcept {
    return handle == kNone ? kEmpty : At(handle).texts;
}

void Retain(Handle handle) noexcept {
    if (handle != kNone)
        ++At(handle).users;
}

void Release(Handle handle) noexcept {
    if (handle != kNone && --At(handle).users == 0)
        Free(handle);
}

Handle WithText(Handle handle, Which which, const QString& value) {
    const auto text = [which](CellTexts& texts) -> QString& {
        return which == Which::Custom1 ? texts.custom1 : texts.custom2;
    };
    if (handle != kNone && At(handle).users == 1) {
        CellTexts& texts = At(handle).texts;
        text(texts) = value;
        if (!texts.Empty())
            return handle;
        Free(handle);
        return kNone;
    }
    // value may be a text of the shared entry itself: it is copied before the entry is let go.
    CellTexts texts = Get(handle);
    text(texts) = value;
    if (texts.Empty()) {
        Release(handle);
        return kNone;
    }
    const Handle fresh = NewEntry(std::move(texts));
    Release(handle);
    return fresh;
}

std::size_t EntryCount() noexcept {
    return g_table.live;
}

std::uint32_t Users(Handle handle) noexcept {
    return handle == kNone ? 0 : At(handle).users;
}

} // namespace SharedTexts
