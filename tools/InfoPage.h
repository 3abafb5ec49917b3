// A page of the system information sheet. It refreshes its texts when it is
// shown and on each tick of its timer (id 1), which runs only while it is
// the sheet's visible page. Controls are placed in dialog units.
#pragma once

#include "framework/CPropertyPage.h"

class QGroupBox;
class QLabel;

class InfoPage : public CPropertyPage
{
    Q_OBJECT
public:
    // period: the timer's period in milliseconds.
    InfoPage(UINT templateId, const QString &title, int width, int height, UINT period);

    // Starts the timer, then the base behaviour.
    bool OnSetActive() override;
    // Stops the timer, then the base behaviour.
    bool OnKillActive() override;
    // Reads the figures anew into the members and pushes them into the controls.
    virtual void Refresh() = 0;
    // A tick of the timer (whatever its id): refreshes.
    void OnTimer(UINT id) override;

protected:
    void showEvent(QShowEvent *event) override;

    QGroupBox *AddFrame(const QString &title, const QRect &dlu);
    QLabel *AddLabel(const QString &text, const QRect &dlu);
    // A text control with its id, filled by data exchange.
    QLabel *AddText(int id, const QRect &dlu, Qt::Alignment alignment = Qt::AlignLeft);

private:
    UINT m_period;
};
