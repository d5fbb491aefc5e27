// The setup window: the whole user interface of an installation.
#pragma once

#include "platform/platform.h"

// Window class of the setup window.
constexpr wchar_t SetupWindowClass[] = L"MyWindowClass";

LRESULT CALLBACK SetupWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
