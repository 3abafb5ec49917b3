#include "tools/CFindFilesDlg.h"

#include "framework/CDataExchange.h"
#include "list/CFileListCtrl.h"
#include "platform/UiSink.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString StartCaption = QStringLiteral("Start");
const QString StopCaption = QStringLiteral("Stop");
constexpr int TakeBudget = 30; // ms of showing hits before other events get their turn

} // namespace

CFindFilesDlg::CFindFilesDlg(QWidget *parent)
    : CDialog(IDD, parent)
    , WindowTimers(this)
    , m_results(new CFileListCtrl(this))
    , m_startButton(new QPushButton(StartCaption, this))
    , m_goToButton(new QPushButton(QStringLiteral("Go to dir."), this))
{
    setFixedSize(dluSize(138, 153));
    const struct {
        const char *label;
        int id;
        int y;
    } fields[] = {{"Filename:", IDC_FILENAME, 4}, {"Directory:", IDC_DIRECTORY, 19}, {"Containing:", IDC_CONTAINING, 34}};
    for (const auto &field : fields) {
        auto *label = new QLabel(QString::fromLatin1(field.label), this);
        label->setGeometry(dluRect(4, field.y + 2, 40, 8));
        auto *edit = new QLineEdit(this);
        SetDlgCtrlID(edit, field.id);
        edit->setGeometry(dluRect(46, field.y, 88, 12));
    }
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    const struct {
        QPushButton *button;
        int id;
        int x;
    } buttons[] = {{m_startButton, IDC_START, 4}, {cancel, IDC_CANCEL, 48}, {m_goToButton, IDC_GOTO, 92}};
    for (const auto &b : buttons) {
        SetDlgCtrlID(b.button, b.id);
        b.button->setAutoDefault(false);
        b.button->setGeometry(dluRect(b.x, 50, 42, 14));
    }
    SetDlgCtrlID(m_results, IDC_RESULTS);
    m_results->setGeometry(dluRect(4, 68, 130, 81));

    connect(m_startButton, &QPushButton::clicked, this, &CFindFilesDlg::OnStartStop);
    connect(cancel, &QPushButton::clicked, this, &CFindFilesDlg::reject);
    connect(m_goToButton, &QPushButton::clicked, this, &CFindFilesDlg::OnGoToDir);
    connect(m_results, &CFileListCtrl::clicked, this, [this] {
        if (m_results->GetSelectedCount() == 1)
            m_goToButton->setEnabled(true);
    });
}

CFindFilesDlg::~CFindFilesDlg()
{
    m_stopEvent.Set();
    if (m_restartTimer)
        KillTimer(m_restartTimer);
    EndWorker();
}

void CFindFilesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_goToButton->setEnabled(false);
    m_results->CreateColumns();
}

void CFindFilesDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_FILENAME, m_filename);
    DDX_Text(dx, IDC_DIRECTORY, m_directory);
    DDX_Text(dx, IDC_CONTAINING, m_containing);
}

void CFindFilesDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    CDialog::keyPressEvent(event);
}

void CFindFilesDlg::OnOK()
{
    OnCancel();
}

void CFindFilesDlg::OnCancel()
{
    EndWorker();
    EndDialog(IDCANCEL);
}

void CFindFilesDlg::OnStartStop()
{
    if (m_startButton->text() != StartCaption) {
        if (IsWorkerRunning())
            m_stopEvent.Set();
        else
            m_startButton->setText(StartCaption);
        return;
    }
    if (IsWorkerRunning()) {
        m_stopEvent.Set();
        if (!m_restartTimer) {
            m_restartPending = true;
            SetTimer(RestartTimer, RestartPeriod);
            m_restartTimer = RestartTimer;
        }
        return;
    }
    UpdateData(true);
    BeginSearch();
}

void CFindFilesDlg::OnTimer(UINT id)
{
    if (id != RestartTimer || IsWorkerRunning())
        return;
    KillTimer(id);
    m_restartTimer = 0;
    if (m_restartPending) {
        BeginSearch();
        m_restartPending = false;
    }
}

void CFindFilesDlg::BeginSearch()
{
    m_results->DeleteAllItems();
    m_startButton->setText(StopCaption);
    // The previous worker has ended: what it handed over and nobody took yet is stale.
    if (m_worker.joinable())
        m_worker.join();
    {
        std::lock_guard lock(m_handOverLock);
        m_handOver.clear();
    }
    m_stopEvent.Reset();
    m_workerRunning = true;
    m_worker = std::thread(&CFindFilesDlg::WorkerMain, this, m_filename, m_directory, m_containing);
}

void CFindFilesDlg::EndWorker()
{
    if (!m_worker.joinable())
        return;
    m_stopEvent.Set();
    m_worker.join();
}

void CFindFilesDlg::WorkerMain(const QString &filename, const QString &directory, const QString &containing)
{
    FileSearch search(filename, containing, [this] { return m_stopEvent.IsSet(); },
                      [this](const QString &hit) { Post(hit); });
    search.SearchFolder(directory);
    m_stopEvent.Reset();
    Post(std::nullopt);
    m_workerRunning = false;
}

void CFindFilesDlg::Post(std::optional<QString> item)
{
    std::lock_guard lock(m_handOverLock);
    m_handOver.push_back(std::move(item));
    // One pending call takes everything handed over meanwhile.
    if (m_handOver.size() == 1)
        QMetaObject::invokeMethod(this, &CFindFilesDlg::TakeResults, Qt::QueuedConnection);
}

void CFindFilesDlg::TakeResults()
{
    QElapsedTimer budget;
    budget.start();
    for (;;) {
        std::optional<QString> item;
        {
            std::lock_guard lock(m_handOverLock);
            if (m_handOver.empty())
                return;
            if (budget.hasExpired(TakeBudget)) {
                QMetaObject::invokeMethod(this, &CFindFilesDlg::TakeResults, Qt::QueuedConnection);
                return;
            }
            item = std::move(m_handOver.front());
            m_handOver.pop_front();
        }
        if (item)
            AddResult(*item);
        else
            m_startButton->setText(StartCaption);
    }
}

void CFindFilesDlg::AddResult(const QString &path)
{
    const int count = m_results->GetItemCount();
    const int row = m_results->InsertItem(count, path, count);
    m_results->AddFileRow(row, path);
}

void CFindFilesDlg::OnGoToDir()
{
    const int row = m_results->GetSelectedRow();
    if (row < 0)
        return;
    EndWorker();
    const QString path = m_results->GetItemText(row, 0);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('\\'));
    m_resultFolder = slash < 0 ? QString() : path.left(slash);
    m_resultName = path.mid(slash + 1);
    EndDialog(IDOK);
}
