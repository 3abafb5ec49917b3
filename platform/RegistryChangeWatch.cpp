#include "platform/RegistryChangeWatch.h"

#include <sqlite3.h>

#include <atomic>

namespace {
// Size of one region of SQLite's wal-index; region 0 holds the header.
constexpr int WalIndexRegionSize = 32768;
}

RegistryChangeWatch::RegistryChangeWatch(sqlite3 *db)
{
    sqlite3_file *file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file
        || !file->pMethods || file->pMethods->iVersion < 2 || !file->pMethods->xShmMap)
        return;
    // Without extending: the region exists once the connection has read in WAL mode.
    void volatile *region = nullptr;
    if (file->pMethods->xShmMap(file, 0, WalIndexRegionSize, 0, &region) == SQLITE_OK && region)
        m_header = static_cast<const volatile std::uint32_t *>(region);
}

bool RegistryChangeWatch::changed()
{
    if (!m_header)
        return true;
    std::array<std::uint32_t, HeaderWords> now;
    for (int i = 0; i < HeaderWords; ++i)
        now[i] = m_header[i];
    // The data read after this must not be older than the header just read.
    std::atomic_thread_fence(std::memory_order_acquire);
    const bool different = !m_seenValid || now != m_seen;
    m_seen = now;
    m_seenValid = true;
    return different;
}
