// Bookmarks and network drives through the main frame's commands and dialogs,
// checked against the registry layout they leave.
#include "Panes.h"
#include "SambaServer.h"
#include "Settings.h"

#include "places/CMapNetworkDriveDlg.h"
#include "platform/Files.h"
#include "res/ResourceIds.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>

namespace {

using namespace RegistryLayout;
using Map = CMapNetworkDriveDlg;

class Places : public Panes
{
protected:
    void SetUp() override { start(true); }

    // Bookmarks named names, each leading to \Temp\.
    static void writeBookmarks(const QStringList &names)
    {
        for (int i = 0; i < names.size(); ++i) {
            CRegistryAccess().WriteString(HKEY_LOCAL_MACHINE, BookmarksKey, bookmarkName(i), names[i]);
            CRegistryAccess().WriteString(HKEY_LOCAL_MACHINE, BookmarksKey, names[i], "\\Temp\\");
        }
        writeSetting(BookmarksKey, Count, DWORD(names.size()));
    }
    // Count and the entries up to upTo as stored, "-" for an unreadable one.
    static QStringList stored(const QString &key, QString (*entry)(int), int upTo)
    {
        DWORD count = 0;
        QStringList out{readSetting(key, Count, count) == RegSuccess ? QString::number(count) : "-"};
        for (int i = 0; i < upTo; ++i)
            out << read(key, entry(i));
        return out;
    }
    static QString read(const QString &key, const QString &name)
    {
        QString value = "-";
        CRegistryAccess().ReadString(HKEY_LOCAL_MACHINE, key, name, value);
        return value;
    }
    QMenu *bookmarkMenu()
    {
        QMenu *popup = frame->menuBarMenu()->actions().at(MENUBAR_BOOKMARK)->menu();
        frame->router().updateMenu(popup);
        return popup;
    }
    static QStringList entries(CDialog &dialog, int id)
    {
        QStringList out;
        const auto *list = dialog.GetDlgItem<QListWidget>(id);
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    void box(const QString &text) { sink.expect(text, App, MB_OK, IDOK); }
};

// Add stores the tree's folder and refuses empty, reserved and used names;
// Delete removes the focused bookmark and closes the gap; the menu lists
// every bookmark, and only the first 101 work.
TEST_F(Places, BookmarksAreAddedUnderCheckedNamesDeletedClosingTheGapAndListed)
{
    focusList("\\", {});
    EXPECT_FALSE(frame->router().isEnabled(ID_BOOKMARK_ADD)) << "only with the tree focused";
    box("Please fillin a name for your Bookmark.");
    for (const char *name : {"count", "NAME7"})
        box(QString("\"%1\" is reserved for the bookmark list.\nPlease select a different name.").arg(name));
    box("Bookmark name already exists.\nPlease select a different name.");
    for (const auto &[folder, names] : {std::pair{"\\", QStringList{"", "count", "NAME7", "Root"}},
                                        {"\\Temp\\", QStringList{"Root", "Temp"}}}) {
        focusTree(folder);
        runDialog(ID_BOOKMARK_ADD, [&](CDialog &dialog) {
            EXPECT_EQ(dialog.templateId(), 173u);
            EXPECT_EQ(dialog.GetDlgItem<QLineEdit>(1066)->text(), folder);
            for (const QString &name : names) {
                type(dialog, 1046, name);
                dialog.accept();
                ASSERT_EQ(dialog.result() == IDOK, name == names.last()) << name.toStdString();
            }
        });
    }
    EXPECT_EQ(stored(BookmarksKey, bookmarkName, 3), QStringList({"2", "Root", "Temp", "-"}));
    EXPECT_EQ(QStringList({read(BookmarksKey, "Root"), read(BookmarksKey, "Temp")}), QStringList({"\\", "\\Temp\\"}));

    writeBookmarks({"A", "B", "C"});
    runDialog(ID_BOOKMARK_DELETE, [&](CDialog &dialog) {
        EXPECT_EQ(dialog.templateId(), 160u);
        EXPECT_EQ(entries(dialog, 1037), QStringList({"A", "B", "C"}));
        dialog.GetDlgItem<QListWidget>(1037)->setCurrentRow(1);
        click(dialog, 1039);
        EXPECT_EQ(entries(dialog, 1037), QStringList({"A", "C"}));
    });
    EXPECT_EQ(stored(BookmarksKey, bookmarkName, 3), QStringList({"2", "A", "C", "-"}));
    EXPECT_EQ(QStringList({read(BookmarksKey, "B"), read(BookmarksKey, "C")}), QStringList({"-", "\\Temp\\"}));
    QMenu *popup = bookmarkMenu();
    ASSERT_EQ(popup->actions().size(), 5);
    EXPECT_EQ(popup->actions().at(4)->property("commandId").toUInt(), ID_BOOKMARK_FIRST + 1);

    // The menu with 0, 1, 101 and 102 bookmarks.
    for (const int n : {0, 1, 101, 102}) {
        SCOPED_TRACE(n);
        QStringList names;
        for (int i = 0; i < n; ++i)
            names << QString("B%1").arg(i);
        writeBookmarks(names);
        QMenu *popup = bookmarkMenu();
        ASSERT_EQ(popup->actions().size(), 3 + n);
        EXPECT_EQ(popup->actions().at(0)->text(), "Add");
        for (int i = 0; i < n; ++i) {
            const QAction *entry = popup->actions().at(3 + i);
            EXPECT_EQ(entry->text(), names[i]);
            EXPECT_EQ(entry->property("commandId").toUInt(), ID_BOOKMARK_FIRST + UINT(i));
            EXPECT_EQ(entry->isEnabled(), i < 101) << i;
        }
        EXPECT_EQ(bookmarkMenu()->actions().size(), 3 + n) << "rebuilt, not appended";
        if (n == 0)
            continue;
        focusList("\\", {});
        EXPECT_TRUE(run(ID_BOOKMARK_FIRST + UINT(std::min(n, 101)) - 1));
        EXPECT_EQ(tree().GetSelectedPath(), "\\Temp\\");
        EXPECT_TRUE(tree().hasFocus());
        EXPECT_FALSE(run(ID_BOOKMARK_FIRST + 101)) << "the 102nd is listed but inert";
    }
}

// Disconnect forgets the focused path and closes the gap.
TEST_F(Places, MapNetworkDriveSearchesListsInReverseConnectsOnceAndDisconnectClosesTheGap)
{
    device.make({"\\\\srv\\A\\", "\\\\srv\\B\\", "\\\\srv\\C\\"});
    mapNetPaths({"\\\\a\\x", "\\\\c\\z"});
    tree().Refresh();
    QStringList enumerated;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(wide("\\\\srv\\*"), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do
        enumerated.prepend(fromWide(data.cFileName));
    while (FindNextFileW(find, &data));
    FindClose(find);

    box("Please, fill in a computer name.");
    box("Could not find computer or computer has no Network shares.");
    box("Path already mapped.");
    const auto search = [&](CDialog &dialog, const QString &name) {
        type(dialog, Map::IDC_COMPUTER_NAME, name);
        click(dialog, Map::IDC_SEARCH);
    };
    tree().NetworkRoot()->setExpanded(true);
    for (int round = 0; round < 2; ++round) {
        runDialog(ID_TOOLS_CONNECTDRIVE, [&](CDialog &dialog) {
            auto &map = static_cast<Map &>(dialog);
            if (round == 0) {
                search(dialog, "");
                search(dialog, "nowhere");
                EXPECT_FALSE(map.sharesListed());
            }
            search(dialog, "\\\\srv");
            EXPECT_EQ(dialog.GetDlgItem<QLineEdit>(Map::IDC_COMPUTER_NAME)->text(), "srv");
            EXPECT_EQ(entries(dialog, Map::IDC_SHARE_LIST), enumerated);
            EXPECT_TRUE(map.sharesListed());
            if (round == 0) {
                type(dialog, Map::IDC_COMPUTER_NAME, "srw");
                EXPECT_TRUE(entries(dialog, Map::IDC_SHARE_LIST).isEmpty());
                EXPECT_FALSE(map.sharesListed());
                search(dialog, "srv");
            }
            dialog.GetDlgItem<QListWidget>(Map::IDC_SHARE_LIST)->findItems("B", Qt::MatchExactly)[0]->setSelected(true);
            click(dialog, Map::IDC_CONNECT);
            EXPECT_EQ(dialog.result() == IDOK, round == 0) << "a second connect of one share is refused";
        });
    }
    QTreeWidgetItem *places = tree().NetworkRoot();
    const QStringList paths{"\\\\a\\x", "\\\\c\\z", "\\\\srv\\B"};
    EXPECT_EQ(stored(NetPathsKey, netPath, 4), QStringList({"3"}) + paths + QStringList({"-"}));
    EXPECT_EQ(texts(places), paths) << "the tree shows the new path";
    tree().setFocus();
    tree().setCurrentItem(child(places, paths[1]));
    ASSERT_TRUE(run(ID_TOOLS_DISCONNECTDRIVE));
    EXPECT_EQ(stored(NetPathsKey, netPath, 3), QStringList({"2", paths[0], paths[2], "-"}));
    EXPECT_EQ(places->childCount(), 2);
}

TEST_F(Places, MapsBrowsesAndDisconnectsARealShare)
{
    SambaServer server;
    REQUIRE_SAMBA(server);
    QDir().mkpath(server.shareFolder() + "/inside");
    QFile(server.shareFolder() + "/file.txt").open(QIODevice::WriteOnly);
    runDialog(ID_TOOLS_CONNECTDRIVE, [&](CDialog &dialog) {
        type(dialog, Map::IDC_COMPUTER_NAME, server.computer());
        click(dialog, Map::IDC_SEARCH);
        ASSERT_EQ(entries(dialog, Map::IDC_SHARE_LIST), QStringList({"public"}));
        dialog.GetDlgItem<QListWidget>(Map::IDC_SHARE_LIST)->item(0)->setSelected(true);
        click(dialog, Map::IDC_CONNECT);
        EXPECT_EQ(dialog.result(), IDOK);
    });
    QTreeWidgetItem *places = tree().NetworkRoot();
    places->setExpanded(true);
    ASSERT_EQ(places->childCount(), 1);
    QTreeWidgetItem *mapped = places->child(0);
    EXPECT_EQ(mapped->text(0), server.computer() + "\\public");
    tree().setCurrentItem(mapped);
    mapped->setExpanded(true);
    EXPECT_EQ(texts(mapped), QStringList({"inside"}));
    EXPECT_TRUE(rows(list()).contains("file.txt")) << "the list shows the share";
    // The engine's tree copy, move and delete reach shares too.
    device.make({"\\Docs\\sub\\a.txt"});
    EXPECT_TRUE(ops().CopyFolderTree("\\Docs", mapped->text(0)));
    EXPECT_TRUE(QFile::exists(server.shareFolder() + "/Docs/sub/a.txt"));
    SambaServer other;
    ASSERT_TRUE(other.problem().isEmpty());
    const QString otherShare = other.computer() + "\\public";
    EXPECT_TRUE(ops().MoveFolderTree(mapped->text(0) + "\\Docs", otherShare)) << "from one server to another";
    EXPECT_TRUE(QFile::exists(other.shareFolder() + "/Docs/sub/a.txt"));
    EXPECT_FALSE(QDir(server.shareFolder() + "/Docs").exists());
    EXPECT_TRUE(ops().DeleteTree(otherShare + "\\Docs\\"));
    EXPECT_FALSE(QDir(other.shareFolder() + "/Docs").exists());
    ASSERT_TRUE(run(ID_TOOLS_DISCONNECTDRIVE));
    EXPECT_EQ(places->childCount(), 0);
    EXPECT_EQ(stored(NetPathsKey, netPath, 0), QStringList({"0"}));
}

} // namespace
