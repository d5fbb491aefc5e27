// The shell's permanent, silent delete of one path.
#include "common/bounded_text.h"
#include "platform/platform.h"

int ShellDeletePath(const wchar_t* path)
{
    // SHFileOperationW reads a list of paths ended by an empty one: the
    // zero-filled buffer is one unit longer than any path copied into it, so
    // the path is always followed by a second terminator. Without it the
    // shell reads on into whatever follows and deletes that too.
    wchar_t list[MAX_PATH + 1] = {};
    if (CopyBounded(list, MAX_PATH, path) != kBoundedOk)
        return 0;   // a cut path can name another file or folder

    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = list;
    operation.fFlags = kSilentDeleteFlags;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}
