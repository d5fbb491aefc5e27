// Drives the real setup.exe from outside, as a person would.
#include "driver/ui_driver.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "support/scratch.h"

namespace {

std::wstring ModuleFolder()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window))
        return TRUE;
    wchar_t className[64] = {}, title[256] = {};
    GetClassNameW(window, className, 64);
    GetWindowTextW(window, title, 256);
    if (lstrcmpW(className, search->className) == 0 && lstrcmpW(title, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title,
                       DWORD timeoutMs)
{
    WindowSearch search = {processId, className, title, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

}  // namespace

std::wstring SetupExePath()
{
    // Test programs lie in <test build>\tests, setup.exe in <test build>.
    std::wstring tests = ModuleFolder();
    return tests.substr(0, tests.find_last_of(L'\\')) + L"\\setup.exe";
}

std::wstring FixturePath(const std::wstring& name)
{
    return ModuleFolder() + L"\\fixtures\\" + name;
}

void PreparePackage(const std::wstring& folder, bool withFont)
{
    ASSERT_TRUE(MakeFolder(folder + L"\\Corvane"));
    ASSERT_TRUE(CopyFileW(FixturePath(L"halvex.exe").c_str(),
                          (folder + L"\\Corvane\\halvex.exe").c_str(), FALSE));
    if (withFont) {
        ASSERT_TRUE(CopyFileW(FixturePath(L"NotoEmoji.ttf").c_str(),
                              (folder + L"\\NotoEmoji.ttf").c_str(), FALSE));
    }
}

std::wstring InstalledFontPath()
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Fonts\\NotoEmoji.ttf";
}

std::wstring DesktopShortcutPath()
{
    wchar_t desktop[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
    return std::wstring(desktop) + L"\\Corvane.lnk";
}

void RemoveInstalledOptions()
{
    // Each AddFontResourceW counts; unload until none is left.
    for (int i = 0; i < 10 && RemoveFontResourceW(InstalledFontPath().c_str()); ++i) {
    }
    DeleteFileW(InstalledFontPath().c_str());
    DeleteFileW(DesktopShortcutPath().c_str());
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
}

std::wstring WaitForBrowserRuns(const std::wstring& folder, DWORD timeoutMs)
{
    std::wstring trace = folder + L"\\halvex-runs.txt";
    std::string runs;
    WaitUntil([&] { return !(runs = ReadFileBytes(trace)).empty(); }, timeoutMs);
    // The stub writes UTF-16.
    return std::wstring(reinterpret_cast<const wchar_t*>(runs.data()), runs.size() / 2);
}

ControlInfo ReadControl(HWND control)
{
    ControlInfo info;
    info.handle = control;
    wchar_t text[1024] = {};
    GetClassNameW(control, text, 1024);
    info.className = text;
    text[0] = L'\0';
    // GetWindowTextW does not ask a window of another process for its text:
    // an edit box's text has to be requested.
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    info.text = text;
    info.id = GetDlgCtrlID(control);
    info.style = GetWindowLongW(control, GWL_STYLE);
    info.exStyle = GetWindowLongW(control, GWL_EXSTYLE);
    GetWindowRect(control, &info.rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&info.rect), 2);
    if (lstrcmpiW(info.className.c_str(), L"Button") == 0)
        info.checked = static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0));
    if (info.className == PROGRESS_CLASSW)
        info.position = static_cast<int>(SendMessageW(control, PBM_GETPOS, 0, 0));
    return info;
}

std::vector<ControlInfo> ReadControls(HWND window)
{
    // EnumChildWindows walks the z-order, which for children created without
    // reordering is their creation order.
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::vector<ControlInfo> controls;
    for (HWND child : children)
        controls.push_back(ReadControl(child));
    return controls;
}

HWND FindControl(HWND window, const std::wstring& className, int id)
{
    for (const ControlInfo& control : ReadControls(window)) {
        if (lstrcmpiW(control.className.c_str(), className.c_str()) == 0 && control.id == id)
            return control.handle;
    }
    return nullptr;
}

void TypeText(HWND edit, const std::wstring& text)
{
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
}

void PressCloseBox(HWND window)
{
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::wstring LocationText(HWND window)
{
    return ReadControl(FindControl(window, L"Edit", IDC_LOCATION)).text;
}

SetupRun::SetupRun(const std::wstring& workingFolder, const std::wstring& arguments,
                   const std::wstring& exe)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    bool created = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                  nullptr, workingFolder.c_str(), &startup, &process);
    EXPECT_TRUE(created) << "cannot start " << Narrow(exe) << ": " << GetLastError();
    if (!created)
        return;
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    processId_ = process.dwProcessId;
}

SetupRun::~SetupRun()
{
    if (process_ == nullptr)
        return;
    if (IsRunning()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

HWND SetupRun::WaitForWindow(DWORD timeoutMs)
{
    return FindProcessWindow(processId_, L"MyWindowClass", L"Corvane Setup", timeoutMs);
}

HWND SetupRun::WaitForMessageBox(const std::wstring& caption, DWORD timeoutMs)
{
    return FindProcessWindow(processId_, L"#32770", caption.c_str(), timeoutMs);
}

MessageBoxInfo SetupRun::AnswerNextMessageBox(const std::wstring& caption, int button,
                                              DWORD timeoutMs)
{
    HWND box = WaitForMessageBox(caption, timeoutMs);
    EXPECT_NE(nullptr, box) << "no message box \"" << Narrow(caption) << "\" appeared";
    if (box == nullptr)
        return MessageBoxInfo();
    MessageBoxInfo info = ReadMessageBox(box);
    AnswerMessageBox(box, button);
    // The box is gone once the program has taken the answer.
    WaitUntil([&] { return !IsWindow(box); }, timeoutMs);
    return info;
}

bool SetupRun::WaitForExit(DWORD* exitCode, DWORD timeoutMs)
{
    if (process_ == nullptr)
        return false;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "setup.exe did not end within " << timeoutMs << " ms";
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
        return false;
    }
    GetExitCodeProcess(process_, exitCode);
    return true;
}

bool SetupRun::ExpectExit(DWORD expectedCode, DWORD timeoutMs)
{
    DWORD exitCode = 99;
    if (!WaitForExit(&exitCode, timeoutMs))
        return false;
    EXPECT_EQ(expectedCode, exitCode) << "exit code of setup.exe";
    return true;
}

bool SetupRun::CloseAndExpectExitZero(HWND window)
{
    PressCloseBox(window);
    return ExpectExit(0);
}

bool SetupRun::IsRunning() const
{
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}
