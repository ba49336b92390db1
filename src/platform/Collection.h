#pragma once

#include <deque>

// A first-in first-out work list on the heap: items are added at the end and taken from the front.
template <class T> using Collection = std::deque<T>;
