// A modal property sheet: its pages as tabs (at the bottom, as on the
// handheld) and an OK button (id IDOK) that closes it. Pages are owned by
// the caller and must outlive the sheet's modal run; the sheet hands those
// still alive back unparented when it is destroyed. The current page (the
// first unless SetActivePage chose another) is activated when the run
// starts; switching tabs deactivates the old page and activates the new one,
// and the active page is deactivated when the run ends. Pages are active
// only during a run.
#pragma once

#include "framework/CDialog.h"

#include <QList>
#include <QPointer>

class CPropertyPage;
class QTabWidget;

class CPropertySheet : public CDialog
{
    Q_OBJECT
public:
    // caption: the window title; empty for a sheet without caption.
    explicit CPropertySheet(const QString &caption, QWidget *parent = nullptr);
    ~CPropertySheet() override;

    void AddPage(CPropertyPage *page);
    CPropertyPage *GetActivePage() const { return m_active; }
    // Makes the page at index the visible one (before a run: the one it starts with).
    void SetActivePage(int index);

    void done(int result) override;

protected:
    void OnInitDialog() override;

private:
    void activate(int index);

    QTabWidget *m_tabs;
    QList<QPointer<CPropertyPage>> m_pages; // a page may go before the sheet
    CPropertyPage *m_active = nullptr;
};
