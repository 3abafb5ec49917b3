// The one QApplication of a widget test program, created on first use (the
// platform comes from QT_QPA_PLATFORM, offscreen under CTest).
#pragma once

class QApplication;

QApplication &qtApp();
