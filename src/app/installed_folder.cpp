// The folder of an earlier installation, read from its registration.
#include "app/installed_folder.h"

#include <wchar.h>

#include "common/bounded_text.h"
#include "common/names.h"
#include "platform/platform.h"

wchar_t* GetInstalledFolder()
{
    const DWORD kBufferUnits = 512;
    wchar_t* text = static_cast<wchar_t*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, kBufferUnits * sizeof(wchar_t)));
    if (text == NULL)
        return NULL;

    wchar_t keyPath[MAX_PATH];
    CopyBounded(keyPath, MAX_PATH, ClientKeyPath);
    AppendBounded(keyPath, MAX_PATH, L"\\shell\\open\\command");

    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        HeapFree(GetProcessHeap(), 0, text);
        return NULL;
    }
    // Only half the buffer is offered: the zero-filled other half keeps the
    // text terminated even when the stored value is not.
    DWORD size = kBufferUnits;
    LONG status = RegQueryValueExW(key, NULL, NULL, NULL, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        HeapFree(GetProcessHeap(), 0, text);
        return NULL;
    }

    wchar_t* lastBackslash = wcsrchr(text, L'\\');
    if (lastBackslash != NULL)
        *lastBackslash = L'\0';
    return text;
}
