// The uninstall sequence in-process: scratch registry roots and folders, the
// questions answered by the test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/names.h"
#include "install/registration.h"
#include "support/message_box.h"
#include "support/scratch.h"
#include "uninstall/uninstall_browser.h"

namespace {

const wchar_t kUninstallQuestion[] = L"Would you like to uninstall Corvane?";
const wchar_t kKeepDataQuestion[] = L"Would you like to keep your user data?";
const wchar_t kUninstalled[] = L"Corvane has been uninstalled.";

const wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// As the open command of a registration written for folder.
void SetOpenCommand(const std::wstring& folder)
{
    RegisterOpenCommand(L"\"" + folder + L"\\halvex.exe\" --single-argument %1");
}

// Points the application-data folder of this process somewhere else (the
// shell reads it from HKEY_CURRENT_USER, which is a scratch key here).
void RedirectAppData(const std::wstring& folder)
{
    WriteRegistryText(HKEY_CURRENT_USER, kUserShellFolders, L"AppData", folder);
}

void ExpectQuestion(const MessageBoxInfo& box, const wchar_t* text)
{
    EXPECT_EQ(std::wstring(SetupCaption), box.caption);
    EXPECT_EQ(std::wstring(text), box.text);
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), box.buttons);
}

// Both questions asked, then the final message.
void ExpectCompleted(const std::vector<MessageBoxInfo>& boxes)
{
    ASSERT_EQ(3u, boxes.size());
    ExpectQuestion(boxes[0], kUninstallQuestion);
    ExpectQuestion(boxes[1], kKeepDataQuestion);
    EXPECT_EQ(std::wstring(SetupCaption), boxes[2].caption);
    EXPECT_EQ(std::wstring(kUninstalled), boxes[2].text);
    EXPECT_EQ(nullptr, boxes[2].owner);
    EXPECT_FALSE(boxes[2].hasIcon);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[2].buttons);
}

// Each key comes before its parent, which it would otherwise keep alive.
TEST(UserKeys, ComeBeforeTheirParents)
{
    ASSERT_EQ(9u, UserKeyCount);
    for (size_t child = 0; child < UserKeyCount; ++child) {
        const std::wstring path = UserKeys[child];
        for (size_t parent = 0; parent < child; ++parent) {
            const std::wstring prefix = std::wstring(UserKeys[parent]) + L"\\";
            EXPECT_NE(0u, path.compare(0, prefix.size(), prefix))
                << Narrow(path) << " after its parent " << Narrow(UserKeys[parent]);
        }
    }
}

class Uninstall : public testing::Test {
protected:
    void SetUp() override
    {
        // The real application-data folder of the prefix: a Corvane folder
        // already there is set aside and put back afterwards.
        appData_ = ShellFolder(CSIDL_APPDATA);
        ASSERT_FALSE(appData_.empty());
        browserData_ = appData_ + L"\\Corvane";
        if (FolderExists(browserData_))
            ASSERT_TRUE(MoveFileW(browserData_.c_str(), (browserData_ + L"-set-aside").c_str()));
        installed_ = folder_ / L"Corvane";
        Populate();
    }

    // What an installed browser that has been used leaves behind.
    void Populate()
    {
        ASSERT_TRUE(MakeFolder(browserData_ + L"\\User Data\\Default"));
        WriteTextFile(browserData_ + L"\\User Data\\Default\\Bookmarks");
        WriteTextFile(browserData_ + L"\\Crashpad.txt");

        ASSERT_TRUE(MakeFolder(installed_ + L"\\locales"));
        WriteTextFile(installed_ + L"\\halvex.exe");
        WriteTextFile(installed_ + L"\\locales\\en-US.pak");

        for (size_t i = 0; i < UserKeyCount; ++i)
            WriteRegistryText(HKEY_CURRENT_USER, UserKeys[i], L"Setting", L"1");
    }

    void TearDown() override
    {
        DeleteFolderTree(browserData_);
        if (FolderExists(browserData_ + L"-set-aside"))
            MoveFileW((browserData_ + L"-set-aside").c_str(), browserData_.c_str());
    }

    int Run(std::vector<int> answers)
    {
        MessageBoxAnswerer answerer(std::move(answers));
        int result = UninstallBrowser();
        boxes_ = answerer.shown();
        return result;
    }

    bool UserDataKept() const
    {
        return FileExists(browserData_ + L"\\User Data\\Default\\Bookmarks");
    }

    void ExpectUserKeys(bool exist)
    {
        for (size_t i = 0; i < UserKeyCount; ++i) {
            SCOPED_TRACE(Narrow(UserKeys[i]));
            EXPECT_EQ(exist, KeyExists(HKEY_CURRENT_USER, UserKeys[i]));
        }
    }

