// Installing through the window of the real setup.exe, as a person would:
// type a folder, tick options, press OK, read what the program says; then
// the files and the registration it left, and Windows starting the browser
// through that registration.
#include <gtest/gtest.h>

#include <string>

#include "common/names.h"
#include "driver/ui_driver.h"
#include "install/registration.h"
#include "res/resource.h"
#include "support/scratch.h"

namespace {

class Install : public testing::Test {
protected:
    // The registration and the options' results live in the prefix's own
    // registry and folders: neither is left over for the next test.
    void SetUp() override
    {
        RemoveRegistration();
        RemoveInstalledOptions();
        PreparePackage(work_.path());
    }

    void TearDown() override
    {
        RemoveRegistration();
        RemoveInstalledOptions();
    }

    std::wstring folder() const { return place_ / L"Corvane"; }

    static int ProgressOf(HWND window)
    {
        return static_cast<int>(
            SendMessageW(FindControl(window, PROGRESS_CLASSW, IDC_PROGRESS), PBM_GETPOS, 0, 0));
    }

    // Types the folder, ticks the chosen options and presses OK.
    static void FillInAndOk(HWND window, const std::wstring& typed, bool emojiFont, bool shortcut)
    {
        TypeText(FindControl(window, L"Edit", IDC_LOCATION), typed);
        if (emojiFont)
            Click(FindControl(window, L"Button", IDC_EMOJI_FONT));
        if (shortcut)
            Click(FindControl(window, L"Button", IDC_SHORTCUTS));
        Click(FindControl(window, L"Button", IDC_OK_BUTTON));
    }

    // A message box of the program owned by the window, with the progress
    // bar at that position while it is up; answered with OK.
    static void ExpectMessage(SetupRun& run, HWND window, const wchar_t* caption,
                              const wchar_t* text, bool icon, int progress)
    {
        HWND box = run.WaitForMessageBox(caption);
        ASSERT_NE(nullptr, box);
        MessageBoxInfo info = ReadMessageBox(box);
        EXPECT_EQ(text, info.text);
        EXPECT_EQ(icon, info.hasIcon);
        EXPECT_EQ(window, info.owner);
        EXPECT_EQ(progress, ProgressOf(window));
        AnswerMessageBox(box, IDOK);
    }

    // The success message with the bar full behind it; answered, the
    // program ends with code 0.
    static void ExpectSuccess(SetupRun& run, HWND window)
    {
        ExpectMessage(run, window, L"Corvane Setup", L"Corvane setup has successfully completed.",
                      false, 100);
        ASSERT_TRUE(run.ExpectExit(0));
    }

    // One installation through the window, start to end.
    void InstallThroughWindow(bool emojiFont, bool shortcut)
    {
        SetupRun run(work_.path());
        HWND window = run.WaitForWindow();
        ASSERT_NE(nullptr, window);
        FillInAndOk(window, folder(), emojiFont, shortcut);
        ExpectSuccess(run, window);
    }

    void ExpectBrowserInPlace()
    {
        EXPECT_TRUE(FileExists(folder() + L"\\halvex.exe"));
        EXPECT_FALSE(FolderExists(work_ / L"Corvane"));
        std::wstring command;
        EXPECT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE,
                                      std::wstring(ClientKeyPath) + L"\\shell\\open\\command", L"",
                                      nullptr, &command));
        EXPECT_EQ(L"\"" + folder() + L"\\halvex.exe\" --single-argument %1", command);
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(ProgId) + L"\\shell\\open\\command"));
    }

    // The font leaves the package's folder for the fonts folder; the
    // shortcut lies on the desktop.
    void ExpectOptionsCarriedOut(bool carriedOut)
    {
        EXPECT_EQ(carriedOut, FileExists(InstalledFontPath()));
        EXPECT_EQ(!carriedOut, FileExists(work_ / L"NotoEmoji.ttf"));
        EXPECT_EQ(carriedOut, FileExists(DesktopShortcutPath()));
    }

    ScratchFolder work_;    // where setup.exe starts, beside the package
    ScratchFolder place_;   // where the browser is installed
};

