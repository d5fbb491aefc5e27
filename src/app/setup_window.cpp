// The setup window: builds its controls, fills in the installation folder,
// toggles the two options and turns OK and Cancel into an install and a
// confirmed exit.
#include "app/setup_window.h"

#include "app/installed_folder.h"
#include "common/bounded_text.h"
#include "common/names.h"
#include "install/install_browser.h"
#include "res/resource.h"

static HFONT SetupFont;              // given to every text control
static HWND LocationEdit;            // the installation folder text
static HWND EmojiFontCheckBox;       // "Install Noto Emoji font"
static HWND ShortcutCheckBox;        // "Create shortcuts for Corvane"
static HWND ProgressBar;             // moved by the install sequence

// Moves a data folder left in the temporary folder to the roaming
// application-data folder. Skipped when either folder is unknown or a path
// does not fit, so that nothing is moved to or from a cut path.
static void CarryOverDataFolder()
{
    wchar_t source[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, source);
    if (length == 0 || length >= MAX_PATH)
        return;
    // The temporary folder already ends in a backslash; the doubled
    // separator is read as one.
    if (AppendBounded(source, MAX_PATH, L"\\Corvane") != kBoundedOk)
        return;

    wchar_t destination[MAX_PATH];
    if (!GetShellFolder(CSIDL_APPDATA, destination) ||
        AppendBounded(destination, MAX_PATH, L"\\Corvane") != kBoundedOk)
        return;

    MoveFileExW(source, destination, MOVEFILE_COPY_ALLOWED);
}

static HWND CreateControl(HWND parent, const wchar_t* className, const wchar_t* text,
                          DWORD style, int x, int y, int width, int height, int id)
{
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                           height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           NULL, NULL);
}

static void SetControlFont(HWND control)
{
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(SetupFont), TRUE);
}

// The folder of an earlier installation, else the program-files folder
// followed by "\Corvane". When neither is known the box stays empty for the
// user to fill in.
static void FillLocation(const wchar_t* installedFolder)
{
    if (installedFolder != NULL) {
        SetWindowTextW(LocationEdit, installedFolder + 1);   // drop the quotation mark
        return;
    }
    wchar_t folder[MAX_PATH];
    if (GetShellFolder(CSIDL_PROGRAM_FILES, folder)) {
        AppendBounded(folder, MAX_PATH, L"\\Corvane");
        SetWindowTextW(LocationEdit, folder);
    }
}

static void OnCreate(HWND window)
{
    CarryOverDataFolder();
    wchar_t* installedFolder = GetInstalledFolder();

    SetupFont = CreateFontW(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");

    HWND label = CreateControl(window, L"STATIC", L"Specify the location of the Corvane folder.",
                               0, 10, 10, 300, 25, IDC_LOCATION);
    SetControlFont(label);
    LocationEdit = CreateControl(window, L"EDIT", NULL, WS_BORDER | ES_AUTOHSCROLL, 10, 50,
                                 350, 25, IDC_LOCATION);
    SetControlFont(LocationEdit);
    FillLocation(installedFolder);
    if (installedFolder != NULL)
        HeapFree(GetProcessHeap(), 0, installedFolder);

    EmojiFontCheckBox = CreateControl(window, L"BUTTON", L"Install Noto Emoji font",
                                      BS_CHECKBOX, 10, 90, 200, 25, IDC_EMOJI_FONT);
    ShortcutCheckBox = CreateControl(window, L"BUTTON", L"Create shortcuts for Corvane",
                                     BS_CHECKBOX, 10, 120, 300, 25, IDC_SHORTCUTS);
    SetControlFont(EmojiFontCheckBox);
    SetControlFont(ShortcutCheckBox);
    SetControlFont(CreateControl(window, L"BUTTON", L"OK", BS_DEFPUSHBUTTON, 90, 220, 100, 25,
                                 IDC_OK_BUTTON));
    SetControlFont(CreateControl(window, L"BUTTON", L"Cancel", BS_DEFPUSHBUTTON, 220, 220, 100,
                                 25, IDC_CANCEL_BUTTON));

    ProgressBar = CreateControl(window, PROGRESS_CLASSW, NULL, 0, 10, 180, 300, 20, IDC_PROGRESS);
    SendMessageW(ProgressBar, PBM_SETPOS, 0, 0);
}

// The check boxes are plain ones: the window toggles them itself.
static void ToggleCheckBox(HWND checkBox)
{
    bool checked = SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    SendMessageW(checkBox, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
}

static void OnOk(HWND window)
{
    int length = GetWindowTextLengthW(LocationEdit);
    wchar_t* folder = static_cast<wchar_t*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, (length + 1) * sizeof(wchar_t)));
    if (folder == NULL)
        return;
    GetWindowTextW(LocationEdit, folder, length + 1);

    int installEmojiFont = SendMessageW(EmojiFontCheckBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    int createShortcut = SendMessageW(ShortcutCheckBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    int installed = InstallBrowser(window, folder, installEmojiFont, createShortcut);
    if (installed)
        MessageBoxW(window, L"Corvane setup has successfully completed.", SetupCaption, MB_OK);
    HeapFree(GetProcessHeap(), 0, folder);
    if (installed)
        PostQuitMessage(0);
}

static void OnCancel(HWND window)
{
    // The one ANSI message box of the program.
    if (MessageBoxA(window, "Would you like to cancel Corvane Setup?", "Corvane Setup",
                    MB_YESNO) != IDYES)
        return;
    DeleteObject(SetupFont);
    SetupFont = NULL;
    PostQuitMessage(0);
}

static void OnCommand(HWND window, int id)
{
    switch (id) {
    case IDC_EMOJI_FONT:
        ToggleCheckBox(EmojiFontCheckBox);
        break;
    case IDC_SHORTCUTS:
        ToggleCheckBox(ShortcutCheckBox);
        break;
    case IDC_OK_BUTTON:
        OnOk(window);
        break;
    case IDC_CANCEL_BUTTON:
        OnCancel(window);
        break;
    }
}

LRESULT CALLBACK SetupWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case WM_DESTROY:
        DeleteObject(SetupFont);
        SetupFont = NULL;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
