// The UI sink tests install: every message box must have been expected, with
// its exact text, caption, buttons, icon and default button; it is answered as
// scripted. An unexpected or different box fails the running test.
#pragma once

#include "platform/UiSink.h"

#include <QList>
#include <QString>
#include <gtest/gtest.h>

struct ExpectedBox { QString text, caption; UINT type; int answer; }; // type: buttons | icon | default button

class ScriptedSink final : public UiSink
{
public:
    ScriptedSink() : m_previous(&UiSink::current()) { UiSink::setCurrent(this); }
    // Fails the test when a scripted box never came or the wait cursor was left on.
    ~ScriptedSink() override
    {
        UiSink::setCurrent(m_previous);
        for (const ExpectedBox &box : m_expected)
            ADD_FAILURE() << "expected message box never shown: \"" << box.text.toStdString() << "\"";
        EXPECT_EQ(m_waitDepth, 0) << "wait cursor left on";
    }

    void expect(const QString &text, const QString &caption, UINT type, int answer)
    {
        m_expected.append({text, caption, type, answer});
    }
    int messageBox(HWND owner, const QString &text, const QString &caption, UINT type) override
    {
        m_lastOwner = owner;
        if (m_expected.isEmpty()) {
            ADD_FAILURE() << "unexpected message box: \"" << text.toStdString() << "\" caption \""
                          << caption.toStdString() << "\" type 0x" << std::hex << type;
            return IDCANCEL;
        }
        const ExpectedBox box = m_expected.takeFirst();
        EXPECT_EQ(std::pair(text.toStdString(), caption.toStdString()),
                  std::pair(box.text.toStdString(), box.caption.toStdString()));
        constexpr UINT shown = MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK;
        EXPECT_EQ(type & shown, box.type & shown) << "buttons, icon and default button of \"" << text.toStdString() << "\"";
        return box.answer;
    }
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
