#include "ScriptedSink.h"

#include <gtest/gtest.h>

ScriptedSink::~ScriptedSink()
{
    UiSink::setCurrent(m_previous);
    for (const ExpectedBox &box : m_expected)
        ADD_FAILURE() << "expected message box never shown: \"" << box.text.toStdString() << "\"";
    EXPECT_EQ(m_waitDepth, 0) << "wait cursor left on";
}

int ScriptedSink::messageBox(HWND owner, const QString &text, const QString &caption, UINT type)
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
