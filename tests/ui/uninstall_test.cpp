// Uninstalling with the real setup.exe: install through the window, then run
// it with an uninstall argument and answer its questions as a person would.
#include <gtest/gtest.h>

#include "common/names.h"
#include "driver/ui_driver.h"
#include "install/registration.h"
#include "res/resource.h"
#include "support/scratch.h"

namespace {

const wchar_t kUninstallQuestion[] = L"Would you like to uninstall Corvane?";
const wchar_t kKeepDataQuestion[] = L"Would you like to keep your user data?";

void ExpectQuestion(const MessageBoxInfo& box, const wchar_t* text)
{
    EXPECT_EQ(std::wstring(text), box.text);
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), box.buttons);
}

class UninstallRun : public testing::Test {
protected:
    void SetUp() override
    {
        RemoveRegistration();
        PreparePackage(package_.path(), false);
    }
    void TearDown() override { RemoveRegistration(); }

    // Installs into folder through the setup window, as a person would.
    void InstallThroughWindow(const std::wstring& folder)
    {
        SetupRun run(package_.path());
        HWND window = run.WaitForWindow();
        ASSERT_NE(nullptr, window);
        TypeText(FindControl(window, L"Edit", IDC_LOCATION), folder);
        Click(FindControl(window, L"Button", IDC_OK_BUTTON));
        MessageBoxInfo done = run.AnswerNextMessageBox(SetupCaption, IDOK);
        EXPECT_EQ(L"Corvane setup has successfully completed.", done.text);
        ASSERT_TRUE(run.ExpectExit(0));
        ASSERT_TRUE(FileExists(folder + L"\\halvex.exe"));
        ASSERT_TRUE(BrowserRegistered());
    }

    ScratchFolder package_;   // the unpacked download, setup.exe's current directory
    ScratchFolder target_;    // where the browser is installed
};

class UninstallAfterInstall : public UninstallRun {
protected:
    void SetUp() override
    {
        UninstallRun::SetUp();
        InstallThroughWindow(installed_);
    }

    const std::wstring installed_ = target_ / L"Corvane";
};

TEST_F(UninstallAfterInstall, RemovesTheInstalledBrowserThenOpensTheWindow)
{
    SetupRun run(package_.path(), L"uninstall");
    ExpectQuestion(run.AnswerNextMessageBox(SetupCaption, IDYES), kUninstallQuestion);
    ExpectQuestion(run.AnswerNextMessageBox(SetupCaption, IDYES), kKeepDataQuestion);

    HWND done = run.WaitForMessageBox(SetupCaption);
    ASSERT_NE(nullptr, done);
    // By the final message the browser is gone.
    EXPECT_FALSE(FolderExists(installed_));
    EXPECT_FALSE(BrowserRegistered());
    MessageBoxInfo finished = run.AnswerNextMessageBox(SetupCaption, IDOK);
    EXPECT_EQ(L"Corvane has been uninstalled.", finished.text);
    EXPECT_EQ(nullptr, finished.owner);
    EXPECT_FALSE(finished.hasIcon);
    EXPECT_EQ(std::vector<int>{IDOK}, finished.buttons);

    HWND window = run.WaitForWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Corvane", LocationText(window));
    run.CloseAndExpectExitZero(window);
}

TEST_F(UninstallAfterInstall, DecliningEndsWithCodeOneAndRemovesNothing)
{
    SetupRun run(package_.path(), L"uninstall");
    ExpectQuestion(run.AnswerNextMessageBox(SetupCaption, IDNO), kUninstallQuestion);
    ASSERT_TRUE(run.ExpectExit(1));
    EXPECT_TRUE(FileExists(installed_ + L"\\halvex.exe"));
    EXPECT_TRUE(BrowserRegistered());
}

// Which arguments run the uninstall: a case-sensitive "uninstall" anywhere
// in an argument, once per such argument.
TEST_F(UninstallRun, RunsOncePerArgumentContainingUninstall)
{
    {
        SCOPED_TRACE("x-uninstall-y runs it");
        SetupRun run(package_.path(), L"x-uninstall-y");
        ExpectQuestion(run.AnswerNextMessageBox(SetupCaption, IDNO), kUninstallQuestion);
        ASSERT_TRUE(run.ExpectExit(1));
    }
    {
        SCOPED_TRACE("Uninstall does not");
        SetupRun run(package_.path(), L"Uninstall");
        HWND window = run.WaitForWindow();
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(nullptr, run.WaitForMessageBox(SetupCaption, 0));
        run.CloseAndExpectExitZero(window);
    }
    {
        SCOPED_TRACE("two uninstall arguments, the second declined");
        SetupRun run(package_.path(), L"uninstall --uninstall");
        ExpectQuestion(run.AnswerNextMessageBox(SetupCaption, IDYES), kUninstallQuestion);
        ExpectQuestion(run.AnswerNextMessageBox(SetupCaption, IDYES), kKeepDataQuestion);
        EXPECT_EQ(L"Corvane has been uninstalled.",
                  run.AnswerNextMessageBox(SetupCaption, IDOK).text);
        ExpectQuestion(run.AnswerNextMessageBox(SetupCaption, IDNO), kUninstallQuestion);
        ASSERT_TRUE(run.ExpectExit(1));
    }
}

}  // namespace
