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
#include <QScopeGuard>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QString classesDefault(const QString &path, const QString &value = QString())
{
    HKEY key = nullptr;
    LONG result = RegCreateKeyExW(HKEY_CLASSES_ROOT, wide(path), 0, nullptr, 0, 0, nullptr, &key, nullptr);
    const auto bytes = reinterpret_cast<const BYTE *>(value.utf16());
    if (result == ERROR_SUCCESS && !value.isEmpty())
        RegSetValueExW(key, nullptr, 0, REG_SZ, bytes, DWORD(value.size() + 1) * 2);
    WCHAR text[MAX_PATH] = {};
    DWORD size = sizeof text;
    if (result == ERROR_SUCCESS)
        result = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE *>(text), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? fromWide(text) : "-";
}

// Command lines split by the runtime's rules; programs start and documents open as the search finds them.
TEST(ShellExecute, SplitsCommandLinesStartsProgramsAndOpensDocumentsFoundByTheSearchOrder)
{
    const std::pair<const char *, QStringList> cases[] = {
        {"   ", {}},                                                           {"a b\tc", {"a", "b", "c"}},
        {"\"\\My Documents\\a b.txt\" -x", {"\\My Documents\\a b.txt", "-x"}}, {"a\"b c\"d", {"ab cd"}},
        {"\\\\server\\share", {"\\\\server\\share"}},                          {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\"b", {"a\"b"}},                                                  {"\"a\"\"b\"", {"a\"b"}},
        {"\"unterminated rest", {"unterminated rest"}},                        {"\"\"", {""}},
    };
    for (const auto &[line, arguments] : cases)
        EXPECT_EQ(SplitCommandLine(QString::fromLatin1(line)), arguments) << line;
    TempDevice device;
    for (const char *program : {"\\tool.exe", "\\Windows\\tool.exe", "\\Program Files\\Q\\tool.exe"}) {
        device.writeFile(program, "#!/bin/sh\n");
        QFile::setPermissions(device.host(program), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(FindProgramImage("TOOL", "\\Program Files\\Q\\"), QString(program).replace("tool.exe", "TOOL.exe"));
    }
    EXPECT_EQ(FindProgramImage("tool.exe"), QString("\\Windows\\tool.exe")) << "the tests run outside the store";
    // A program that records its arguments starts; ".exe" may be left out.
    device.writeFile("\\Windows\\tool.exe", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$QUILLMOSS_DEVICE/args\"\nexit 3\n");
    EXPECT_EQ(runDeviceProgram(u"tool", "one \"two three\""), 3);
    EXPECT_EQ(device.readFile("\\..\\args"), "one|two three|");
    device.writeFile("\\My Documents\\data.exe", "MZ not for this host");
    expectRefused({REFUSES(runDeviceProgram(u"nothing.exe", "") != -1, ERROR_FILE_NOT_FOUND),
                   REFUSES(runDeviceProgram(u"\\My Documents\\data.exe", "") != -1, ERROR_BAD_EXE_FORMAT)});
    classesDefault(".txt", "txtfile");
    classesDefault("txtfile\\Shell\\Open\\Command", "tool.exe /v \"%1\" %*");
    classesDefault(".log\\Shell\\Open\\Command", "\"\\tool.exe\" %1");
    RecordingLauncher launcher;
    const struct { const char16_t *file, *verb; DWORD size, error; QStringList arguments; } runs[] = {
        {u"\\My Documents\\a b.txt", nullptr, 60, 0, {"/v", "\\My Documents\\a b.txt", "-p", "q"}},
        {u"\\q.LOG", u"OPEN", 60, 0, {"\\q.LOG"}},
        {u"\\Windows\\Tool.EXE", u"open", 60, 0, {"-p", "q"}},
        {u"\\a.txt", u"open", 12, ERROR_INVALID_PARAMETER, {}},
        {u"\\a.txt", u"print", 60, ERROR_NOT_SUPPORTED, {}},
        {u"\\a.unknown", u"open", 60, ERROR_NO_ASSOCIATION, {}},
        {u"\\Windows\\missing.exe", u"open", 60, ERROR_FILE_NOT_FOUND, {}},
    };
    for (const auto &run : runs) {
        SHELLEXECUTEINFO info{.cbSize = run.size, .lpVerb = run.verb, .lpFile = run.file, .lpParameters = u"-p q"};
        EXPECT_EQ(ShellExecuteExW(&info), run.error == 0) << qPrintable(fromWide(run.file));
        if (run.error)
            EXPECT_EQ(GetLastError(), run.error) << qPrintable(fromWide(run.file));
        else
            EXPECT_EQ(launcher.starts().last().arguments, run.arguments) << qPrintable(fromWide(run.file));
    }
    EXPECT_EQ(launcher.starts().size(), 3);
}

// The stand-ins reach the host's opener: the browser with its address, a new device's types with the
// file's host path. A user's own registration is kept, and a deleted one stays deleted.
TEST(ShellExecute, StandInsAndDefaultTypesOpenThroughTheHostOpener)
{
    TempDevice device;
    ASSERT_TRUE(StandIns::install(device.device(), qEnvironmentVariable("QUILLMOSS_BIN_DIR")));
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\iexplore.exe") & FILE_ATTRIBUTE_INROM, FILE_ATTRIBUTE_INROM);
    EXPECT_FALSE(DeleteFileW(u"\\Windows\\iexplore.exe"));
    // The host's opener records its one argument, written aside and renamed to appear whole.
    const QString opened = device.dir() + "/opened", opener = device.dir() + "/opener.sh";
    const QByteArray record = "'" + QFile::encodeName(opened) + "'";
    device.writeFile("\\..\\opener.sh",
                     "#!/bin/sh\nprintf '%s' \"$1\" > " + record + ".part && mv " + record + ".part " + record + "\n");
    QFile::setPermissions(opener, QFile::ReadOwner | QFile::ExeOwner);
    qputenv("QUILLMOSS_OPENER", QFile::encodeName(opener));
    const auto unset = qScopeGuard([] { qunsetenv("QUILLMOSS_OPENER"); });
    // What the opener was given, waiting up to 10 s (it is started detached); the record is used up.
    const auto waitForArgument = [&] {
        QFile result(opened);
        for (int i = 0; i < 200 && !result.exists(); ++i)
            QThread::msleep(50);
        const QByteArray argument = result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray();
        result.remove();
        return argument;
    };
    EXPECT_EQ(runDeviceProgram(u"iexplore.exe", "https://www.brindlecove.example/quillmoss"), 0);
    EXPECT_EQ(waitForArgument(), "https://www.brindlecove.example/quillmoss");
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
        SHELLEXECUTEINFO info{.cbSize = 60, .fMask = SEE_MASK_NOCLOSEPROCESS, .lpFile = file};
        ASSERT_TRUE(ShellExecuteExW(&info));
        // Ended, closed, and then no longer a handle.
        EXPECT_EQ((std::vector<DWORD>{WaitForSingleObject(info.hProcess, 20000), DWORD(CloseHandle(info.hProcess)),
                                      WaitForSingleObject(info.hProcess, 0)}),
                  (std::vector<DWORD>{WAIT_OBJECT_0, TRUE, WAIT_FAILED}));
    }
    EXPECT_EQ(QString::fromUtf8(waitForArgument()),
              QFileInfo(device.host("\\My Documents\\two  spaces.jpg")).canonicalFilePath());
    EXPECT_FALSE(QFile::exists(opened)) << "nothing opened outside the device";
}

} // namespace
