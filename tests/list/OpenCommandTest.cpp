// Building and splitting the command line that opens a file, and reading
// shortcut targets from files the shortcut writer made.
#include "TempDevice.h"

#include "fileops/ShortcutFile.h"
#include "list/CFileTypeInfo.h"
#include "settings/CRegistryAccess.h"

#include <gtest/gtest.h>

namespace {

TEST(OpenCommand, BuildsAndSplitsTheCommandLine)
{
    TempDevice device;
    const QString rai = "\\Software\\Microsoft\\Shell\\Rai\\", open = "\\Shell\\Open\\Command";
    const struct {
        HKEY root;
        QString key, name, value;
    } entries[] = {
        {HKEY_CLASSES_ROOT, ".DIR" + open, "", "direct.exe %1"}, {HKEY_CLASSES_ROOT, ".dir", "", "ignoredfile"},
        {HKEY_CLASSES_ROOT, ".txt", "", "txtfile"}, {HKEY_CLASSES_ROOT, "txtfile" + open, "", "viewer.exe -open %1"},
        {HKEY_CLASSES_ROOT, ".two" + open, "", "  two.exe %1 %1"}, {HKEY_CLASSES_ROOT, ".exe", "", "exefile"},
        {HKEY_CLASSES_ROOT, "exefile" + open, "", "\"%1\" %*"}, {HKEY_CLASSES_ROOT, ".none", "", "nonefile"},
        {HKEY_CLASSES_ROOT, ".bad" + open, "", "\"\\Windows\\v.exe %1"},
        {HKEY_CLASSES_ROOT, ".q" + open, "", "\"\\Program Files\\Q\\q.exe\"   -a %1"},
        {HKEY_LOCAL_MACHINE, rai + ":VIEWER", "1", "viewer.exe -x"},
        {HKEY_LOCAL_MACHINE, rai + ":OUTER", "1", ":VIEWER calendar"},
        {HKEY_LOCAL_MACHINE, rai + ":DEEP", "1", ":OUTER day"},
    };
    for (const auto &e : entries)
        CRegistryAccess().WriteString(e.root, e.key, e.name, e.value);
    device.make({"\\Docs\\"});
    for (const char *target : {"x.txt", ":OUTER", ":VIEWER", ":DEEP", ":MISSING"})
        ASSERT_TRUE(ShortcutFile::WriteShortcutFile(target, "\\Docs\\" + QString(target).remove(':') + ".lnk"));

    const struct {
        const char *path, *command, *program, *parameters; // program null: no split
    } cases[] = {
        {"\\a\\x.dir", "direct.exe \\a\\x.dir", "direct.exe", "\\a\\x.dir"},
        {"\\My Documents\\a.TXT", "viewer.exe -open \\My Documents\\a.TXT", "viewer.exe", "-open \\My Documents\\a.TXT"},
        {"\\a.two", "  two.exe \\a.two %1", "two.exe", "\\a.two %1"},
        {"\\Windows\\tool.exe", "\"\\Windows\\tool.exe\"", "\\Windows\\tool.exe", ""},
        {"\\Windows\\tool", "\"\\Windows\\tool\"", "\\Windows\\tool", ""},
        {"\\Docs\\x.txt.lnk", "viewer.exe -open \\Docs\\x.txt", "viewer.exe", "-open \\Docs\\x.txt"},
        {"\\a.bad", "\"\\Windows\\v.exe \\a.bad", nullptr, nullptr},
        {"\\a.q", "\"\\Program Files\\Q\\q.exe\"   -a \\a.q", "\\Program Files\\Q\\q.exe", "-a \\a.q"},
        {"\\Docs\\VIEWER.lnk", "viewer.exe -x", "viewer.exe", "-x"},
        {"\\Docs\\OUTER.lnk", "viewer.exe -x calendar", "viewer.exe", "-x calendar"},
        {"\\Docs\\DEEP.lnk", ":VIEWER calendar day", ":VIEWER", "calendar day"},
        {"\\Docs\\MISSING.lnk", "", nullptr, nullptr},
        {"\\Docs\\gone.lnk", "", nullptr, nullptr},
        {"\\a.none", "", nullptr, nullptr},
    };
    for (const auto &c : cases) {
        CFileTypeInfo info;
        info.SetPath(c.path);
        EXPECT_EQ(info.GetOpenCommand(), QString(c.command)) << c.path;
        QString program, parameters;
        EXPECT_EQ(info.SplitOpenCommand(program, parameters), c.program != nullptr) << c.path;
        EXPECT_EQ(program + "|" + parameters, c.program ? QString(c.program) + "|" + c.parameters : "|") << c.path;
    }
}

TEST(ShortcutTarget, FollowsCountQuestionMarkAndQuotes)
{
    TempDevice device;
    const struct {
        const char *file;
        QByteArray bytes; // empty: the pasted form of target
        QString target;
    } cases[] = {
        {"\\pasted.lnk", "", "\\My Documents\\caf\u00e9 list.txt"},
        {"\\typed.lnk", "21#\"\\Windows\\viewer.exe\"", "\\Windows\\viewer.exe"},
        {"\\question.lnk", "30#\\Windows\\viewer.exe?arg=1", "\\Windows\\viewer.exe"},
        {"\\short.lnk", "3#abcdef", "abc"},
        {"\\zero.lnk", "0#\"\\Temp\\x.txt\"", "\\Temp\\x.txt"},
        {"\\nohash.LNK", "\\caf\xe9.exe", "\\caf\u00e9.exe"},
        {"\\early.lnk", "?1#abc", ""},
        {"\\huge.lnk", QByteArray(100 * 1024, 'a'), ""},
    };
    for (const auto &c : cases) {
        if (c.bytes.isEmpty())
            ASSERT_TRUE(ShortcutFile::WriteShortcutFile(c.target, c.file));
        else
            device.writeFile(c.file, c.bytes);
        EXPECT_EQ(CFileTypeInfo().ReadShortcutTarget(c.file), c.target) << c.file;
    }
    EXPECT_EQ(CFileTypeInfo().ReadShortcutTarget("\\missing.lnk"), QString());
    EXPECT_EQ(CFileTypeInfo().ReadShortcutTarget("\\missing.txt"), QString("\\missing.txt"));
}

} // namespace
