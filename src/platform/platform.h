// The one place that includes the Windows headers, with the program's
// settings: UTF-16 functions, and nothing newer than Windows XP.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0501
#undef WINVER
#define WINVER 0x0501
#undef _WIN32_IE
#define _WIN32_IE 0x0600
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>

// SHFileOperationW flags for every delete the program makes: permanent, no
// progress, no question, no error dialog (0x0614).
const FILEOP_FLAGS kSilentDeleteFlags =
    FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;

// Deletes a file, or a folder with its contents, permanently and silently
// through the shell. A path of MAX_PATH units or more is not deleted.
// Returns 1 when the shell reports success.
int ShellDeletePath(const wchar_t* path);

// A shell folder (CSIDL_APPDATA, CSIDL_PROGRAM_FILES, CSIDL_DESKTOPDIRECTORY)
// into a MAX_PATH buffer, without a trailing backslash. Returns 1 on success;
// on failure the buffer holds an empty text.
int GetShellFolder(int csidl, wchar_t* buffer);

// Narrows the DLL search path so that nothing beside the program is loaded.
// Called first thing at entry.
void RestrictDllSearch();

// Loads a DLL from the System32 folder by its full path; null on failure.
HMODULE LoadSystemLibrary(const wchar_t* name);
