// Tells, without a system call, whether any process has committed to the hive
// since the last look.
//
// SQLite in WAL mode publishes every commit by rewriting the wal-index header
// at the start of the database's shared memory (the first 48 bytes of the
// -shm file, see sqlite.org/walformat.html). The header is the commit point:
// a reader that finds it unchanged would read the same data as before. The
// watch reads it through the connection's own mapping (the VFS's xShmMap), so
// it opens no file of its own: closing a second descriptor of the -shm file
// would drop the connection's POSIX locks on it.
//
// Valid for the life of the connection. Not thread-safe; the hive serialises calls.
#pragma once

#include <array>
#include <cstdint>

struct sqlite3;

class RegistryChangeWatch
{
public:
    // db: an open connection in WAL mode that has run a transaction. If its
    // shared memory cannot be reached, changed() always answers true.
    explicit RegistryChangeWatch(sqlite3 *db);

    bool isMapped() const { return m_header != nullptr; }
    // True when the header differs from the one seen at the previous call
    // (and always on the first call). Memory reads after the call are ordered
    // after the header read.
    bool changed();

private:
    static constexpr int HeaderWords = 12; // 48 bytes

    const volatile std::uint32_t *m_header = nullptr;
    std::array<std::uint32_t, HeaderWords> m_seen = {};
    bool m_seenValid = false;
};
