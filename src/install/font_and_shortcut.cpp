// The emoji font and the desktop shortcut.
#include "install/font_and_shortcut.h"

// Not built yet: do nothing.
void InstallEmojiFont() {}
void CreateDesktopShortcut(const wchar_t*) {}
