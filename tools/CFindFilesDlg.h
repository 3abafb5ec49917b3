// The Find Files dialog: searches a folder of the device and every folder
// below it for files whose names match a wildcard pattern and, optionally,
// whose contents hold a text (see FileSearch). The search runs on a worker
// thread; its hits appear one by one in the result list while the dialog
// stays responsive.
//
// Start/Stop (one button, its caption is the search state): "Start" reads
// the fields, empties the list and starts a worker; "Stop" sets the stop
// event. Start while the previous worker is still finishing stops it and
// restarts the same search (same criteria, fields not read again) by timer
// 1, 200 ms after that worker has ended.
//
// Closing: Go to dir. ends with IDOK and the chosen hit in resultFolder (no
// trailing backslash; empty for the root) and resultName. Cancel, the close
// request, Escape and Enter end with IDCANCEL. Every way of closing, and
// destruction, stops the worker by its event and waits for it; the worker
// polls the event at least once per file and per block it reads, so this
// never waits for a whole search. The worker never outlives the dialog.
#pragma once

#include "framework/CDialog.h"
#include "framework/WindowTimers.h"
#include "tools/FileSearch.h"

#include <deque>
#include <mutex>
#include <optional>
#include <thread>

class CFileListCtrl;
class QPushButton;

class CFindFilesDlg : public CDialog, public WindowTimers
{
    Q_OBJECT
public:
    enum : UINT { IDD = 148 };
    // Control ids.
    enum : int {
        IDC_FILENAME = 1045,
        IDC_CONTAINING = 1046,
        IDC_RESULTS = 1047,
        IDC_DIRECTORY = 1049,
        IDC_GOTO = 1057,
        IDC_START = 1073,
        IDC_CANCEL = 2,
    };
    static constexpr UINT RestartTimer = 1;
    static constexpr UINT RestartPeriod = 200; // ms

    explicit CFindFilesDlg(QWidget *parent = nullptr);
    // Sets the stop event, kills the restart timer and waits for the worker.
    ~CFindFilesDlg() override;

    // Set by the caller before DoModal.
    void setDirectory(const QString &directory) { m_directory = directory; }
    void setFilename(const QString &filename) { m_filename = filename; }
    void setContaining(const QString &containing) { m_containing = containing; }
    QString directory() const { return m_directory; }
    QString filename() const { return m_filename; }
    QString containing() const { return m_containing; }

    // The hit chosen by Go to dir.
    QString resultFolder() const { return m_resultFolder; }
    QString resultName() const { return m_resultName; }

    CFileListCtrl &results() { return *m_results; }
    // Whether a worker thread is running (it may be about to end).
    bool IsWorkerRunning() const { return m_workerRunning.load(); }

protected:
    // Base set-up, Go to dir. disabled, the result list's columns.
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange &dx) override;
    // The OK request (Enter): the dialog has no OK button, so it closes as Cancel.
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT id) override;
    // Enter is the OK request even in an edit field.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void OnStartStop();
    void OnGoToDir();
    // Empties the list, shows "Stop" and starts a worker with the fields as last read.
    void BeginSearch();
    // Stops the worker by its event and waits for it.
    void EndWorker();
    void WorkerMain(const QString &filename, const QString &directory, const QString &containing);
    // Hands a hit (or, with nothing, the worker's end) to the dialog's thread.
    void Post(std::optional<QString> item);
    // On the dialog's thread: shows what the worker handed over, in order,
    // for a bounded time before yielding to other events.
    void TakeResults();
    void AddResult(const QString &path);

    CFileListCtrl *m_results;
    QPushButton *m_startButton;
    QPushButton *m_goToButton;
    QString m_containing;
    QString m_filename;
    QString m_directory;
    QString m_resultFolder;
    QString m_resultName;
    UINT m_restartTimer = 0; // 0 when none
    std::thread m_worker;
    std::atomic<bool> m_workerRunning{false};
    StopEvent m_stopEvent;
    bool m_restartPending = false;

    std::mutex m_handOverLock;
    std::deque<std::optional<QString>> m_handOver; // guarded by m_handOverLock
};
