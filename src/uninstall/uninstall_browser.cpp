// The uninstall sequence.
#include "uninstall/uninstall_browser.h"

#include "app/installed_folder.h"
#include "common/bounded_text.h"
#include "common/names.h"
#include "install/browser_folder.h"
#include "install/registration.h"
#include "platform/platform.h"

// The browser's own keys under HKEY_CURRENT_USER, children before parents:
// a key that still holds a subkey cannot be deleted.
static const wchar_t* const kUserKeys[] = {
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

// Capacity of a delete list's path; its buffer holds MAX_PATH + 2 units.
const size_t kListPathCapacity = MAX_PATH;

// Composes first + second as a one-path delete list for the shell. Returns 0
// when the path did not fit: a cut path can name another folder, so it must
// not be deleted.
static int ComposeDeleteList(wchar_t (&list)[MAX_PATH + 2], const wchar_t* first,
                             const wchar_t* second)
{
    if (CopyBounded(list, kListPathCapacity, first) != kBoundedOk ||
        AppendBounded(list, kListPathCapacity, second) != kBoundedOk)
        return 0;
    // SHFileOperationW reads a list of paths ended by an empty one: the path
    // must be followed by a second terminator, or the shell reads on into
    // whatever follows and deletes that too.
    list[lstrlenW(list) + 1] = L'\0';
    return 1;
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
    wchar_t list[MAX_PATH + 2] = {};
    if (!ComposeDeleteList(list, appData, L"\\Corvane\\User Data"))
        return;
    ShellDeleteList(list);
    RemoveDirectoryW(list);
}

// The folder the registration named, when it holds the browser. The
// registered command can have been written by anyone, or for a bad folder:
// a drive or share root, or a folder without the browser, is never deleted.
static void RemoveInstalledFolder(const wchar_t* folder)
{
    if (folder[0] == L'\0' || IsRootPath(folder) || !IsBrowserFolder(folder))
        return;
    wchar_t list[MAX_PATH + 2] = {};
    if (!ComposeDeleteList(list, folder, L"\\"))
        return;
    ShellDeleteList(list);
    RemoveDirectoryW(folder);
}

int UninstallBrowser()
{
    if (Ask(L"Would you like to uninstall Corvane?") != IDYES)
        return 0;

    if (Ask(L"Would you like to keep your user data?") == IDNO) {
        RemoveUserData();
        for (size_t i = 0; i < sizeof(kUserKeys) / sizeof(kUserKeys[0]); ++i)
            RegDeleteKeyW(HKEY_CURRENT_USER, kUserKeys[i]);
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
