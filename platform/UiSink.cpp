#include "platform/UiSink.h"

namespace {

// Without a display nothing can be asked: every box takes its default button.
class DefaultAnswerSink final : public UiSink
{
public:
    int messageBox(HWND, const QString &, const QString &, UINT type) override
    {
        const int defaultIndex = int((type & MB_DEFMASK) >> 8);
        switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return defaultIndex == 0 ? IDOK : IDCANCEL;
        case MB_ABORTRETRYIGNORE: return (int[]){IDABORT, IDRETRY, IDIGNORE}[defaultIndex % 3];
        case MB_YESNOCANCEL: return (int[]){IDYES, IDNO, IDCANCEL}[defaultIndex % 3];
        case MB_YESNO: return defaultIndex == 0 ? IDYES : IDNO;
        case MB_RETRYCANCEL: return defaultIndex == 0 ? IDRETRY : IDCANCEL;
        default: return IDOK;
        }
    }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
};

DefaultAnswerSink s_defaultSink;
UiSink *s_sink = nullptr;

} // namespace

UiSink &UiSink::current()
{
    return s_sink ? *s_sink : s_defaultSink;
}

void UiSink::setCurrent(UiSink *sink)
{
    s_sink = sink;
}

int MessageBoxW(HWND owner, const QString &text, const QString &caption, UINT type)
{
    return UiSink::current().messageBox(owner, text, caption, type);
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    return MessageBoxW(owner, fromWide(text), caption ? fromWide(caption) : QStringLiteral("Error"), type);
}
