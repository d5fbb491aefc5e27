// The uninstall sequence.
#include "uninstall/uninstall_browser.h"

#include "app/installed_folder.h"
#include "common/bounded_text.h"
#include "common/names.h"
#include "install/browser_folder.h"
#include "install/registration.h"
#include "platform/platform.h"

// A key that still holds a subkey cannot be deleted: children come first.
const wchar_t* const UserKeys[] = {
    L"Software\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\Corvane",
    L"Software\\Corvane\\PreferenceMACs\\Default\\extensions.settings",
    L"Software\\Corvane\\PreferenceMACs\\Default",
    L"Software\\Corvane\\PreferenceMACs\\System Profile",
    L"Software\\Corvane\\PreferenceMACs",
    L"Software\\Corvane\\BLBeacon",
    L"Software\\Corvane\\StabilityMetrics",
    L"Software\\Corvane\\ThirdParty",
    L"Software\\Corvane",
};
const size_t UserKeyCount = sizeof(UserKeys) / sizeof(UserKeys[0]);

// Deletes the folder first + second with the shell, then removes it as an
// empty folder in case the shell left it. Nothing is deleted when the path
// does not fit: a cut path can name another folder.
static void DeleteComposedFolder(const wchar_t* first, const wchar_t* second)
{
    wchar_t path[MAX_PATH];
    if (CopyBounded(path, MAX_PATH, first) != kBoundedOk ||
        AppendBounded(path, MAX_PATH, second) != kBoundedOk)
        return;
    ShellDeletePath(path);
    RemoveDirectoryW(path);
}

static int Ask(const wchar_t* question)
{
    return MessageBoxW(NULL, question, SetupCaption, MB_YESNO | MB_ICONERROR);
}

// "Corvane\User Data" under the application-data folder. Without that folder
// the path would be relative to the root of the current drive: then nothing
// is deleted.
static void RemoveUserData()
{
    wchar_t appData[MAX_PATH];
    if (!GetShellFolder(CSIDL_APPDATA, appData) || appData[0] == L'\0')
        return;
    DeleteComposedFolder(appData, L"\\Corvane\\User Data");
}

// The folder the registration named, when it holds the browser. The
// registered command can have been written by anyone, or for a bad folder:
// a drive or share root, or a folder without the browser, is never deleted.
static void RemoveInstalledFolder(const wchar_t* folder)
{
    if (folder[0] == L'\0' || IsRootPath(folder) || !IsBrowserFolder(folder))
        return;
    DeleteComposedFolder(folder, L"\\");
}

int UninstallBrowser()
{
    if (Ask(L"Would you like to uninstall Corvane?") != IDYES)
        return 0;

    if (Ask(L"Would you like to keep your user data?") == IDNO) {
        RemoveUserData();
        for (size_t i = 0; i < UserKeyCount; ++i)
            RegDeleteKeyW(HKEY_CURRENT_USER, UserKeys[i]);
    }

    // Read before the registration that names it is removed.
    wchar_t* installed = GetInstalledFolder();
    RemoveRegistration();
    if (installed != NULL) {
        // The text starts with the opening quotation mark of the command.
        if (installed[0] != L'\0')
            RemoveInstalledFolder(installed + 1);
        HeapFree(GetProcessHeap(), 0, installed);
    }

    MessageBoxW(NULL, L"Corvane has been uninstalled.", SetupCaption, MB_OK);
    return 1;
}
