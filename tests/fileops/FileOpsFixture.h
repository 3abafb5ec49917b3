// The file operation engine wired to a real main frame's panes on a fresh
// temporary device; every message box is scripted.
#pragma once

#include "QtApp.h"
#include "ScriptedSink.h"
#include "TempDevice.h"

#include "app/CMainFrame.h"
#include "fileops/CFileOperations.h"
#include "list/CFileListViewEx.h"
#include "tree/CDirTreeView.h"

#include <QFile>
#include <QItemSelectionModel>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>
#include <sys/xattr.h>

inline const QString App = QStringLiteral("Quillmoss");
inline const QString Err = QStringLiteral("Error");
constexpr UINT Question = MB_YESNO | MB_ICONQUESTION;
constexpr UINT QuestionNoDefault = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
constexpr UINT Exclamation = MB_OK | MB_ICONEXCLAMATION;

// Limits the size of files this process writes, so a copy of a larger file
// fails part-way as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : m_signal(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_signal);
    }

private:
    rlimit m_saved;
    void (*m_signal)(int);
};

// Members are public so that table-driven steps can act on the fixture.
class FileOps : public WithQtApp, public ::testing::Test
{
public:
    // Call once the device holds the test's files.
    void start()
    {
        frame = std::make_unique<CMainFrame>();
        ops.SetViews(frame->treeView(), frame->listView());
    }
    CDirTreeView *tree() const { return frame->treeView(); }
    CFileListViewEx *list() const { return frame->listView(); }

    // Makes folder current in the tree (the list shows it).
    void open(const QString &folder)
    {
        ASSERT_NE(tree()->SelectPath(folder), nullptr) << folder.toStdString();
        ASSERT_EQ(tree()->GetSelectedPath(), folder);
    }
    void select(const QStringList &names)
    {
        CFileListViewEx *view = list();
        view->SelectAll(false);
        for (int row = 0; row < view->GetItemCount(); ++row) {
            if (names.contains(view->GetItemText(row, 0)))
                view->selectionModel()->select(view->model()->index(row, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        ASSERT_EQ(view->GetSelectedCount(), names.size());
    }
    // Marks a file as in ROM: it refuses delete, write and rename.
    void putInRom(const QString &path)
    {
        ASSERT_EQ(::setxattr(QFile::encodeName(device.host(path)).constData(), "user.DOSATTRIB", "0x40", 4, 0), 0);
    }
    bool exists(const QString &path) const { return device.exists(path); }

    TempDevice device;
    ScriptedSink sink;
    std::unique_ptr<CMainFrame> frame;
    CFileOperations ops;
};
