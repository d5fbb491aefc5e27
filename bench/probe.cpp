// Times an installer from outside, as a person would use it, and prints one
// line of key=value results:
//   probe start EXE TITLE
//     start EXE in the current folder, time until a visible top-level window
//     titled TITLE shows, read the process's peak working set, end it.
//   probe install EXE TITLE FOLDER EDIT_ID OK_ID CHECK_IDS SUCCESS_CAPTION
//     start EXE, wait for its window, type FOLDER into the control EDIT_ID,
//     click each control of CHECK_IDS (comma-separated, or "-"), then time
//     from clicking OK_ID to a message box titled SUCCESS_CAPTION; read the
//     peak working set there, answer the box, wait for the process to end.
// Every wait has a limit; a program that overruns it is ended.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

LARGE_INTEGER frequency;

double Now()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * counter.QuadPart / frequency.QuadPart;
}

struct Search {
    DWORD processId;
    const wchar_t* title;
    HWND exclude;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    Search* search = reinterpret_cast<Search*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || window == search->exclude || !IsWindowVisible(window))
        return TRUE;
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (wcscmp(title, search->title) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// Polls every millisecond, up to timeoutMs.
HWND WaitForWindow(DWORD processId, const wchar_t* title, HWND exclude, double timeoutMs)
{
    double start = Now();
    Search search = {processId, title, exclude, nullptr};
    while (Now() - start < timeoutMs) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        Sleep(1);
    }
    return nullptr;
}

struct ChildSearch {
    int id;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM parameter)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(parameter);
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (GetDlgCtrlID(child) != search->id || _wcsicmp(className, search->className) != 0 ||
        !IsWindowVisible(child))
        return TRUE;
    search->found = child;
    return FALSE;
}

// Any visible descendant of that id and class: an installer's controls may
// sit in an inner dialog, and a label may share the id of its edit box.
HWND FindDescendant(HWND window, int id, const wchar_t* className)
{
    ChildSearch search = {id, className, nullptr};
    EnumChildWindows(window, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

SIZE_T PeakWorkingSet(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    return GetProcessMemoryInfo(process, &counters, sizeof(counters)) ? counters.PeakWorkingSetSize
                                                                      : 0;
}

int Fail(const char* what, PROCESS_INFORMATION* process)
{
    std::printf("error=%s\n", what);
    if (process != nullptr && process->hProcess != nullptr) {
        TerminateProcess(process->hProcess, 99);
        WaitForSingleObject(process->hProcess, 5000);
    }
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    QueryPerformanceFrequency(&frequency);
    if (argc < 4)
        return Fail("usage", nullptr);
    std::wstring mode = argv[1];
    std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
    const wchar_t* title = argv[3];

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    double started = Now();
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return Fail("cannot-start", nullptr);
    CloseHandle(process.hThread);
    HWND window = WaitForWindow(process.dwProcessId, title, nullptr, 30000);
    double shown = Now();
    if (window == nullptr)
        return Fail("no-window", &process);

    if (mode == L"start") {
        std::printf("start_ms=%.1f peak_ws=%zu\n", shown - started, PeakWorkingSet(process.hProcess));
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hProcess);
        return 0;
    }

    if (mode != L"install" || argc < 9)
        return Fail("usage", &process);
    HWND edit = FindDescendant(window, _wtoi(argv[5]), L"Edit");
    HWND ok = FindDescendant(window, _wtoi(argv[6]), L"Button");
    if (edit == nullptr || ok == nullptr)
        return Fail("no-controls", &process);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
    for (wchar_t* id = argv[7]; *id != L'\0' && *id != L'-';) {
        HWND check = FindDescendant(window, static_cast<int>(wcstol(id, &id, 10)), L"Button");
        if (check != nullptr)
            SendMessageW(check, BM_CLICK, 0, 0);
        if (*id == L',')
            ++id;
    }

    double pressed = Now();
    PostMessageW(ok, BM_CLICK, 0, 0);
    HWND box = WaitForWindow(process.dwProcessId, argv[8], window, 120000);
    double done = Now();
    if (box == nullptr)
        return Fail("no-success-message", &process);
    SIZE_T peak = PeakWorkingSet(process.hProcess);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD exitCode = 99;
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        return Fail("no-exit", &process);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    std::printf("install_ms=%.1f peak_ws=%zu exit=%lu\n", done - pressed, peak, exitCode);
    return 0;
}
