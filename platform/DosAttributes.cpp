#include "platform/DosAttributes.h"

#include "platform/ObjectInfo.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// The system call's number is shared by every architecture; C library
// headers older than the call do not name it.
#ifdef SYS_getxattrat
constexpr long GetxattratSyscall = SYS_getxattrat;
#else
constexpr long GetxattratSyscall = 464;
#endif

struct XattrArgs
{
    std::uint64_t value;
    std::uint32_t size;
    std::uint32_t flags;
};

DWORD decodeStored(const char *data, ssize_t size)
{
    if (size <= 0)
        return 0;
    return DosAttributes::decode(data, std::size_t(size)).value_or(0) & DosAttributes::StoredMask;
}

std::optional<DWORD> parseHexText(const char *text, std::size_t size)
{
    std::size_t i = 0;
    if (size >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        i = 2;
    if (i == size)
        return std::nullopt;
    DWORD value = 0;
    for (; i < size; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = value << 4 | DWORD(digit);
    }
    return value;
}

// Little-endian reader with NDR alignment relative to the start of the blob.
class NdrReader
{
public:
    NdrReader(const unsigned char *data, std::size_t size, std::size_t pos) : m_data(data), m_size(size), m_pos(pos) {}
    bool read(std::size_t width, std::uint32_t &value)
    {
        m_pos = (m_pos + width - 1) / width * width;
        if (m_pos + width > m_size)
            return false;
        value = 0;
        for (std::size_t i = 0; i < width; ++i)
            value |= std::uint32_t(m_data[m_pos + i]) << (8 * i);
        m_pos += width;
        return true;
    }
    void align(std::size_t width) { m_pos = (m_pos + width - 1) / width * width; }

private:
    const unsigned char *m_data;
    std::size_t m_size;
    std::size_t m_pos;
};

} // namespace

std::optional<DWORD> DosAttributes::decode(const char *data, std::size_t size)
{
    const void *nul = std::memchr(data, 0, size);
    const std::size_t textSize = nul ? std::size_t(static_cast<const char *>(nul) - data) : size;
    if (textSize + 1 >= size)
        return parseHexText(data, textSize);

    // Samba's binary form: the (possibly empty) text, then version, level and a body.
    NdrReader reader(reinterpret_cast<const unsigned char *>(data), size, textSize + 1);
    std::uint32_t version = 0, level = 0;
    if (!reader.read(2, version) || !reader.read(2, level) || version != level)
        return std::nullopt;
    reader.align(4);
    std::uint32_t first = 0, attrib = 0;
    if (version == 1)
        return reader.read(4, attrib) ? std::optional<DWORD>(attrib) : std::nullopt;
    if (version < 2 || version > 5 || !reader.read(4, first) || !reader.read(4, attrib))
        return std::nullopt;
    // Versions 3 to 5 say whether the attribute field is valid; if not, the text holds it.
    if (version >= 3 && !(first & 1))
        return parseHexText(data, textSize);
    return attrib;
}

QByteArray DosAttributes::encode(DWORD bits)
{
    return "0x" + QByteArray::number(bits & StoredMask, 16);
}

DWORD DosAttributes::read(const char *path, Link link)
{
    char buffer[256];
    const ssize_t size = link == Link::Follow ? ::getxattr(path, XattrName, buffer, sizeof buffer)
                                              : ::lgetxattr(path, XattrName, buffer, sizeof buffer);
    return decodeStored(buffer, size);
}

DWORD DosAttributes::readOpen(int file)
{
    char buffer[256];
    return decodeStored(buffer, ::fgetxattr(file, XattrName, buffer, sizeof buffer));
}

DWORD DosAttributes::readAt(int dir, const char *name)
{
    // getxattrat (Linux 6.13) reads relative to the folder; older kernels
    // and sandboxes that refuse it go through the folder's /proc path.
    static std::atomic<bool> available = true;
    if (available.load(std::memory_order_relaxed)) {
        char buffer[256];
        XattrArgs args{reinterpret_cast<std::uintptr_t>(buffer), sizeof buffer, 0};
        const ssize_t size = ::syscall(GetxattratSyscall, dir, name, AT_SYMLINK_NOFOLLOW, XattrName, &args, sizeof args);
        if (size >= 0 || (errno != ENOSYS && errno != EPERM))
            return decodeStored(buffer, size);
        available = false;
    }
    return read(("/proc/self/fd/" + QByteArray::number(dir) + '/' + name).constData(), Link::NoFollow);
}

namespace {

// Sets the attribute for non-zero stored bits, removes it for none.
template<typename Set, typename Remove>
bool storeBits(DWORD bits, Set set, Remove remove)
{
    bits &= DosAttributes::StoredMask;
    if (bits) {
        const QByteArray value = DosAttributes::encode(bits);
        return set(value.constData(), std::size_t(value.size())) == 0 || errno == ENOTSUP;
    }
    return remove() == 0 || errno == ENODATA || errno == ENOTSUP;
}

} // namespace

bool DosAttributes::write(const char *path, DWORD bits, Link link)
{
    const bool follow = link == Link::Follow;
    return storeBits(
        bits,
        [&](const char *value, std::size_t size) {
            return follow ? ::setxattr(path, XattrName, value, size, 0) : ::lsetxattr(path, XattrName, value, size, 0);
        },
        [&] { return follow ? ::removexattr(path, XattrName) : ::lremovexattr(path, XattrName); });
}

bool DosAttributes::writeOpen(int file, DWORD bits)
{
    return storeBits(
        bits, [&](const char *value, std::size_t size) { return ::fsetxattr(file, XattrName, value, size, 0); },
        [&] { return ::fremovexattr(file, XattrName); });
}

bool DosAttributes::change(const char *objectPath, const ObjectInfo &info, DWORD attributes)
{
    const DWORD requested = attributes & SettableMask;
    const DWORD kept = info.attributes & StoredMask & ~SettableMask;
    // A card's TEMPORARY bit comes from what it is, not from the stored bits.
    const DWORD stored = (kept | requested) & (info.card ? ~FILE_ATTRIBUTE_TEMPORARY : ~DWORD(0));
    if (info.isDirectory())
        return write(objectPath, stored, Link::Follow);

    // Linux lets an owner change the user. attributes only of a file it may
    // write: read-only is cleared first and set last.
    const mode_t permissions = info.mode & 07777;
    const mode_t writable = permissions | S_IWUSR;
    if (writable != permissions && ::chmod(objectPath, writable) != 0)
        return false;
    if (!write(objectPath, stored, Link::Follow)) {
        const int err = errno;
        ::chmod(objectPath, permissions);
        errno = err;
        return false;
    }
    const mode_t mode = (stored & FILE_ATTRIBUTE_READONLY) ? permissions & ~(S_IWUSR | S_IWGRP | S_IWOTH) : writable;
    return mode == writable || ::chmod(objectPath, mode) == 0;
}
