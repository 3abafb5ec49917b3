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
    EXPECT_EQ(text.toStdString(), box.text.toStdString());
    EXPECT_EQ(caption.toStdString(), box.caption.toStdString());
    EXPECT_EQ(type & MB_TYPEMASK, box.type & MB_TYPEMASK) << "buttons of \"" << text.toStdString() << "\"";
    EXPECT_EQ(type & MB_ICONMASK, box.type & MB_ICONMASK) << "icon of \"" << text.toStdString() << "\"";
    EXPECT_EQ(type & MB_DEFMASK, box.type & MB_DEFMASK) << "default button of \"" << text.toStdString() << "\"";
    return box.answer;
}
