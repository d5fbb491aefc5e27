// Drives the real setup.exe from outside, as a person would: starts it in a
// prepared folder, finds its window and message boxes, reads and works its
// controls, and reads its exit code. Every wait has a limit.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/message_box.h"

// The files under test: the setup.exe built with the tests, and the
// fixtures folder (halvex.exe, NotoEmoji.ttf).
std::wstring SetupExePath();
std::wstring FixturePath(const std::wstring& name);

// Lays out what a person unpacked into folder: Corvane\halvex.exe (the stub
// browser) and, when withFont, NotoEmoji.ttf.
void PreparePackage(const std::wstring& folder, bool withFont = true);

// Where the two options of the setup window put their results, and their
// removal (the font unloaded first), so that each test starts without them.
std::wstring InstalledFontPath();
std::wstring DesktopShortcutPath();
void RemoveInstalledOptions();

// Polls condition every 50 ms until it holds or timeoutMs has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// The command lines the stub browser in folder recorded (halvex-runs.txt),
// once it has written any; empty when it did not run within timeoutMs.
std::wstring WaitForBrowserRuns(const std::wstring& folder, DWORD timeoutMs = 15000);

struct ControlInfo {
    HWND handle = nullptr;
    std::wstring className;
    std::wstring text;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect = {};      // in the parent's client coordinates
    int checked = 0;     // BM_GETCHECK, for buttons
    int position = 0;    // PBM_GETPOS, for progress bars
};

ControlInfo ReadControl(HWND control);
// The child windows in creation order.
std::vector<ControlInfo> ReadControls(HWND window);
// The first child of that class and id (the label and the edit box share one).
HWND FindControl(HWND window, const std::wstring& className, int id);

// As typed by the user: replaces the edit box's text.
void TypeText(HWND edit, const std::wstring& text);
// Presses a button or check box. Posted, so a modal box it opens does not
// block the driver.
void Click(HWND button);
// Asks the window to close, as its close box does.
void PressCloseBox(HWND window);
// The folder text in the setup window's location edit box.
std::wstring LocationText(HWND window);

// One run of setup.exe. Ended by its handle if still running when dropped.
class SetupRun {
public:
    // Starts exe (setup.exe under test by default) with the arguments, in
    // workingFolder as its current directory.
    SetupRun(const std::wstring& workingFolder, const std::wstring& arguments = L"",
             const std::wstring& exe = SetupExePath());
    ~SetupRun();
    SetupRun(const SetupRun&) = delete;
    SetupRun& operator=(const SetupRun&) = delete;

    bool started() const { return process_ != nullptr; }

    // The setup window ("MyWindowClass", "Corvane Setup") of this process;
    // null when it does not appear in time.
    HWND WaitForWindow(DWORD timeoutMs = 15000);
    // A message box of this process with that caption; null on timeout.
    HWND WaitForMessageBox(const std::wstring& caption, DWORD timeoutMs = 15000);
    // Waits for a box, reads it, answers it: the common case in one call.
    // Fails the test and returns an empty info when no box came.
    MessageBoxInfo AnswerNextMessageBox(const std::wstring& caption, int button,
                                        DWORD timeoutMs = 15000);
    // Waits for the process to end and gives its exit code; on timeout the
    // process is ended, the test fails and false is returned.
    bool WaitForExit(DWORD* exitCode, DWORD timeoutMs = 15000);
    // Waits for the end and expects that exit code; false when the process
    // did not end in time.
    bool ExpectExit(DWORD expectedCode, DWORD timeoutMs = 15000);
    // Closes the setup window by its close box and expects exit code 0.
    bool CloseAndExpectExitZero(HWND window);
    bool IsRunning() const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};
