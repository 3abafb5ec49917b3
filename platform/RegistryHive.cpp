#include "platform/RegistryHive.h"

#include <sqlite3.h>

#include <QFile>

namespace {

// Other processes (the installer's helpers, a second window) may hold the
// write lock while they commit; wait for them rather than fail.
constexpr int BusyTimeoutMs = 10000;
constexpr qsizetype MaxCacheEntries = 8192;

const char *const Schema = R"(
BEGIN IMMEDIATE;
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER REFERENCES keys(id),
    name TEXT NOT NULL,
    folded TEXT NOT NULL);
CREATE UNIQUE INDEX IF NOT EXISTS keys_by_name ON keys(parent, folded);
CREATE INDEX IF NOT EXISTS keys_by_parent ON keys(parent);
CREATE TABLE IF NOT EXISTS vals(
    id INTEGER PRIMARY KEY,
    key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB);
CREATE UNIQUE INDEX IF NOT EXISTS vals_by_name ON vals(key, folded);
CREATE INDEX IF NOT EXISTS vals_by_key ON vals(key);
INSERT OR IGNORE INTO keys(id, parent, name, folded) VALUES
    (1, NULL, 'HKEY_CLASSES_ROOT', 'hkey_classes_root'),
    (2, NULL, 'HKEY_CURRENT_USER', 'hkey_current_user'),
    (3, NULL, 'HKEY_LOCAL_MACHINE', 'hkey_local_machine'),
    (4, NULL, 'HKEY_USERS', 'hkey_users');
COMMIT;
)";

// Case folding that takes a shortcut for ASCII, which nearly all names are.
// Folding maps code points one by one, so a folded path is the folded
// components joined.
QString fold(const QString &name)
{
    QString folded(name.size(), Qt::Uninitialized);
    QChar *out = folded.data();
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u >= 0x80)
            return name.toCaseFolded();
        *out++ = QChar(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u);
    }
    return folded;
}

} // namespace

// One prepared statement, kept for the life of the connection.
class RegistryHive::Statement
{
public:
    ~Statement() { sqlite3_finalize(m_stmt); }

    bool prepare(sqlite3 *db, const char *sql)
    {
        return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) == SQLITE_OK;
    }
    sqlite3_stmt *get() const { return m_stmt; }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

struct RegistryHive::Statements {
    Statement begin, beginImmediate, commit, rollback;
    Statement keyExists, childKey, insertKey, deleteTree, keyInfo, subKeyAt;
    Statement valueAt, queryValue, setValue, deleteValue;

    bool prepare(sqlite3 *db)
    {
        const std::pair<Statement *, const char *> all[] = {
            {&begin, "BEGIN"},
            {&beginImmediate, "BEGIN IMMEDIATE"},
            {&commit, "COMMIT"},
            {&rollback, "ROLLBACK"},
            {&keyExists, "SELECT 1 FROM keys WHERE id = ?1"},
            {&childKey, "SELECT id FROM keys WHERE parent = ?1 AND folded = ?2"},
            {&insertKey, "INSERT INTO keys(parent, name, folded) VALUES (?1, ?2, ?3)"},
            {&deleteTree, "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL"
                          " SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id)"
                          " DELETE FROM keys WHERE id IN tree"},
            {&keyInfo, "SELECT EXISTS(SELECT 1 FROM keys WHERE id = ?1),"
                       " (SELECT count(*) FROM keys WHERE parent = ?1),"
                       " (SELECT coalesce(max(length(CAST(name AS BLOB))), 0) FROM keys WHERE parent = ?1),"
                       " (SELECT count(*) FROM vals WHERE key = ?1),"
                       " (SELECT coalesce(max(length(CAST(name AS BLOB))), 0) FROM vals WHERE key = ?1),"
                       " (SELECT coalesce(max(length(data)), 0) FROM vals WHERE key = ?1)"},
            {&subKeyAt, "SELECT name FROM keys WHERE parent = ?1 ORDER BY id LIMIT 1 OFFSET ?2"},
            {&valueAt, "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY id LIMIT 1 OFFSET ?2"},
            {&queryValue, "SELECT type, data FROM vals WHERE key = ?1 AND folded = ?2"},
            {&setValue, "INSERT INTO vals(key, name, folded, type, data) VALUES (?1, ?2, ?3, ?4, ?5)"
                        " ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data"},
            {&deleteValue, "DELETE FROM vals WHERE key = ?1 AND folded = ?2"},
        };
        for (const auto &[statement, sql] : all) {
            if (!statement->prepare(db, sql))
                return false;
        }
        return true;
    }
};

