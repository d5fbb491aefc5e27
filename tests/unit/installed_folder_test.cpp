// The lookup of an earlier installation: the registered open command cut at
// its last backslash, and the 512-byte limit of the read.
#include <gtest/gtest.h>

#include <memory>

#include "app/installed_folder.h"
#include "common/names.h"
#include "support/scratch.h"

namespace {

struct HeapText {
    void operator()(wchar_t* text) const { HeapFree(GetProcessHeap(), 0, text); }
};
using LookupResult = std::unique_ptr<wchar_t, HeapText>;

TEST(InstalledFolder, NothingRegisteredGivesNothing)
{
    ScratchRegistry registry;
    EXPECT_EQ(nullptr, LookupResult(GetInstalledFolder()).get());
}

TEST(InstalledFolder, CutsTheCommandAtItsLastBackslash)
{
    // 255 units and the terminator fill exactly the 512 bytes offered.
    const std::wstring longest = L"\"C:\\" + std::wstring(255 - 4 - 11, L'x') + L"\\halvex.exe";
    ASSERT_EQ(255u, longest.size());
    struct {
        const char* name;
        std::wstring command;
        bool found;
        std::wstring folder;
    } cases[] = {
        {"a registration of this program",
         L"\"D:\\Apps\\Corvane\\halvex.exe\" --single-argument %1", true, L"\"D:\\Apps\\Corvane"},
        {"the drive root", L"\"C:\\\\halvex.exe\" --single-argument %1", true, L"\"C:\\"},
        {"no backslash at all", L"halvex.exe", true, L"halvex.exe"},
        {"exactly 512 bytes", longest, true, longest.substr(0, longest.find_last_of(L'\\'))},
        {"514 bytes", longest + L"x", false, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchRegistry registry;
        RegisterOpenCommand(c.command);
        LookupResult folder(GetInstalledFolder());
        ASSERT_EQ(c.found, folder != nullptr);
        if (c.found)
            EXPECT_EQ(c.folder, folder.get());
    }
}

}  // namespace
