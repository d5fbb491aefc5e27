// Program entry: uninstall arguments first, then the setup window.
#include <wchar.h>

#include "app/setup_window.h"
#include "common/names.h"
#include "platform/platform.h"
#include "uninstall/uninstall_browser.h"

// Runs the uninstall sequence once for every argument that contains
// "uninstall" (case-sensitive; the program path is not examined). Returns 0
// as soon as the user declines one.
static int RunUninstallArguments()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == NULL)
        return 1;

    int goOn = 1;
    for (int i = 1; i < count && goOn; ++i) {
        if (wcsstr(arguments[i], L"uninstall") != NULL)
            goOn = UninstallBrowser();
    }
    LocalFree(arguments);
    return goOn;
}

// The progress bar's class lives in comctl32.dll, which Windows does not
// always take from System32: load it from there by full path. It stays loaded
// for the life of the process, as the class must.
static void LoadProgressBarClass()
{
    HMODULE commonControls = LoadSystemLibrary(L"comctl32.dll");
    if (commonControls == NULL)
        return;
    typedef BOOL(WINAPI * InitCommonControlsExFn)(const INITCOMMONCONTROLSEX*);
    InitCommonControlsExFn initCommonControlsEx = reinterpret_cast<InitCommonControlsExFn>(
        reinterpret_cast<void*>(GetProcAddress(commonControls, "InitCommonControlsEx")));
    if (initCommonControlsEx != NULL) {
        INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_PROGRESS_CLASS};
        initCommonControlsEx(&classes);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    RestrictDllSearch();
    // Before the uninstall sequence too: the shell may load comctl32 by name
    // (for its dialogs), and then finds the System32 one already loaded.
    LoadProgressBarClass();

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = SetupWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = SetupWindowClass;

    if (!RunUninstallArguments())
        return 1;

    // Without a window no quit request would ever come: end at once.
    if (!RegisterClassW(&windowClass))
        return 2;
    HWND window = CreateWindowExW(0, SetupWindowClass, SetupCaption,
                                  WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, 100, 100, 400,
                                  300, NULL, NULL, instance, NULL);
    if (window == NULL)
        return 2;

    MSG message = {};
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
