// The emoji font and the desktop shortcut, in the test prefix's own fonts
// folder and desktop; each test removes what it placed there.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "driver/ui_driver.h"
#include "install/font_and_shortcut.h"
#include "support/scratch.h"

namespace {

// The family of the test font that stands in for NotoEmoji.ttf
// (tests/fixtures/make_test_font.py); no system carries it.
const wchar_t kTestFontFamily[] = L"Corvane Test Emoji";

int CALLBACK MatchFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM found)
{
    if (lstrcmpiW(font->lfFaceName, kTestFontFamily) == 0)
        *reinterpret_cast<bool*>(found) = true;
    return 1;
}

bool TestFontFamilyUsable()
{
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, kTestFontFamily, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, MatchFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

class EmojiFont : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t windows[MAX_PATH];
        ASSERT_NE(0u, GetWindowsDirectoryW(windows, MAX_PATH));
        fonts_ = std::wstring(windows) + L"\\Fonts";
        installed_ = fonts_ + L"\\NotoEmoji.ttf";
        fixture_ = ReadFileBytes(FixturePath(L"NotoEmoji.ttf"));
        ASSERT_FALSE(fixture_.empty()) << "test font fixture missing";
        RemoveInstalledFont();
        ASSERT_FALSE(FileExists(installed_));
        ASSERT_FALSE(TestFontFamilyUsable()) << "the test font is loaded before the test";
    }

    void TearDown() override { RemoveInstalledFont(); }

    void RemoveInstalledFont()
    {
        // Each AddFontResourceW counts; unload until none is left.
        for (int i = 0; i < 10 && RemoveFontResourceW(installed_.c_str()); ++i) {
        }
        DeleteFileW(installed_.c_str());
    }

    void PlaceSource(const std::wstring& folder)
    {
        ASSERT_TRUE(CopyFileW(FixturePath(L"NotoEmoji.ttf").c_str(),
                              (folder + L"\\NotoEmoji.ttf").c_str(), FALSE));
    }

    std::wstring fonts_;
    std::wstring installed_;
    std::string fixture_;
    ScratchFolder package_;
};

TEST_F(EmojiFont, MovesTheFontIntoTheFontsFolderAndLoadsIt)
{
    PlaceSource(package_.path());
    {
        CurrentDirectory inPackage(package_.path());
        InstallEmojiFont();
    }
    EXPECT_FALSE(FileExists(package_ / L"NotoEmoji.ttf"));
    EXPECT_TRUE(fixture_ == ReadFileBytes(installed_)) << "the installed file is not the font";
    EXPECT_TRUE(TestFontFamilyUsable());
}

TEST_F(EmojiFont, SecondRunKeepsTheInstalledFileAndLoadsIt)
{
    PlaceSource(package_.path());
    CurrentDirectory inPackage(package_.path());
    InstallEmojiFont();
    ASSERT_TRUE(FileExists(installed_));
    // As after a restart: the file is there, the font no longer loaded.
    while (RemoveFontResourceW(installed_.c_str())) {
    }
    ASSERT_FALSE(TestFontFamilyUsable());

    // A source that is not the installed font: it must neither replace the
    // installed file nor be what gets loaded.
    WriteTextFile(package_ / L"NotoEmoji.ttf", "not a font");
    InstallEmojiFont();

    EXPECT_EQ("not a font", ReadFileBytes(package_ / L"NotoEmoji.ttf"));
    EXPECT_TRUE(fixture_ == ReadFileBytes(installed_)) << "the installed file is not the font";
    EXPECT_TRUE(TestFontFamilyUsable());
}

TEST_F(EmojiFont, WithoutASourceLeavesTheFontsFolderAlone)
{
    std::vector<std::wstring> before = ListFolder(fonts_);
    {
        CurrentDirectory inPackage(package_.path());
        InstallEmojiFont();
    }
    EXPECT_EQ(before, ListFolder(fonts_));
    EXPECT_FALSE(TestFontFamilyUsable());
}

// The COM state of the calling thread before the call.
enum class ComBefore { None, Apartment, Multithreaded };

// Initialises COM the way the row's thread had it (None: as the program
// does) and undoes it at once; S_OK means the thread had no COM,
// S_FALSE that it had it in that mode.
HRESULT ProbeCom(ComBefore mode)
{
    HRESULT hr = mode == ComBefore::Multithreaded ? CoInitializeEx(nullptr, COINIT_MULTITHREADED)
                                                  : CoInitialize(nullptr);
    if (SUCCEEDED(hr))
        CoUninitialize();
    return hr;
}

struct Shortcut {
    bool loaded = false;
    std::wstring target;
    std::wstring description;
};

