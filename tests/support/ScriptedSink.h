// The UI sink tests install: every message box must have been expected, with
// its exact text, caption, buttons, icon and default button; it is answered as
// scripted. An unexpected or different box fails the running test.
#pragma once

#include "platform/UiSink.h"

#include <QList>
#include <QString>

struct ExpectedBox {
    QString text;
    QString caption;
    UINT type; // buttons | icon | default button
    int answer;
};

class ScriptedSink final : public UiSink
{
public:
    ScriptedSink() : m_previous(&UiSink::current()) { UiSink::setCurrent(this); }
    ~ScriptedSink() override; // fails the test when a scripted box never came

    void expect(const QString &text, const QString &caption, UINT type, int answer) { m_expected.append({text, caption, type, answer}); }
    int messageBox(HWND owner, const QString &text, const QString &caption, UINT type) override;
    void beginWaitCursor() override { ++m_waitDepth; ++m_waitCount; }
    void endWaitCursor() override { --m_waitDepth; }

    int pending() const { return int(m_expected.size()); }
    int waitDepth() const { return m_waitDepth; }
    int waitCount() const { return m_waitCount; }
    // Owner of the last box shown (null for ownerless boxes).
    HWND lastOwner() const { return m_lastOwner; }

private:
    QList<ExpectedBox> m_expected;
    UiSink *m_previous;
    HWND m_lastOwner = nullptr;
    int m_waitDepth = 0;
    int m_waitCount = 0;
};
