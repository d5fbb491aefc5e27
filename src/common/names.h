// The fixed names the setup program works with.
#pragma once

// The unpacked browser folder, relative to the current directory.
constexpr wchar_t PackageFolder[] = L".\\Corvane";

// The browser registration. The registration word is "Corane", without the
// v of the product name; the suffix is the same in both names.
constexpr wchar_t ClientName[] = L"Corane.Q4RWKB7XMZ2HLNCE5TVYDJ6FSA";
constexpr wchar_t ProgId[] = L"CoraneHTM.Q4RWKB7XMZ2HLNCE5TVYDJ6FSA";
// Under HKEY_LOCAL_MACHINE.
constexpr wchar_t ClientKeyPath[] =
    L"SOFTWARE\\Clients\\StartMenuInternet\\Corane.Q4RWKB7XMZ2HLNCE5TVYDJ6FSA";

// The browser's executable inside the installation folder.
constexpr wchar_t BrowserExecutable[] = L"halvex.exe";

// Caption of the program's own message boxes.
constexpr wchar_t SetupCaption[] = L"Corvane Setup";
