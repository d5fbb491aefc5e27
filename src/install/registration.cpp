// The browser registration: writes and removes the layout of
// registration_layout.h.
#include "install/registration.h"

#include <wchar.h>

#include "common/bounded_text.h"
#include "common/names.h"
#include "install/registration_layout.h"
#include "platform/platform.h"

namespace {

const size_t kRowCount = sizeof(kRegistrationRows) / sizeof(kRegistrationRows[0]);
const size_t kRemovedKeyCount = sizeof(kRemovedKeys) / sizeof(kRemovedKeys[0]);

// The values built from the installation folder, each in its own buffer.
struct ComposedValues {
    wchar_t iconLocation[kComposedValueUnits];
    wchar_t openCommand[kComposedValueUnits];
    wchar_t hideIconsCommand[kComposedValueUnits];
    wchar_t showIconsCommand[kComposedValueUnits];
    wchar_t reinstallCommand[kComposedValueUnits];
    wchar_t capabilitiesPath[kComposedValueUnits];
};

// F\halvex.exe followed by tail; a command encloses the path in quotation
// marks. The folder is used as typed: a trailing backslash stays.
void ComposeBrowserValue(const wchar_t* folder, bool quoted, const wchar_t* tail, wchar_t* value)
{
    CopyBounded(value, kComposedValueUnits, quoted ? L"\"" : L"");
    AppendBounded(value, kComposedValueUnits, folder);
    AppendBounded(value, kComposedValueUnits, L"\\");
    AppendBounded(value, kComposedValueUnits, BrowserExecutable);
    if (quoted)
        AppendBounded(value, kComposedValueUnits, L"\"");
    AppendBounded(value, kComposedValueUnits, tail);
}

void ComposeValues(const wchar_t* folder, ComposedValues* values)
{
    ComposeBrowserValue(folder, false, L",0", values->iconLocation);
    ComposeBrowserValue(folder, true, L" --single-argument %1", values->openCommand);
    ComposeBrowserValue(folder, true, L" --hide-icons", values->hideIconsCommand);
    ComposeBrowserValue(folder, true, L" --make-default-browser", values->reinstallCommand);
    ComposeBrowserValue(folder, true, L" --show-icons", values->showIconsCommand);
    CopyBounded(values->capabilitiesPath, kComposedValueUnits, ClientKeyPath);
    AppendBounded(values->capabilitiesPath, kComposedValueUnits, L"\\Capabilities");
}

// The text a REG_SZ row stores.
const wchar_t* RowText(const RegistrationRow& row, const ComposedValues& values)
{
    switch (row.data) {
    case kDataIconLocation: return values.iconLocation;
    case kDataOpenCommand: return values.openCommand;
    case kDataHideIconsCommand: return values.hideIconsCommand;
    case kDataShowIconsCommand: return values.showIconsCommand;
    case kDataReinstallCommand: return values.reinstallCommand;
    case kDataCapabilitiesPath: return values.capabilitiesPath;
    default: return row.text;
    }
}

// A REG_SZ size in bytes counts the terminator.
DWORD TextBytes(const wchar_t* text)
{
    return static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
}

// key, and a backslash and subkey when there is one, into a MAX_PATH buffer.
void ComposeKeyPath(const wchar_t* key, const wchar_t* subkey, wchar_t* path)
{
    CopyBounded(path, MAX_PATH, key);
    if (subkey != NULL) {
        AppendBounded(path, MAX_PATH, L"\\");
        AppendBounded(path, MAX_PATH, subkey);
    }
}

bool SameKey(const RegistrationRow& a, const RegistrationRow& b)
{
    if (a.root != b.root || wcscmp(a.key, b.key) != 0)
        return false;
    if (a.subkey == NULL || b.subkey == NULL)
        return a.subkey == b.subkey;
    return wcscmp(a.subkey, b.subkey) == 0;
}

// Default values of the stage's rows, through the key that heads them.
void WriteDefaultValues(HKEY key, RegistrationStage stage, const ComposedValues& values)
{
    for (size_t i = 0; i < kRowCount; ++i) {
        const RegistrationRow& row = kRegistrationRows[i];
        if (row.stage != stage)
            continue;
        // Creates the subkey path when it is missing. Windows computes the
        // size itself; it is passed anyway, terminator included.
        const wchar_t* text = RowText(row, values);
        RegSetValueW(key, row.subkey, REG_SZ, text, TextBytes(text));
    }
}

void SetNamedValue(HKEY key, const wchar_t* name, const RegistrationRow& row,
                   const ComposedValues& values)
{
    if (row.type == REG_DWORD) {
        const DWORD one = 1;
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
        return;
    }
    const wchar_t* text = RowText(row, values);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), TextBytes(text));
}

