// One hive file shared by several connections and processes.
#include "TempDevice.h"

#include "platform/Registry.h"
#include "platform/RegistryChangeWatch.h"
#include "platform/RegistryHive.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <sqlite3.h>

namespace {

using KeyId = RegistryHive::KeyId;

// hivewriter writing PREFIX0, PREFIX1, ... into the hive (count 0: until killed); killed at the end.
struct Writer : QProcess {
    Writer(const TempDevice &device, const char *prefix, long count)
    {
        start(qEnvironmentVariable("QUILLMOSS_BIN_DIR") + "/tests/hivewriter",
              {device.dir(), prefix, QString::number(count)});
    }
    // The indexes the writer confirms, read until there are atMost or its output ends.
    std::vector<long> confirmed(std::size_t atMost = SIZE_MAX)
    {
        std::vector<long> indexes;
        // The wait may drain the last lines of a writer that just ended and still say false.
        while (indexes.size() < atMost && (canReadLine() || waitForReadyRead(-1) || canReadLine())) {
            if (canReadLine())
                indexes.push_back(readLine().trimmed().toLong());
        }
        return indexes;
    }
    // Exit status, or -1 when killed.
    int wait()
    {
        waitForFinished(-1);
        return exitStatus() == QProcess::NormalExit ? exitCode() : -1;
    }
};

QByteArray integrityCheck(TempDevice &device)
{
    QProcess sqlite;
    sqlite.start("sqlite3", {device.device().hivePath(), "PRAGMA integrity_check"});
    sqlite.waitForFinished();
    return sqlite.readAllStandardOutput();
}

// Every value in HKLM\SOFTWARE\HiveWriter as "name=data".
std::set<std::string> writtenValues(RegistryHive &hive)
{
    std::set<std::string> values;
    KeyId key = 0;
    if (hive.openKey(RegistryHive::LocalMachine, "SOFTWARE\\HiveWriter", &key) != 0)
        return values;
    RegistryHive::Value value;
    for (DWORD i = 0; hive.valueAt(key, i, &value) == 0; ++i) {
        DWORD data = 0;
        if (value.type == REG_DWORD && value.data.size() == 4)
            std::memcpy(&data, value.data.constData(), 4);
        values.insert((value.name + '=' + QString::number(data)).toStdString());
    }
    return values;
}

TEST(RegistryHiveTest, ConnectionsSeeEachOthersWritesAndDeletionsAndAnUnopenableHiveFailsEveryCall)
{
    TempDevice device;
    RegistryHive first(device.device().hivePath()), second(device.device().hivePath());
    KeyId key = 0, seen = 0, replacement = 0;
    bool created = false;
    ASSERT_TRUE(first.createKey(RegistryHive::LocalMachine, "A\\B", &key, &created) == 0
                && first.setValue(key, "v", REG_DWORD, QByteArray(4, '\1')) == 0);
    // second resolves (and remembers) the path, then first replaces the key.
    EXPECT_EQ((std::pair{second.openKey(RegistryHive::LocalMachine, "a\\b", &seen), seen}), std::pair(0u, key));
    RegistryHive::Value value;
    ASSERT_TRUE(second.queryValue(key, "v", &value) == 0
                && first.setValue(key, "V", REG_DWORD, QByteArray(4, '\3')) == 0
                && second.queryValue(key, "v", &value) == 0);
    EXPECT_EQ(value.data, QByteArray(4, '\3'));
    ASSERT_EQ(first.deleteKey(key), 0u);
    EXPECT_EQ(second.openKey(RegistryHive::LocalMachine, "a\\b", &seen), ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(first.createKey(RegistryHive::LocalMachine, "A\\B", &replacement, &created) == 0
                && first.setValue(replacement, "v", REG_DWORD, QByteArray(4, '\2')) == 0);
    ASSERT_EQ(second.createKey(RegistryHive::LocalMachine, "a\\b", &seen, &created), 0u);
    EXPECT_EQ(std::pair(created, seen), std::pair(false, replacement));
    EXPECT_EQ((std::pair{second.queryValue(seen, "V", &value), value.data}), std::pair(0u, QByteArray(4, '\2')));
    EXPECT_EQ(second.queryValue(key, "v", &value), ERROR_KEY_DELETED);
    RegistryHive missing(device.dir() + "/missing/folder/registry.db"); // cannot be opened: every call fails
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.openKey(RegistryHive::LocalMachine, QString(), &key), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(missing.setValue(RegistryHive::LocalMachine, "v", REG_SZ, QByteArray()), ERROR_REGISTRY_IO_FAILED);
}

// A value found missing, then written by other processes at once, is seen next time; no write is
// lost, not even the confirmed ones of a writer killed mid-loop.
TEST(RegistryHiveTest, ProcessesWritingAtOnceOrKilledMidLoopLoseNoConfirmedWrite)
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
    Writer a(device, "a", Count), b(device, "b", Count);
    ASSERT_TRUE(a.waitForStarted() && b.waitForStarted());
    std::vector<long> all;
    std::set<std::string> expected;
    for (long i = 0; i < Count; ++i) {
        all.push_back(i);
        expected.insert({QString("a%1=%1").arg(i).toStdString(), QString("b%1=%1").arg(i).toStdString()});
    }
    EXPECT_EQ(a.confirmed(), all);
    EXPECT_EQ(b.confirmed(), all);
    EXPECT_EQ(std::pair(a.wait(), b.wait()), std::pair(0, 0));
    ASSERT_EQ(hive.queryValue(key, "A0", &value), 0u);
    EXPECT_EQ(std::pair(value.type, value.data), std::pair(REG_DWORD, QByteArray(4, '\0')));
    EXPECT_EQ(writtenValues(hive), expected);
    EXPECT_EQ(integrityCheck(device), "ok\n");
    Writer killed(device, "k", 0);
    ASSERT_TRUE(killed.waitForStarted());
    std::vector<long> confirmed = killed.confirmed(40);
    ASSERT_EQ(confirmed.size(), 40u);
    killed.kill();
    // Whatever it printed before it died was confirmed too.
    for (long index : killed.confirmed())
        confirmed.push_back(index);
    EXPECT_EQ(killed.wait(), -1);
    EXPECT_EQ(integrityCheck(device), "ok\n");
    const std::set<std::string> values = writtenValues(hive);
    for (long index : confirmed)
        EXPECT_TRUE(values.count(QString("k%1=%1").arg(index).toStdString())) << index;
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
    sqlite3 *watched = openWal(dir.filePath("hive.db")), *other = openWal(dir.filePath("hive.db"));
    RegistryChangeWatch watch(watched);
    ASSERT_TRUE(watch.isMapped());
    // Runs sql on db (none at first), then looks twice: "10" is one change seen once.
    std::string looks;
    const auto lookAfter = [&](sqlite3 *db, const char *sql) {
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        const bool first = watch.changed();
        looks += std::to_string(first) + std::to_string(watch.changed()) + ' ';
    };
    lookAfter(other, "");
    lookAfter(other, "SELECT count(*) FROM t");
    for (int i = 0; i < 3; ++i)
        lookAfter(other, "INSERT INTO t VALUES (1)");
    lookAfter(watched, "DELETE FROM t");
    EXPECT_EQ(looks, "10 00 10 10 10 10 ");
    sqlite3_close(other);
    sqlite3_close(watched);
    // Without shared memory every look is a change.
    sqlite3 *memory = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &memory), SQLITE_OK);
    RegistryChangeWatch blind(memory);
    EXPECT_EQ((std::tuple{blind.isMapped(), blind.changed(), blind.changed()}), std::tuple(false, true, true));
    sqlite3_close(memory);
}

} // namespace
