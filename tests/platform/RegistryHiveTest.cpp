// One hive file shared by several connections and processes.
#include "TempDevice.h"

#include "platform/Registry.h"
#include "platform/RegistryHive.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <cstdio>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using KeyId = RegistryHive::KeyId;

// The build's tests/ folder: from QUILLMOSS_BIN_DIR, else this test's own folder.
std::string helperDir()
{
    if (const char *binDir = std::getenv("QUILLMOSS_BIN_DIR"))
        return std::string(binDir) + "/tests";
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string path(self, n > 0 ? size_t(n) : 0);
    return path.substr(0, path.rfind('/'));
}

// A program from the build's tests/ folder with its standard output on a pipe.
class Helper
{
public:
    explicit Helper(const std::vector<std::string> &args)
    {
        const std::string program = helperDir() + "/" + args.front();
        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<char *> argv;
        for (const std::string &arg : args)
            argv.push_back(const_cast<char *>(arg.c_str()));
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        m_output = fdopen(fds[0], "r");
    }
    ~Helper()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            wait();
        }
        if (m_output)
            fclose(m_output);
    }

    bool started() const { return m_pid > 0 && m_output; }
    // Next line of output as a number; false at end of output.
    bool readIndex(long *index) { return m_output && std::fscanf(m_output, "%ld", index) == 1; }
    void killHard() { kill(m_pid, SIGKILL); }
    // Exit status, or -1 when killed by a signal.
    int wait()
    {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    FILE *m_output = nullptr;
};

std::string integrityCheck(const QString &hivePath)
{
    const std::string command = "sqlite3 '" + hivePath.toStdString() + "' 'PRAGMA integrity_check'";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return "sqlite3 did not start";
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    pclose(pipe);
    return read ? std::string(line) : std::string("no output");
}

// Every value name in HKLM\SOFTWARE\HiveWriter whose data is the expected index.
std::set<QString> writtenValues(RegistryHive &hive)
{
    std::set<QString> names;
    KeyId key = 0;
    if (hive.openKey(RegistryHive::LocalMachine, QStringLiteral("SOFTWARE\\HiveWriter"), &key) != 0)
        return names;
    RegistryHive::Value value;
    for (DWORD i = 0; hive.valueAt(key, i, &value) == 0; ++i) {
        DWORD data = 0;
        if (value.type == REG_DWORD && value.data.size() == 4)
            std::memcpy(&data, value.data.constData(), 4);
        names.insert(value.name + QLatin1Char('=') + QString::number(data));
    }
    return names;
}

QString expected(const char *prefix, long index)
{
    return QString::fromLatin1(prefix) + QString::number(index) + QLatin1Char('=') + QString::number(index);
}

TEST(RegistryHiveTest, ConnectionsSeeEachOthersWritesAndDeletions)
{
    TempDevice device;
    RegistryHive first(device.device().hivePath());
    RegistryHive second(device.device().hivePath());
    KeyId key = 0;
    bool created = false;
    ASSERT_EQ(first.createKey(RegistryHive::LocalMachine, QStringLiteral("A\\B"), &key, &created), 0u);
    ASSERT_EQ(first.setValue(key, QStringLiteral("v"), REG_DWORD, QByteArray(4, '\1')), 0u);

    // second resolves (and remembers) the path, then first replaces the key.
    KeyId seen = 0;
    ASSERT_EQ(second.openKey(RegistryHive::LocalMachine, QStringLiteral("a\\b"), &seen), 0u);
    EXPECT_EQ(seen, key);
    RegistryHive::Value value;
    ASSERT_EQ(second.queryValue(key, QStringLiteral("v"), &value), 0u);
    ASSERT_EQ(first.setValue(key, QStringLiteral("V"), REG_DWORD, QByteArray(4, '\3')), 0u);
    ASSERT_EQ(second.queryValue(key, QStringLiteral("v"), &value), 0u);
    EXPECT_EQ(value.data, QByteArray(4, '\3'));

    ASSERT_EQ(first.deleteKey(key), 0u);
    EXPECT_EQ(second.openKey(RegistryHive::LocalMachine, QStringLiteral("a\\b"), &seen), ERROR_FILE_NOT_FOUND);
    KeyId replacement = 0;
    ASSERT_EQ(first.createKey(RegistryHive::LocalMachine, QStringLiteral("A\\B"), &replacement, &created), 0u);
    ASSERT_EQ(first.setValue(replacement, QStringLiteral("v"), REG_DWORD, QByteArray(4, '\2')), 0u);

    ASSERT_EQ(second.createKey(RegistryHive::LocalMachine, QStringLiteral("a\\b"), &seen, &created), 0u);
    EXPECT_FALSE(created);
    EXPECT_EQ(seen, replacement);
    ASSERT_EQ(second.queryValue(seen, QStringLiteral("V"), &value), 0u);
    EXPECT_EQ(value.data, QByteArray(4, '\2'));
    EXPECT_EQ(second.queryValue(key, QStringLiteral("v"), &value), ERROR_KEY_DELETED);
}

