// Loading DLLs so that a DLL planted beside the program is never picked up.
#include "common/bounded_text.h"
#include "platform/platform.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

void RestrictDllSearch()
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == NULL)
        return;

    // SetDefaultDllDirectories exists from Windows 8, and on Vista/7 with
    // KB2533623. On Vista (6.0) it breaks creating the shell-link object, so
    // it is used only from Windows 7 (6.1) on.
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExW(&version);
    bool vistaOrOlder = version.dwMajorVersion < 6 ||
                        (version.dwMajorVersion == 6 && version.dwMinorVersion == 0);

    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
    SetDefaultDllDirectoriesFn setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
            GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (!vistaOrOlder && setDefaultDllDirectories != NULL &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;

    // XP SP1 and later: takes the current directory out of the search path.
    // The program's own folder stays in it, so the program imports only DLLs
    // that Windows always takes from System32 and loads the rest by full path.
    SetDllDirectoryW(L"");
    // The visual-styles DLL is loaded by bare name once the program calls
    // into user32 (user32 does it for theming), which would find a copy
    // beside the program. Loaded from System32 now, it is the one found by
    // name from then on; it stays loaded.
    LoadSystemLibrary(L"uxtheme.dll");
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return NULL;
    if (AppendBounded(path, MAX_PATH, L"\\") != kBoundedOk ||
        AppendBounded(path, MAX_PATH, name) != kBoundedOk)
        return NULL;
    // With a full path and this flag, the DLL's own imports are looked for in
    // System32 before the program's folder, too.
    return LoadLibraryExW(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}
