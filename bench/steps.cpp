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

template <typename Step>
static double Timed(Step step)
{
    double start = Now();
    step();
    return Now() - start;
}

static void SetProgress(HWND window, int position)
{
    SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETPOS, position, 0);
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

    BOOL moved = FALSE;
    double progress = Timed([&] { SetProgress(window, 10); });
    double move = Timed([&] { moved = MoveFileExW(L".\\Corvane", folder, MOVEFILE_COPY_ALLOWED); });
    progress += Timed([&] { SetProgress(window, 50); });
    double registration = Timed([&] { WriteRegistration(folder); });
    progress += Timed([&] { SetProgress(window, 70); });
    double font = Timed([&] { InstallEmojiFont(); });
    progress += Timed([&] { SetProgress(window, 85); });
    double shortcut = Timed([&] { CreateDesktopShortcut(folder); });
    progress += Timed([&] { SetProgress(window, 100); });

    DestroyWindow(window);
    std::printf("moved=%d move_ms=%.2f registration_ms=%.2f font_ms=%.2f shortcut_ms=%.2f "
                "progress_ms=%.2f\n",
                moved ? 1 : 0, move, registration, font, shortcut, progress);
    return moved ? 0 : 1;
}
