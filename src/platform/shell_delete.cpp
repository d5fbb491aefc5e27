// The shell's permanent, silent delete of a list of paths.
#include "platform/platform.h"

int ShellDeleteList(const wchar_t* doublyTerminatedList)
{
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = doublyTerminatedList;
    operation.fFlags = kSilentDeleteFlags;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}
