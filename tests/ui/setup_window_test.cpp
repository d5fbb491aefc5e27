// The setup window as a person sees and works it, on the real setup.exe.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include "common/names.h"
#include "driver/ui_driver.h"
#include "res/resource.h"
#include "support/scratch.h"

namespace {

struct ExpectedControl {
    const wchar_t* className;
    const wchar_t* text;   // null: not compared (the edit box)
    DWORD style;
    int x, y, width, height, id;
};

// Wine reads an edit box's WS_BORDER back cleared: the edit box's style is
// compared without it.
const ExpectedControl kControls[] = {
    {L"Static", L"Specify the location of the Corvane folder.", 0x50000000, 10, 10, 300, 25, 1001},
    {L"Edit", nullptr, 0x50800080, 10, 50, 350, 25, 1001},
    {L"Button", L"Install Noto Emoji font", 0x50000002, 10, 90, 200, 25, 1002},
    {L"Button", L"Create shortcuts for Corvane", 0x50000002, 10, 120, 300, 25, 1003},
    {L"Button", L"OK", 0x50000001, 90, 220, 100, 25, 1006},
    {L"Button", L"Cancel", 0x50000001, 220, 220, 100, 25, 1007},
    {L"msctls_progress32", L"", 0x50000000, 10, 180, 300, 20, 1008},
};

class SetupWindow : public testing::Test {
protected:
    void SetUp() override
    {
        SHDeleteKeyW(HKEY_LOCAL_MACHINE, ClientKeyPath);
        PreparePackage(folder_.path(), false);
    }
    void TearDown() override { SHDeleteKeyW(HKEY_LOCAL_MACHINE, ClientKeyPath); }

    ScratchFolder folder_;
};

TEST_F(SetupWindow, ShowsItsSevenControls)
{
    SetupRun run(folder_.path());
    HWND window = run.WaitForWindow();
    ASSERT_NE(nullptr, window);

    // Windows adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(0x90C80000u,
              static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & ~WS_CLIPSIBLINGS);
    EXPECT_EQ(0u, static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)) & ~WS_EX_WINDOWEDGE);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(100, frame.left);
    EXPECT_EQ(100, frame.top);
    EXPECT_EQ(400, frame.right - frame.left);
    EXPECT_EQ(300, frame.bottom - frame.top);

    std::vector<ControlInfo> controls = ReadControls(window);
    ASSERT_EQ(7u, controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        const ExpectedControl& expected = kControls[i];
        const ControlInfo& control = controls[i];
        SCOPED_TRACE(Narrow(expected.className) + " " + std::to_string(expected.id));
        EXPECT_EQ(0, lstrcmpiW(expected.className, control.className.c_str()))
            << Narrow(control.className);
        if (expected.text != nullptr)
            EXPECT_EQ(std::wstring(expected.text), control.text);
        EXPECT_EQ(expected.style & ~WS_BORDER, control.style & ~WS_BORDER);
        EXPECT_EQ(0u, control.exStyle & ~WS_EX_CLIENTEDGE & ~WS_EX_NOPARENTNOTIFY);
        EXPECT_EQ(expected.x, control.rect.left);
        EXPECT_EQ(expected.y, control.rect.top);
        EXPECT_EQ(expected.width, control.rect.right - control.rect.left);
        EXPECT_EQ(expected.height, control.rect.bottom - control.rect.top);
        EXPECT_EQ(expected.id, control.id);
        EXPECT_EQ(0, control.checked);
        EXPECT_EQ(0, control.position);
    }
    run.CloseAndExpectExitZero(window);
}

// The folder of an earlier installation, else the program-files default.
TEST_F(SetupWindow, ProposesTheFolderToInstallTo)
{
    const std::wstring defaultFolder = ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Corvane";
    struct {
        const char* name;
        std::wstring command;
        std::wstring shown;
    } cases[] = {
        {"no registration", L"", defaultFolder},
        {"a normal folder", L"\"D:\\Apps\\Corvane\\halvex.exe\" --single-argument %1",
         L"D:\\Apps\\Corvane"},
        // Written for C:\ the command holds two backslashes in a row; the text
        // is cut at the second.
        {"the drive root", L"\"C:\\\\halvex.exe\" --single-argument %1", L"C:\\"},
        {"a command over 512 bytes", L"\"C:\\" + std::wstring(300, L'x') + L"\\halvex.exe\"",
         defaultFolder},
        {"no leading quotation mark", L"C:\\Corvane\\halvex.exe --single-argument %1",
         L":\\Corvane"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.command.empty())
            RegisterOpenCommand(c.command);
        SetupRun run(folder_.path());
        HWND window = run.WaitForWindow();
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(c.shown, LocationText(window));
        run.CloseAndExpectExitZero(window);
    }
}

