// What the OK button of the setup window runs.
#pragma once

#include "platform/platform.h"

// Places the browser folder at the installation folder, registers it and
// carries out the two options, moving the owner's progress bar (IDC_PROGRESS)
// as it goes. Returns 1 when the browser folder is in place, else 0 after
// telling the user why.
int InstallBrowser(HWND owner, const wchar_t* folder, int installEmojiFont,
                   int createShortcut);
