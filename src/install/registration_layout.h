// The browser registration as data: every value written, in writing order,
// and every key removed, in removal order. The writer, the remover and the
// tests walk these same tables.
#pragma once

#include <stddef.h>

#include "common/names.h"
#include "platform/platform.h"

// Windows (Vista on) finds an application's capabilities only through a value
// here that names its Capabilities key. Under HKEY_LOCAL_MACHINE.
constexpr wchar_t RegisteredApplicationsPath[] = L"SOFTWARE\\RegisteredApplications";
constexpr wchar_t RegisteredApplicationsValue[] = L"Corvane";

// Value names under Capabilities\FileAssociations and \URLAssociations, in
// writing order.
static const wchar_t* const kFileExtensions[] = {
    L".htm", L".html", L".pdf", L".shtml", L".svg", L".webp", L".xht", L".xhtml",
};
static const wchar_t* const kUrlSchemes[] = {
    L"http", L"https", L"irc",  L"mailto", L"mms", L"news",   L"nntp",
    L"sms",  L"smsto", L"snews", L"tel",   L"urn", L"webcal",
};

// Composed values are built in buffers of this many UTF-16 units; a longer
// value is cut and written cut.
const size_t kComposedValueUnits = 516;

// What a row stores.
enum RegistrationData {
    kDataText,               // the row's fixed text
    kDataIconLocation,       // F\halvex.exe,0
    kDataOpenCommand,        // "F\halvex.exe" --single-argument %1
    kDataHideIconsCommand,   // "F\halvex.exe" --hide-icons
    kDataShowIconsCommand,   // "F\halvex.exe" --show-icons
    kDataReinstallCommand,   // "F\halvex.exe" --make-default-browser
    kDataCapabilitiesPath,   // ClientKeyPath\Capabilities
    kDataIconsVisible,       // the number 1, REG_DWORD
};

// When a row is written, and through which key.
enum RegistrationStage {
    // Default values through the ProgId key, created first; when it cannot
    // be created nothing at all is written.
    kStageProgId,
    // Default values through the client key; when it cannot be created
    // nothing from here on is written.
    kStageClient,
    // Named values. A stage's keys are created first, each by its full path,
    // in order of first appearance; then its values are written in row order.
    kStageCapabilities,
    kStageInstallInfo,
    kStageRegisteredApplications,
};

struct RegistrationRow {
    RegistrationStage stage;
    HKEY root;                       // HKEY_CLASSES_ROOT or HKEY_LOCAL_MACHINE
    const wchar_t* key;              // path from the root
    const wchar_t* subkey;           // below key; null: key itself
    const wchar_t* valueName;        // null: the default value
    const wchar_t* const* nameList;  // not null: one value per name instead
    size_t nameCount;
    DWORD type;
    RegistrationData data;
    const wchar_t* text;             // for kDataText
};

#define REGISTRATION_NAME_LIST(list) list, sizeof(list) / sizeof((list)[0])

