#include "framework/QtUiSink.h"

#include "QtApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The type bits choose the buttons, the icon and the default, and the
// buttons map back; a shown box is modal, owned and answered.
TEST(QtUiSinkTest, BoxesFollowTheTypeBitsAndAreModalOwnedAndAnsweredAndTheWaitCursorNests)
{
    qtApp();
    using M = QMessageBox;
    const struct {
        UINT type;
        M::StandardButtons buttons;
        M::StandardButton defaultButton;
        M::Icon icon;
    } cases[] = {
        {MB_OK, M::Ok, M::Ok, M::NoIcon},
        {MB_OK | MB_ICONEXCLAMATION, M::Ok, M::Ok, M::Warning},
        {MB_OKCANCEL | MB_ICONHAND | MB_DEFBUTTON2, M::Ok | M::Cancel, M::Cancel, M::Critical},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, M::Yes | M::No, M::No, M::Question},
        {MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3, M::Yes | M::No | M::Cancel, M::Cancel, M::Question},
        {MB_ABORTRETRYIGNORE | MB_ICONASTERISK, M::Abort | M::Retry | M::Ignore, M::Abort, M::Information},
        {MB_RETRYCANCEL, M::Retry | M::Cancel, M::Retry, M::NoIcon},
    };
    for (const auto &c : cases) {
        QMessageBox box;
        QtUiSink::configure(box, "text", "caption", c.type);
        EXPECT_EQ(int(box.standardButtons()), int(c.buttons)) << std::hex << c.type;
        EXPECT_EQ(box.defaultButton(), box.button(c.defaultButton)) << std::hex << c.type;
        EXPECT_EQ(box.icon(), c.icon) << std::hex << c.type;
    }
    const std::pair<M::StandardButton, int> results[] = {
        {M::Ok, IDOK}, {M::Cancel, IDCANCEL}, {M::Abort, IDABORT}, {M::Retry, IDRETRY}, {M::Ignore, IDIGNORE},
        {M::Yes, IDYES}, {M::No, IDNO},
    };
    for (const auto &[button, result] : results)
        EXPECT_EQ(QtUiSink::resultOf(button), result);

    QtUiSink sink;
    QWidget owner;
    owner.show();
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        inspected = true;
        EXPECT_EQ(box->parentWidget(), &owner);
        EXPECT_EQ(box->windowTitle(), "Delete");
        EXPECT_EQ(box->text(), "Failed to delete:\n\\My Documents\\a.txt");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        box->button(QMessageBox::Yes)->click();
    });
    const int answer = sink.messageBox(&owner, "Failed to delete:\r\n\\My Documents\\a.txt", "Delete",
                                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_TRUE(inspected);
    EXPECT_EQ(answer, IDYES);

    sink.beginWaitCursor();
    sink.beginWaitCursor();
    sink.endWaitCursor();
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    sink.endWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
