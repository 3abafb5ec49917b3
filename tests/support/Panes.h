// The main frame's panes and file engine on a fresh temporary device, every
// message box scripted, with helpers that act on the panes as a user would.
#pragma once

#include "QtApp.h"
#include "ScriptedSink.h"
#include "TempDevice.h"

#include "app/CMainFrame.h"
#include "fileops/CFileOperations.h"
#include "framework/CDialog.h"
#include "framework/CommandRouter.h"
#include "list/CFileListViewEx.h"
#include "tree/CDirTreeView.h"

#include <QApplication>
#include <QAbstractButton>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

inline const QString App = "Quillmoss";
constexpr UINT Question = MB_YESNO | MB_ICONQUESTION;
constexpr UINT QuestionNoDefault = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
constexpr UINT Exclamation = MB_OK | MB_ICONEXCLAMATION;

// Texts of the item's children, in order.
inline QStringList texts(const QTreeWidgetItem *item)
{
    QStringList result;
    for (int i = 0; i < item->childCount(); ++i)
        result << item->child(i)->text(0);
    return result;
}

inline QTreeWidgetItem *child(const QTreeWidgetItem *item, const QString &text)
{
    const qsizetype index = texts(item).indexOf(text);
    return index < 0 ? nullptr : item->child(int(index));
}

// The Name column, top to bottom.
inline QStringList rows(const CFileListView &list)
{
    QStringList names;
    for (int row = 0; row < list.GetItemCount(); ++row)
        names << list.GetItemText(row, 0);
    return names;
}

inline QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

// Selects exactly the rows named.
inline void selectRows(CFileListView &list, const QStringList &names)
{
    list.SelectAll(false);
    const QStringList shown = rows(list);
    for (int row = 0; row < shown.size(); ++row) {
        if (names.contains(shown[row]))
            list.selectionModel()->select(list.model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    ASSERT_EQ(list.GetSelectedCount(), names.size());
}

inline void type(CDialog &dialog, int id, const QString &text) { dialog.GetDlgItem<QLineEdit>(id)->setText(text); }
inline void click(CDialog &dialog, int id) { dialog.GetDlgItem<QAbstractButton>(id)->click(); }

// The tree's open in-place editor, if any.
inline QLineEdit *inPlaceEditor(const QTreeWidget &tree)
{
    QLineEdit *line = tree.viewport()->findChild<QLineEdit *>();
    return line && line->isVisible() ? line : nullptr;
}

// Types text (a null text keeps what is there) into the open in-place editor,
// ends the edit with key and waits for the editor to go.
inline void finishEdit(const QTreeWidget &tree, Qt::Key key, const QString &text = QString())
{
    QLineEdit *line = inPlaceEditor(tree);
    ASSERT_NE(line, nullptr);
    if (!text.isNull())
        line->setText(text);
    QTest::keyClick(line, key);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !inPlaceEditor(tree); }));
    QCoreApplication::processEvents();
}

class Panes : public WithQtApp, public ::testing::Test
{
public:
    // Call once the device holds the test's files. A shown frame is active, so
    // its panes can take the focus; a hidden one activates its tree as showing would.
    void start(bool shown = false)
    {
        frame = std::make_unique<CMainFrame>();
        if (!shown) {
            tree().OnFirstActivate();
            return;
        }
        frame->show();
        QApplication::setActiveWindow(frame.get());
        EXPECT_TRUE(QTest::qWaitFor([&] { return frame->isActiveWindow(); }));
    }
    CDirTreeView &tree() const { return *frame->treeView(); }
    CFileListViewEx &list() const { return *frame->listView(); }
    CFileOperations &ops() const { return frame->fileOperations(); }
    bool run(UINT id) const { return frame->router().execute(id); }
    // Runs command id, which must open one dialog; onOpen works on it.
    void runDialog(UINT id, const std::function<void(CDialog &)> &onOpen)
    {
        act = onOpen;
        const int before = opened;
        ASSERT_TRUE(run(id));
        ASSERT_EQ(opened, before + 1);
        // The offscreen platform does not give the frame back its activation.
        QApplication::setActiveWindow(frame.get());
        EXPECT_TRUE(QTest::qWaitFor([&] { return frame->isActiveWindow(); }));
    }

    // Makes folder current in the tree (the list shows it).
    void open(const QString &folder) { ASSERT_NE(tree().SelectPath(folder), nullptr) << folder.toStdString(); }
    // Shows folder and selects exactly the rows named.
    void select(const QString &folder, const QStringList &names)
    {
        open(folder);
        selectRows(list(), names);
    }
    // The same with the list focused.
    void focusList(const QString &folder, const QStringList &names)
    {
        select(folder, names);
        list().setFocus();
        EXPECT_TRUE(QTest::qWaitFor([&] { return list().hasFocus(); }));
        ASSERT_EQ(list().GetSelectedCount(), names.size());
    }
    void focusTree(const QString &folder)
    {
        open(folder);
        tree().setFocus();
        EXPECT_TRUE(QTest::qWaitFor([&] { return tree().hasFocus(); }));
    }
    bool exists(const QString &path) const { return device.exists(path); }
    bool isFolder(const QString &path) const { return QFileInfo(device.host(path)).isDir(); }

    TempDevice device;
    ScriptedSink sink;
    std::unique_ptr<CMainFrame> frame;
    // Every modal dialog is counted in opened and handed to act (until a
    // test installs a hook of its own).
    std::function<void(CDialog &)> act;
    int opened = 0;
    ScopedModalHook hook{[this](CDialog &open) {
        ++opened;
        act(open);
    }};
};
