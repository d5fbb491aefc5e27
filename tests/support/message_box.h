// Reading and answering message boxes, in-process and from another process.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

struct MessageBoxInfo {
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text;
    bool hasIcon = false;          // a visible SS_ICON control
    std::vector<int> buttons;      // among IDOK, IDCANCEL, IDYES, IDNO
};

// What a message box shows. Wine gives the icon control another id than
// Windows, so the icon is found by its style.
MessageBoxInfo ReadMessageBox(HWND box);

// Presses a button of a message box; the box closes asynchronously.
void AnswerMessageBox(HWND box, int button);

// While alive, every message box that this thread shows is recorded and
// answered with the next of the given answers (IDOK once they run out, or
// IDNO for a box without OK). onShow runs while each box is up, before it is
// answered: a test reads there what the program shows meanwhile.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(std::vector<int> answers = {},
                                std::function<void(const MessageBoxInfo&)> onShow = {});
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<MessageBoxInfo>& shown() const { return shown_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    std::vector<int> answers_;
    std::function<void(const MessageBoxInfo&)> onShow_;
    std::vector<MessageBoxInfo> shown_;
    HHOOK hook_;
};
