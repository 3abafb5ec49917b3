// The shell's "open" verb, the program search, the default file types and
// the host opener they name.
#include "PlatformTestUtil.h"
#include "RecordingLauncher.h"
#include "TempDevice.h"

#include "platform/FileTypeDefaults.h"
#include "platform/Files.h"
#include "platform/ProgramSearch.h"
#include "platform/Registry.h"
#include "platform/ShellExecute.h"
#include "platform/StandIns.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

void setString(HKEY root, const QString &path, const QString &name, const QString &value)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, wide(path), 0, nullptr, 0, 0, nullptr, &key, nullptr), LONG(ERROR_SUCCESS));
    RegSetValueExW(key, name.isEmpty() ? nullptr : wide(name), 0, REG_SZ,
                   reinterpret_cast<const BYTE *>(value.utf16()), DWORD(value.size() + 1) * 2);
    RegCloseKey(key);
}

QString readString(HKEY root, const QString &path, const QString &name = QString())
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, wide(path), 0, 0, &key) != ERROR_SUCCESS)
        return "<none>";
    WCHAR buffer[260] = {};
    DWORD size = sizeof buffer;
    const LONG result = RegQueryValueExW(key, name.isEmpty() ? nullptr : wide(name), nullptr, nullptr,
                                         reinterpret_cast<BYTE *>(buffer), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? fromWide(buffer) : "<none>";
}

class ShellExecuteTest : public ::testing::Test
{
protected:
    void makeProgram(const QString &path)
    {
        device.writeFile(path, "#!/bin/sh\n");
        QFile::setPermissions(device.host(path), QFile::ReadOwner | QFile::ExeOwner);
    }
    BOOL open(const QString &file, const QString &parameters, const char *verb = "open", DWORD size = 60)
    {
        SHELLEXECUTEINFO info;
        info.cbSize = size;
        const QString verbText = QString::fromLatin1(verb ? verb : "");
        info.lpVerb = verb ? wide(verbText) : nullptr;
        info.lpFile = wide(file);
        info.lpParameters = wide(parameters);
        return ShellExecuteExW(&info);
    }

    TempDevice device;
};

TEST_F(ShellExecuteTest, FindsBareProgramsInTheProgramFolderThenWindowsThenRoot)
{
    makeProgram("\\tool.exe");
    EXPECT_EQ(FindProgramImage("tool", "\\Program Files\\Q\\"), QString("\\tool.exe"));
    makeProgram("\\Windows\\tool.exe");
    EXPECT_EQ(FindProgramImage("TOOL.EXE", "\\Program Files\\Q\\"), QString("\\Windows\\TOOL.EXE"));
    makeProgram("\\Program Files\\Q\\tool.exe");
    EXPECT_EQ(FindProgramImage("tool", "\\Program Files\\Q\\"), QString("\\Program Files\\Q\\tool.exe"));
    EXPECT_EQ(FindProgramImage("tool.exe"), QString("\\Windows\\tool.exe")) << "the tests run from outside the store";
    EXPECT_EQ(FindProgramImage("\\Temp\\tool.exe", "\\Program Files\\Q\\"), QString());
    EXPECT_EQ(RunningProgramFolder(), QString());
}

