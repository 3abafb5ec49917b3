// One page of a property sheet: a dialog of numbered controls shown as a
// tab of the sheet, with numbered window timers. The sheet tells it when it
// becomes the visible page and when it stops being it.
#pragma once

#include "framework/CDialog.h"
#include "framework/WindowTimers.h"

class CPropertyPage : public CDialog, protected WindowTimers
{
    Q_OBJECT
public:
    // title: the text of the page's tab.
    CPropertyPage(UINT templateId, const QString &title);
    QString title() const { return m_title; }

    // The page becomes the visible one. Default: UpdateData(false); true.
    virtual bool OnSetActive();
    // The page stops being the visible one. Default: UpdateData(true); true.
    virtual bool OnKillActive();

protected:
    void OnTimer(UINT) override {}
    // Keys go to the sheet: a page neither accepts nor cancels on its own.
    void keyPressEvent(QKeyEvent *event) override { QWidget::keyPressEvent(event); }

private:
    QString m_title;
};
