// Starting device programs, the shell's "open" verb and the program search;
// the default file types and the host opener they name.
#include "PlatformTestUtil.h"
#include "RecordingLauncher.h"
#include "RunDeviceProgram.h"
#include "TempDevice.h"

#include "platform/FileTypeDefaults.h"
#include "platform/ProgramSearch.h"
#include "platform/Registry.h"
#include "platform/ShellExecute.h"
#include "platform/StandIns.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char *line;
    QStringList arguments;
};

TEST(SplitCommandLine, FollowsTheRuntimeRules)
{
    const SplitCase cases[] = {
        {"   ", {}},                                                           {"a b\tc", {"a", "b", "c"}},
        {"\"\\My Documents\\a b.txt\" -x", {"\\My Documents\\a b.txt", "-x"}}, {"a\"b c\"d", {"ab cd"}},
        {"\\\\server\\share", {"\\\\server\\share"}},                          {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\"b", {"a\"b"}},                                                  {"\"a\"\"b\"", {"a\"b"}},
        {"\"unterminated rest", {"unterminated rest"}},                        {"\"\"", {""}},
    };
    for (const SplitCase &c : cases)
        EXPECT_EQ(SplitCommandLine(QString::fromLatin1(c.line)), c.arguments) << c.line;
}

TEST(Processes, StartsDevicePrograms)
{
    TempDevice device;
    // Makes a device program that records its arguments and exits with 3, and
    // starts image: the arguments recorded, or "exit N" when it did not exit with 3.
    const auto run = [&](const QString &program, LPCWSTR image, const QString &commandLine) {
        device.writeFile(program, "#!/bin/sh\nprintf '%s|' \"$@\" > \"$QUILLMOSS_DEVICE/args\"\nexit 3\n");
        QFile::setPermissions(device.host(program), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const int code = runDeviceProgram(image, commandLine);
        return code != 3 ? "exit " + QByteArray::number(code) : device.readFile("\\..\\args");
    };
    // ".exe" may be left out.
    EXPECT_EQ(run("\\Windows\\tool.exe", u"tool", "one \"two three\""), "one|two three|");
    device.writeFile("\\My Documents\\data.exe", "MZ not for this host");
    expectRefused({REFUSES(CreateProcessW(u"nothing.exe", u"", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                                          nullptr), ERROR_FILE_NOT_FOUND),
                   REFUSES(CreateProcessW(u"\\My Documents\\data.exe", u"", nullptr, nullptr, FALSE, 0, nullptr,
                                          nullptr, nullptr, nullptr), ERROR_BAD_EXE_FORMAT)});
}

QString classesDefault(const QString &path, const QString &value = QString())
{
    HKEY key = nullptr;
    const LONG opened = RegCreateKeyExW(HKEY_CLASSES_ROOT, wide(path), 0, nullptr, 0, 0, nullptr, &key, nullptr);
    if (opened == ERROR_SUCCESS && !value.isEmpty())
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.utf16()), DWORD(value.size() + 1) * 2);
    WCHAR text[MAX_PATH] = {};
    DWORD size = sizeof text;
    const LONG read = opened == ERROR_SUCCESS ? RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE *>(text), &size) : opened;
    RegCloseKey(key);
    return read == ERROR_SUCCESS ? fromWide(text) : "-";
}

