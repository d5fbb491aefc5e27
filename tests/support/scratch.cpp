// Scratch registry roots, folders and the predicates that check them.
#include "support/scratch.h"

#include "common/names.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

const HKEY kRedirectedRoots[] = {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT, HKEY_CURRENT_USER};
const wchar_t* const kRootNames[] = {L"HKLM", L"HKCR", L"HKCU"};

std::wstring UniqueName()
{
    static unsigned counter = 0;
    return std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) +
           L"-" + std::to_wstring(++counter);
}

LSTATUS OverrideRoot(HKEY root, const std::wstring& path)
{
    HKEY key;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    status = RegOverridePredefKey(root, key);
    RegCloseKey(key);
    return status;
}

}  // namespace

ScratchRegistry::ScratchRegistry() : base_(L"Software\\CorvaneTests\\" + UniqueName())
{
    for (size_t i = 0; i < 3; ++i) {
        // HKCU itself is overridden last, so the keys above are made in the
        // real one.
        EXPECT_EQ(ERROR_SUCCESS, OverrideRoot(kRedirectedRoots[i], base_ + L"\\" + kRootNames[i]));
    }
}

ScratchRegistry::~ScratchRegistry()
{
    for (HKEY root : kRedirectedRoots)
        RegOverridePredefKey(root, nullptr);
    SHDeleteKeyW(HKEY_CURRENT_USER, base_.c_str());
}

void ScratchRegistry::RefuseWrites(HKEY root)
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    std::wstring path = base_ + L"\\refused-" + UniqueName();
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str()));
    // Writes through a handle to a deleted key fail with ERROR_KEY_DELETED.
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(root, key));
    RegCloseKey(key);
    if (root != HKEY_CURRENT_USER)
        ASSERT_EQ(ERROR_SUCCESS, OverrideRoot(HKEY_CURRENT_USER, base_ + L"\\HKCU"));
}

ScratchFolder::ScratchFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"corvane-test-" + UniqueName();
    EXPECT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
}

ScratchFolder::~ScratchFolder()
{
    DeleteFolderTree(path_);
}

std::wstring ScratchFolder::operator/(const std::wstring& relative) const
{
    return path_ + L"\\" + relative;
}

CurrentDirectory::CurrentDirectory(const std::wstring& folder)
{
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    previous_ = previous;
    EXPECT_TRUE(SetCurrentDirectoryW(folder.c_str()));
}

CurrentDirectory::~CurrentDirectory()
{
    SetCurrentDirectoryW(previous_.c_str());
}

bool FileExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteTextFile(const std::wstring& path, const std::string& content)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << Narrow(path);
    DWORD written;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

bool MakeFolder(const std::wstring& path)
{
    return SHCreateDirectoryExW(nullptr, path.c_str(), nullptr) == ERROR_SUCCESS ||
           FolderExists(path);
}

void DeleteFolderTree(const std::wstring& path)
{
    std::wstring list = path + L'\0';   // the string's own terminator ends the list
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = kSilentDeleteFlags;
    SHFileOperationW(&operation);
}

std::vector<std::wstring> ListFolder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::ifstream file(Narrow(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ReadRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name,
                       DWORD* type, std::wstring* text, DWORD* byteSize, DWORD* number)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    BYTE data[4096] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    DWORD valueType = 0;
    LSTATUS status = RegQueryValueExW(key, name.empty() ? nullptr : name.c_str(), nullptr,
                                      &valueType, data, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return false;
    if (type)
        *type = valueType;
    if (byteSize)
        *byteSize = size;
    if (text)
        *text = reinterpret_cast<const wchar_t*>(data);
    if (number)
        *number = *reinterpret_cast<const DWORD*>(data);
    return true;
}

void WriteRegistryText(HKEY root, const std::wstring& path, const wchar_t* name,
                       const std::wstring& text)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &key, nullptr))
        << Narrow(path);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void RegisterOpenCommand(const std::wstring& command)
{
    WriteRegistryText(HKEY_LOCAL_MACHINE, std::wstring(ClientKeyPath) + L"\\shell\\open\\command",
                      nullptr, command);
}

bool BrowserRegistered()
{
    return KeyExists(HKEY_LOCAL_MACHINE, ClientKeyPath) || KeyExists(HKEY_CLASSES_ROOT, ProgId);
}

std::wstring ShellFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}
