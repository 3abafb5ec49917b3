// The device's registry hive: a SQLite database shared by every process that
// opens the device.
//
// Keys form a tree below four roots; every key has an id that is
// never reused, and keys are never renamed, so a key id, while it exists,
// always stands for the same path. Key and value names compare without regard
// to case and keep the spelling they were created with. Subkeys and values
// enumerate in the order they were first created.
//
// Every write is its own committed transaction (WAL, synchronous FULL): once a
// call has returned ERROR_SUCCESS the change survives the process being killed.
// Reads always see what other processes have committed: resolved key paths and
// queried values are remembered only until any process commits, which a
// RegistryChangeWatch detects without a system call, so repeated reads of an
// unchanged hive do not touch the database. Results are the
// platform's error codes; ERROR_KEY_DELETED means the key id no longer exists.
// The object may be used from several threads; calls are serialised.
#pragma once

#include "platform/Registry.h"
#include "platform/RegistryChangeWatch.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>
#include <mutex>

struct sqlite3;

class RegistryHive
{
public:
    using KeyId = qint64;

    // Ids of the four roots, the same in every hive.
    static constexpr KeyId ClassesRoot = 1;
    static constexpr KeyId CurrentUser = 2;
    static constexpr KeyId LocalMachine = 3;
    static constexpr KeyId Users = 4;

    // Longest key component or value name, in UTF-16 units.
    static constexpr int MaxNameLength = 255;

    struct KeyInfo {
        DWORD subKeys = 0;
        DWORD maxSubKeyLength = 0;   // characters, without terminator
        DWORD values = 0;
        DWORD maxValueNameLength = 0; // characters, without terminator
        DWORD maxValueLength = 0;     // bytes
    };

    struct Value {
        QString name;
        DWORD type = REG_NONE;
        QByteArray data;
    };

    // Opens (and on first use creates) the hive file at path. A hive that
    // cannot be opened answers every call with ERROR_REGISTRY_IO_FAILED.
    explicit RegistryHive(const QString &path);
    ~RegistryHive();
    RegistryHive(const RegistryHive &) = delete;
    RegistryHive &operator=(const RegistryHive &) = delete;

    bool isOpen() const { return m_db != nullptr; }

    // Key paths are relative to parent, components separated by backslashes;
    // leading, trailing and doubled backslashes are ignored, so "" and "\"
    // name parent itself. A component longer than MaxNameLength is refused
    // with ERROR_INVALID_PARAMETER.
    //
    // openKey: ERROR_FILE_NOT_FOUND when a component does not exist.
    DWORD openKey(KeyId parent, const QString &path, KeyId *result);
    // createKey: creates the missing components in one transaction; *created
    // tells whether the last component was new.
    DWORD createKey(KeyId parent, const QString &path, KeyId *result, bool *created);
    // Deletes the key with all its subkeys and values; a root is refused
    // with ERROR_ACCESS_DENIED.
    DWORD deleteKey(KeyId key);

    DWORD keyInfo(KeyId key, KeyInfo *info);
    // Name of the index-th subkey in creation order; ERROR_NO_MORE_ITEMS past the end.
    DWORD subKeyAt(KeyId key, DWORD index, QString *name);
    // The index-th value in creation order; ERROR_NO_MORE_ITEMS past the end.
    DWORD valueAt(KeyId key, DWORD index, Value *value);

    // An empty name is the key's default value. A missing value is
    // ERROR_FILE_NOT_FOUND. Fills value's type and data only.
    DWORD queryValue(KeyId key, const QString &name, Value *value);
    // Replaces the data and type of an existing value in place (its
    // enumeration position and spelling stay), else appends a new value.
    DWORD setValue(KeyId key, const QString &name, DWORD type, const QByteArray &data);
    DWORD deleteValue(KeyId key, const QString &name);

private:
    class Statement;
    struct Statements;

    bool openDatabase();
    bool exec(const char *sql);
    bool begin();
    DWORD resolve(KeyId parent, const QString &path, bool create, KeyId *result, bool *created);
    DWORD lookUp(KeyId parent, const QStringList &components, KeyId *result, int *found);
    DWORD insertKey(KeyId parent, const QString &name, KeyId *result);
    DWORD missingKeyOr(KeyId key, DWORD error);
    DWORD failure(int rc) const;

    QString m_path;
    sqlite3 *m_db = nullptr;
    std::unique_ptr<Statements> m_statements;
    // What the database said since the last commit by anyone: resolved paths,
    // (parent, case-folded normalised path) -> key id, and query results,
    // (key, case-folded value name) -> value or error.
    struct CachedValue {
        DWORD error;
        Value value;
    };
    std::unique_ptr<RegistryChangeWatch> m_watch;
    QHash<QPair<KeyId, QString>, KeyId> m_paths;
    QHash<QPair<KeyId, QString>, CachedValue> m_values;
    std::mutex m_mutex;
};
