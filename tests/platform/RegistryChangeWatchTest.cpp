// Commits by another connection are noticed through the shared wal-index.
#include "platform/RegistryChangeWatch.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

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
    const QString path = dir.filePath(QStringLiteral("hive.db"));
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
}

TEST(RegistryChangeWatchTest, WithoutSharedMemoryEveryLookIsAChange)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    RegistryChangeWatch watch(db);
    EXPECT_FALSE(watch.isMapped());
    EXPECT_TRUE(watch.changed());
    EXPECT_TRUE(watch.changed());
    sqlite3_close(db);
}

} // namespace
