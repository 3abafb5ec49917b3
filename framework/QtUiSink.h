// The program's UI sink: real Qt message boxes and the application-wide wait
// cursor. Install it once at start-up (UiSink::setCurrent).
//
// A box has the buttons of its MB_ type (OK; OK Cancel; Abort Retry Ignore;
// Yes No Cancel; Yes No; Retry Cancel, in that order), the icon of its
// MB_ICON bits (hand: critical, question, exclamation: warning, asterisk:
// information, none: no icon), its MB_DEFBUTTONn as the default button, the
// owner as parent (none: ownerless), the caption as window title and the text
// with "\r\n" shown as a line break.
#pragma once

#include "platform/UiSink.h"

class QMessageBox;

class QtUiSink final : public UiSink
{
public:
    int messageBox(HWND owner, const QString &text, const QString &caption, UINT type) override;
    // Nested: the cursor returns when the last begin is ended.
    void beginWaitCursor() override;
    void endWaitCursor() override;

    // Fills box as messageBox would show it (tests inspect this).
    static void configure(QMessageBox &box, const QString &text, const QString &caption, UINT type);
    // The platform's result for a standard button (IDOK, IDYES ...).
    static int resultOf(int standardButton);
};
