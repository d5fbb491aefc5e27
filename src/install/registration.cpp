// The browser registration.
#include "install/registration.h"

// Not built yet: writes and removes nothing.
void WriteRegistration(const wchar_t*) {}
void RemoveRegistration() {}
