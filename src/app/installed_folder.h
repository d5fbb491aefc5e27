// The folder of an earlier installation, read from its registration.
#pragma once

// The registered open command cut at its last backslash: for a registration
// written by this program, a quotation mark followed by the installation
// folder. The text comes from the process heap and belongs to the caller
// (HeapFree); null when nothing is registered.
wchar_t* GetInstalledFolder();
