// Bounded copy and append of UTF-16 text into fixed buffers.
#pragma once

#include <stddef.h>

// Outcome codes, the same values as the Windows HRESULTs they stand for.
const long kBoundedOk = 0;
const long kBoundedTruncated = (long)0x8007007AL;      // insufficient buffer
const long kBoundedInvalidParameter = (long)0x80070057L;

// Copies source into destination (capacity in UTF-16 units, terminator
// included). A text that does not fit is cut after capacity - 1 units.
long CopyBounded(wchar_t* destination, size_t capacity, const wchar_t* source);

// Appends source to the text in destination. Does nothing when the
// destination holds no terminator within its capacity or the capacity is 0.
long AppendBounded(wchar_t* destination, size_t capacity, const wchar_t* source);
