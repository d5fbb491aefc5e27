// Recognising what a folder text names before anything is deleted there.
#pragma once

// 1 for a full path: a drive letter, a colon and a backslash, or a
// \\server\share path.
int IsFullPath(const wchar_t* path);

// 1 for a drive root (C:\) or a share root (\\server\share), also when the
// path only resolves to one (C:\Windows\..).
int IsRootPath(const wchar_t* path);

// 1 for an installed browser: a folder holding the browser's executable.
int IsBrowserFolder(const wchar_t* path);
