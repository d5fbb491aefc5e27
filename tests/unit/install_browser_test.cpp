// The install sequence in scratch folders: the progress it shows, its result
// and messages, and what becomes of whatever lay at the installation folder.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/names.h"
#include "driver/ui_driver.h"
#include "install/browser_folder.h"
#include "install/install_browser.h"
#include "install/registration.h"
#include "res/resource.h"
#include "support/message_box.h"
#include "support/scratch.h"

namespace {

const wchar_t kInvalidLocation[] = L"Installation location is invalid - change to a valid location.";
const wchar_t kUnspecifiedError[] = L"Unspecified error.";

// Every position the sequence sends to the progress bar, in order.
std::vector<int>* recordedPositions;
WNDPROC progressBarProc;

LRESULT CALLBACK RecordingProgressBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS && recordedPositions != nullptr)
        recordedPositions->push_back(static_cast<int>(wParam));
    return CallWindowProcW(progressBarProc, window, message, wParam, lParam);
}

void LoadProgressBarClass()
{
    static bool loaded = [] {
        HMODULE commonControls = LoadLibraryW(L"comctl32.dll");
        typedef BOOL(WINAPI * InitFn)(const INITCOMMONCONTROLSEX*);
        InitFn init = reinterpret_cast<InitFn>(
            reinterpret_cast<void*>(GetProcAddress(commonControls, "InitCommonControlsEx")));
        INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_PROGRESS_CLASS};
        return init != nullptr && init(&classes);
    }();
    ASSERT_TRUE(loaded);
}

class InstallBrowserTest : public testing::Test {
protected:
    void SetUp() override
    {
        LoadProgressBarClass();
        RemoveInstalledOptions();
        // The owner stands in for the setup window: a window with a progress
        // bar child of the setup window's id.
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner_);
        progressBar_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0,
                                       100, 10, owner_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PROGRESS)),
                                       nullptr, nullptr);
        ASSERT_NE(nullptr, progressBar_);
        progressBarProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            progressBar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProgressBarProc)));
        recordedPositions = &positions_;

        // The unpacked package in the current directory.
        ASSERT_TRUE(MakeFolder(package()));
        WriteTextFile(package() + L"\\halvex.exe", "new browser");
        WriteTextFile(package() + L"\\new-resources.pak");
        WriteTextFile(work_ / L"NotoEmoji.ttf");
    }

    void TearDown() override
    {
        recordedPositions = nullptr;
        DestroyWindow(owner_);
        RemoveInstalledOptions();
    }

    std::wstring package() const { return work_ / L"Corvane"; }

    // Runs the sequence, answering its message boxes and noting where the
    // progress bar stood while each was up. whileShown runs then too.
    int Install(const std::wstring& folder, int installEmojiFont = 0, int createShortcut = 0,
                std::function<void()> whileShown = {})
    {
        positions_.clear();
        positionsWhileShown_.clear();
        MessageBoxAnswerer answerer({}, [&](const MessageBoxInfo&) {
            positionsWhileShown_.push_back(
                static_cast<int>(SendMessageW(progressBar_, PBM_GETPOS, 0, 0)));
            if (whileShown)
                whileShown();
        });
        int result = InstallBrowser(owner_, folder.c_str(), installEmojiFont, createShortcut);
        shown_ = answerer.shown();
        return result;
    }

    // The one error box, with the bar at 10 while it was up and 0 after; the
    // package is still where it was.
    void ExpectFailureReported(const wchar_t* text)
    {
        ASSERT_EQ(1u, shown_.size());
        EXPECT_EQ(L"Error", shown_[0].caption);
        EXPECT_EQ(std::wstring(text), shown_[0].text);
        EXPECT_TRUE(shown_[0].hasIcon);
        EXPECT_EQ(owner_, shown_[0].owner);
        EXPECT_EQ(std::vector<int>{IDOK}, shown_[0].buttons);
        EXPECT_EQ(std::vector<int>{10}, positionsWhileShown_);
        EXPECT_EQ((std::vector<int>{10, 0}), positions_);
        EXPECT_EQ(0, SendMessageW(progressBar_, PBM_GETPOS, 0, 0));
        EXPECT_TRUE(FileExists(package() + L"\\new-resources.pak"));
    }

    void ExpectInstalledAt(const std::wstring& folder)
    {
        EXPECT_TRUE(shown_.empty());
        EXPECT_EQ((std::vector<int>{10, 50, 70, 85, 100}), positions_);
        EXPECT_TRUE(FileExists(folder + L"\\halvex.exe"));
        EXPECT_TRUE(FileExists(folder + L"\\new-resources.pak"));
        EXPECT_FALSE(FolderExists(package()));
    }

    ScratchRegistry registry_;
    ScratchFolder work_;    // the current directory, holding the package
    ScratchFolder place_;   // where the installation folders are typed
    CurrentDirectory current_{work_.path()};
    HWND owner_ = nullptr;
    HWND progressBar_ = nullptr;
    std::vector<int> positions_;
    std::vector<int> positionsWhileShown_;
    std::vector<MessageBoxInfo> shown_;
};

