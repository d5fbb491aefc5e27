// The install sequence run by OK: puts the browser folder in place without
// ever losing what was at the installation folder, then registers it and
// carries out the two options.
#include "install/install_browser.h"

#include "common/bounded_text.h"
#include "common/names.h"
#include "install/browser_folder.h"
#include "install/font_and_shortcut.h"
#include "install/registration.h"
#include "res/resource.h"

static const wchar_t InvalidLocationText[] =
    L"Installation location is invalid - change to a valid location.";
static const wchar_t UnspecifiedErrorText[] = L"Unspecified error.";

// How many names beside the installation folder are tried for setting an
// earlier installation aside.
static const int SetAsideAttempts = 100;

static void SetProgress(HWND owner, int position)
{
    SendDlgItemMessageW(owner, IDC_PROGRESS, PBM_SETPOS, position, 0);
}

// Tells the user why the browser folder could not be put in place, then
// empties the progress bar. Always returns 0, the failure of the sequence.
static int ReportFailure(HWND owner, const wchar_t* text)
{
    MessageBoxW(owner, text, L"Error", MB_OK | MB_ICONERROR);
    SetProgress(owner, 0);
    return 0;
}

// Composes folder (without trailing separators) + ".previous" and, after the
// first attempt, "-2", "-3", ...: a sibling in the same parent folder, so
// that setting the folder aside is a rename on the same volume. Returns 0 when
// the name does not fit.
static int ComposeSetAsideName(const wchar_t* folder, int attempt, wchar_t* name)
{
    if (CopyBounded(name, MAX_PATH, folder) != kBoundedOk)
        return 0;
    size_t length = lstrlenW(name);
    while (length > 0 && (name[length - 1] == L'\\' || name[length - 1] == L'/'))
        name[--length] = L'\0';
    if (AppendBounded(name, MAX_PATH, L".previous") != kBoundedOk)
        return 0;
    if (attempt == 1)
        return 1;

    wchar_t number[16];
    wsprintfW(number, L"-%d", attempt);
    return AppendBounded(name, MAX_PATH, number) == kBoundedOk;
}

// Renames an earlier installation to an unused name beside it, so that it can
// be put back if the new folder cannot be moved in. Only a rename, never a
// copy: a folder that cannot be renamed (in use, no rights) stays where it is,
// and the move that follows fails on it. Returns 1 with the new name in
// setAside.
static int SetAsideEarlierInstallation(const wchar_t* folder, wchar_t* setAside)
{
    for (int attempt = 1; attempt <= SetAsideAttempts; ++attempt) {
        if (!ComposeSetAsideName(folder, attempt, setAside))
            return 0;
        // Without a replace flag the rename fails on a name in use.
        if (MoveFileExW(folder, setAside, 0))
            return 1;
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            return 0;
    }
    return 0;
}

// Clears the way at the installation folder. Only an earlier installation
// (a folder holding the browser's executable) is taken away, and only set
// aside; an empty folder is removed, since nothing is lost with it. Anything
// else, and a drive or share root whatever it holds, stays as it is: the move
// then fails on it and the user is told. Returns 1 when an earlier
// installation was set aside, with its new name in setAside.
static int ClearInstallationFolder(const wchar_t* folder, wchar_t* setAside)
{
    if (lstrlenW(folder) >= MAX_PATH || GetFileAttributesW(folder) == INVALID_FILE_ATTRIBUTES ||
        IsRootPath(folder))
        return 0;
    if (IsBrowserFolder(folder))
        return SetAsideEarlierInstallation(folder, setAside);
    RemoveDirectoryW(folder);   // fails unless it is an empty folder
    return 0;
}

int InstallBrowser(HWND owner, const wchar_t* folder, int installEmojiFont, int createShortcut)
{
    SetProgress(owner, 10);

    // A relative or empty text would be resolved against the current
    // directory, and registered as a command Windows cannot run.
    if (!IsFullPath(folder))
        return ReportFailure(owner, InvalidLocationText);

    wchar_t setAside[MAX_PATH];
    int hasSetAside = ClearInstallationFolder(folder, setAside);

    if (!MoveFileExW(PackageFolder, folder, MOVEFILE_COPY_ALLOWED)) {
        DWORD error = GetLastError();
        if (hasSetAside)
            MoveFileExW(setAside, folder, 0);
        return ReportFailure(owner,
                             error == ERROR_INVALID_NAME ? InvalidLocationText : UnspecifiedErrorText);
    }
    if (hasSetAside)
        ShellDeletePath(setAside);
    SetProgress(owner, 50);

    WriteRegistration(folder);
    SetProgress(owner, 70);

    if (installEmojiFont)
        InstallEmojiFont();
    SetProgress(owner, 85);

    if (createShortcut)
        CreateDesktopShortcut(folder);
    SetProgress(owner, 100);
    return 1;
}