TEST_F(Install, InstallsWithBothOptions)
{
    InstallThroughWindow(true, true);
    ExpectBrowserInPlace();
    ExpectOptionsCarriedOut(true);
}

TEST_F(Install, InstallsWithoutOptions)
{
    InstallThroughWindow(false, false);
    ExpectBrowserInPlace();
    ExpectOptionsCarriedOut(false);
}

// A failed move: the message with the bar at 10 behind it, then the bar
// empty and the window still open; once the cause is gone, OK again
// installs.
TEST_F(Install, ReportsAFailureAndInstallsOnceItIsMended)
{
    SetupRun run(work_.path());
    HWND window = run.WaitForWindow();
    ASSERT_NE(nullptr, window);
    std::wstring parent = place_ / L"Programs";
    std::wstring typed = parent + L"\\Corvane";
    FillInAndOk(window, typed, false, false);

    ExpectMessage(run, window, L"Error", L"Unspecified error.", true, 10);
    EXPECT_TRUE(WaitUntil([&] { return ProgressOf(window) == 0; }));
    EXPECT_TRUE(run.IsRunning());
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(FolderExists(work_ / L"Corvane"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ClientKeyPath));

    ASSERT_TRUE(MakeFolder(parent));
    Click(FindControl(window, L"Button", IDC_OK_BUTTON));
    ExpectSuccess(run, window);
    EXPECT_TRUE(FileExists(typed + L"\\halvex.exe"));
    EXPECT_FALSE(FolderExists(work_ / L"Corvane"));
}

// A second setup finds the earlier installation through its registration,
// offers its folder, and replaces it as a whole.
TEST_F(Install, ReplacesAnEarlierInstallation)
{
    InstallThroughWindow(false, false);
    WriteTextFile(folder() + L"\\old-only.txt");
    PreparePackage(work_.path(), false);
    WriteTextFile(work_ / L"Corvane\\new-only.txt");

    SetupRun run(work_.path());
    HWND window = run.WaitForWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(folder(), ReadControl(FindControl(window, L"Edit", IDC_LOCATION)).text);
    Click(FindControl(window, L"Button", IDC_OK_BUTTON));
    ExpectSuccess(run, window);

    ExpectBrowserInPlace();
    EXPECT_EQ((std::vector<std::wstring>{L"halvex.exe", L"new-only.txt"}), ListFolder(folder()));
    EXPECT_EQ(std::vector<std::wstring>{L"Corvane"}, ListFolder(place_.path()));
}

// Windows itself opens a page through the registration: the file-type class
// starts the installed browser with the page.
TEST_F(Install, WindowsOpensAPageWithTheInstalledBrowser)
{
    InstallThroughWindow(false, false);
    std::wstring page = place_ / L"page.htm";
    WriteTextFile(page, "<html></html>");

    SHELLEXECUTEINFOW open = {};
    open.cbSize = sizeof(open);
    open.fMask = SEE_MASK_CLASSNAME | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    open.lpClass = ProgId;
    open.lpFile = page.c_str();
    open.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&open)) << GetLastError();
    if (open.hProcess != nullptr) {
        // Ended before its folder is cleaned away.
        WaitForSingleObject(open.hProcess, 10000);
        CloseHandle(open.hProcess);
    }

    std::wstring runs = WaitForBrowserRuns(folder());
    ASSERT_FALSE(runs.empty()) << "halvex.exe did not run";
    EXPECT_NE(std::wstring::npos, runs.find(folder() + L"\\halvex.exe")) << Narrow(runs);
    EXPECT_NE(std::wstring::npos, runs.find(L"--single-argument " + page)) << Narrow(runs);
}

}  // namespace
