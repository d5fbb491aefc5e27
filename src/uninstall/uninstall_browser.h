// What an argument containing "uninstall" runs.
#pragma once

// Asks, then removes the browser. Returns 0 when the user did not confirm
// the uninstall, 1 otherwise.
int UninstallBrowser();
