// The browser registration: what is written for a folder, what refused
// rights leave, what removal deletes and what it leaves, and the folder read
// back from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/installed_folder.h"
#include "install/registration.h"
#include "install/registration_layout.h"
#include "support/scratch.h"

namespace {

const size_t kUnits = kComposedValueUnits - 1;   // the longest value written

std::wstring KeyPath(const wchar_t* key, const wchar_t* subkey)
{
    return subkey == nullptr ? std::wstring(key) : std::wstring(key) + L"\\" + subkey;
}

std::wstring RowPath(const RegistrationRow& row)
{
    return KeyPath(row.key, row.subkey);
}

std::vector<std::wstring> ValueNames(const RegistrationRow& row)
{
    if (row.nameList != nullptr)
        return std::vector<std::wstring>(row.nameList, row.nameList + row.nameCount);
    return {row.valueName == nullptr ? L"" : row.valueName};
}

// What a text row should hold for folder, built here from the pieces the
// registration is made of, and cut as a 516-unit buffer cuts it.
std::wstring ExpectedText(const RegistrationRow& row, const std::wstring& folder)
{
    const std::wstring exe = folder + L"\\halvex.exe";
    const std::wstring quoted = L"\"" + exe + L"\"";
    std::wstring text;
    switch (row.data) {
    case kDataText: text = row.text; break;
    case kDataIconLocation: text = exe + L",0"; break;
    case kDataOpenCommand: text = quoted + L" --single-argument %1"; break;
    case kDataHideIconsCommand: text = quoted + L" --hide-icons"; break;
    case kDataShowIconsCommand: text = quoted + L" --show-icons"; break;
    case kDataReinstallCommand: text = quoted + L" --make-default-browser"; break;
    case kDataCapabilitiesPath:
        text = L"SOFTWARE\\Clients\\StartMenuInternet\\Corane.Q4RWKB7XMZ2HLNCE5TVYDJ6FSA"
               L"\\Capabilities";
        break;
    case kDataIconsVisible: ADD_FAILURE() << "not a text"; break;
    }
    return text.substr(0, kUnits);
}

void ExpectRowWritten(const RegistrationRow& row, const std::wstring& folder)
{
    for (const std::wstring& name : ValueNames(row)) {
        SCOPED_TRACE(Narrow(RowPath(row) + L" : " + name));
        DWORD type = 0, size = 0, number = 0;
        std::wstring text;
        ASSERT_TRUE(ReadRegistryValue(row.root, RowPath(row), name, &type, &text, &size, &number));
        EXPECT_EQ(row.type, type);
        if (row.type == REG_DWORD) {
            EXPECT_EQ(1u, number);
            EXPECT_EQ(sizeof(DWORD), size);
        } else {
            std::wstring expected = ExpectedText(row, folder);
            EXPECT_EQ(expected, text);
            // The terminator is counted.
            EXPECT_EQ((expected.size() + 1) * sizeof(wchar_t), size);
        }
    }
}

DWORD CountOf(HKEY root, const std::wstring& path, bool values)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        ADD_FAILURE() << "no key " << Narrow(path);
        return 0;
    }
    DWORD subkeys = 0, valueCount = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &valueCount,
                     nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return values ? valueCount : subkeys;
}

DWORD ValueCount(HKEY root, const std::wstring& path) { return CountOf(root, path, true); }
DWORD SubkeyCount(HKEY root, const std::wstring& path) { return CountOf(root, path, false); }

// Each key the layout names holds the values of its rows and no other.
void ExpectOnlyLayoutValues(HKEY root)
{
    for (const RegistrationRow& row : kRegistrationRows) {
        if (row.root != root)
            continue;
        DWORD expected = 0;
        for (const RegistrationRow& other : kRegistrationRows) {
            if (other.root == root && RowPath(other) == RowPath(row))
                expected += static_cast<DWORD>(ValueNames(other).size());
        }
        EXPECT_EQ(expected, ValueCount(root, RowPath(row))) << Narrow(RowPath(row));
    }
}

const std::wstring kClient = ClientKeyPath;
const std::wstring kProgId = ProgId;

TEST(WriteRegistration, WritesEveryRowForTheFolderAsTyped)
{
    // 502 units: the icon location just fits its buffer, the commands are cut.
    const std::wstring longFolder = L"C:\\" + std::wstring(499, L'a');
    const std::wstring folders[] = {L"C:\\Corvane", L"C:\\Corvane\\", longFolder};
    for (const std::wstring& folder : folders) {
        SCOPED_TRACE(Narrow(folder.substr(0, 20)));
        ScratchRegistry registry;
        WriteRegistration(folder.c_str());
        for (const RegistrationRow& row : kRegistrationRows)
            ExpectRowWritten(row, folder);
        ExpectOnlyLayoutValues(HKEY_CLASSES_ROOT);
        ExpectOnlyLayoutValues(HKEY_LOCAL_MACHINE);
    }
}

