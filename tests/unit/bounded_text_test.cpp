// Bounded copy and append: results, cuts and outcome codes.
#include <gtest/gtest.h>

#include <string>

#include "common/bounded_text.h"

namespace {

struct BoundedCase {
    const char* name;
    const wchar_t* initial;   // destination text before an append; null for a copy
    size_t capacity;
    const wchar_t* source;
    const wchar_t* expected;
    long outcome;
};

const BoundedCase kCases[] = {
    {"copy fits", nullptr, 8, L"abc", L"abc", kBoundedOk},
    {"copy fills exactly", nullptr, 4, L"abc", L"abc", kBoundedOk},
    {"copy cut", nullptr, 3, L"abc", L"ab", kBoundedTruncated},
    {"copy into capacity 1", nullptr, 1, L"abc", L"", kBoundedTruncated},
    {"copy empty", nullptr, 1, L"", L"", kBoundedOk},
    {"append fits", L"ab", 8, L"cd", L"abcd", kBoundedOk},
    {"append fills exactly", L"ab", 5, L"cd", L"abcd", kBoundedOk},
    {"append cut", L"ab", 4, L"cd", L"abc", kBoundedTruncated},
    {"append to a full buffer", L"abc", 4, L"d", L"abc", kBoundedTruncated},
    {"append empty", L"ab", 3, L"", L"ab", kBoundedOk},
};

TEST(BoundedText, CopiesAndAppendsWithinCapacity)
{
    for (const BoundedCase& c : kCases) {
        SCOPED_TRACE(c.name);
        wchar_t buffer[16];
        std::fill(buffer, buffer + 16, L'#');
        long outcome;
        if (c.initial == nullptr) {
            outcome = CopyBounded(buffer, c.capacity, c.source);
        } else {
            ASSERT_EQ(kBoundedOk, CopyBounded(buffer, 16, c.initial));
            outcome = AppendBounded(buffer, c.capacity, c.source);
        }
        EXPECT_EQ(c.outcome, outcome);
        EXPECT_EQ(std::wstring(c.expected), std::wstring(buffer));
        // Nothing is written past the capacity.
        EXPECT_EQ(L'#', buffer[c.capacity]);
    }
}

TEST(BoundedText, RefusesAppendWithoutTerminatorOrCapacity)
{
    wchar_t unterminated[4] = {L'a', L'b', L'c', L'd'};
    EXPECT_EQ(kBoundedInvalidParameter, AppendBounded(unterminated, 4, L"x"));
    EXPECT_EQ(L'd', unterminated[3]);

    wchar_t untouched[2] = {L'q', L'\0'};
    EXPECT_EQ(kBoundedInvalidParameter, AppendBounded(untouched, 0, L"x"));
    EXPECT_EQ(L'q', untouched[0]);
}

TEST(BoundedText, OutcomeCodesAreTheWindowsOnes)
{
    EXPECT_EQ(0x8007007AUL, static_cast<unsigned long>(kBoundedTruncated));
    EXPECT_EQ(0x80070057UL, static_cast<unsigned long>(kBoundedInvalidParameter));
}

}  // namespace
