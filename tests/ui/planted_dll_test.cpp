// setup.exe is run from a Downloads folder, beside whatever else was
// downloaded: a DLL placed there under a system DLL's name must never be
// loaded into it. Each planted copy is a marker DLL that leaves
// "<name>.loaded" beside itself when a process loads it.
//
// What Wine can and cannot show:
// - Wine prefers its own builtin DLLs; the DLL overrides set below make it
//   prefer a native DLL found in the search path for the planted names, as
//   Windows would. The control run proves that this takes effect.
// - Wine has no known DLLs: on Windows kernel32, user32, gdi32, advapi32,
//   shell32, ole32, rpcrt4, combase, imm32, shlwapi and msvcrt always come
//   from System32, under Wine a planted copy of them is taken (Wine's own
//   imm32 delay-loads ole32 by bare name, for one). They are not planted;
//   the import check (tests/static/imports.sh) keeps setup.exe to such DLLs.
// - version.dll, sechost.dll, ucrtbase.dll, win32u.dll and zlib1.dll are
//   imports of Wine's own kernel32, advapi32 and user32: planted, Wine loads
//   them before the program's first instruction, whatever the program does.
//   On Windows they are no imports of the DLLs setup.exe imports.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include "driver/ui_driver.h"
#include "install/registration.h"
#include "res/resource.h"
#include "support/scratch.h"

namespace {

// DLLs that programs have been known to load from their own folder, and the
// ones this process loads at run time under Wine (WINEDEBUG=+loaddll).
const wchar_t* const kPlantedNames[] = {
    L"comctl32", L"uxtheme", L"dwmapi",   L"cryptbase", L"cryptsp",  L"winmm",
    L"propsys",  L"profapi", L"userenv",  L"apphelp",   L"sspicli",  L"ntmarta",
    L"msimg32",  L"oleacc",  L"linkinfo", L"ntshrui",   L"windowscodecs", L"textshaping",
};

class PlantedDll : public testing::Test {
protected:
    void SetUp() override
    {
        RemoveRegistration();
        RemoveInstalledOptions();
        PreparePackage(folder_.path());
        for (const wchar_t* name : kPlantedNames) {
            ASSERT_TRUE(CopyFileW(FixturePath(L"marker.dll").c_str(),
                                  (folder_ / name + L".dll").c_str(), FALSE));
        }
        for (const wchar_t* program : kPrograms)
            PreferNativeDlls(program);
    }

    void TearDown() override
    {
        RemoveRegistration();
        RemoveInstalledOptions();
        for (const wchar_t* program : kPrograms)
            SHDeleteKeyW(HKEY_CURRENT_USER, (kAppDefaults + program).c_str());
    }

    // Wine's per-program DLL overrides, read when a process starts (a
    // WINEDLLOVERRIDES set here would not reach the child): native first for
    // every planted name, so that Wine searches as Windows does.
    static void PreferNativeDlls(const std::wstring& program)
    {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExW(HKEY_CURRENT_USER, (kAppDefaults + program + L"\\DllOverrides").c_str(),
                                  0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr));
        const wchar_t order[] = L"native,builtin";
        for (const wchar_t* name : kPlantedNames)
            RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof(order));
        RegCloseKey(key);
    }

    // Runs a program copied into the folder, as one downloaded there.
    std::wstring CopyIntoFolder(const std::wstring& source, const std::wstring& name)
    {
        std::wstring copy = folder_ / name;
        EXPECT_TRUE(CopyFileW(source.c_str(), copy.c_str(), FALSE));
        return copy;
    }

    std::vector<std::wstring> LoadedMarkers()
    {
        std::vector<std::wstring> loaded;
        for (const wchar_t* name : kPlantedNames) {
            if (FileExists(folder_ / name + L".dll.loaded"))
                loaded.push_back(name);
        }
        return loaded;
    }

    static const std::wstring kAppDefaults;
    static const wchar_t* const kPrograms[2];
    ScratchFolder folder_;
};

const std::wstring PlantedDll::kAppDefaults = L"Software\\Wine\\AppDefaults\\";
const wchar_t* const PlantedDll::kPrograms[2] = {L"setup.exe", L"load_by_name.exe"};

std::string Join(const std::vector<std::wstring>& names)
{
    std::string joined;
    for (const std::wstring& name : names)
        joined += Narrow(name) + " ";
    return joined;
}

// Without this the test below could not fail: a program that loads DLLs by
// bare name gets the planted ones.
TEST_F(PlantedDll, ControlAProgramWithoutSafeguardsLoadsThem)
{
    std::wstring loader = CopyIntoFolder(FixturePath(L"load_by_name.exe"), L"load_by_name.exe");
    SetupRun run(folder_.path(), L"comctl32.dll uxtheme.dll dwmapi.dll cryptbase.dll", loader);
    ASSERT_TRUE(run.ExpectExit(0));
    std::vector<std::wstring> loaded = LoadedMarkers();
    EXPECT_EQ(4u, loaded.size()) << Join(loaded);
}

// Start-up, the window, and an install with both options: the shell's file
// operations, the font and the shell-link object load DLLs of their own.
TEST_F(PlantedDll, SetupLoadsNoneOfThemWhileInstalling)
{
    std::wstring setup = CopyIntoFolder(SetupExePath(), L"setup.exe");
    SetupRun run(folder_.path(), L"", setup);
    HWND window = run.WaitForWindow();
    ASSERT_NE(nullptr, window);
    TypeText(FindControl(window, L"Edit", IDC_LOCATION), folder_ / L"Installed");
    Click(FindControl(window, L"Button", IDC_EMOJI_FONT));
    Click(FindControl(window, L"Button", IDC_SHORTCUTS));
    Click(FindControl(window, L"Button", IDC_OK_BUTTON));
    MessageBoxInfo success = run.AnswerNextMessageBox(L"Corvane Setup", IDOK);
    EXPECT_EQ(L"Corvane setup has successfully completed.", success.text);
    ASSERT_TRUE(run.ExpectExit(0));
    EXPECT_TRUE(FileExists(folder_ / L"Installed\\halvex.exe"));

    std::vector<std::wstring> loaded = LoadedMarkers();
    EXPECT_TRUE(loaded.empty()) << "planted DLLs loaded: " << Join(loaded);
}

}  // namespace
