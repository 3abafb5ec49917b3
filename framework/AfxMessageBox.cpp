#include "framework/AfxMessageBox.h"

#include "res/StringTable.h"

#include <QApplication>
#include <QMainWindow>

QWidget *AfxGetMainWnd()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow *>(window))
            return window;
    }
    return nullptr;
}

int AfxMessageBox(const QString &text, UINT type)
{
    return MessageBoxW(AfxGetMainWnd(), text, applicationTitle(), type);
}
