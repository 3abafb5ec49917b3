#include "PlatformTestUtil.h"
#include "TempDevice.h"

#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/StandIns.h"

#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char *line;
    QStringList arguments;
};

TEST(SplitCommandLine, FollowsTheRuntimeRules)
{
    const SplitCase cases[] = {
        {"", {}},
        {"   ", {}},
        {"http://x/y?a=1", {"http://x/y?a=1"}},
        {"a b\tc", {"a", "b", "c"}},
        {"\"\\My Documents\\a b.txt\" -x", {"\\My Documents\\a b.txt", "-x"}},
        {"a\"b c\"d", {"ab cd"}},
        {"\\\\server\\share", {"\\\\server\\share"}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\"b", {"a\"b"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"\"unterminated rest", {"unterminated rest"}},
        {"\"\"", {""}},
    };
    for (const SplitCase &c : cases)
        EXPECT_EQ(SplitCommandLine(QString::fromLatin1(c.line)), c.arguments) << c.line;
}

class Processes : public ::testing::Test
{
protected:
    // A device program that records its arguments and device, and exits with 3.
    void makeProgram(const QString &devicePath)
    {
        device.writeFile(devicePath, "#!/bin/sh\nprintf '%s|' \"$@\" > \"$QUILLMOSS_DEVICE/args\"\nexit 3\n");
        QFile::setPermissions(device.host(devicePath), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Starts image with the command line; the arguments it recorded, or "exit N" when it did not exit with 3.
    QByteArray run(LPCWSTR image, LPCWSTR commandLine)
    {
        PROCESS_INFORMATION info;
        if (!CreateProcessW(image, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info))
            return "not started";
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 20000), WAIT_OBJECT_0);
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
        EXPECT_TRUE(CloseHandle(info.hProcess));
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_FAILED) << "closed handle";
        QFile file(device.dir() + "/args");
        return code != 3 ? "exit " + QByteArray::number(code) : file.open(QIODevice::ReadOnly) ? file.readAll() : "";
    }

    TempDevice device;
};

TEST_F(Processes, StartsDevicePrograms)
{
    makeProgram("\\tool.exe");
    EXPECT_EQ(run(u"tool.exe", u"root"), "root|");
    // \\Windows comes before the root; ".exe" may be left out.
    makeProgram("\\Windows\\tool.exe");
    EXPECT_EQ(run(u"tool", u"one \"two three\""), "one|two three|");

    EXPECT_FALSE(CreateProcessW(u"nothing.exe", u"", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    device.writeFile("\\My Documents\\data.exe", "MZ not for this host");
    EXPECT_FALSE(CreateProcessW(u"\\My Documents\\data.exe", u"", nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
}

// The browser stand-in really hands the address to the host's opener.
TEST_F(Processes, BrowserStandInOpensTheAddress)
{
    ASSERT_TRUE(StandIns::install(device.device(), qEnvironmentVariable("QUILLMOSS_BIN_DIR")));
    const DWORD attributes = GetFileAttributesW(u"\\Windows\\iexplore.exe");
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_INROM);
    EXPECT_FALSE(DeleteFileW(u"\\Windows\\iexplore.exe"));

    RecordingOpener opener(device.dir());

    PROCESS_INFORMATION info;
    ASSERT_TRUE(CreateProcessW(u"iexplore.exe", u"https://www.brindlecove.example/quillmoss", nullptr, nullptr,
                               FALSE, 0, nullptr, nullptr, nullptr, &info));
    ASSERT_EQ(WaitForSingleObject(info.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(opener.waitForArgument(), "https://www.brindlecove.example/quillmoss");
}

} // namespace
