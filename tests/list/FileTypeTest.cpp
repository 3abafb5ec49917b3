// What a file's type gives: extension, type name, icon, open command and
// shortcut target.
#include "QtApp.h"
#include "QtPrinters.h"
#include "Settings.h"
#include "TempDevice.h"

#include "fileops/ShortcutFile.h"
#include "framework/CImageList.h"
#include "list/CFileTypeInfo.h"
#include "platform/Shell.h"
#include "settings/CRegistryAccess.h"

#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// Extensions, folders, type names, raw value reads and open commands, over
// one set of registered types. A failed read, and a read of empty data, leave
// the output as it was.
TEST(FileTypeInfo, ExtensionsTypeNamesRawReadsAndOpenCommands)
{
    const struct {
        const char *path, *extension, *folder;
    } paths[] = {
        {"\\My Documents\\a.txt", "TXT", "\\My Documents\\"}, {"\\.profile", "PROFILE", "\\"},
        {"a.b.c", "C", ""},                                   {"x.", "", ""},
        {"\\My.Files\\readme", "FILES\\README", "\\My.Files\\"},
    };
    for (const auto &c : paths) {
        CFileTypeInfo info;
        info.SetPath(c.path);
        EXPECT_EQ(info.GetExtension(), c.extension) << c.path;
        EXPECT_EQ(info.GetFolder(), c.folder) << c.path;
    }
    // The extension of given text wins over the path.
    CFileTypeInfo info;
    info.SetPath("\\x.doc");
    EXPECT_EQ(info.GetExtension("c.dll.bak"), "BAK");
    EXPECT_EQ(info.GetExtension(), "DOC");

    TempDevice device;
    const QString rai = "\\Software\\Microsoft\\Shell\\Rai\\", open = "\\Shell\\Open\\Command";
    const struct {
        HKEY root;
        QString key, name, value;
    } entries[] = {
        {HKEY_CLASSES_ROOT, ".DIR" + open, "", "direct.exe %1"}, {HKEY_CLASSES_ROOT, ".dir", "", "ignoredfile"},
        {HKEY_CLASSES_ROOT, ".TXT", "", "txtfile"}, {HKEY_CLASSES_ROOT, "txtfile" + open, "", "viewer.exe -open %1"},
        {HKEY_CLASSES_ROOT, "txtfile", "", "Text Document"},
        // A class name that has no key of its own; an extension key without a default value.
        {HKEY_CLASSES_ROOT, ".FOO", "", "foofile"}, {HKEY_CLASSES_ROOT, ".BAR", "Other", "x"},
        {HKEY_CLASSES_ROOT, ".two" + open, "", "  two.exe %1 %1"}, {HKEY_CLASSES_ROOT, ".exe", "", "exefile"},
        {HKEY_CLASSES_ROOT, "exefile" + open, "", "\"%1\" %*"}, {HKEY_CLASSES_ROOT, ".none", "", "nonefile"},
        {HKEY_CLASSES_ROOT, ".bad" + open, "", "\"\\Windows\\v.exe %1"},
        {HKEY_CLASSES_ROOT, ".q" + open, "", "\"\\Program Files\\Q\\q.exe\"   -a %1"},
        {HKEY_LOCAL_MACHINE, rai + ":VIEWER", "1", "viewer.exe -x"},
        {HKEY_LOCAL_MACHINE, rai + ":OUTER", "1", ":VIEWER calendar"},
        {HKEY_LOCAL_MACHINE, rai + ":DEEP", "1", ":OUTER day"},
    };
    for (const auto &e : entries)
        EXPECT_EQ(CRegistryAccess().WriteString(e.root, e.key, e.name, e.value), RegSuccess) << e.key.toStdString();
    // Stored without its terminator, and with an odd byte count.
    const QByteArray text(reinterpret_cast<const char *>(u"abc"), 6);
    setRaw(HKEY_CLASSES_ROOT, "raw", "unterminated", REG_SZ, text);
    setRaw(HKEY_CLASSES_ROOT, "raw", "odd", REG_SZ, text.left(5));
    setRaw(HKEY_CLASSES_ROOT, "raw", "empty", REG_SZ, QByteArray());
    device.make({"\\Docs\\"});
    for (const char *target : {"x.txt", ":OUTER", ":VIEWER", ":DEEP", ":MISSING"})
        ASSERT_TRUE(ShortcutFile::WriteShortcutFile(target, "\\Docs\\" + QString(target).remove(':') + ".lnk"));

    const std::pair<const char *, const char *> names[] = {
        {"\\My Documents\\a.txt", "Text Document"}, {"\\My Documents\\A.TxT", "Text Document"},
        {"\\readme", ""},                          {".profile", ""},
        {"\\My.Files\\readme", "FILES\\README File"},  {"\\a.xyz", "XYZ File"},
        {"\\a.foo", "foofile"},                      {"\\a.bar", "BAR File"},
    };
    for (const auto &[path, name] : names) {
        CFileTypeInfo info;
        info.SetPath(path);
        EXPECT_EQ(info.GetTypeName(), name) << path;
    }

    const struct {
        const char *key, *name;
        bool read;
        const char *out;
    } reads[] = {
        {".ABSENT", "", false, "kept"},       {".bar", "other", true, "x"},
        {"raw", "unterminated", true, "abc"}, {"raw", "odd", true, "ab"}, {"raw", "empty", true, "kept"},
    };
    for (const auto &c : reads) {
        QString out = "kept";
        EXPECT_EQ(CFileTypeInfo().ReadRegString(HKEY_CLASSES_ROOT, c.key, c.name, out) == ERROR_SUCCESS, c.read)
            << c.key << c.name;
        // The odd byte count cuts the last character in half: only "ab" is sure.
        EXPECT_EQ(QString(c.name) == "odd" ? out.left(2) : out, c.out) << c.key << c.name;
    }

    const struct {
        const char *path, *command, *program, *parameters; // program null: no split
    } commands[] = {
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
    for (const auto &c : commands) {
        CFileTypeInfo info;
        info.SetPath(c.path);
        EXPECT_EQ(info.GetOpenCommand(), QString(c.command)) << c.path;
        QString program, parameters;
        EXPECT_EQ(info.SplitOpenCommand(program, parameters), c.program != nullptr) << c.path;
        EXPECT_EQ(program + "|" + parameters, c.program ? QString(c.program) + "|" + c.parameters : "|") << c.path;
    }
}

// Both readers of a shortcut: the list's, which reads only ".lnk" files, and
// the shell's.
TEST(ShortcutTarget, FollowsCountQuestionMarkAndQuotes)
{
    TempDevice device;
    const struct {
        QByteArray content; // empty: the pasted form of target
        QString target;
        const char *file = "\\s.lnk";
    } cases[] = {
        {"", "\\My Documents\\caf\u00e9 list.txt"}, {"21#\"\\Windows\\viewer.exe\"", "\\Windows\\viewer.exe"},
        {"30#\\Windows\\viewer.exe?arg=1", "\\Windows\\viewer.exe"}, {"3#abcdef", "abc"},
        {"0#\"\\Temp\\x.txt\"", "\\Temp\\x.txt"}, {"99#\\short", "\\short"}, {"6#\"\\a b\"", "\\a b"},
        {"\\caf\xe9.exe", "\\caf\u00e9.exe", "\\s.LNK"}, {"7#\\caf\xe9\x80", "\\caf\u00e9\u20ac"}, {"?1#abc", ""},
    };
    for (const auto &c : cases) {
        if (c.content.isEmpty())
            ASSERT_TRUE(ShortcutFile::WriteShortcutFile(c.target, c.file));
        else
            device.writeFile(c.file, c.content);
        EXPECT_EQ(CFileTypeInfo().ReadShortcutTarget(c.file), c.target) << c.file;
        WCHAR read[MAX_PATH] = {};
        EXPECT_TRUE(SHGetShortcutTarget(wide(c.file), read, MAX_PATH)) << c.file;
        EXPECT_EQ(fromWide(read), c.target);
    }
    device.writeFile("\\huge.lnk", QByteArray(100 * 1024, 'a'));
    EXPECT_EQ(CFileTypeInfo().ReadShortcutTarget("\\huge.lnk"), QString());
    EXPECT_EQ(CFileTypeInfo().ReadShortcutTarget("\\missing.lnk"), QString());
    EXPECT_EQ(CFileTypeInfo().ReadShortcutTarget("\\missing.txt"), QString("\\missing.txt"));
    WCHAR read[MAX_PATH] = {};
    EXPECT_FALSE(SHGetShortcutTarget(u"\\none.lnk", read, MAX_PATH));
    EXPECT_NE(GetLastError(), ERROR_SUCCESS);
}

// Text, picture, web page, program, unknown data and folder all differ; a
// name without extension is recognised by its content; asked by attributes,
// no file is needed; a shortcut shows its target's icon. The list takes the
// icon into its image list, or the fallback.
TEST(ShellIcons, CommonTypesHaveDistinctIconsAndShortcutsTheirTargets)
{
    qtApp();
    TempDevice device;
    const std::pair<const char *, QByteArray> files[] = {
        {"\\d\\notes", "plain words, no extension"}, {"\\d\\a.txt", "text"},
        {"\\d\\b.png", "\x89PNG\r\n\x1a\n"}, {"\\d\\c.html", "<html></html>"}, {"\\d\\tool.exe", "MZ"},
        {"\\d\\blob.qqq", QByteArray("\x00\x01\x02\x03", 4)},
        // Shortcuts: to another folder, by a bare name, to a missing file, empty, to a shortcut.
        {"\\Windows\\Start Menu\\a.lnk", "10#\"\\d\\a.txt\""}, {"\\d\\near.lnk", "8#tool.exe"},
        {"\\d\\gone.lnk", "15#\\Temp\\gone.html"}, {"\\d\\broken.lnk", ""},
        {"\\d\\chain.lnk", "27#\\Windows\\Start Menu\\a.lnk"},
    };
    for (const auto &[path, content] : files)
        device.writeFile(path, content);
    // The small icon's picture, or a null image when the shell gives none.
    const auto icon = [](const QString &path, UINT extraFlags = 0, DWORD attributes = 0) {
        SHFILEINFO info;
        if (!SHGetFileInfo(wide(path), attributes, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON | extraFlags))
            return QImage();
        EXPECT_NE(info.hIcon, nullptr);
        const QImage image = info.hIcon->pixmap(16, 16).toImage();
        EXPECT_TRUE(DestroyIcon(info.hIcon));
        return image;
    };

    QList<QImage> images;
    for (const char *name : {"a.txt", "b.png", "c.html", "tool.exe", "blob.qqq", ""}) {
        const QImage image = icon(QString("\\d\\") + name);
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(16, 16)) << name;
        EXPECT_FALSE(images.contains(image)) << name;
        images << image;
    }
    EXPECT_EQ(icon("\\d\\notes"), images[0]);
    EXPECT_EQ(icon(".txt", SHGFI_USEFILEATTRIBUTES), images[0]);
    EXPECT_EQ(icon("x", SHGFI_USEFILEATTRIBUTES, FILE_ATTRIBUTE_DIRECTORY), images[5]);
    EXPECT_TRUE(icon("\\d\\missing.txt").isNull());
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    // The large icon is bigger; without SHGFI_ICON there is none.
    SHFILEINFO info;
    ASSERT_TRUE(SHGetFileInfo(u".txt", 0, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES));
    EXPECT_EQ(info.hIcon->availableSizes().value(0), QSize(32, 32));
    DestroyIcon(info.hIcon);
    EXPECT_EQ(SHGetFileInfo(u".txt", 0, &info, sizeof info, SHGFI_USEFILEATTRIBUTES), 0u);

    EXPECT_EQ(icon("\\Windows\\Start Menu\\a.lnk"), images[0]);
    EXPECT_NE(icon("\\d\\broken.lnk"), images[0]);
    // A bare target name lies in the shortcut's folder.
    EXPECT_EQ(icon("\\d\\near.lnk"), images[3]);
    // A missing target still shows its type.
    EXPECT_EQ(icon("\\d\\gone.lnk"), icon(".html", SHGFI_USEFILEATTRIBUTES));
    // Only one level is followed.
    EXPECT_NE(icon("\\d\\chain.lnk"), images[0]);

    CImageList list;
    list.ReplaceIcon(-1, QIcon(QPixmap(16, 15)));
    CFileTypeInfo type;
    type.SetPath("\\d\\a.txt");
    int index = -5;
    EXPECT_TRUE(type.GetIconIndex(list, index, 0));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(list.GetImageCount(), 2);
    EXPECT_TRUE(type.GetIconIndex(list, index, 0));
    EXPECT_EQ(index, 2);
    type.SetPath("\\d\\missing.txt");
    EXPECT_FALSE(type.GetIconIndex(list, index, 7));
    EXPECT_EQ(index, 7);
    EXPECT_EQ(list.GetImageCount(), 3);
}

} // namespace