TEST(WriteRegistration, WritesTheKnownValuesForCCorvane)
{
    ScratchRegistry registry;
    WriteRegistration(L"C:\\Corvane");

    std::wstring text;
    DWORD type = 0, size = 0, number = 0;
    ASSERT_TRUE(ReadRegistryValue(HKEY_CLASSES_ROOT, kProgId + L"\\DefaultIcon", L"", &type,
                                  &text, &size));
    EXPECT_EQ(L"C:\\Corvane\\halvex.exe,0", text);
    EXPECT_EQ(24u * 2, size);
    ASSERT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kClient + L"\\shell\\open\\command", L"",
                                  &type, &text, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(L"\"C:\\Corvane\\halvex.exe\" --single-argument %1", text);
    EXPECT_EQ(45u * 2, size);

    ASSERT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kClient + L"\\Capabilities\\Startmenu",
                                  L"StartMenuInternet", &type, &text));
    EXPECT_EQ(L"Corane.Q4RWKB7XMZ2HLNCE5TVYDJ6FSA", text);
    ASSERT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kClient + L"\\InstallInfo", L"IconsVisible",
                                  &type, nullptr, &size, &number));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(1u, number);
    ASSERT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications",
                                  L"Corvane", &type, &text));
    EXPECT_EQ(L"SOFTWARE\\Clients\\StartMenuInternet\\Corane.Q4RWKB7XMZ2HLNCE5TVYDJ6FSA"
              L"\\Capabilities",
              text);

    // Every association names the document class, read without the table.
    const struct {
        const wchar_t* key;
        DWORD count;
    } associations[] = {{L"\\Capabilities\\FileAssociations", 8},
                        {L"\\Capabilities\\URLAssociations", 13}};
    for (const auto& association : associations) {
        SCOPED_TRACE(Narrow(association.key));
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                                               (kClient + association.key).c_str(), 0,
                                               KEY_READ, &key));
        DWORD count = 0;
        for (DWORD i = 0;; ++i) {
            wchar_t name[64];
            DWORD nameUnits = 64;
            wchar_t data[128] = {};
            DWORD dataBytes = sizeof(data) - sizeof(wchar_t);
            if (RegEnumValueW(key, i, name, &nameUnits, nullptr, &type,
                              reinterpret_cast<BYTE*>(data), &dataBytes) != ERROR_SUCCESS)
                break;
            ++count;
            EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << Narrow(name);
            EXPECT_EQ(std::wstring(L"CoraneHTM.Q4RWKB7XMZ2HLNCE5TVYDJ6FSA"), data) << Narrow(name);
        }
        RegCloseKey(key);
        EXPECT_EQ(association.count, count);
    }
}

TEST(WriteRegistration, KeepsATrailingBackslashAndCutsLongValues)
{
    ScratchRegistry registry;
    WriteRegistration(L"C:\\Corvane\\");
    std::wstring text;
    ASSERT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kClient + L"\\DefaultIcon", L"", nullptr,
                                  &text));
    EXPECT_EQ(L"C:\\Corvane\\\\halvex.exe,0", text);

    const std::wstring longFolder = L"C:\\" + std::wstring(600, L'b');
    WriteRegistration(longFolder.c_str());
    DWORD size = 0;
    ASSERT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kClient + L"\\InstallInfo",
                                  L"ReinstallCommand", nullptr, &text, &size));
    EXPECT_EQ(L"\"" + longFolder.substr(0, 514), text);
    EXPECT_EQ(516u * 2, size);
}

TEST(WriteRegistration, WritesNothingWithoutRightsToTheClassesRoot)
{
    ScratchRegistry registry;
    registry.RefuseWrites(HKEY_CLASSES_ROOT);
    WriteRegistration(L"C:\\Corvane");
    EXPECT_EQ(0u, SubkeyCount(HKEY_LOCAL_MACHINE, L""));
    EXPECT_EQ(0u, ValueCount(HKEY_LOCAL_MACHINE, L""));
}

TEST(WriteRegistration, WritesOnlyTheFileTypeClassWithoutRightsToTheMachineKey)
{
    ScratchRegistry registry;
    registry.RefuseWrites(HKEY_LOCAL_MACHINE);
    WriteRegistration(L"C:\\Corvane");
    size_t written = 0;
    for (const RegistrationRow& row : kRegistrationRows) {
        if (row.root == HKEY_CLASSES_ROOT) {
            ExpectRowWritten(row, L"C:\\Corvane");
            ++written;
        }
    }
    EXPECT_EQ(3u, written);
    ExpectOnlyLayoutValues(HKEY_CLASSES_ROOT);
    EXPECT_EQ(1u, SubkeyCount(HKEY_CLASSES_ROOT, L""));
}

// The system's handle list (SystemHandleInformation), which mingw-w64's
// headers do not declare.
struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    void* object;
    ULONG access;
};
struct HandleList {
    ULONG count;
    HandleEntry entries[1];
};
typedef LONG(WINAPI* QuerySystemInformation)(ULONG, void*, ULONG, ULONG*);

