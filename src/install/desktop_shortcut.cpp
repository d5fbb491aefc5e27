// Puts a shortcut to the browser's executable on the user's desktop.
#include "common/bounded_text.h"
#include "common/names.h"
#include "install/font_and_shortcut.h"
#include "platform/platform.h"

void CreateDesktopShortcut(const wchar_t* folder)
{
    // S_FALSE (COM already initialised on this thread) still needs its
    // CoUninitialize.
    HRESULT hr = CoInitialize(NULL);
    if (FAILED(hr))
        return;

    IShellLinkW* link = NULL;
    hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                          reinterpret_cast<void**>(&link));
    if (SUCCEEDED(hr)) {
        wchar_t target[MAX_PATH];
        CopyBounded(target, MAX_PATH, folder);
        AppendBounded(target, MAX_PATH, L"\\");
        AppendBounded(target, MAX_PATH, BrowserExecutable);
        link->SetPath(target);
        link->SetDescription(L"Corvane Web Browser");

        IPersistFile* file = NULL;
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(hr)) {
            wchar_t path[MAX_PATH];
            if (GetShellFolder(CSIDL_DESKTOPDIRECTORY, path)) {
                AppendBounded(path, MAX_PATH, L"\\Corvane.lnk");
                file->Save(path, TRUE);
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
}