TEST(RegistryHiveTest, AValueWrittenByAnotherProcessIsSeenAtTheNextRead)
{
    TempDevice device;
    RegistryHive &hive = device.device().hive();
    KeyId key = 0;
    bool created = false;
    ASSERT_EQ(hive.createKey(RegistryHive::LocalMachine, QStringLiteral("SOFTWARE\\HiveWriter"), &key, &created), 0u);
    RegistryHive::Value value;
    EXPECT_EQ(hive.queryValue(key, QStringLiteral("c0"), &value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(hive.queryValue(key, QStringLiteral("c0"), &value), ERROR_FILE_NOT_FOUND);

    Helper writer({"hivewriter", device.dir().toStdString(), "c", "1"});
    ASSERT_TRUE(writer.started());
    long index = -1;
    EXPECT_TRUE(writer.readIndex(&index));
    EXPECT_EQ(writer.wait(), 0);

    ASSERT_EQ(hive.queryValue(key, QStringLiteral("C0"), &value), 0u);
    EXPECT_EQ(value.type, REG_DWORD);
    EXPECT_EQ(value.data, QByteArray(4, '\0'));
}

TEST(RegistryHiveTest, AHiveThatCannotBeOpenedFailsEveryCall)
{
    TempDevice device;
    RegistryHive hive(device.dir() + QStringLiteral("/missing/folder/registry.db"));
    EXPECT_FALSE(hive.isOpen());
    KeyId key = 0;
    EXPECT_EQ(hive.openKey(RegistryHive::LocalMachine, QString(), &key), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(hive.setValue(RegistryHive::LocalMachine, QStringLiteral("v"), REG_SZ, QByteArray()),
              ERROR_REGISTRY_IO_FAILED);
}

TEST(RegistryHiveTest, TwoProcessesWritingAtOnceKeepEveryValue)
{
    TempDevice device;
    const std::string dir = device.dir().toStdString();
    constexpr long Count = 60;
    Helper a({"hivewriter", dir, "a", std::to_string(Count)});
    Helper b({"hivewriter", dir, "b", std::to_string(Count)});
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

    const std::set<QString> values = writtenValues(device.device().hive());
    EXPECT_EQ(values.size(), size_t(2 * Count));
    for (long i = 0; i < Count; ++i) {
        EXPECT_TRUE(values.count(expected("a", i))) << i;
        EXPECT_TRUE(values.count(expected("b", i))) << i;
    }
    EXPECT_EQ(integrityCheck(device.device().hivePath()), "ok\n");
}

TEST(RegistryHiveTest, AWriterKilledMidLoopLosesNoConfirmedWrite)
{
    TempDevice device;
    std::vector<long> confirmed;
    {
        Helper writer({"hivewriter", device.dir().toStdString(), "k", "0"});
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

    EXPECT_EQ(integrityCheck(device.device().hivePath()), "ok\n");
    const std::set<QString> values = writtenValues(device.device().hive());
    for (long index : confirmed)
        EXPECT_TRUE(values.count(expected("k", index))) << index;
}

} // namespace
