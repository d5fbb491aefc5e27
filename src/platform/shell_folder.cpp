// A shell folder by its CSIDL into a MAX_PATH buffer.
#include "platform/platform.h"

int GetShellFolder(int csidl, wchar_t* buffer)
{
    buffer[0] = L'\0';
    if (SUCCEEDED(SHGetFolderPathW(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, buffer)))
        return 1;
    buffer[0] = L'\0';
    return 0;
}
