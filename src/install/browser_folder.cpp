// Recognising what a folder text names before anything is deleted there.
#include "install/browser_folder.h"

#include "common/bounded_text.h"
#include "common/names.h"
#include "platform/platform.h"

static bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

static bool IsDriveLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Length of the \\server\share prefix of a UNC path, or 0 when the path has
// no non-empty server and share.
static size_t ShareRootLength(const wchar_t* path)
{
    if (!IsSeparator(path[0]) || !IsSeparator(path[1]))
        return 0;
    size_t i = 2;
    size_t serverStart = i;
    while (path[i] != L'\0' && !IsSeparator(path[i]))
        ++i;
    if (i == serverStart || path[i] == L'\0')
        return 0;
    size_t shareStart = ++i;
    while (path[i] != L'\0' && !IsSeparator(path[i]))
        ++i;
    return i == shareStart ? 0 : i;
}

int IsFullPath(const wchar_t* path)
{
    if (IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]))
        return 1;
    return ShareRootLength(path) != 0;
}

int IsRootPath(const wchar_t* path)
{
    // Resolve "." and ".." first: C:\Windows\.. names the drive root.
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(path, MAX_PATH, full, NULL);
    if (length == 0 || length >= MAX_PATH)
        return 1;   // cannot tell: treat it as a root, so nothing is deleted

    size_t rootLength = ShareRootLength(full);
    if (rootLength == 0) {
        if (!(IsDriveLetter(full[0]) && full[1] == L':'))
            return 1;
        rootLength = 2;
    }
    for (const wchar_t* rest = full + rootLength; *rest != L'\0'; ++rest) {
        if (!IsSeparator(*rest))
            return 0;
    }
    return 1;
}

int IsBrowserFolder(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;

    wchar_t executable[MAX_PATH];
    if (CopyBounded(executable, MAX_PATH, path) != kBoundedOk ||
        AppendBounded(executable, MAX_PATH, L"\\") != kBoundedOk ||
        AppendBounded(executable, MAX_PATH, BrowserExecutable) != kBoundedOk)
        return 0;
    attributes = GetFileAttributesW(executable);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
