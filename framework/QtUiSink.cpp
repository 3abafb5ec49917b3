#include "framework/QtUiSink.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QWidget>

namespace {

QList<QMessageBox::StandardButton> buttonsOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {QMessageBox::Ok, QMessageBox::Cancel};
    case MB_ABORTRETRYIGNORE: return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case MB_YESNOCANCEL: return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case MB_YESNO: return {QMessageBox::Yes, QMessageBox::No};
    case MB_RETRYCANCEL: return {QMessageBox::Retry, QMessageBox::Cancel};
    default: return {QMessageBox::Ok};
    }
}

QMessageBox::Icon iconOf(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

void QtUiSink::configure(QMessageBox &box, const QString &text, const QString &caption, UINT type)
{
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    box.setIcon(iconOf(type));
    const QList<QMessageBox::StandardButton> buttons = buttonsOf(type);
    QMessageBox::StandardButtons all;
    for (QMessageBox::StandardButton button : buttons)
        all |= button;
    box.setStandardButtons(all);
    const qsizetype defaultIndex = qsizetype((type & MB_DEFMASK) >> 8);
    box.setDefaultButton(buttons.value(defaultIndex, buttons.first()));
}

int QtUiSink::resultOf(int standardButton)
{
    switch (standardButton) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Abort: return IDABORT;
    case QMessageBox::Retry: return IDRETRY;
    case QMessageBox::Ignore: return IDIGNORE;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDOK;
    }
}

int QtUiSink::messageBox(HWND owner, const QString &text, const QString &caption, UINT type)
{
    QMessageBox box(owner);
    configure(box, text, caption, type);
    return resultOf(box.exec());
}

void QtUiSink::beginWaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUiSink::endWaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}
