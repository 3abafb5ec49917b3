// Bookmarks and network drives through the main frame's commands and dialogs,
// checked against the registry layout they leave.
#include "SambaServer.h"
#include "ScriptedSink.h"
#include "tests/app/ShownFrame.h"

#include "framework/CDialog.h"
#include "places/CMapNetworkDriveDlg.h"
#include "platform/Files.h"
#include "res/ResourceIds.h"
#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

using namespace RegistryLayout;

class Places : public ShownFrame
{
protected:
    void SetUp() override { showFrame(); }

    void writeList(const QString &key, const QStringList &values, QString (*entry)(int))
    {
        for (int i = 0; i < values.size(); ++i) {
            registry.WriteString(HKEY_LOCAL_MACHINE, key, entry(i), values[i]);
            if (key == BookmarksKey)
                registry.WriteString(HKEY_LOCAL_MACHINE, key, values[i], "\\Temp\\");
        }
        registry.WriteDword(HKEY_LOCAL_MACHINE, key, Count, DWORD(values.size()));
    }
    // Count and the entries as stored, "-" for an unreadable one, then every value named by a bookmark.
    QStringList stored(const QString &key, QString (*entry)(int), int upTo)
    {
        DWORD count = 0;
        QStringList out{registry.ReadDword(HKEY_LOCAL_MACHINE, key, Count, count) == RegSuccess
                            ? QString::number(count) : "-"};
        for (int i = 0; i < upTo; ++i) {
            QString value = "-";
            registry.ReadString(HKEY_LOCAL_MACHINE, key, entry(i), value);
            out << value;
        }
        return out;
    }
    QString read(const QString &key, const QString &name)
    {
        QString value = "-";
        registry.ReadString(HKEY_LOCAL_MACHINE, key, name, value);
        return value;
    }
    QMenu *bookmarkMenu()
    {
        QMenu *popup = frame->menuBarMenu()->actions().at(MENUBAR_BOOKMARK)->menu();
        frame->router().updateMenu(popup);
        return popup;
    }
    // Runs command id; each step acts on the dialog it opens, in turn.
    void runDialog(UINT id, const std::function<void(CDialog &)> &steps)
    {
        bool ran = false;
        ScopedModalHook hook([&](CDialog &dialog) {
            ran = true;
            steps(dialog);
        });
        ASSERT_TRUE(frame->router().execute(id));
        ASSERT_TRUE(ran);
        QApplication::setActiveWindow(frame.get());
    }
    static bool accepted(CDialog &dialog) { return dialog.result() == IDOK; }
    static void type(CDialog &dialog, int id, const QString &text)
    {
        dialog.GetDlgItem<QLineEdit>(id)->setText(text);
    }
    static void click(CDialog &dialog, int id) { dialog.GetDlgItem<QPushButton>(id)->click(); }
    static QStringList rows(CDialog &dialog, int id)
    {
        QStringList out;
        const auto *list = dialog.GetDlgItem<QListWidget>(id);
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    void app(const QString &text) { sink.expect(text, "Quillmoss", MB_OK, IDOK); }

    CRegistryAccess registry;
    ScriptedSink sink;
};

class BookmarkMenu : public Places, public ::testing::WithParamInterface<int>
{
};

TEST_P(BookmarkMenu, ListsEveryBookmarkAndOnlyTheFirst101Work)
{
    const int n = GetParam();
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << QString("B%1").arg(i);
    writeList(BookmarksKey, names, bookmarkName);
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
        return;
    focusList("\\", {});
    EXPECT_TRUE(frame->router().execute(ID_BOOKMARK_FIRST + UINT(std::min(n, 101)) - 1));
    EXPECT_EQ(frame->treeView()->GetSelectedPath(), "\\Temp\\");
    EXPECT_TRUE(frame->treeView()->hasFocus());
    EXPECT_FALSE(frame->router().execute(ID_BOOKMARK_FIRST + 101)) << "the 102nd is listed but inert";
}

INSTANTIATE_TEST_SUITE_P(Counts, BookmarkMenu, ::testing::Values(0, 1, 101, 102));

TEST_F(Places, AddStoresTheTreeFolderAndRefusesEmptyReservedAndUsedNames)
{
    focusList("\\", {});
    EXPECT_FALSE(frame->router().isEnabled(ID_BOOKMARK_ADD)) << "only with the tree focused";
    focusTree("\\");
    app("Please fillin a name for your Bookmark.");
    app("\"count\" is reserved for the bookmark list.\nPlease select a different name.");
    app("\"NAME7\" is reserved for the bookmark list.\nPlease select a different name.");
    runDialog(ID_BOOKMARK_ADD, [&](CDialog &dialog) {
        EXPECT_EQ(dialog.templateId(), 173u);
        EXPECT_EQ(dialog.GetDlgItem<QLineEdit>(1066)->text(), "\\");
        for (const QString name : {"", "count", "NAME7"}) {
            type(dialog, 1046, name);
            dialog.accept();
            ASSERT_FALSE(accepted(dialog));
        }
        type(dialog, 1046, "Root");
        dialog.accept();
    });
    EXPECT_EQ(stored(BookmarksKey, bookmarkName, 2), QStringList({"1", "Root", "-"}));
    EXPECT_EQ(read(BookmarksKey, "Root"), "\\");

    focusTree("\\Temp\\");
    app("Bookmark name already exists.\nPlease select a different name.");
    runDialog(ID_BOOKMARK_ADD, [&](CDialog &dialog) {
        type(dialog, 1046, "Root");
        dialog.accept();
        ASSERT_FALSE(accepted(dialog));
        type(dialog, 1046, "Temp");
        dialog.accept();
    });
    EXPECT_EQ(stored(BookmarksKey, bookmarkName, 3), QStringList({"2", "Root", "Temp", "-"}));
    EXPECT_EQ(read(BookmarksKey, "Temp"), "\\Temp\\");
}

TEST_F(Places, DeleteRemovesTheFocusedBookmarkAndClosesTheGap)
{
    writeList(BookmarksKey, {"A", "B", "C"}, bookmarkName);
    runDialog(ID_BOOKMARK_DELETE, [&](CDialog &dialog) {
        EXPECT_EQ(dialog.templateId(), 160u);
        EXPECT_EQ(rows(dialog, 1037), QStringList({"A", "B", "C"}));
        dialog.GetDlgItem<QListWidget>(1037)->setCurrentRow(1);
        click(dialog, 1039);
        EXPECT_EQ(rows(dialog, 1037), QStringList({"A", "C"}));
    });
    EXPECT_EQ(stored(BookmarksKey, bookmarkName, 3), QStringList({"2", "A", "C", "-"}));
    EXPECT_EQ(read(BookmarksKey, "B"), "-");
    EXPECT_EQ(read(BookmarksKey, "C"), "\\Temp\\");
    QMenu *popup = bookmarkMenu();
    ASSERT_EQ(popup->actions().size(), 5);
    EXPECT_EQ(popup->actions().at(4)->property("commandId").toUInt(), ID_BOOKMARK_FIRST + 1);
}

TEST_F(Places, MapNetworkDriveSearchesListsInReverseAndConnectsOnce)
{
    const QString root = device.device().networkRoot();
    for (const char *share : {"A", "B", "C"})
        QDir().mkpath(root + "/srv/" + share);
    QStringList enumerated;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(wide("\\\\srv\\*"), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do
        enumerated.prepend(fromWide(data.cFileName));
    while (FindNextFileW(find, &data));
    FindClose(find);

    app("Please, fill in a computer name.");
    app("Could not find computer or computer has no Network shares.");
    app("Path already mapped.");
    const auto search = [&](CDialog &dialog, const QString &name) {
        type(dialog, CMapNetworkDriveDlg::IDC_COMPUTER_NAME, name);
        click(dialog, CMapNetworkDriveDlg::IDC_SEARCH);
    };
    const auto connectShare = [&](CDialog &dialog, const QString &share) {
        dialog.GetDlgItem<QListWidget>(CMapNetworkDriveDlg::IDC_SHARE_LIST)->findItems(share, Qt::MatchExactly)[0]
            ->setSelected(true);
        click(dialog, CMapNetworkDriveDlg::IDC_CONNECT);
    };
    QTreeWidgetItem *places = frame->treeView()->NetworkRoot();
    places->setExpanded(true);
    for (int round = 0; round < 2; ++round) {
        runDialog(ID_TOOLS_CONNECTDRIVE, [&](CDialog &dialog) {
            auto &map = static_cast<CMapNetworkDriveDlg &>(dialog);
            if (round == 0) {
                search(dialog, "");
                search(dialog, "nowhere");
                EXPECT_FALSE(map.sharesListed());
            }
            search(dialog, "\\\\srv");
            EXPECT_EQ(dialog.GetDlgItem<QLineEdit>(CMapNetworkDriveDlg::IDC_COMPUTER_NAME)->text(), "srv");
            EXPECT_EQ(rows(dialog, CMapNetworkDriveDlg::IDC_SHARE_LIST), enumerated);
            EXPECT_TRUE(map.sharesListed());
            if (round == 0) {
                type(dialog, CMapNetworkDriveDlg::IDC_COMPUTER_NAME, "srw");
                EXPECT_TRUE(rows(dialog, CMapNetworkDriveDlg::IDC_SHARE_LIST).isEmpty());
                EXPECT_FALSE(map.sharesListed());
                search(dialog, "srv");
            }
            connectShare(dialog, "B");
            EXPECT_EQ(accepted(dialog), round == 0) << "a second connect of one share is refused";
        });
    }
    EXPECT_EQ(stored(NetPathsKey, netPath, 2), QStringList({"1", "\\\\srv\\B", "-"}));
    ASSERT_EQ(places->childCount(), 1);
    EXPECT_EQ(places->child(0)->text(0), "\\\\srv\\B") << "the tree shows the new path";
}

TEST_F(Places, DisconnectForgetsThePathAndClosesTheGap)
{
    const QStringList paths{"\\\\a\\x", "\\\\b\\y", "\\\\c\\z"};
    writeList(NetPathsKey, paths, netPath);
    frame->treeView()->Refresh();
    QTreeWidgetItem *places = frame->treeView()->NetworkRoot();
    places->setExpanded(true);
    ASSERT_EQ(places->childCount(), 3);
    frame->treeView()->setFocus();
    frame->treeView()->setCurrentItem(places);
    EXPECT_FALSE(frame->router().isEnabled(ID_TOOLS_DISCONNECTDRIVE));
    for (int i = 0; i < places->childCount(); ++i) {
        if (places->child(i)->text(0) == paths[1])
            frame->treeView()->setCurrentItem(places->child(i));
    }
    ASSERT_TRUE(frame->router().execute(ID_TOOLS_DISCONNECTDRIVE));
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
        type(dialog, CMapNetworkDriveDlg::IDC_COMPUTER_NAME, server.computer());
        click(dialog, CMapNetworkDriveDlg::IDC_SEARCH);
        ASSERT_EQ(rows(dialog, CMapNetworkDriveDlg::IDC_SHARE_LIST), QStringList({"public"}));
        dialog.GetDlgItem<QListWidget>(CMapNetworkDriveDlg::IDC_SHARE_LIST)->item(0)->setSelected(true);
        click(dialog, CMapNetworkDriveDlg::IDC_CONNECT);
        EXPECT_TRUE(accepted(dialog));
    });
    QTreeWidgetItem *places = frame->treeView()->NetworkRoot();
    places->setExpanded(true);
    ASSERT_EQ(places->childCount(), 1);
    QTreeWidgetItem *mapped = places->child(0);
    EXPECT_EQ(mapped->text(0), server.computer() + "\\public");
    frame->treeView()->setCurrentItem(mapped);
    mapped->setExpanded(true);
    EXPECT_EQ(texts(mapped), QStringList({"inside"}));
    EXPECT_TRUE(::rows(list()).contains("file.txt")) << "the list shows the share";
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
