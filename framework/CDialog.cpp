#include "framework/CDialog.h"

#include "framework/CDataExchange.h"
#include "platform/UiSink.h"

#include <QFontMetrics>
#include <QTimer>

namespace {

CDialog::ModalHook s_modalHook;

} // namespace

CDialog::CDialog(UINT templateId, QWidget *parent)
    : QDialog(parent)
    , m_templateId(templateId)
{
}

CDialog::~CDialog() = default;

int CDialog::DoModal()
{
    m_ended = false;
    OnInitDialog();
    if (m_ended)
        return m_result;
    if (s_modalHook) {
        // Copied: the hook may be replaced while it runs.
        QTimer::singleShot(0, this, [this, hook = s_modalHook] {
            hook(*this);
            if (m_running && !m_ended) {
                qWarning("CDialog %u left open by the modal hook: cancelled", m_templateId);
                EndDialog(IDCANCEL);
            }
        });
    }
    m_running = true;
    exec();
    m_running = false;
    return m_result;
}

void CDialog::EndDialog(int result)
{
    m_ended = true;
    m_result = result;
    if (m_running)
        done(result);
}

void CDialog::UpdateData(bool save)
{
    CDataExchange dx(*this, save);
    DoDataExchange(dx);
}

QWidget *CDialog::GetDlgItem(int id) const
{
    return findChild<QWidget *>(QString::number(id));
}

void CDialog::SetDlgCtrlID(QWidget *control, int id)
{
    control->setObjectName(QString::number(id));
}

QSize CDialog::dluSize(int width, int height) const
{
    const QFontMetrics metrics(font());
    // The framework's base units: the mean width of the 52 letters, and the height.
    const int baseX = (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
    const int baseY = metrics.height();
    return QSize(width * baseX / 4, height * baseY / 8);
}

QRect CDialog::dluRect(int x, int y, int width, int height) const
{
    const QSize origin = dluSize(x, y);
    return QRect(QPoint(origin.width(), origin.height()), dluSize(width, height));
}

void CDialog::setModalHook(ModalHook hook)
{
    s_modalHook = std::move(hook);
}

void CDialog::OnInitDialog()
{
    UpdateData(false);
}

void CDialog::DoDataExchange(CDataExchange &)
{
}

void CDialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::accept()
{
    OnOK();
}

void CDialog::reject()
{
    OnCancel();
}