static const RegistrationRow kRegistrationRows[] = {
    {kStageProgId, HKEY_CLASSES_ROOT, ProgId, nullptr, nullptr, nullptr, 0,
     REG_SZ, kDataText, L"Corvane HTML Document"},
    {kStageProgId, HKEY_CLASSES_ROOT, ProgId, L"DefaultIcon", nullptr, nullptr, 0,
     REG_SZ, kDataIconLocation, nullptr},
    {kStageProgId, HKEY_CLASSES_ROOT, ProgId, L"shell\\open\\command", nullptr, nullptr, 0,
     REG_SZ, kDataOpenCommand, nullptr},

    {kStageClient, HKEY_LOCAL_MACHINE, ClientKeyPath, nullptr, nullptr, nullptr, 0,
     REG_SZ, kDataText, L"Corvane"},
    {kStageClient, HKEY_LOCAL_MACHINE, ClientKeyPath, L"shell\\open\\command", nullptr, nullptr, 0,
     REG_SZ, kDataOpenCommand, nullptr},
    {kStageClient, HKEY_LOCAL_MACHINE, ClientKeyPath, L"DefaultIcon", nullptr, nullptr, 0,
     REG_SZ, kDataIconLocation, nullptr},

    {kStageCapabilities, HKEY_LOCAL_MACHINE, ClientKeyPath, L"Capabilities",
     L"ApplicationDescription", nullptr, 0, REG_SZ, kDataText,
     L"Corvane is a web browser targetting legacy versions of Windows and has various other "
     L"important features."},
    {kStageCapabilities, HKEY_LOCAL_MACHINE, ClientKeyPath, L"Capabilities",
     L"ApplicationIcon", nullptr, 0, REG_SZ, kDataIconLocation, nullptr},
    {kStageCapabilities, HKEY_LOCAL_MACHINE, ClientKeyPath, L"Capabilities",
     L"ApplicationName", nullptr, 0, REG_SZ, kDataText, L"Corvane"},
    {kStageCapabilities, HKEY_LOCAL_MACHINE, ClientKeyPath, L"Capabilities\\FileAssociations",
     nullptr, REGISTRATION_NAME_LIST(kFileExtensions), REG_SZ, kDataText, ProgId},
    {kStageCapabilities, HKEY_LOCAL_MACHINE, ClientKeyPath, L"Capabilities\\Startmenu",
     L"StartMenuInternet", nullptr, 0, REG_SZ, kDataText, ClientName},
    {kStageCapabilities, HKEY_LOCAL_MACHINE, ClientKeyPath, L"Capabilities\\URLAssociations",
     nullptr, REGISTRATION_NAME_LIST(kUrlSchemes), REG_SZ, kDataText, ProgId},

    {kStageInstallInfo, HKEY_LOCAL_MACHINE, ClientKeyPath, L"InstallInfo",
     L"HideIconsCommand", nullptr, 0, REG_SZ, kDataHideIconsCommand, nullptr},
    {kStageInstallInfo, HKEY_LOCAL_MACHINE, ClientKeyPath, L"InstallInfo",
     L"ShowIconsCommand", nullptr, 0, REG_SZ, kDataShowIconsCommand, nullptr},
    {kStageInstallInfo, HKEY_LOCAL_MACHINE, ClientKeyPath, L"InstallInfo",
     L"ReinstallCommand", nullptr, 0, REG_SZ, kDataReinstallCommand, nullptr},
    {kStageInstallInfo, HKEY_LOCAL_MACHINE, ClientKeyPath, L"InstallInfo",
     L"IconsVisible", nullptr, 0, REG_DWORD, kDataIconsVisible, nullptr},

    {kStageRegisteredApplications, HKEY_LOCAL_MACHINE, RegisteredApplicationsPath, nullptr,
     RegisteredApplicationsValue, nullptr, 0, REG_SZ, kDataCapabilitiesPath, nullptr},
};

#undef REGISTRATION_NAME_LIST

// Keys deleted, in this order. A deletion fails on a key that still has
// subkeys, so a key another program added below one of these keeps its
// parents; no key is enumerated. Keys that creation made along the way
// (SOFTWARE\Clients\StartMenuInternet) are left, and under
// RegisteredApplicationsPath only the one value is deleted.
struct RemovedKey {
    HKEY root;
    const wchar_t* key;      // path from the root
    const wchar_t* subkey;   // below key; null: key itself
};

static const RemovedKey kRemovedKeys[] = {
    {HKEY_LOCAL_MACHINE, ClientKeyPath, L"Capabilities\\FileAssociations"},
    {HKEY_LOCAL_MACHINE, ClientKeyPath, L"Capabilities\\Startmenu"},
    {HKEY_LOCAL_MACHINE, ClientKeyPath, L"Capabilities\\URLAssociations"},
    {HKEY_LOCAL_MACHINE, ClientKeyPath, L"Capabilities"},
    {HKEY_LOCAL_MACHINE, ClientKeyPath, L"DefaultIcon"},
    {HKEY_LOCAL_MACHINE, ClientKeyPath, L"InstallInfo"},
    {HKEY_LOCAL_MACHINE, ClientKeyPath, L"shell\\open\\command"},
    {HKEY_LOCAL_MACHINE, ClientKeyPath, L"shell\\open"},
    {HKEY_LOCAL_MACHINE, ClientKeyPath, L"shell"},
    {HKEY_LOCAL_MACHINE, ClientKeyPath, nullptr},
    {HKEY_CLASSES_ROOT, ProgId, L"DefaultIcon"},
    {HKEY_CLASSES_ROOT, ProgId, L"shell\\open\\command"},
    {HKEY_CLASSES_ROOT, ProgId, L"shell\\open"},
    {HKEY_CLASSES_ROOT, ProgId, L"shell"},
    {HKEY_CLASSES_ROOT, ProgId, nullptr},
};
