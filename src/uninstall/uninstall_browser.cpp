// The uninstall sequence.
#include "uninstall/uninstall_browser.h"

// Not built yet: behaves as a declined uninstall, removing nothing.
int UninstallBrowser()
{
    return 0;
}
