// Reading a host folder's names.
#pragma once

#include <dirent.h>
#include <fcntl.h>

// Calls each(entry) for every entry of the open folder dir but "." and "..",
// until each returns false. False when the folder cannot be read or each
// stopped early.
template <typename Each>
bool forEachName(int dir, Each each)
{
    DIR *stream = ::fdopendir(::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!stream)
        return false;
    bool complete = true;
    while (const dirent *entry = ::readdir(stream)) {
        const char *name = entry->d_name;
        if (!(name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) && !each(*entry)) {
            complete = false;
            break;
        }
    }
    ::closedir(stream);
    return complete;
}
