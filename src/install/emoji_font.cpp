// Moves the emoji font of the package into the fonts folder and loads it.
#include "common/bounded_text.h"
#include "install/font_and_shortcut.h"
#include "platform/platform.h"

void InstallEmojiFont()
{
    wchar_t destination[MAX_PATH];
    UINT length = GetWindowsDirectoryW(destination, MAX_PATH);
    // Without the Windows folder the destination would be a relative name.
    if (length == 0 || length >= MAX_PATH)
        return;
    AppendBounded(destination, MAX_PATH, L"\\Fonts\\NotoEmoji.ttf");

    // No replace flag: a file left by an earlier run stays, and is loaded.
    MoveFileExW(L"NotoEmoji.ttf", destination, MOVEFILE_COPY_ALLOWED);
    // Not entered among the installed fonts: loaded until the system restarts.
    AddFontResourceW(destination);
}