namespace {

// Binds, steps and reads one use of a prepared statement; resets it when done
// so that no read transaction stays open between calls.
class Query
{
public:
    explicit Query(sqlite3_stmt *stmt) : m_stmt(stmt) {}
    ~Query()
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    Query &bind(int i, qint64 value)
    {
        sqlite3_bind_int64(m_stmt, i, value);
        return *this;
    }
    Query &bind(int i, const QString &text)
    {
        sqlite3_bind_text16(m_stmt, i, text.utf16(), int(text.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
        return *this;
    }
    Query &bind(int i, const QByteArray &blob)
    {
        sqlite3_bind_blob(m_stmt, i, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
        return *this;
    }
    int step() { return sqlite3_step(m_stmt); }

    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QString text(int column) const
    {
        const auto *text = static_cast<const char16_t *>(sqlite3_column_text16(m_stmt, column));
        return QString::fromUtf16(text, sqlite3_column_bytes16(m_stmt, column) / int(sizeof(char16_t)));
    }
    QByteArray blob(int column) const
    {
        const void *data = sqlite3_column_blob(m_stmt, column);
        return QByteArray(static_cast<const char *>(data), sqlite3_column_bytes(m_stmt, column));
    }

private:
    sqlite3_stmt *m_stmt;
};

// The case-folded path with empty components dropped; false when a
// component is longer than the platform allows.
bool foldPath(const QString &path, QString *folded)
{
    QString normal;
    normal.reserve(path.size());
    qsizetype length = 0;
    for (const QChar c : path) {
        if (c == QLatin1Char('\\')) {
            length = 0;
            continue;
        }
        if (length == 0 && !normal.isEmpty())
            normal += QLatin1Char('\\');
        if (++length > RegistryHive::MaxNameLength)
            return false;
        normal += c;
    }
    *folded = fold(normal);
    return true;
}

} // namespace

RegistryHive::RegistryHive(const QString &path) : m_path(path)
{
    if (!openDatabase()) {
        m_statements.reset();
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

RegistryHive::~RegistryHive()
{
    m_statements.reset();
    sqlite3_close_v2(m_db);
}

bool RegistryHive::openDatabase()
{
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(QFile::encodeName(m_path).constData(), &m_db, flags, nullptr) != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    // The encoding only takes effect on a new file; names then travel as
    // UTF-16 without conversion and length(CAST(name AS BLOB)) counts UTF-16 units.
    // Two programs opening a new hive at once race to switch it to WAL, and
    // that switch reports busy without waiting: the set-up is tried again
    // until the busy timeout runs out.
    const auto setUp = [this] {
        return exec("PRAGMA encoding = 'UTF-16le'") && exec("PRAGMA journal_mode = WAL")
            && exec("PRAGMA synchronous = FULL") && exec("PRAGMA foreign_keys = ON") && exec(Schema);
    };
    for (int waited = 0; !setUp(); waited += 10) {
        const int rc = sqlite3_errcode(m_db) & 0xff;
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || waited >= BusyTimeoutMs)
            return false;
        sqlite3_sleep(10);
    }
    m_statements = std::make_unique<Statements>();
    if (!m_statements->prepare(m_db))
        return false;
    // The schema transaction has mapped the shared memory.
    m_watch = std::make_unique<RegistryChangeWatch>(m_db);
    return true;
}

// Starts every call: false when the hive is unusable; forgets what was
// learnt from the database when anyone has committed since.
bool RegistryHive::begin()
{
    if (!m_db)
        return false;
    if (m_watch->changed() || m_paths.size() + m_values.size() > MaxCacheEntries) {
        m_paths.clear();
        m_values.clear();
    }
    return true;
}

bool RegistryHive::exec(const char *sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    if (!sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

DWORD RegistryHive::failure(int rc) const
{
    switch (rc & 0xff) {
    case SQLITE_NOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_FULL:
        return ERROR_DISK_FULL;
    default:
        return ERROR_REGISTRY_IO_FAILED;
    }
}

DWORD RegistryHive::missingKeyOr(KeyId key, DWORD error)
{
    const int rc = Query(m_statements->keyExists.get()).bind(1, key).step();
    if (rc == SQLITE_ROW)
        return error;
    return rc == SQLITE_DONE ? ERROR_KEY_DELETED : failure(rc);
}

// Follows names from parent as far as they exist: *found components resolved,
// *result the id of the last one (parent when none).
DWORD RegistryHive::lookUp(KeyId parent, const QStringList &names, KeyId *result, int *found)
{
    *result = parent;
    *found = 0;
    for (const QString &name : names) {
        Query query(m_statements->childKey.get());
        const int rc = query.bind(1, *result).bind(2, fold(name)).step();
        if (rc == SQLITE_DONE)
            return ERROR_SUCCESS;
        if (rc != SQLITE_ROW)
            return failure(rc);
        *result = query.integer(0);
        ++*found;
    }
    return ERROR_SUCCESS;
}

DWORD RegistryHive::insertKey(KeyId parent, const QString &name, KeyId *result)
{
    const int rc = Query(m_statements->insertKey.get()).bind(1, parent).bind(2, name).bind(3, fold(name)).step();
    if (rc == SQLITE_DONE) {
        *result = sqlite3_last_insert_rowid(m_db);
        return ERROR_SUCCESS;
    }
    return (rc & 0xff) == SQLITE_CONSTRAINT ? ERROR_KEY_DELETED : failure(rc);
}

DWORD RegistryHive::openKey(KeyId parent, const QString &path, KeyId *result)
{
    bool created = false;
    return resolve(parent, path, false, result, &created);
}

DWORD RegistryHive::createKey(KeyId parent, const QString &path, KeyId *result, bool *created)
{
    return resolve(parent, path, true, result, created);
}

DWORD RegistryHive::resolve(KeyId parent, const QString &path, bool create, KeyId *result, bool *created)
{
    *created = false;
    QString folded;
    if (!foldPath(path, &folded))
        return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(m_mutex);
    if (!begin())
        return ERROR_REGISTRY_IO_FAILED;
    const auto cacheKey = qMakePair(parent, folded);
    if (const auto it = m_paths.constFind(cacheKey); it != m_paths.constEnd()) {
        *result = it.value();
        return ERROR_SUCCESS;
    }

    const QStringList names = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    // A read transaction, so that all components come from the same state;
    // to create, the write lock first, as another process may create the same path.
    const int rc = Query((create ? m_statements->beginImmediate : m_statements->begin).get()).step();
    if (rc != SQLITE_DONE)
        return failure(rc);
    int found = 0;
    DWORD error = lookUp(parent, names, result, &found);
    if (error == ERROR_SUCCESS && found == 0)
        error = missingKeyOr(parent, ERROR_SUCCESS);
    if (error == ERROR_SUCCESS && found < names.size() && !create)
        error = ERROR_FILE_NOT_FOUND;
    for (int i = found; error == ERROR_SUCCESS && i < names.size(); ++i)
        error = insertKey(*result, names.at(i), result);
    if (error == ERROR_SUCCESS) {
        const int commit = Query(m_statements->commit.get()).step();
        if (commit != SQLITE_DONE)
            error = failure(commit);
    }
    if (error != ERROR_SUCCESS) {
        Query(m_statements->rollback.get()).step();
        return error;
    }
    *created = found < names.size();
    m_paths.insert(cacheKey, *result);
    return ERROR_SUCCESS;
}

DWORD RegistryHive::deleteKey(KeyId key)
{
    if (key <= Users)
        return ERROR_ACCESS_DENIED;
    std::lock_guard lock(m_mutex);
    if (!begin())
        return ERROR_REGISTRY_IO_FAILED;
    const int rc = Query(m_statements->deleteTree.get()).bind(1, key).step();
    if (rc != SQLITE_DONE)
        return failure(rc);
    return sqlite3_changes(m_db) > 0 ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

DWORD RegistryHive::keyInfo(KeyId key, KeyInfo *info)
{
    std::lock_guard lock(m_mutex);
    if (!begin())
        return ERROR_REGISTRY_IO_FAILED;
    Query query(m_statements->keyInfo.get());
    const int rc = query.bind(1, key).step();
    if (rc != SQLITE_ROW)
        return failure(rc);
    if (!query.integer(0))
        return ERROR_KEY_DELETED;
    info->subKeys = DWORD(query.integer(1));
    info->maxSubKeyLength = DWORD(query.integer(2) / 2);
    info->values = DWORD(query.integer(3));
    info->maxValueNameLength = DWORD(query.integer(4) / 2);
    info->maxValueLength = DWORD(query.integer(5));
    return ERROR_SUCCESS;
}

DWORD RegistryHive::subKeyAt(KeyId key, DWORD index, QString *name)
{
    std::lock_guard lock(m_mutex);
    if (!begin())
        return ERROR_REGISTRY_IO_FAILED;
    Query query(m_statements->subKeyAt.get());
    const int rc = query.bind(1, key).bind(2, qint64(index)).step();
    if (rc == SQLITE_ROW) {
        *name = query.text(0);
        return ERROR_SUCCESS;
    }
    return rc == SQLITE_DONE ? missingKeyOr(key, ERROR_NO_MORE_ITEMS) : failure(rc);
}

DWORD RegistryHive::valueAt(KeyId key, DWORD index, Value *value)
{
    std::lock_guard lock(m_mutex);
    if (!begin())
        return ERROR_REGISTRY_IO_FAILED;
    Query query(m_statements->valueAt.get());
    const int rc = query.bind(1, key).bind(2, qint64(index)).step();
    if (rc == SQLITE_ROW) {
        value->name = query.text(0);
        value->type = DWORD(query.integer(1));
        value->data = query.blob(2);
        return ERROR_SUCCESS;
    }
    return rc == SQLITE_DONE ? missingKeyOr(key, ERROR_NO_MORE_ITEMS) : failure(rc);
}

DWORD RegistryHive::queryValue(KeyId key, const QString &name, Value *value)
{
    std::lock_guard lock(m_mutex);
    if (!begin())
        return ERROR_REGISTRY_IO_FAILED;
    const auto cacheKey = qMakePair(key, fold(name));
    if (const auto it = m_values.constFind(cacheKey); it != m_values.constEnd()) {
        *value = it->value;
        return it->error;
    }
    Query query(m_statements->queryValue.get());
    const int rc = query.bind(1, key).bind(2, cacheKey.second).step();
    DWORD error = ERROR_SUCCESS;
    if (rc == SQLITE_ROW) {
        value->type = DWORD(query.integer(0));
        value->data = query.blob(1);
    } else if (rc == SQLITE_DONE) {
        error = missingKeyOr(key, ERROR_FILE_NOT_FOUND);
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_KEY_DELETED)
            return error;
    } else {
        return failure(rc);
    }
    m_values.insert(cacheKey, CachedValue{error, *value});
    return error;
}

DWORD RegistryHive::setValue(KeyId key, const QString &name, DWORD type, const QByteArray &data)
{
    if (name.size() > MaxNameLength)
        return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(m_mutex);
    if (!begin())
        return ERROR_REGISTRY_IO_FAILED;
    const int rc = Query(m_statements->setValue.get())
                       .bind(1, key)
                       .bind(2, name)
                       .bind(3, fold(name))
                       .bind(4, qint64(type))
                       .bind(5, data)
                       .step();
    if (rc == SQLITE_DONE)
        return ERROR_SUCCESS;
    // The only constraint a well-formed insert can break is the key reference.
    return (rc & 0xff) == SQLITE_CONSTRAINT ? ERROR_KEY_DELETED : failure(rc);
}

DWORD RegistryHive::deleteValue(KeyId key, const QString &name)
{
    std::lock_guard lock(m_mutex);
    if (!begin())
        return ERROR_REGISTRY_IO_FAILED;
    const int rc = Query(m_statements->deleteValue.get()).bind(1, key).bind(2, fold(name)).step();
    if (rc != SQLITE_DONE)
        return failure(rc);
    return sqlite3_changes(m_db) > 0 ? ERROR_SUCCESS : missingKeyOr(key, ERROR_FILE_NOT_FOUND);
}
