// The application's own message box: owned by the main window, captioned
// with the application title, shown through the platform's UI sink.
#pragma once

#include "platform/UiSink.h"

class QString;

int AfxMessageBox(const QString &text, UINT type = MB_OK);

// The application's main window: the first top-level QMainWindow; null before one exists.
QWidget *AfxGetMainWnd();
