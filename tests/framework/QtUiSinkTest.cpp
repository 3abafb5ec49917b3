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

class QtUiSinkTest : public WithQtApp, public ::testing::Test
{
protected:
    QtUiSink sink;
};

TEST_F(QtUiSinkTest, TypeBitsChooseButtonsIconAndDefaultAndButtonsMapBack)
{
    const struct {
        UINT type;
        QList<QMessageBox::StandardButton> buttons;
        QMessageBox::StandardButton defaultButton;
        QMessageBox::Icon icon;
    } cases[] = {
        {MB_OK, {QMessageBox::Ok}, QMessageBox::Ok, QMessageBox::NoIcon},
        {MB_OK | MB_ICONEXCLAMATION, {QMessageBox::Ok}, QMessageBox::Ok, QMessageBox::Warning},
        {MB_OKCANCEL | MB_ICONHAND | MB_DEFBUTTON2, {QMessageBox::Ok, QMessageBox::Cancel}, QMessageBox::Cancel,
         QMessageBox::Critical},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::No,
         QMessageBox::Question},
        {MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3,
         {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}, QMessageBox::Cancel, QMessageBox::Question},
        {MB_ABORTRETRYIGNORE | MB_ICONASTERISK,
         {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore}, QMessageBox::Abort, QMessageBox::Information},
        {MB_RETRYCANCEL, {QMessageBox::Retry, QMessageBox::Cancel}, QMessageBox::Retry, QMessageBox::NoIcon},
    };
    for (const auto &c : cases) {
        QMessageBox box;
        QtUiSink::configure(box, "text", "caption", c.type);
        QList<QMessageBox::StandardButton> buttons, expected = c.buttons;
        for (QAbstractButton *button : box.buttons())
            buttons.append(box.standardButton(button));
        std::sort(buttons.begin(), buttons.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(buttons, expected) << std::hex << c.type;
        EXPECT_EQ(box.defaultButton(), box.button(c.defaultButton)) << std::hex << c.type;
        EXPECT_EQ(box.icon(), c.icon) << std::hex << c.type;
    }
    const std::pair<QMessageBox::StandardButton, int> results[] = {
        {QMessageBox::Ok, IDOK},       {QMessageBox::Cancel, IDCANCEL}, {QMessageBox::Abort, IDABORT},
        {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}, {QMessageBox::Yes, IDYES},
        {QMessageBox::No, IDNO},
    };
    for (const auto &[button, result] : results)
        EXPECT_EQ(QtUiSink::resultOf(button), result);
}

TEST_F(QtUiSinkTest, ShownBoxIsModalOwnedAndAnswered)
{
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
}

TEST_F(QtUiSinkTest, WaitCursorNests)
{
    sink.beginWaitCursor();
    sink.beginWaitCursor();
    sink.endWaitCursor();
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    sink.endWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
