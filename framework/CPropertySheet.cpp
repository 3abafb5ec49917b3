#include "framework/CPropertySheet.h"

#include "framework/CPropertyPage.h"
#include "platform/UiSink.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CPropertySheet::CPropertySheet(const QString &caption, QWidget *parent)
    : CDialog(0, parent), m_tabs(new QTabWidget(this))
{
    setWindowTitle(caption);
    m_tabs->setTabPosition(QTabWidget::South);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    SetDlgCtrlID(buttons->button(QDialogButtonBox::Ok), IDOK);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    // Pages are active only during a run; removing a page changes the tab too.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (isRunning())
            activate(index);
    });
}

CPropertySheet::~CPropertySheet()
{
    disconnect(m_tabs, nullptr, this, nullptr);
    for (const QPointer<CPropertyPage> &page : std::as_const(m_pages)) {
        if (page)
            page->setParent(nullptr);
    }
}

void CPropertySheet::AddPage(CPropertyPage *page)
{
    m_pages.append(page);
    m_tabs->addTab(page, page->title());
}

void CPropertySheet::SetActivePage(int index)
{
    m_tabs->setCurrentIndex(index);
}

void CPropertySheet::OnInitDialog()
{
    CDialog::OnInitDialog();
    activate(m_tabs->currentIndex());
}

void CPropertySheet::activate(int index)
{
    if (m_active)
        m_active->OnKillActive();
    m_active = m_pages.value(index).data();
    if (m_active)
        m_active->OnSetActive();
}

void CPropertySheet::done(int result)
{
    activate(-1);
    CDialog::done(result);
}
