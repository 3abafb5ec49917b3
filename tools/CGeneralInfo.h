// The General page: processor, operating system version, and the network
// names and addresses of the device and of its point-to-point peer.
//
// Every tick of its one-second timer refreshes the page and starts a name
// look-up thread, unless the previous look-up is still running: a resolver
// that blocks holds one thread, never one per second. The thread reads only
// the platform's socket calls and hands its texts to the page by queued
// calls; the page waits for a running look-up before it is destroyed, so
// nothing is delivered to a page that is gone. Closing the page can
// therefore take as long as the resolver's own time-out.
#pragma once

#include "tools/InfoPage.h"

#include <QThread>
#include <memory>

class QGroupBox;

class CGeneralInfo : public InfoPage
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 149;
    static constexpr int IDC_PROCESSOR = 1030;
    static constexpr int IDC_OS = 1039;
    static constexpr int IDC_HOST = 1043;
    static constexpr int IDC_PEER = 1044;
    static constexpr int IDC_PROCESSOR_FRAME = 1072;
    // What the look-up hands over: the device's line or the peer's.
    static constexpr UINT WM_HOSTTEXT = 0x401;
    static constexpr UINT WM_PEERTEXT = 0x402;

    CGeneralInfo();
    ~CGeneralInfo() override;

    // Fills osText and processorText, pushes every member into the controls,
    // then empties hostText and peerText (the controls keep them).
    void Refresh() override;
    // Refreshes, then starts a look-up unless one is running.
    void OnTimer(UINT id) override;
    bool isLookingUp() const { return m_lookup && m_lookup->isRunning(); }

    QString osText;
    QString processorText;
    QString hostText;
    QString peerText;

protected:
    void DoDataExchange(CDataExchange &dx) override;

private:
    void OnLookupText(UINT message, const QString &text);

    QGroupBox *m_processorFrame;
    std::unique_ptr<QThread> m_lookup;
};
