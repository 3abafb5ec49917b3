// The one QApplication of a widget test program, created on first use (the
// platform comes from QT_QPA_PLATFORM, offscreen under CTest). It lives until
// the process ends.
#pragma once

class QApplication;

QApplication &qtApp();

// Base for fixtures that hold widgets as members: list it first among the
// bases, so the application exists before the members are built.
//   class MyTest : public WithQtApp, public ::testing::Test { QTreeWidget tree; };
struct WithQtApp {
    WithQtApp() { qtApp(); }
};
