// One hive file shared by several connections and processes.
#include "TempDevice.h"

#include "platform/Registry.h"
#include "platform/RegistryChangeWatch.h"
#include "platform/RegistryHive.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <sqlite3.h>

namespace {

using KeyId = RegistryHive::KeyId;

// hivewriter from the build's tests/ folder, writing PREFIX0, PREFIX1, ... into
// the device's hive (count 0: until killed); killed when it goes out of scope.
class Writer
{
public:
    Writer(const TempDevice &device, const char *prefix, long count)
    {
        const QString dir = qEnvironmentVariableIsSet("QUILLMOSS_BIN_DIR")
            ? qEnvironmentVariable("QUILLMOSS_BIN_DIR") + "/tests"
            : QFileInfo("/proc/self/exe").canonicalPath();
        m_process.start(dir + "/hivewriter", {device.dir(), prefix, QString::number(count)});
    }
    bool started() { return m_process.waitForStarted(); }
    void killHard() { m_process.kill(); }
    // The next index the writer confirmed; false at the end of its output.
    bool readIndex(long *index)
    {
        // The wait may drain the last lines of a writer that just ended and still say false.
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(-1) && !m_process.canReadLine())
                return false;
        }
        *index = m_process.readLine().trimmed().toLong();
        return true;
    }
    // Exit status, or -1 when killed.
    int wait()
    {
        m_process.waitForFinished(-1);
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
};

QByteArray integrityCheck(TempDevice &device)
{
    QProcess sqlite;
    sqlite.start("sqlite3", {device.device().hivePath(), "PRAGMA integrity_check"});
    sqlite.waitForFinished();
    return sqlite.readAllStandardOutput();
}

// Every value name in HKLM\SOFTWARE\HiveWriter whose data is the expected index.
std::set<QString> writtenValues(RegistryHive &hive)
{
    std::set<QString> names;
    KeyId key = 0;
    if (hive.openKey(RegistryHive::LocalMachine, "SOFTWARE\\HiveWriter", &key) != 0)
        return names;
    RegistryHive::Value value;
    for (DWORD i = 0; hive.valueAt(key, i, &value) == 0; ++i) {
        DWORD data = 0;
        if (value.type == REG_DWORD && value.data.size() == 4)
            std::memcpy(&data, value.data.constData(), 4);
        names.insert(value.name + '=' + QString::number(data));
    }
    return names;
}

TEST(RegistryHiveTest, ConnectionsSeeEachOthersWritesAndDeletions)
{
    TempDevice device;
    RegistryHive first(device.device().hivePath());
    RegistryHive second(device.device().hivePath());
    KeyId key = 0;
    bool created = false;
    ASSERT_EQ(first.createKey(RegistryHive::LocalMachine, "A\\B", &key, &created), 0u);
    ASSERT_EQ(first.setValue(key, "v", REG_DWORD, QByteArray(4, '\1')), 0u);

    // second resolves (and remembers) the path, then first replaces the key.
    KeyId seen = 0;
    ASSERT_EQ(second.openKey(RegistryHive::LocalMachine, "a\\b", &seen), 0u);
    EXPECT_EQ(seen, key);
    RegistryHive::Value value;
    ASSERT_EQ(second.queryValue(key, "v", &value), 0u);
    ASSERT_EQ(first.setValue(key, "V", REG_DWORD, QByteArray(4, '\3')), 0u);
    ASSERT_EQ(second.queryValue(key, "v", &value), 0u);
    EXPECT_EQ(value.data, QByteArray(4, '\3'));

    ASSERT_EQ(first.deleteKey(key), 0u);
    EXPECT_EQ(second.openKey(RegistryHive::LocalMachine, "a\\b", &seen), ERROR_FILE_NOT_FOUND);
    KeyId replacement = 0;
    ASSERT_EQ(first.createKey(RegistryHive::LocalMachine, "A\\B", &replacement, &created), 0u);
    ASSERT_EQ(first.setValue(replacement, "v", REG_DWORD, QByteArray(4, '\2')), 0u);

    ASSERT_EQ(second.createKey(RegistryHive::LocalMachine, "a\\b", &seen, &created), 0u);
    EXPECT_FALSE(created);
    EXPECT_EQ(seen, replacement);
    ASSERT_EQ(second.queryValue(seen, "V", &value), 0u);
    EXPECT_EQ(value.data, QByteArray(4, '\2'));
    EXPECT_EQ(second.queryValue(key, "v", &value), ERROR_KEY_DELETED);
}