TEST_F(InstallBrowserTest, MovesThePackageInAndRegistersIt)
{
    std::wstring folder = place_ / L"Corvane";
    ASSERT_EQ(1, Install(folder));
    ExpectInstalledAt(folder);

    std::wstring command;
    ASSERT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, std::wstring(ClientKeyPath) +
                                  L"\\shell\\open\\command", L"", nullptr, &command));
    EXPECT_EQ(L"\"" + folder + L"\\halvex.exe\" --single-argument %1", command);
    // Neither option was chosen.
    EXPECT_TRUE(FileExists(work_ / L"NotoEmoji.ttf"));
    EXPECT_FALSE(FileExists(InstalledFontPath()));
    EXPECT_FALSE(FileExists(DesktopShortcutPath()));
}

TEST_F(InstallBrowserTest, CarriesOutBothOptions)
{
    std::wstring folder = place_ / L"Corvane";
    ASSERT_EQ(1, Install(folder, 1, 1));
    ExpectInstalledAt(folder);
    EXPECT_FALSE(FileExists(work_ / L"NotoEmoji.ttf"));
    EXPECT_TRUE(FileExists(InstalledFontPath()));
    EXPECT_TRUE(FileExists(DesktopShortcutPath()));
}

TEST_F(InstallBrowserTest, SucceedsWhenRegistrationIsRefused)
{
    registry_.RefuseWrites(HKEY_LOCAL_MACHINE);
    registry_.RefuseWrites(HKEY_CLASSES_ROOT);
    std::wstring folder = place_ / L"Corvane";
    ASSERT_EQ(1, Install(folder));
    ExpectInstalledAt(folder);
}

// A folder text that is not a full path is refused before anything is
// touched. Read literally, "." and "Corvane" would have deleted the current
// directory's contents and the package itself, and a relative text would
// have been registered as a command Windows cannot run.
TEST_F(InstallBrowserTest, RefusesATextThatIsNotAFullPath)
{
    ASSERT_TRUE(MakeFolder(work_ / L"Installed"));
    WriteTextFile(work_ / L"Installed\\halvex.exe", "old browser");
    const wchar_t* const texts[] = {L"", L".", L"Corvane", L"Installed", L"sub\\Corvane",
                                    L"C:", L"C:Corvane", L"\\Corvane", L"\\\\server"};
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(Narrow(text));
        EXPECT_EQ(0, Install(text));
        ExpectFailureReported(kInvalidLocation);
        EXPECT_EQ((std::vector<std::wstring>{L"Corvane", L"Installed", L"NotoEmoji.ttf"}),
                  ListFolder(work_.path()));
        EXPECT_TRUE(FileExists(work_ / L"Installed\\halvex.exe"));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ClientKeyPath));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ProgId));
    }
}

