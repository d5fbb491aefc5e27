// Scratch places for in-process tests: registry roots redirected to keys of
// their own, and folders made before a test and removed after it.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

// While alive, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT and HKEY_CURRENT_USER
// of this process are keys under HKCU\Software\CorvaneTests\<unique>.
class ScratchRegistry {
public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    // Redirects one root to a key that is deleted right away: every create or
    // set under it then fails, as without administrative rights.
    void RefuseWrites(HKEY root);

private:
    std::wstring base_;   // under the real HKEY_CURRENT_USER
};

// A new empty folder under the temporary folder, deleted with its contents.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return path_; }
    // path() + "\" + relative
    std::wstring operator/(const std::wstring& relative) const;

private:
    std::wstring path_;
};

// While alive, the process's current directory is the given folder.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::wstring& folder);
    ~CurrentDirectory();

private:
    std::wstring previous_;
};

// "R:\", an empty drive of the test session (tests/run) inside the throwaway
// prefix: a drive root that tests may fill and register.
const wchar_t kScratchDrive[] = L"R:\\";

// Small predicates and fixtures for checking effects on files and keys.
bool FileExists(const std::wstring& path);      // a file, not a folder
bool FolderExists(const std::wstring& path);
void WriteTextFile(const std::wstring& path, const std::string& content = "x");
bool MakeFolder(const std::wstring& path);       // with missing parents
// Deletes a folder with its contents, as the program's own deletes do.
void DeleteFolderTree(const std::wstring& path);
// The names in a folder (without "." and ".."), sorted; empty when none.
std::vector<std::wstring> ListFolder(const std::wstring& folder);
// A file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool KeyExists(HKEY root, const std::wstring& path);
// Value of a key (empty name: the default value); false when absent.
bool ReadRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name,
                       DWORD* type, std::wstring* text, DWORD* byteSize = nullptr,
                       DWORD* number = nullptr);
// Sets a REG_SZ value (null name: the default value), creating the key.
void WriteRegistryText(HKEY root, const std::wstring& path, const wchar_t* name,
                       const std::wstring& text);
// The open command an installation registers under HKEY_LOCAL_MACHINE, the
// one value the program reads back.
void RegisterOpenCommand(const std::wstring& command);
// Whether any part of the browser registration is there.
bool BrowserRegistered();
// A shell folder (CSIDL_*) as this process sees it now; empty when unknown.
std::wstring ShellFolder(int csidl);
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
