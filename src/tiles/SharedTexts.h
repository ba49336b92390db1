#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

// The two free texts of a cell.
struct CellTexts {
    QString custom1;
    QString custom2;

    bool Empty() const { return custom1.isEmpty() && custom2.isEmpty(); }
};

// The free texts of cell records, shared. A record holds a 4-byte handle to an entry of this table rather
// than the texts, and a record made from another with other numbers but the same texts (a cell given
// properties of its own) shares the other's entry, counted, rather than a copy. Handle 0 stands for both
// texts empty and has no entry. Like the cell pool, the table is the records' storage: one per program, used
// on the user-interface thread only, so nothing is locked.
namespace SharedTexts {

using Handle = std::uint32_t;
inline constexpr Handle kNone = 0;

enum class Which { Custom1, Custom2 };

// The texts of a handle; both empty for kNone. The reference stays valid while the entry has users and is
// not changed in place, as adding entries never moves the others.
const CellTexts& Get(Handle handle) noexcept;
// One more cell shares the entry.
void Retain(Handle handle) noexcept;
// One cell less shares it; the last one's going frees it.
void Release(Handle handle) noexcept;
// The handle for a record's texts, while it is being made, after one of them is set to value: the same
// handle when the record is the entry's only user (changed in place), otherwise a new entry of its own with
// the old one released; kNone when both texts end up empty. Throws std::bad_alloc with handle untouched when
// a new entry cannot be had.
Handle WithText(Handle handle, Which which, const QString& value);

// Entries in use, and the cells sharing one of them.
std::size_t EntryCount() noexcept;
std::uint32_t Users(Handle handle) noexcept;

} // namespace SharedTexts