// Reads a .lnk the way the shell does, through its shell-link object.
Shortcut ReadShortcut(const std::wstring& path)
{
    Shortcut shortcut;
    HRESULT init = CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkW, reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
                wchar_t text[MAX_PATH] = {};
                shortcut.loaded = SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0));
                shortcut.target = text;
                text[0] = L'\0';
                link->GetDescription(text, MAX_PATH);
                shortcut.description = text;
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return shortcut;
}

class DesktopShortcut : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t desktop[MAX_PATH];
        ASSERT_TRUE(GetShellFolder(CSIDL_DESKTOPDIRECTORY, desktop));
        shortcut_ = std::wstring(desktop) + L"\\Corvane.lnk";
        DeleteFileW(shortcut_.c_str());
    }

    void TearDown() override { DeleteFileW(shortcut_.c_str()); }

    std::wstring shortcut_;
    ScratchFolder installed_;
};

TEST_F(DesktopShortcut, PointsAtTheBrowserWhateverTheThreadsComState)
{
    struct Row {
        const char* name;
        ComBefore before;
        bool earlierFile;   // a file "Corvane.lnk" already on the desktop
        bool saved;         // CoInitialize refuses an MTA thread: nothing is made
    };
    const Row rows[] = {
        {"thread without COM", ComBefore::None, false, true},
        {"apartment thread, earlier file replaced", ComBefore::Apartment, true, true},
        {"multithreaded thread, left alone", ComBefore::Multithreaded, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DeleteFileW(shortcut_.c_str());
        if (row.earlierFile)
            WriteTextFile(shortcut_, "an earlier file");

        // A new thread per row, so that each starts without COM.
        HRESULT before = E_FAIL, stillThere = E_FAIL, goneAfterOwnRelease = E_FAIL;
        std::thread caller([&] {
            if (row.before != ComBefore::None)
                before = row.before == ComBefore::Multithreaded
                             ? CoInitializeEx(nullptr, COINIT_MULTITHREADED)
                             : CoInitialize(nullptr);
            CreateDesktopShortcut(installed_.path().c_str());
            stillThere = ProbeCom(row.before);
            if (row.before != ComBefore::None)
                CoUninitialize();
            goneAfterOwnRelease = ProbeCom(row.before);
        });
        caller.join();

        if (row.before == ComBefore::None) {
            EXPECT_EQ(S_OK, stillThere) << "COM left initialised";
        } else {
            ASSERT_EQ(S_OK, before);
            EXPECT_EQ(S_FALSE, stillThere) << "the thread's own initialisation was undone";
            EXPECT_EQ(S_OK, goneAfterOwnRelease) << "an initialisation left behind";
        }

        Shortcut made = ReadShortcut(shortcut_);
        if (row.saved) {
            ASSERT_TRUE(made.loaded);
            EXPECT_EQ(0, lstrcmpiW((installed_.path() + L"\\halvex.exe").c_str(),
                                   made.target.c_str()))
                << Narrow(made.target);
            EXPECT_EQ(L"Corvane Web Browser", made.description);
        } else {
            EXPECT_FALSE(made.loaded);
            EXPECT_EQ("an earlier file", ReadFileBytes(shortcut_));
        }
    }
}

TEST_F(DesktopShortcut, StartsTheBrowserThroughTheShell)
{
    ASSERT_TRUE(CopyFileW(FixturePath(L"halvex.exe").c_str(),
                          (installed_ / L"halvex.exe").c_str(), FALSE));
    CreateDesktopShortcut(installed_.path().c_str());
    ASSERT_TRUE(FileExists(shortcut_));

    HRESULT init = CoInitialize(nullptr);
    SHELLEXECUTEINFOW run = {};
    run.cbSize = sizeof(run);
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    run.lpFile = shortcut_.c_str();
    run.nShow = SW_SHOWNORMAL;
    BOOL started = ShellExecuteExW(&run);
    // Wine gives no process handle for a shortcut; the stub's trace tells.
    if (run.hProcess != nullptr)
        CloseHandle(run.hProcess);
    if (SUCCEEDED(init))
        CoUninitialize();
    ASSERT_TRUE(started) << GetLastError();

    std::wstring line = WaitForBrowserRuns(installed_.path());
    ASSERT_FALSE(line.empty()) << "halvex.exe did not run";
    EXPECT_NE(std::wstring::npos, line.find(L"halvex.exe")) << Narrow(line);
    // The stub's file can be removed once it has ended.
    EXPECT_TRUE(WaitUntil([&] { return DeleteFileW((installed_ / L"halvex.exe").c_str()) != 0; },
                          10000));
}

}  // namespace