TEST(RegistryHiveTest, AHiveThatCannotBeOpenedFailsEveryCall)
{
    TempDevice device;
    RegistryHive hive(device.dir() + "/missing/folder/registry.db");
    EXPECT_FALSE(hive.isOpen());
    KeyId key = 0;
    EXPECT_EQ(hive.openKey(RegistryHive::LocalMachine, QString(), &key), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(hive.setValue(RegistryHive::LocalMachine, "v", REG_SZ, QByteArray()),
              ERROR_REGISTRY_IO_FAILED);
}

// A value first found missing, then written by other processes at once, is
// seen at the next read; no write is lost.
TEST(RegistryHiveTest, TwoProcessesWritingAtOnceKeepEveryValue)
{
    TempDevice device;
    RegistryHive &hive = device.device().hive();
    KeyId key = 0;
    bool created = false;
    ASSERT_EQ(hive.createKey(RegistryHive::LocalMachine, "SOFTWARE\\HiveWriter", &key, &created), 0u);
    RegistryHive::Value value;
    EXPECT_EQ(hive.queryValue(key, "a0", &value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(hive.queryValue(key, "a0", &value), ERROR_FILE_NOT_FOUND);
    constexpr long Count = 60;
    Writer a(device, "a", Count);
    Writer b(device, "b", Count);
    ASSERT_TRUE(a.started() && b.started());
    long index = 0;
    long lastA = -1, lastB = -1;
    while (a.readIndex(&index))
        lastA = index;
    while (b.readIndex(&index))
        lastB = index;
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);
    EXPECT_EQ(lastA, Count - 1);
    EXPECT_EQ(lastB, Count - 1);

    ASSERT_EQ(hive.queryValue(key, "A0", &value), 0u);
    EXPECT_EQ(value.type, REG_DWORD);
    EXPECT_EQ(value.data, QByteArray(4, '\0'));
    const std::set<QString> values = writtenValues(hive);
    EXPECT_EQ(values.size(), size_t(2 * Count));
    for (long i = 0; i < Count; ++i) {
        EXPECT_TRUE(values.count(QString("a%1=%1").arg(i))) << i;
        EXPECT_TRUE(values.count(QString("b%1=%1").arg(i))) << i;
    }
    EXPECT_EQ(integrityCheck(device), "ok\n");
}

TEST(RegistryHiveTest, AWriterKilledMidLoopLosesNoConfirmedWrite)
{
    TempDevice device;
    std::vector<long> confirmed;
    {
        Writer writer(device, "k", 0);
        ASSERT_TRUE(writer.started());
        long index = 0;
        while (confirmed.size() < 40 && writer.readIndex(&index))
            confirmed.push_back(index);
        ASSERT_EQ(confirmed.size(), 40u);
        writer.killHard();
        // Whatever it printed before it died was confirmed too.
        while (writer.readIndex(&index))
            confirmed.push_back(index);
        EXPECT_EQ(writer.wait(), -1);
    }

    EXPECT_EQ(integrityCheck(device), "ok\n");
    const std::set<QString> values = writtenValues(device.device().hive());
    for (long index : confirmed)
        EXPECT_TRUE(values.count(QString("k%1=%1").arg(index))) << index;
}

// Commits by another connection are noticed through the shared wal-index.
sqlite3 *openWal(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open(path.toLocal8Bit().constData(), &db);
    sqlite3_busy_timeout(db, 5000);
    sqlite3_exec(db, "PRAGMA journal_mode = WAL; CREATE TABLE IF NOT EXISTS t(x)", nullptr, nullptr, nullptr);
    return db;
}

TEST(RegistryChangeWatchTest, SeesEveryCommitAndNothingElse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("hive.db");
    sqlite3 *watched = openWal(path);
    sqlite3 *other = openWal(path);
    RegistryChangeWatch watch(watched);
    ASSERT_TRUE(watch.isMapped());

    EXPECT_TRUE(watch.changed());
    EXPECT_FALSE(watch.changed());
    sqlite3_exec(other, "SELECT count(*) FROM t", nullptr, nullptr, nullptr);
    EXPECT_FALSE(watch.changed());
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(sqlite3_exec(other, "INSERT INTO t VALUES (1)", nullptr, nullptr, nullptr), SQLITE_OK);
        EXPECT_TRUE(watch.changed());
        EXPECT_FALSE(watch.changed());
    }
    ASSERT_EQ(sqlite3_exec(watched, "DELETE FROM t", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_TRUE(watch.changed());
    sqlite3_close(other);
    sqlite3_close(watched);

    // Without shared memory every look is a change.
    sqlite3 *memory = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &memory), SQLITE_OK);
    RegistryChangeWatch blind(memory);
    EXPECT_FALSE(blind.isMapped());
    EXPECT_TRUE(blind.changed());
    EXPECT_TRUE(blind.changed());
    sqlite3_close(memory);
}

} // namespace
