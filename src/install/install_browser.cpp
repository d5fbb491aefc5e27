// The install sequence run by OK.
#include "install/install_browser.h"

// Not built yet: reports failure without touching anything.
int InstallBrowser(HWND, const wchar_t*, int, int)
{
    return 0;
}
