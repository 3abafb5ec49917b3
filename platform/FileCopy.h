// Copies one open file to a name in a folder, all or nothing: the content
// goes to a temporary name beside the target, gets the source's attributes
// and times, is flushed to disk and only then renamed into place. A failure
// part-way removes the temporary file and leaves any old target untouched.
#pragma once

#include "platform/ObjectInfo.h"
#include "platform/Types.h"

#include <QByteArray>

class FileCopy
{
public:
    enum class Existing { Fail, Replace };

    // source: open for reading, described by info and its stored attribute
    // bits. Returns ERROR_SUCCESS, ERROR_FILE_EXISTS when the target exists
    // and existing is Fail, ERROR_DISK_FULL when the target's file system (or
    // the process's file-size limit) runs out, or another platform error.
    static DWORD copy(int source, const ObjectInfo &info, DWORD storedBits, int targetDir,
                      const QByteArray &targetName, Existing existing);

private:
    static bool copyContent(int source, int target);
    static bool finish(int target, const ObjectInfo &info, DWORD storedBits);
    static bool place(int dir, const QByteArray &temporary, const QByteArray &name, Existing existing);
};
