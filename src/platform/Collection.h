#pragma once

#include <deque>

// A work list on the heap that grows and shrinks at either end.
template <class T> using Collection = std::deque<T>;
