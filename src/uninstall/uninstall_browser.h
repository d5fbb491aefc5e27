// What an argument containing "uninstall" runs.
#pragma once

#include <stddef.h>

// The browser's own keys under HKEY_CURRENT_USER, deleted in this order when
// the user does not keep the user data: children before parents.
extern const wchar_t* const UserKeys[];
extern const size_t UserKeyCount;

// Asks, then removes the browser. Returns 0 when the user did not confirm
// the uninstall, 1 otherwise.
int UninstallBrowser();