    ScratchRegistry registry_;
    ScratchFolder folder_;
    std::wstring appData_;
    std::wstring browserData_;   // "Corvane" under the application-data folder
    std::wstring installed_;
    std::vector<MessageBoxInfo> boxes_;
};

TEST_F(Uninstall, NoToTheFirstQuestionRemovesNothing)
{
    WriteRegistration(installed_.c_str());

    EXPECT_EQ(0, Run({IDNO}));

    ASSERT_EQ(1u, boxes_.size());
    ExpectQuestion(boxes_[0], kUninstallQuestion);
    EXPECT_TRUE(BrowserRegistered());
    EXPECT_TRUE(FileExists(installed_ + L"\\halvex.exe"));
    EXPECT_TRUE(UserDataKept());
    ExpectUserKeys(true);
}

TEST_F(Uninstall, KeepingUserDataRemovesOnlyTheBrowser)
{
    WriteRegistration(installed_.c_str());

    EXPECT_EQ(1, Run({IDYES, IDYES}));

    ExpectCompleted(boxes_);
    EXPECT_FALSE(BrowserRegistered());
    EXPECT_FALSE(FolderExists(installed_));
    EXPECT_TRUE(UserDataKept());
    ExpectUserKeys(true);
}

TEST_F(Uninstall, NotKeepingUserDataRemovesItAndTheUserKeys)
{
    WriteRegistration(installed_.c_str());

    EXPECT_EQ(1, Run({IDYES, IDNO}));

    ExpectCompleted(boxes_);
    EXPECT_FALSE(FolderExists(browserData_ + L"\\User Data"));
    EXPECT_TRUE(FileExists(browserData_ + L"\\Crashpad.txt"));
    ExpectUserKeys(false);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion"));
    EXPECT_FALSE(BrowserRegistered());
    EXPECT_FALSE(FolderExists(installed_));
}

// A key that something else put below one of the per-user keys keeps that
// key and its parents; every other deletion still happens.
struct ForeignSubkeyCase {
    const wchar_t* parent;
    std::vector<const wchar_t*> kept;
};

const ForeignSubkeyCase kForeignSubkeyCases[] = {
    {L"Software\\Corvane\\PreferenceMACs\\Default\\extensions.settings",
     {L"Software\\Corvane\\PreferenceMACs\\Default\\extensions.settings",
      L"Software\\Corvane\\PreferenceMACs\\Default", L"Software\\Corvane\\PreferenceMACs",
      L"Software\\Corvane"}},
    {L"Software\\Corvane\\BLBeacon", {L"Software\\Corvane\\BLBeacon", L"Software\\Corvane"}},
    {L"Software\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\Corvane",
     {L"Software\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\Corvane"}},
};

TEST_F(Uninstall, UserKeyWithForeignSubkeyStaysWithItsParents)
{
    for (const ForeignSubkeyCase& c : kForeignSubkeyCases) {
        SCOPED_TRACE(Narrow(c.parent));
        Populate();
        WriteRegistration(installed_.c_str());
        std::wstring foreign = std::wstring(c.parent) + L"\\Foreign";
        WriteRegistryText(HKEY_CURRENT_USER, foreign, L"Setting", L"1");

        EXPECT_EQ(1, Run({IDYES, IDNO}));

        ExpectCompleted(boxes_);
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, foreign));
        for (size_t i = 0; i < UserKeyCount; ++i) {
            bool kept = false;
            for (const wchar_t* k : c.kept)
                kept = kept || lstrcmpW(k, UserKeys[i]) == 0;
            SCOPED_TRACE(Narrow(UserKeys[i]));
            EXPECT_EQ(kept, KeyExists(HKEY_CURRENT_USER, UserKeys[i]));
        }
        EXPECT_FALSE(FolderExists(browserData_ + L"\\User Data"));
        EXPECT_FALSE(BrowserRegistered());
        EXPECT_FALSE(FolderExists(installed_));

        RegDeleteKeyW(HKEY_CURRENT_USER, foreign.c_str());
    }
}