TEST(ShellExecute, OpensProgramsAndDocumentsFoundByTheSearchOrder)
{
    TempDevice device;
    for (const char *program : {"\\tool.exe", "\\Windows\\tool.exe", "\\Program Files\\Q\\tool.exe"}) {
        device.writeFile(program, "#!/bin/sh\n");
        QFile::setPermissions(device.host(program), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(FindProgramImage("TOOL", "\\Program Files\\Q\\"), QString(program).replace("tool.exe", "TOOL.exe"));
    }
    EXPECT_EQ(FindProgramImage("tool.exe"), QString("\\Windows\\tool.exe")) << "the tests run outside the store";
    classesDefault(".txt", "txtfile");
    classesDefault("txtfile\\Shell\\Open\\Command", "tool.exe /v \"%1\" %*");
    classesDefault(".log\\Shell\\Open\\Command", "\"\\tool.exe\" %1");
    RecordingLauncher launcher;
    const struct {
        const char *file, *verb;
        DWORD size, error;
        QStringList arguments;
    } runs[] = {
        {"\\My Documents\\a b.txt", nullptr, 60, 0, {"/v", "\\My Documents\\a b.txt", "-p", "q"}},
        {"\\q.LOG", "OPEN", 60, 0, {"\\q.LOG"}},
        {"\\Windows\\Tool.EXE", "open", 60, 0, {"-p", "q"}},
        {"\\a.txt", "open", 12, ERROR_INVALID_PARAMETER, {}},
        {"\\a.txt", "print", 60, ERROR_NOT_SUPPORTED, {}},
        {"\\a.unknown", "open", 60, ERROR_NO_ASSOCIATION, {}},
        {"\\Windows\\missing.exe", "open", 60, ERROR_FILE_NOT_FOUND, {}},
    };
    for (const auto &run : runs) {
        SHELLEXECUTEINFO info;
        info.cbSize = run.size;
        const QString verb = run.verb;
        info.lpVerb = run.verb ? wide(verb) : nullptr;
        const QString file = run.file;
        info.lpFile = wide(file);
        info.lpParameters = u"-p q";
        EXPECT_EQ(ShellExecuteExW(&info), run.error == 0) << run.file;
        if (run.error)
            EXPECT_EQ(GetLastError(), run.error) << run.file;
        else
            EXPECT_EQ(launcher.starts().last().arguments, run.arguments) << run.file;
    }
    EXPECT_EQ(launcher.starts().size(), 3);
}

// The stand-ins reach the host's opener: the browser with its address, a new
// device's types with the file's host path. A user's own registration is
// kept, and a deleted one stays deleted.
TEST(ShellExecute, StandInsAndDefaultTypesOpenThroughTheHostOpener)
{
    TempDevice device;
    ASSERT_TRUE(StandIns::install(device.device(), qEnvironmentVariable("QUILLMOSS_BIN_DIR")));
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\iexplore.exe") & FILE_ATTRIBUTE_INROM, FILE_ATTRIBUTE_INROM);
    EXPECT_FALSE(DeleteFileW(u"\\Windows\\iexplore.exe"));
    RecordingOpener opener(device.dir());
    EXPECT_EQ(runDeviceProgram(u"iexplore.exe", "https://www.brindlecove.example/quillmoss"), 0);
    EXPECT_EQ(opener.waitForArgument(), "https://www.brindlecove.example/quillmoss");

    classesDefault(".txt", "mytext");
    FileTypeDefaults::install();
    EXPECT_EQ(classesDefault(".txt"), QString("mytext"));
    EXPECT_EQ(classesDefault("jpeg.image\\Shell\\Open\\Command"), QString("\\Windows\\hostopen.exe \"%1\""));
    for (const char *extension : {".log", ".jpg", ".jpeg", ".html", ".pdf", ".zip", ".mp3", ".mp4"})
        EXPECT_NE(classesDefault(extension), QString("-")) << extension;
    RegDeleteKeyW(HKEY_CLASSES_ROOT, u".log");
    FileTypeDefaults::install();
    EXPECT_EQ(classesDefault(".log"), QString("-"));
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\hostopen.exe") & FILE_ATTRIBUTE_INROM, FILE_ATTRIBUTE_INROM);

    device.make({"\\My Documents\\two  spaces.jpg"});
    for (const char16_t *file : {u"\\My Documents\\two  spaces.jpg", u"\\..\\..\\etc\\passwd.jpg"}) {
        SHELLEXECUTEINFO info;
        info.cbSize = 60;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.lpFile = file;
        ASSERT_TRUE(ShellExecuteExW(&info));
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 20000), WAIT_OBJECT_0);
        EXPECT_TRUE(CloseHandle(info.hProcess));
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_FAILED) << "closed handle";
    }
    EXPECT_EQ(QString::fromUtf8(opener.waitForArgument()),
              QFileInfo(device.host("\\My Documents\\two  spaces.jpg")).canonicalFilePath());
    EXPECT_FALSE(opener.ran()) << "nothing opened outside the device";
}

} // namespace