TEST_F(SetupWindow, CheckBoxesToggleOnEachClick)
{
    SetupRun run(folder_.path());
    HWND window = run.WaitForWindow();
    ASSERT_NE(nullptr, window);
    HWND emojiFont = FindControl(window, L"Button", IDC_EMOJI_FONT);
    HWND shortcuts = FindControl(window, L"Button", IDC_SHORTCUTS);

    Click(emojiFont);
    EXPECT_TRUE(WaitUntil([&] { return ReadControl(emojiFont).checked == BST_CHECKED; }));
    EXPECT_EQ(BST_UNCHECKED, ReadControl(shortcuts).checked);
    Click(emojiFont);
    EXPECT_TRUE(WaitUntil([&] { return ReadControl(emojiFont).checked == BST_UNCHECKED; }));

    Click(shortcuts);
    EXPECT_TRUE(WaitUntil([&] { return ReadControl(shortcuts).checked == BST_CHECKED; }));
    EXPECT_EQ(BST_UNCHECKED, ReadControl(emojiFont).checked);
    run.CloseAndExpectExitZero(window);
}

TEST_F(SetupWindow, CancelAsksAndEndsOnlyOnYes)
{
    SetupRun run(folder_.path());
    HWND window = run.WaitForWindow();
    ASSERT_NE(nullptr, window);
    HWND cancel = FindControl(window, L"Button", IDC_CANCEL_BUTTON);

    Click(cancel);
    MessageBoxInfo question = run.AnswerNextMessageBox(L"Corvane Setup", IDNO);
    EXPECT_EQ(L"Would you like to cancel Corvane Setup?", question.text);
    EXPECT_EQ(window, question.owner);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), question.buttons);
    EXPECT_FALSE(question.hasIcon);
    // No: the window stays and still answers.
    Sleep(300);
    EXPECT_TRUE(run.IsRunning());
    EXPECT_TRUE(IsWindowVisible(window));

    Click(cancel);
    run.AnswerNextMessageBox(L"Corvane Setup", IDYES);
    run.ExpectExit(0);
}

// Arguments without "uninstall", case-sensitive, are ignored: the window
// opens directly.
TEST_F(SetupWindow, OpensDirectlyForOtherArguments)
{
    for (const wchar_t* arguments : {L"", L"a b", L"Uninstall", L"UNINSTALL /S"}) {
        SCOPED_TRACE(Narrow(arguments));
        SetupRun run(folder_.path(), arguments);
        HWND window = run.WaitForWindow();
        ASSERT_NE(nullptr, window);
        run.CloseAndExpectExitZero(window);
    }
}

TEST_F(SetupWindow, CarriesTheDataFolderOverFromTheTemporaryFolder)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring left = std::wstring(temp) + L"Corvane";
    const std::wstring carried = ShellFolder(CSIDL_APPDATA) + L"\\Corvane";
    ASSERT_FALSE(FolderExists(carried)) << "the prefix already has " << Narrow(carried);
    ASSERT_TRUE(MakeFolder(left + L"\\User Data"));
    WriteTextFile(left + L"\\User Data\\Bookmarks", "kept");

    {
        SetupRun run(folder_.path());
        HWND window = run.WaitForWindow();
        ASSERT_NE(nullptr, window);
        EXPECT_FALSE(FolderExists(left));
        EXPECT_TRUE(FileExists(carried + L"\\User Data\\Bookmarks"));
        run.CloseAndExpectExitZero(window);
    }

    // A second start with a data folder already in place moves nothing.
    ASSERT_TRUE(MakeFolder(left));
    WriteTextFile(left + L"\\newer", "left");
    {
        SetupRun run(folder_.path());
        HWND window = run.WaitForWindow();
        ASSERT_NE(nullptr, window);
        EXPECT_TRUE(FileExists(left + L"\\newer"));
        EXPECT_FALSE(FileExists(carried + L"\\newer"));
        run.CloseAndExpectExitZero(window);
    }

    DeleteFolderTree(left);
    DeleteFolderTree(carried);
}

}  // namespace