// Open handles of this process, counted in the system's handle list (Wine's
// GetProcessHandleCount always reports 0); -1 when the list cannot be read.
long OpenHandleCount()
{
    auto query = reinterpret_cast<QuerySystemInformation>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation"));
    if (query == nullptr)
        return -1;
    std::vector<BYTE> buffer(1 << 16);
    LONG status;
    ULONG needed = 0;
    while ((status = query(16 /* SystemHandleInformation */, buffer.data(),
                           static_cast<ULONG>(buffer.size()), &needed)) ==
           static_cast<LONG>(0xC0000004) /* STATUS_INFO_LENGTH_MISMATCH */)
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return -1;
    const HandleList* list = reinterpret_cast<const HandleList*>(buffer.data());
    long count = 0;
    for (ULONG i = 0; i < list->count; ++i) {
        if (list->entries[i].ownerPid == GetCurrentProcessId())
            ++count;
    }
    return count;
}

TEST(Registration, ClosesEveryKeyItOpens)
{
    ScratchRegistry registry;
    // The first calls may open handles the registry functions keep.
    WriteRegistration(L"C:\\Corvane");
    RemoveRegistration();
    long before = OpenHandleCount();
    ASSERT_LT(0, before);
    for (int i = 0; i < 3; ++i) {
        WriteRegistration(L"C:\\Corvane");
        RemoveRegistration();
    }
    EXPECT_EQ(before, OpenHandleCount());
}

TEST(RemoveRegistration, LeavesNothingOfWhatWasWritten)
{
    ScratchRegistry registry;
    WriteRegistryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications", L"Other", L"x");
    WriteRegistration(L"C:\\Corvane");
    RemoveRegistration();

    for (const RegistrationRow& row : kRegistrationRows) {
        if (row.stage != kStageRegisteredApplications)
            EXPECT_FALSE(KeyExists(row.root, RowPath(row))) << Narrow(RowPath(row));
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClient));
    EXPECT_EQ(0u, SubkeyCount(HKEY_CLASSES_ROOT, L""));
    EXPECT_FALSE(ReadRegistryValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications",
                                   L"Corvane", nullptr, nullptr));
    // Shared keys stay, with what other programs put there.
    std::wstring text;
    EXPECT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications",
                                  L"Other", nullptr, &text));
    EXPECT_EQ(L"x", text);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Clients\\StartMenuInternet"));
}

TEST(RemoveRegistration, AForeignSubkeyKeepsOnlyItsParents)
{
    const struct {
        HKEY root;
        std::wstring foreign;
        std::vector<std::wstring> kept;   // of the removed keys
    } cases[] = {
        {HKEY_LOCAL_MACHINE, kClient + L"\\Capabilities\\URLAssociations\\Foreign",
         {kClient + L"\\Capabilities\\URLAssociations", kClient + L"\\Capabilities", kClient}},
        {HKEY_CLASSES_ROOT, kProgId + L"\\shell\\edit", {kProgId + L"\\shell", kProgId}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.foreign));
        ScratchRegistry registry;
        WriteRegistration(L"C:\\Corvane");
        WriteRegistryText(c.root, c.foreign, nullptr, L"foreign");
        RemoveRegistration();

        EXPECT_TRUE(KeyExists(c.root, c.foreign));
        for (const RemovedKey& removed : kRemovedKeys) {
            std::wstring path = KeyPath(removed.key, removed.subkey);
            bool kept = removed.root == c.root &&
                        std::find(c.kept.begin(), c.kept.end(), path) != c.kept.end();
            EXPECT_EQ(kept, KeyExists(removed.root, path)) << Narrow(path);
        }
        EXPECT_FALSE(ReadRegistryValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications",
                                       L"Corvane", nullptr, nullptr));
    }
}

TEST(RemoveRegistration, DoesNoHarmWhenNothingIsRegistered)
{
    ScratchRegistry registry;
    const std::wstring otherBrowser = L"SOFTWARE\\Clients\\StartMenuInternet\\Other";
    WriteRegistryText(HKEY_LOCAL_MACHINE, otherBrowser, nullptr, L"Other");
    WriteRegistryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications", L"Other", L"x");

    RemoveRegistration();

    EXPECT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, otherBrowser, L"", nullptr, nullptr));
    EXPECT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications",
                                  L"Other", nullptr, nullptr));
    EXPECT_EQ(1u, SubkeyCount(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Clients\\StartMenuInternet"));
    EXPECT_EQ(0u, SubkeyCount(HKEY_CLASSES_ROOT, L""));
}

TEST(GetInstalledFolder, ReadsBackTheFolderItWasWrittenFor)
{
    for (const wchar_t* folder : {L"D:\\Apps\\Corvane", L"C:\\"}) {
        SCOPED_TRACE(Narrow(folder));
        ScratchRegistry registry;
        WriteRegistration(folder);
        wchar_t* installed = GetInstalledFolder();
        ASSERT_NE(nullptr, installed);
        EXPECT_EQ(L"\"" + std::wstring(folder), installed);
        HeapFree(GetProcessHeap(), 0, installed);
    }
}

}  // namespace
