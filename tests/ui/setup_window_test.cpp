// The setup window as a person sees and works it, on the real setup.exe.
#include <gtest/gtest.h>

#include "driver/ui_driver.h"
#include "install/registration.h"
#include "res/resource.h"
#include "support/scratch.h"

namespace {

struct ExpectedControl {
    const wchar_t* className;
    const wchar_t* text;   // null: not compared (the edit box)
    DWORD style;
    int x, y, width, height, id;
};

// Wine reads an edit box's WS_BORDER back cleared: the edit box's style is
// compared without it.
const ExpectedControl kControls[] = {
    {L"Static", L"Specify the location of the Corvane folder.", 0x50000000, 10, 10, 300, 25, 1001},
    {L"Edit", nullptr, 0x50800080, 10, 50, 350, 25, 1001},
    {L"Button", L"Install Noto Emoji font", 0x50000002, 10, 90, 200, 25, 1002},
    {L"Button", L"Create shortcuts for Corvane", 0x50000002, 10, 120, 300, 25, 1003},
    {L"Button", L"OK", 0x50000001, 90, 220, 100, 25, 1006},
    {L"Button", L"Cancel", 0x50000001, 220, 220, 100, 25, 1007},
    {L"msctls_progress32", L"", 0x50000000, 10, 180, 300, 20, 1008},
};

class SetupWindow : public testing::Test {
protected:
    void SetUp() override
    {
        RemoveRegistration();
        PreparePackage(folder_.path(), false);
    }

    ScratchFolder folder_;
};

TEST_F(SetupWindow, ShowsItsSevenControls)
{
    SetupRun run(folder_.path());
    HWND window = run.WaitForWindow();
    ASSERT_NE(nullptr, window);

    // Windows adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(0x90C80000u,
              static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & ~WS_CLIPSIBLINGS);
    EXPECT_EQ(0u, static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)) & ~WS_EX_WINDOWEDGE);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(100, frame.left);
    EXPECT_EQ(100, frame.top);
    EXPECT_EQ(400, frame.right - frame.left);
    EXPECT_EQ(300, frame.bottom - frame.top);

    std::vector<ControlInfo> controls = ReadControls(window);
    ASSERT_EQ(7u, controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        const ExpectedControl& expected = kControls[i];
        const ControlInfo& control = controls[i];
        SCOPED_TRACE(Narrow(expected.className) + " " + std::to_string(expected.id));
        EXPECT_EQ(0, lstrcmpiW(expected.className, control.className.c_str()))
            << Narrow(control.className);
        if (expected.text != nullptr)
            EXPECT_EQ(std::wstring(expected.text), control.text);
        EXPECT_EQ(expected.style & ~WS_BORDER, control.style & ~WS_BORDER);
        EXPECT_EQ(0u, control.exStyle & ~WS_EX_CLIENTEDGE & ~WS_EX_NOPARENTNOTIFY);
        EXPECT_EQ(expected.x, control.rect.left);
        EXPECT_EQ(expected.y, control.rect.top);
        EXPECT_EQ(expected.width, control.rect.right - control.rect.left);
        EXPECT_EQ(expected.height, control.rect.bottom - control.rect.top);
        EXPECT_EQ(expected.id, control.id);
        EXPECT_EQ(0, control.checked);
        EXPECT_EQ(0, control.position);
    }
    PressCloseBox(window);
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(&exitCode));
    EXPECT_EQ(0u, exitCode);
}

}  // namespace
