// The setup window's font, read in-process: a font handle cannot be read
// from another process.
#include <gtest/gtest.h>

#include "app/setup_window.h"
#include "common/names.h"
#include "driver/ui_driver.h"
#include "support/scratch.h"

namespace {

TEST(SetupFont, EveryTextControlGetsTahoma14)
{
    ScratchRegistry registry;
    LoadLibraryW(L"comctl32.dll");   // the progress bar's class
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = SetupWndProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = SetupWindowClass;
    ASSERT_NE(0, RegisterClassW(&windowClass));
    HWND window = CreateWindowExW(0, SetupWindowClass, SetupCaption,
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 400, 300,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, window);

    std::vector<ControlInfo> controls = ReadControls(window);
    ASSERT_EQ(7u, controls.size());
    HFONT shared = nullptr;
    for (const ControlInfo& control : controls) {
        SCOPED_TRACE(Narrow(control.className) + " " + std::to_string(control.id));
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(control.handle, WM_GETFONT, 0, 0));
        if (control.className == L"msctls_progress32")
            continue;   // the progress bar is given no font
        ASSERT_NE(nullptr, font);
        if (shared == nullptr)
            shared = font;
        EXPECT_EQ(shared, font) << "every control shares one font object";
        LOGFONTW description = {};
        ASSERT_NE(0, GetObjectW(font, sizeof(description), &description));
        EXPECT_EQ(14, description.lfHeight);
        EXPECT_EQ(0, description.lfWidth);
        EXPECT_EQ(FW_NORMAL, description.lfWeight);
        EXPECT_FALSE(description.lfItalic || description.lfUnderline || description.lfStrikeOut);
        EXPECT_EQ(DEFAULT_CHARSET, description.lfCharSet);
        EXPECT_EQ(std::wstring(L"Tahoma"), description.lfFaceName);
    }

    // Closing the window deletes the font and asks the loop to end with 0.
    DestroyWindow(window);
    EXPECT_EQ(0, GetObjectW(shared, 0, nullptr));
    MSG quit = {};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, quit.wParam);
    UnregisterClassW(SetupWindowClass, GetModuleHandleW(nullptr));
}

}  // namespace