TEST_F(InstallBrowserTest, ReportsAFailedMove)
{
    struct Case {
        const char* name;
        std::wstring folder;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"name the file system rejects", place_ / L"Cor|vane", kInvalidLocation},
        {"missing parent folder", place_ / L"missing\\Corvane", kUnspecifiedError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(0, Install(c.folder));
        ExpectFailureReported(c.text);
        EXPECT_TRUE(ListFolder(place_.path()).empty());
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ClientKeyPath));
    }
}

TEST_F(InstallBrowserTest, ReportsAMissingPackage)
{
    ASSERT_TRUE(MoveFileW(package().c_str(), (work_ / L"elsewhere").c_str()));
    EXPECT_EQ(0, Install(place_ / L"Corvane"));
    ASSERT_EQ(1u, shown_.size());
    EXPECT_EQ(kUnspecifiedError, shown_[0].text);
    EXPECT_EQ((std::vector<int>{10, 0}), positions_);
    EXPECT_TRUE(ListFolder(place_.path()).empty());
}

// Only an earlier installation is replaced: a folder of the user's with other
// content, or a file, stays exactly as it was (read literally, it would
// have been deleted without a question), and the move fails on it.
TEST_F(InstallBrowserTest, LeavesWhatIsNotAnEarlierInstallation)
{
    std::wstring documents = place_ / L"Documents";
    ASSERT_TRUE(MakeFolder(documents + L"\\Letters"));
    WriteTextFile(documents + L"\\thesis.doc");
    WriteTextFile(documents + L"\\Letters\\mother.txt");
    // Holds a browser executable, but only deeper down.
    std::wstring downloads = place_ / L"Downloads";
    ASSERT_TRUE(MakeFolder(downloads + L"\\Corvane"));
    WriteTextFile(downloads + L"\\Corvane\\halvex.exe");
    std::wstring file = place_ / L"notes.txt";
    WriteTextFile(file);

    for (const std::wstring& folder : {documents, downloads, file, documents + L"\\"}) {
        SCOPED_TRACE(Narrow(folder));
        EXPECT_EQ(0, Install(folder));
        ExpectFailureReported(kUnspecifiedError);
        EXPECT_EQ((std::vector<std::wstring>{L"Documents", L"Downloads", L"notes.txt"}),
                  ListFolder(place_.path()));
        EXPECT_EQ((std::vector<std::wstring>{L"Letters", L"thesis.doc"}), ListFolder(documents));
        EXPECT_TRUE(FileExists(documents + L"\\Letters\\mother.txt"));
        EXPECT_TRUE(FileExists(downloads + L"\\Corvane\\halvex.exe"));
        EXPECT_TRUE(FileExists(file));
    }
}

TEST_F(InstallBrowserTest, RemovesAnEmptyFolder)
{
    std::wstring folder = place_ / L"Corvane";
    ASSERT_TRUE(MakeFolder(folder));
    ASSERT_EQ(1, Install(folder));
    ExpectInstalledAt(folder);
}

// A drive root is never deleted or set aside, whatever it holds, even a
// browser executable. Wine puts no drive letter on a folder of our own
// (DefineDosDeviceW does not reach its file system), so this is the test
// prefix's own C:\, given an executable and a file of ours for the run.
TEST_F(InstallBrowserTest, NeverTouchesADriveRoot)
{
    const std::wstring root = L"C:\\";
    WriteTextFile(root + L"halvex.exe", "old browser");
    WriteTextFile(root + L"corvane-test-keep.txt");
    const std::vector<std::wstring> before = ListFolder(root);

    for (const std::wstring& folder : {root, root + L".", root + L"Windows\\.."}) {
        SCOPED_TRACE(Narrow(folder));
        EXPECT_EQ(0, Install(folder));
        ExpectFailureReported(kUnspecifiedError);
        EXPECT_EQ(before, ListFolder(root));
        EXPECT_TRUE(FileExists(root + L"corvane-test-keep.txt"));
    }
    DeleteFileW((root + L"halvex.exe").c_str());
    DeleteFileW((root + L"corvane-test-keep.txt").c_str());
}

