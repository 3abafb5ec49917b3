// Message boxes and the wait cursor go through one replaceable sink: the
// program installs Qt message boxes, tests install scripted answers.
#pragma once

#include "platform/Types.h"

class QWidget;
using HWND = QWidget *;

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFMASK = 0xF00;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

class UiSink
{
public:
    virtual ~UiSink() = default;
    // Shows a modal box and returns the button chosen (IDOK, IDYES, ...).
    virtual int messageBox(HWND owner, const QString &text, const QString &caption, UINT type) = 0;
    // Nested: each begin is matched by one end.
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;

    // The sink in use; a sink that answers every box with its default button
    // when none was installed.
    static UiSink &current();
    static void setCurrent(UiSink *sink);
};

// Caption null means "Error", as the platform does.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
int MessageBoxW(HWND owner, const QString &text, const QString &caption, UINT type);

// Shows the wait cursor for the lifetime of the object.
class WaitCursor
{
public:
    WaitCursor() { UiSink::current().beginWaitCursor(); }
    ~WaitCursor() { UiSink::current().endWaitCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};