// Without a registered folder (none, or an empty folder text) no folder is
// deleted; the rest runs. The current directory is a drive root holding a
// browser: an empty folder text must not turn into "\".
TEST_F(Uninstall, WithoutRegisteredFolderLeavesFoldersAlone)
{
    ASSERT_TRUE(FolderExists(kScratchDrive)) << "run through tests/run";
    CurrentDirectory current(kScratchDrive);
    WriteTextFile(std::wstring(kScratchDrive) + L"halvex.exe");
    WriteTextFile(std::wstring(kScratchDrive) + L"letter.txt");

    for (bool emptyFolderText : {false, true}) {
        SCOPED_TRACE(emptyFolderText ? "empty folder text" : "no registration");
        Populate();
        if (emptyFolderText)
            SetOpenCommand(L"");

        EXPECT_EQ(1, Run({IDYES, IDNO}));

        ExpectCompleted(boxes_);
        EXPECT_FALSE(BrowserRegistered());
        EXPECT_TRUE(FileExists(installed_ + L"\\halvex.exe"));
        EXPECT_TRUE(FileExists(std::wstring(kScratchDrive) + L"letter.txt"));
        EXPECT_FALSE(FolderExists(browserData_ + L"\\User Data"));
        ExpectUserKeys(false);
    }
    DeleteFileW((std::wstring(kScratchDrive) + L"halvex.exe").c_str());
    DeleteFileW((std::wstring(kScratchDrive) + L"letter.txt").c_str());
}

// The registered folder comes from a value anyone can write. Deleted as
// registered, each of these would take the user's files with it.
struct BadFolderCase {
    const char* name;
    std::wstring registered;   // the folder the registration was written for
    std::wstring letter;       // a file of the user's that must survive
    std::wstring browser;      // a halvex.exe placed beside it, or empty
};

TEST_F(Uninstall, DeletesRegisteredFolderOnlyWhenItIsABrowserFolder)
{
    ASSERT_TRUE(FolderExists(kScratchDrive)) << "run through tests/run";
    const std::wstring drive = kScratchDrive;
    const BadFolderCase cases[] = {
        {"drive root", drive, drive + L"letter.txt", drive + L"halvex.exe"},
        {"drive root through ..", drive + L"Corvane\\..", drive + L"letter.txt",
         drive + L"halvex.exe"},
        {"folder without the browser", folder_ / L"Documents", folder_ / L"Documents\\letter.txt",
         L""},
    };
    ASSERT_TRUE(MakeFolder(drive + L"Corvane"));
    ASSERT_TRUE(MakeFolder(folder_ / L"Documents"));

    for (const BadFolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteTextFile(c.letter);
        if (!c.browser.empty())
            WriteTextFile(c.browser);
        WriteRegistration(c.registered.c_str());

        EXPECT_EQ(1, Run({IDYES, IDYES}));

        ExpectCompleted(boxes_);
        EXPECT_FALSE(BrowserRegistered());
        EXPECT_TRUE(FileExists(c.letter));
        if (!c.browser.empty())
            EXPECT_TRUE(FileExists(c.browser));
        DeleteFileW(c.browser.c_str());
    }
    DeleteFileW((drive + L"letter.txt").c_str());
    RemoveDirectoryW((drive + L"Corvane").c_str());
}

// An application-data folder so long that "\Corvane\User Data" is cut back
// to "\Corvane\User": here a file of the user's.
TEST_F(Uninstall, CutUserDataPathIsNotDeleted)
{
    const std::wstring tail = L"\\Corvane\\User";
    std::wstring appData = folder_.path() + L"\\";
    appData += std::wstring(MAX_PATH - 1 - tail.size() - appData.size(), L'a');
    const std::wstring cut = appData + tail;
    ASSERT_EQ(static_cast<size_t>(MAX_PATH - 1), cut.size());
    ASSERT_TRUE(MakeFolder(appData + L"\\Corvane"));
    WriteTextFile(cut);
    RedirectAppData(appData);
    ASSERT_EQ(appData, ShellFolder(CSIDL_APPDATA));

    EXPECT_EQ(1, Run({IDYES, IDNO}));

    ExpectCompleted(boxes_);
    EXPECT_TRUE(FileExists(cut));
    ExpectUserKeys(false);
    EXPECT_TRUE(UserDataKept());   // the real one, not asked for here
}

// When the application-data folder cannot be queried there is no user-data
// path: composed from nothing it would name "\Corvane\User Data" on the
// current drive.
TEST_F(Uninstall, NoUserDataPathWithoutApplicationDataFolder)
{
    ASSERT_TRUE(FolderExists(kScratchDrive)) << "run through tests/run";
    const std::wstring stranger = std::wstring(kScratchDrive) + L"Corvane\\User Data";
    ASSERT_TRUE(MakeFolder(stranger));
    WriteTextFile(stranger + L"\\Bookmarks");
    CurrentDirectory current(kScratchDrive);
    RedirectAppData(folder_ / L"missing");
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)));

    EXPECT_EQ(1, Run({IDYES, IDNO}));

    ExpectCompleted(boxes_);
    EXPECT_TRUE(FileExists(stranger + L"\\Bookmarks"));
    ExpectUserKeys(false);
    EXPECT_TRUE(UserDataKept());

    DeleteFolderTree(std::wstring(kScratchDrive) + L"Corvane");
}

}  // namespace
