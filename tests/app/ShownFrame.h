// The main frame on a test device, shown and active so its panes can take the
// focus, with helpers that focus a pane the way a user's tap would.
#pragma once

#include "QtApp.h"
#include "TempDevice.h"

#include "app/CMainFrame.h"
#include "framework/CommandRouter.h"
#include "list/CFileListViewEx.h"
#include "tree/CDirTreeView.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

class ShownFrame : public ::testing::Test
{
protected:
    // Call once the device holds the test's files.
    void showFrame()
    {
        qtApp();
        frame = std::make_unique<CMainFrame>();
        frame->show();
        QApplication::setActiveWindow(frame.get());
        QTRY_VERIFY(frame->isActiveWindow());
    }
    // Shows folder in the list, focuses the list and selects exactly names.
    void focusList(const QString &folder, const QStringList &names)
    {
        ASSERT_NE(frame->treeView()->SelectPath(folder), nullptr);
        CFileListViewEx *list = frame->listView();
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        list->SelectAll(false);
        for (int row = 0; row < list->GetItemCount(); ++row) {
            if (names.contains(list->GetItemText(row, 0)))
                list->selectionModel()->select(list->model()->index(row, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        ASSERT_EQ(list->GetSelectedCount(), names.size());
    }
    void focusTree(const QString &folder)
    {
        ASSERT_NE(frame->treeView()->SelectPath(folder), nullptr);
        frame->treeView()->setFocus();
        QTRY_VERIFY(frame->treeView()->hasFocus());
    }

    TempDevice device;
    std::unique_ptr<CMainFrame> frame;
};