// Named values of the stage's rows: first every key of the stage is created,
// by its full path; then the values are written, none into a key that could
// not be created.
void WriteNamedValues(RegistrationStage stage, const ComposedValues& values)
{
    HKEY keys[kRowCount];
    size_t keyRows[kRowCount];   // the first row of each key
    size_t keyCount = 0;
    for (size_t i = 0; i < kRowCount; ++i) {
        const RegistrationRow& row = kRegistrationRows[i];
        if (row.stage != stage)
            continue;
        size_t k = 0;
        while (k < keyCount && !SameKey(kRegistrationRows[keyRows[k]], row))
            ++k;
        if (k < keyCount)
            continue;
        wchar_t path[MAX_PATH];
        ComposeKeyPath(row.key, row.subkey, path);
        if (RegCreateKeyW(row.root, path, &keys[keyCount]) != ERROR_SUCCESS)
            keys[keyCount] = NULL;
        keyRows[keyCount++] = i;
    }

    for (size_t i = 0; i < kRowCount; ++i) {
        const RegistrationRow& row = kRegistrationRows[i];
        if (row.stage != stage)
            continue;
        size_t k = 0;
        while (!SameKey(kRegistrationRows[keyRows[k]], row))
            ++k;
        if (keys[k] == NULL)
            continue;
        if (row.nameList == NULL) {
            SetNamedValue(keys[k], row.valueName, row, values);
        } else {
            for (size_t n = 0; n < row.nameCount; ++n)
                SetNamedValue(keys[k], row.nameList[n], row, values);
        }
    }

    for (size_t k = 0; k < keyCount; ++k) {
        if (keys[k] != NULL)
            RegCloseKey(keys[k]);
    }
}

}  // namespace

void WriteRegistration(const wchar_t* folder)
{
    // Without administrative rights this fails, and nothing is registered.
    HKEY progIdKey;
    if (RegCreateKeyW(HKEY_CLASSES_ROOT, ProgId, &progIdKey) != ERROR_SUCCESS)
        return;

    // About 6 KB: kept on the stack like every other buffer of the program.
    ComposedValues values = {};
    ComposeValues(folder, &values);

    WriteDefaultValues(progIdKey, kStageProgId, values);
    RegCloseKey(progIdKey);

    HKEY clientKey;
    if (RegCreateKeyW(HKEY_LOCAL_MACHINE, ClientKeyPath, &clientKey) != ERROR_SUCCESS)
        return;   // the file-type class stays registered
    WriteDefaultValues(clientKey, kStageClient, values);
    RegCloseKey(clientKey);

    WriteNamedValues(kStageCapabilities, values);
    WriteNamedValues(kStageInstallInfo, values);
    WriteNamedValues(kStageRegisteredApplications, values);
}

void RemoveRegistration()
{
    // Keys shared with other applications keep everything but our value.
    for (size_t i = 0; i < kRowCount; ++i) {
        const RegistrationRow& row = kRegistrationRows[i];
        if (row.stage != kStageRegisteredApplications)
            continue;
        wchar_t path[MAX_PATH];
        ComposeKeyPath(row.key, row.subkey, path);
        HKEY key;
        if (RegOpenKeyExW(row.root, path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, row.valueName);
            RegCloseKey(key);
        }
    }

    // Every result is ignored: a missing key, or one that still has
    // subkeys, does not stop the deletions after it.
    for (size_t i = 0; i < kRemovedKeyCount; ++i) {
        wchar_t path[MAX_PATH];
        ComposeKeyPath(kRemovedKeys[i].key, kRemovedKeys[i].subkey, path);
        RegDeleteKeyW(kRemovedKeys[i].root, path);
    }
}
