#include "platform/Modules.h"

#include "platform/DevicePath.h"
#include "platform/HandleTable.h"
#include "platform/Process.h"
#include "platform/PosixError.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>

namespace {

// glibc finds a loaded library by the name it was opened under before it
// looks at the file, so a descriptor's /proc name must not come to stand for
// another file while a library loaded under it stays in memory (one with
// unique symbols stays after dlclose). Descriptors of such resident
// libraries are kept open, one per file, and used again to load that file.
std::mutex s_residentMutex;
std::map<std::pair<dev_t, ino_t>, int> s_residentFds;

struct ModuleHandle final : PlatformHandle {
    ModuleHandle(void *library, UniqueFd fd, std::pair<dev_t, ino_t> file)
        : library(library), fd(std::move(fd)), file(file) {}
    ~ModuleHandle() override
    {
        ::dlclose(library);
        if (!fd.valid())
            return;
        if (void *resident = ::dlopen(DevicePath::fdPath(fd.get()).constData(), RTLD_LAZY | RTLD_NOLOAD)) {
            ::dlclose(resident);
            const std::lock_guard lock(s_residentMutex);
            s_residentFds.emplace(file, fd.release());
        }
    }
    void *library;
    UniqueFd fd; // invalid when the library was loaded through a resident descriptor
    std::pair<dev_t, ino_t> file;
};

// The file's descriptor, opened through the confined path; invalid when the
// device has no such regular file.
UniqueFd openLibrary(const QString &devicePath, struct stat &st)
{
    const DevicePath path = DevicePath::resolve(devicePath);
    if (!path.ok() || !path.exists())
        return UniqueFd();
    // Non-blocking, so a pipe under a library's name cannot hold the open.
    UniqueFd fd(path.openFile(O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.valid() && (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)))
        fd.reset();
    return fd;
}

} // namespace

HMODULE LoadLibraryW(LPCWSTR fileName)
{
    QString name = fromWide(fileName);
    if (name.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!name.mid(name.lastIndexOf(QLatin1Char('\\')) + 1).contains(QLatin1Char('.')))
        name += QStringLiteral(".dll");
    const QStringList candidates = name.contains(QLatin1Char('\\'))
        ? QStringList{name}
        : QStringList{ProgramFolder + name, QStringLiteral("\\Windows\\") + name, QStringLiteral("\\") + name};
    for (const QString &candidate : candidates) {
        struct stat st;
        UniqueFd fd = openLibrary(candidate, st);
        if (!fd.valid())
            continue;
        const std::pair<dev_t, ino_t> file(st.st_dev, st.st_ino);
        int loadFd = fd.get();
        {
            const std::lock_guard lock(s_residentMutex);
            if (const auto resident = s_residentFds.find(file); resident != s_residentFds.end()) {
                loadFd = resident->second;
                fd.reset();
            }
        }
        void *library = ::dlopen(DevicePath::fdPath(loadFd).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            SetLastError(ERROR_BAD_EXE_FORMAT);
            return nullptr;
        }
        return HandleTable::add(std::make_unique<ModuleHandle>(library, std::move(fd), file));
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCWSTR procName)
{
    ModuleHandle *handle = HandleTable::get<ModuleHandle>(module);
    if (!handle || !procName) {
        SetLastError(handle ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    void *symbol = ::dlsym(handle->library, fromWide(procName).toLatin1().constData());
    if (!symbol) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

BOOL FreeLibrary(HMODULE module)
{
    if (!HandleTable::get<ModuleHandle>(module))
        return PosixError::failWith(ERROR_INVALID_HANDLE);
    HandleTable::close(module);
    return TRUE;
}