TEST_F(ShellExecuteTest, OpenRunsProgramsAndTheOpenCommandOfDocuments)
{
    makeProgram("\\Windows\\viewer.exe");
    setString(HKEY_CLASSES_ROOT, ".txt", QString(), "txtfile");
    setString(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Open\\Command", QString(), "viewer.exe /v \"%1\" %*");
    setString(HKEY_CLASSES_ROOT, ".log\\Shell\\Open\\Command", QString(), "\"\\Windows\\viewer.exe\" %1");
    RecordingLauncher launcher;
    EXPECT_TRUE(open("\\My Documents\\a b.txt", "-x y", nullptr));
    EXPECT_TRUE(open("\\q.LOG", "", "OPEN"));
    EXPECT_TRUE(open("\\Windows\\Viewer.EXE", "1 2"));
    EXPECT_TRUE(open("\\Windows\\viewer.exe", ""));
    const QString viewer = QFileInfo(device.host("\\Windows\\viewer.exe")).canonicalFilePath();
    ASSERT_EQ(launcher.starts().size(), 4);
    EXPECT_EQ(launcher.starts()[0].program, viewer);
    EXPECT_EQ(launcher.starts()[0].arguments, (QStringList{"/v", "\\My Documents\\a b.txt", "-x", "y"}));
    EXPECT_EQ(launcher.starts()[1].arguments, QStringList{"\\q.LOG"});
    EXPECT_EQ(launcher.starts()[2].arguments, (QStringList{"1", "2"}));
    EXPECT_EQ(launcher.starts()[3].arguments, QStringList{});

    const struct {
        QString file;
        const char *verb;
        DWORD size;
        DWORD error;
    } failures[] = {
        {"\\a.txt", "open", 12, ERROR_INVALID_PARAMETER},
        {"", "open", 60, ERROR_INVALID_PARAMETER},
        {"\\a.txt", "print", 60, ERROR_NOT_SUPPORTED},
        {"\\a.unknown", "open", 60, ERROR_NO_ASSOCIATION},
        {"\\Windows\\missing.exe", "open", 60, ERROR_FILE_NOT_FOUND},
    };
    for (const auto &f : failures) {
        EXPECT_FALSE(open(f.file, "", f.verb, f.size)) << f.file.toStdString();
        EXPECT_EQ(GetLastError(), f.error) << f.file.toStdString();
    }
    EXPECT_FALSE(ShellExecuteExW(nullptr));
}

TEST_F(ShellExecuteTest, DefaultsAreAddedOnceAroundTheUsersOwn)
{
    makeProgram("\\Windows\\iexplore.exe");
    setString(HKEY_CLASSES_ROOT, ".txt", QString(), "mytext");
    setString(HKEY_CLASSES_ROOT, "web.page", QString(), "My pages");
    FileTypeDefaults::install();
    EXPECT_EQ(readString(HKEY_CLASSES_ROOT, ".txt"), QString("mytext"));
    EXPECT_EQ(readString(HKEY_CLASSES_ROOT, ".log"), QString("text.document"));
    EXPECT_EQ(readString(HKEY_CLASSES_ROOT, "text.document\\Shell\\Open\\Command"),
              QString("\\Windows\\hostopen.exe \"%1\""));
    EXPECT_EQ(readString(HKEY_CLASSES_ROOT, "web.page"), QString("My pages"));
    EXPECT_EQ(readString(HKEY_CLASSES_ROOT, "web.page\\Shell\\Open\\Command"), QString("<none>"));
    for (const char *extension : {".jpg", ".html", ".pdf", ".zip", ".mp3", ".mp4"})
        EXPECT_NE(readString(HKEY_CLASSES_ROOT, extension), QString("<none>")) << extension;
    const QString rai = "\\Software\\Microsoft\\Shell\\Rai\\";
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, rai + ":DEFBROWSER", "1"), QString("\\Windows\\iexplore.exe"));
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, rai + ":HOSTOPEN", "1"), QString("<none>")) << "no such stand-in";

    // A registration deleted afterwards stays deleted.
    RegDeleteKeyW(HKEY_CLASSES_ROOT, u".log");
    FileTypeDefaults::install();
    EXPECT_EQ(readString(HKEY_CLASSES_ROOT, ".log"), QString("<none>"));
}

// A registered document really reaches the host's opener, as a host path
// inside the device; a path out of the device reaches nothing.
TEST_F(ShellExecuteTest, HostOpenerOpensTheDeviceFile)
{
    ASSERT_TRUE(StandIns::install(device.device(), qEnvironmentVariable("QUILLMOSS_BIN_DIR")));
    FileTypeDefaults::install();
    RecordingOpener opener(device.dir());
    device.make({"\\My Documents\\two  spaces.txt"});

    SHELLEXECUTEINFO info;
    info.cbSize = 60;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = u"\\My Documents\\two  spaces.txt";
    ASSERT_TRUE(ShellExecuteExW(&info));
    ASSERT_EQ(WaitForSingleObject(info.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(QString::fromUtf8(opener.waitForArgument()),
              QFileInfo(device.host("\\My Documents\\two  spaces.txt")).canonicalFilePath());

    PROCESS_INFORMATION process;
    ASSERT_TRUE(CreateProcessW(u"hostopen.exe", u"\\..\\..\\etc\\passwd", nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, nullptr, &process));
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    EXPECT_EQ(code, 1u);
    EXPECT_FALSE(opener.ran());
}

} // namespace