// The earlier installation is replaced as a whole, and only once the new
// folder is in place: no leftover of it stays beside the folder.
TEST_F(InstallBrowserTest, ReplacesAnEarlierInstallation)
{
    std::wstring folder = place_ / L"Corvane";
    for (const std::wstring& typed : {folder, folder + L"\\"}) {
        SCOPED_TRACE(Narrow(typed));
        ASSERT_TRUE(MakeFolder(folder + L"\\locales"));
        WriteTextFile(folder + L"\\halvex.exe", "old browser");
        WriteTextFile(folder + L"\\locales\\old.pak");
        // A sibling whose name setup would like for setting the earlier
        // installation aside: it is someone else's and stays.
        ASSERT_TRUE(MakeFolder(place_ / L"Corvane.previous"));
        WriteTextFile(place_ / L"Corvane.previous\\keep.txt");

        ASSERT_EQ(1, Install(typed));
        ExpectInstalledAt(folder);
        EXPECT_EQ((std::vector<std::wstring>{L"halvex.exe", L"new-resources.pak"}),
                  ListFolder(folder));
        EXPECT_EQ((std::vector<std::wstring>{L"Corvane", L"Corvane.previous"}),
                  ListFolder(place_.path()));
        EXPECT_TRUE(FileExists(place_ / L"Corvane.previous\\keep.txt"));

        // The next round installs again from a fresh package.
        ASSERT_TRUE(MoveFileW(folder.c_str(), package().c_str()));
    }
}

// An earlier installation survives a failed move: it is back in its place
// before the message is shown. Read literally, it was deleted first.
TEST_F(InstallBrowserTest, PutsBackAnEarlierInstallationWhenTheMoveFails)
{
    std::wstring folder = place_ / L"Corvane";
    ASSERT_TRUE(MakeFolder(folder));
    WriteTextFile(folder + L"\\halvex.exe", "old browser");
    WriteTextFile(folder + L"\\old-profile.txt");
    ASSERT_TRUE(MoveFileW(package().c_str(), (work_ / L"elsewhere").c_str()));

    bool backWhileShown = false;
    EXPECT_EQ(0, Install(folder, 1, 1, [&] {
        backWhileShown = FileExists(folder + L"\\old-profile.txt");
    }));
    ASSERT_EQ(1u, shown_.size());
    EXPECT_EQ(kUnspecifiedError, shown_[0].text);
    EXPECT_TRUE(backWhileShown);
    EXPECT_EQ((std::vector<int>{10, 0}), positions_);
    EXPECT_EQ((std::vector<std::wstring>{L"halvex.exe", L"old-profile.txt"}), ListFolder(folder));
    EXPECT_EQ(std::vector<std::wstring>{L"Corvane"}, ListFolder(place_.path()));
    EXPECT_FALSE(FileExists(DesktopShortcutPath()));
}

TEST(BrowserFolder, TellsFullAndRootPaths)
{
    struct Case {
        const wchar_t* path;
        int full;
        int root;   // asked only of full paths
    };
    const Case cases[] = {
        {L"C:\\Program Files\\Corvane", 1, 0},
        {L"c:/Corvane", 1, 0},
        {L"C:\\", 1, 1},
        {L"C:\\\\", 1, 1},
        {L"C:\\Windows\\..", 1, 1},
        {L"C:\\Windows\\.\\..\\", 1, 1},
        {L"\\\\server\\share", 1, 1},
        {L"\\\\server\\share\\", 1, 1},
        {L"\\\\server\\share\\Corvane", 1, 0},
        {L"\\\\server", 0, 0},
        {L"C:", 0, 0},
        {L"C:Corvane", 0, 0},
        {L"\\Corvane", 0, 0},
        {L"Corvane", 0, 0},
        {L"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.path));
        EXPECT_EQ(c.full, IsFullPath(c.path));
        if (c.full)
            EXPECT_EQ(c.root, IsRootPath(c.path));
    }
}

}  // namespace
