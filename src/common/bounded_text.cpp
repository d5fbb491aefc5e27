// Bounded copy and append of UTF-16 text into fixed buffers.
#include "common/bounded_text.h"

long CopyBounded(wchar_t* destination, size_t capacity, const wchar_t* source)
{
    if (capacity == 0)
        return kBoundedInvalidParameter;

    size_t i = 0;
    while (i < capacity - 1 && source[i] != L'\0') {
        destination[i] = source[i];
        ++i;
    }
    destination[i] = L'\0';
    return source[i] == L'\0' ? kBoundedOk : kBoundedTruncated;
}

long AppendBounded(wchar_t* destination, size_t capacity, const wchar_t* source)
{
    size_t length = 0;
    while (length < capacity && destination[length] != L'\0')
        ++length;
    if (length == capacity)
        return kBoundedInvalidParameter;   // also covers capacity 0

    return CopyBounded(destination + length, capacity - length, source);
}
