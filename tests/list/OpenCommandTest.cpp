// Building and splitting the command line that opens a file, and reading
// shortcut targets from files the shortcut writer made.
#include "TempDevice.h"

#include "settings/CRegistryAccess.h"
#include "fileops/ShortcutFile.h"
#include "list/CFileTypeInfo.h"

#include <gtest/gtest.h>

namespace {

struct OpenCase {
    const char *path;
    const char *command; // GetOpenCommand
    bool split;
    const char *program;
    const char *parameters;
};

TEST(OpenCommand, BuildsAndSplitsTheCommandLine)
{
    TempDevice device;
    const struct {
        HKEY root;
        const char *key, *name, *value;
    } entries[] = {
        {HKEY_CLASSES_ROOT, ".DIR\\Shell\\Open\\Command", "", "direct.exe %1"},
        {HKEY_CLASSES_ROOT, ".dir", "", "ignoredfile"},
        {HKEY_CLASSES_ROOT, ".txt", "", "txtfile"},
        {HKEY_CLASSES_ROOT, "txtfile\\Shell\\Open\\Command", "", "viewer.exe -open %1"},
        {HKEY_CLASSES_ROOT, ".two", "", "twofile"},
        {HKEY_CLASSES_ROOT, "twofile\\Shell\\Open\\Command", "", "  two.exe %1 %1"},
        {HKEY_CLASSES_ROOT, ".exe", "", "exefile"},
        {HKEY_CLASSES_ROOT, "exefile\\Shell\\Open\\Command", "", "\"%1\" %*"},
        {HKEY_CLASSES_ROOT, ".bad", "", "badfile"},
        {HKEY_CLASSES_ROOT, "badfile\\Shell\\Open\\Command", "", "\"\\Windows\\v.exe %1"},
        {HKEY_CLASSES_ROOT, ".q", "", "qfile"},
        {HKEY_CLASSES_ROOT, "qfile\\Shell\\Open\\Command", "", "\"\\Program Files\\Q\\q.exe\"   -a %1"},
        {HKEY_CLASSES_ROOT, ".none", "", "nonefile"},
        {HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Shell\\Rai\\:VIEWER", "1", "viewer.exe -x"},
        {HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Shell\\Rai\\:OUTER", "1", ":VIEWER calendar"},
        {HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Shell\\Rai\\:DEEP", "1", ":OUTER day"},
    };
    for (const auto &e : entries)
        CRegistryAccess().WriteString(e.root, e.key, e.name, e.value);
    device.make({"\\Docs\\"});
    for (const char *target : {"x.txt", ":OUTER", ":VIEWER", ":DEEP", ":MISSING"}) {
        const QString name = target[0] == ':' ? QString(target + 1).toLower() : "bare";
        ASSERT_TRUE(ShortcutFile::WriteShortcutFile(target, "\\Docs\\" + name + ".lnk"));
    }

    const OpenCase cases[] = {
        {"\\a\\x.dir", "direct.exe \\a\\x.dir", true, "direct.exe", "\\a\\x.dir"},
        {"\\My Documents\\a.TXT", "viewer.exe -open \\My Documents\\a.TXT", true, "viewer.exe",
         "-open \\My Documents\\a.TXT"},
        {"\\a.two", "  two.exe \\a.two %1", true, "two.exe", "\\a.two %1"},
        {"\\Windows\\tool.exe", "\"\\Windows\\tool.exe\"", true, "\\Windows\\tool.exe", ""},
        {"\\Windows\\tool", "\"\\Windows\\tool\"", true, "\\Windows\\tool", ""},
        {"\\Docs\\bare.lnk", "viewer.exe -open \\Docs\\x.txt", true, "viewer.exe", "-open \\Docs\\x.txt"},
        {"\\a.bad", "\"\\Windows\\v.exe \\a.bad", false, "", ""},
        {"\\a.q", "\"\\Program Files\\Q\\q.exe\"   -a \\a.q", true, "\\Program Files\\Q\\q.exe", "-a \\a.q"},
        {"\\Docs\\viewer.lnk", "viewer.exe -x", true, "viewer.exe", "-x"},
        {"\\Docs\\outer.lnk", "viewer.exe -x calendar", true, "viewer.exe", "-x calendar"},
        {"\\Docs\\deep.lnk", ":VIEWER calendar day", true, ":VIEWER", "calendar day"},
        {"\\Docs\\missing.lnk", "", false, "", ""},
        {"\\Docs\\gone.lnk", "", false, "", ""},
        {"\\a.none", "", false, "", ""},
        {"\\a.unknown", "", false, "", ""},
    };
    for (const OpenCase &c : cases) {
        CFileTypeInfo info;
        info.SetPath(c.path);
        EXPECT_EQ(info.GetOpenCommand(), QString(c.command)) << c.path;
        QString program, parameters;
        EXPECT_EQ(info.SplitOpenCommand(program, parameters), c.split) << c.path;
        if (c.split) {
            EXPECT_EQ(program, QString(c.program)) << c.path;
            EXPECT_EQ(parameters, QString(c.parameters)) << c.path;
        }
    }
}

struct TargetCase {
    const char *file;
    QByteArray bytes; // written as they are; empty: the pasted form of target
    QString target;
};

TEST(ShortcutTarget, FollowsCountQuestionMarkAndQuotes)
{
    TempDevice device;
    const TargetCase cases[] = {
        {"\\pasted.lnk", "", "\\Windows\\viewer.exe"},
        {"\\spaces.lnk", "", "\\My Documents\\caf\u00e9 list.txt"},
        {"\\typed.lnk", "21#\"\\Windows\\viewer.exe\"", "\\Windows\\viewer.exe"},
        {"\\question.lnk", "30#\\Windows\\viewer.exe?arg=1", "\\Windows\\viewer.exe"},
        {"\\short.lnk", "3#abcdef", "abc"},
        {"\\zero.lnk", "0#\"\\Temp\\x.txt\"", "\\Temp\\x.txt"},
        {"\\long.lnk", "99#abc", "abc"},
        {"\\nohash.LNK", "\\Windows\\plain.exe", "\\Windows\\plain.exe"},
        {"\\early.lnk", "?1#abc", ""},
        {"\\ansi.lnk", "9#\\caf\xe9.txt", "\\caf\u00e9.txt"},
    };
    for (const TargetCase &c : cases) {
        if (c.bytes.isEmpty())
            ASSERT_TRUE(ShortcutFile::WriteShortcutFile(c.target, c.file));
        else
            device.writeFile(c.file, c.bytes);
        EXPECT_EQ(CFileTypeInfo().ReadShortcutTarget(c.file), c.target) << c.file;
    }
    EXPECT_EQ(CFileTypeInfo().ReadShortcutTarget("\\missing.lnk"), QString());
    EXPECT_EQ(CFileTypeInfo().ReadShortcutTarget("\\missing.txt"), QString("\\missing.txt"));
    device.writeFile("\\huge.lnk", QByteArray(100 * 1024, 'a'));
    EXPECT_EQ(CFileTypeInfo().ReadShortcutTarget("\\huge.lnk"), QString());
}

} // namespace
