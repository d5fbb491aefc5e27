// Where the install time goes: runs the steps of the install sequence once,
// in its order, in a fresh process as setup.exe does, and prints the time of
// each (key=value, milliseconds). Run in a folder holding Corvane\ and
// NotoEmoji.ttf; FOLDER must not exist yet.
//   steps FOLDER
#include <cstdio>

#include "install/font_and_shortcut.h"
#include "install/registration.h"
#include "platform/platform.h"
#include "res/resource.h"

static LARGE_INTEGER frequency;

static double Now()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * counter.QuadPart / frequency.QuadPart;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 2;
    const wchar_t* folder = argv[1];
    QueryPerformanceFrequency(&frequency);

    // A shown window with the setup window's progress bar, which the
    // sequence moves five times.
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    HWND window = CreateWindowExW(0, L"STATIC", L"steps", WS_POPUP | WS_VISIBLE | WS_CAPTION, 100,
                                  100, 400, 300, NULL, NULL, NULL, NULL);
    CreateWindowExW(0, PROGRESS_CLASSW, NULL, WS_CHILD | WS_VISIBLE, 10, 180, 300, 20, window,
                    reinterpret_cast<HMENU>(IDC_PROGRESS), NULL, NULL);
    UpdateWindow(window);

    double progress = 0;
    double start = Now();
    SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETPOS, 10, 0);
    progress += Now() - start;

    start = Now();
    BOOL moved = MoveFileExW(L".\\Corvane", folder, MOVEFILE_COPY_ALLOWED);
    double move = Now() - start;

    start = Now();
    SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETPOS, 50, 0);
    progress += Now() - start;

    start = Now();
    WriteRegistration(folder);
    double registration = Now() - start;

    start = Now();
    SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETPOS, 70, 0);
    progress += Now() - start;

    start = Now();
    InstallEmojiFont();
    double font = Now() - start;

    start = Now();
    SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETPOS, 85, 0);
    progress += Now() - start;

    start = Now();
    CreateDesktopShortcut(folder);
    double shortcut = Now() - start;

    start = Now();
    SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETPOS, 100, 0);
    progress += Now() - start;

    DestroyWindow(window);
    std::printf("moved=%d move_ms=%.2f registration_ms=%.2f font_ms=%.2f shortcut_ms=%.2f "
                "progress_ms=%.2f\n",
                moved ? 1 : 0, move, registration, font, shortcut, progress);
    return moved ? 0 : 1;
}
