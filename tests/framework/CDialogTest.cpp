#include "framework/CDataExchange.h"
#include "framework/CDialog.h"
#include "platform/UiSink.h"

#include "QtApp.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A dialog with one control of each kind the exchange knows, two radio groups
// side by side (the second in a QButtonGroup) and a plain radio group.
class SampleDialog : public CDialog
{
public:
    SampleDialog()
        : CDialog(150)
    {
        auto make = [this](QWidget *w, int id) { SetDlgCtrlID(w, id); return w; };
        make(new QLineEdit(this), 1001);
        for (int id : {1010, 1011, 1012})
            make(new QRadioButton(this), id);
        auto *combo = static_cast<QComboBox *>(make(new QComboBox(this), 1020));
        combo->addItems({"a", "b", "c"});
        auto *check = static_cast<QCheckBox *>(make(new QCheckBox(this), 1030));
        check->setTristate(true);
        auto *group = new QButtonGroup(this);
        for (int id : {1040, 1041})
            group->addButton(static_cast<QRadioButton *>(make(new QRadioButton(this), id)));
        connect(static_cast<QPushButton *>(make(new QPushButton(this), IDOK)), &QPushButton::clicked, this, &CDialog::accept);
    }

    QString name;
    int choice = -1;
    int pick = -1;
    int checked = 0;
    int other = -1;
    int initCalls = 0;
    bool endInInit = false;

protected:
    void OnInitDialog() override
    {
        ++initCalls;
        CDialog::OnInitDialog();
        if (endInInit)
            EndDialog(42);
    }
    void DoDataExchange(CDataExchange &dx) override
    {
        DDX_Text(dx, 1001, name);
        DDX_Radio(dx, 1010, choice);
        DDX_CBIndex(dx, 1020, pick);
        DDX_Check(dx, 1030, checked);
        DDX_Radio(dx, 1040, other);
    }
};

class CDialogTest : public WithQtApp, public ::testing::Test
{
protected:
    SampleDialog dialog;
};

TEST_F(CDialogTest, ExchangeRoundTripsEveryFieldAndReadsTheUsersChoice)
{
    EXPECT_TRUE(dialog.GetDlgItem<QLineEdit>(1001));
    EXPECT_EQ(dialog.GetDlgItem<QComboBox>(1001), nullptr) << "wrong kind";
    EXPECT_EQ(dialog.GetDlgItem(9999), nullptr);
    const struct {
        QString name;
        int choice, pick, checked, other;
    } cases[] = {{"report.txt", 2, 1, 1, 0}, {"", -1, -1, 0, -1}, {"x", 0, 2, 2, 1},
                 {"z", 3, 0, 0, 2}}; // out of range clears the group
    for (const auto &f : cases) {
        dialog.name = f.name;
        dialog.choice = f.choice;
        dialog.pick = f.pick;
        dialog.checked = f.checked;
        dialog.other = f.other;
        dialog.UpdateData(false);
        dialog.name = "?";
        dialog.choice = dialog.pick = dialog.checked = dialog.other = 7;
        dialog.UpdateData(true);
        EXPECT_EQ(dialog.name, f.name);
        EXPECT_EQ(dialog.choice, f.choice > 2 ? -1 : f.choice);
        EXPECT_EQ(dialog.pick, f.pick);
        EXPECT_EQ(dialog.checked, f.checked);
        EXPECT_EQ(dialog.other, f.other > 1 ? -1 : f.other);
    }
    dialog.GetDlgItem<QRadioButton>(1012)->click();
    dialog.GetDlgItem<QLineEdit>(1001)->setText("typed");
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.choice, 2);
    EXPECT_EQ(dialog.name, "typed");
}

TEST_F(CDialogTest, ModalHookSeesTheInitialisedDialogOkSavesEscapeDiscards)
{
    dialog.name = "before";
    {
        ScopedModalHook hook([](CDialog &running) {
            EXPECT_TRUE(running.isVisible());
            auto *edit = running.GetDlgItem<QLineEdit>(1001);
            EXPECT_EQ(edit->text(), "before");
            edit->setText("after");
            QTest::mouseClick(running.GetDlgItem<QPushButton>(IDOK), Qt::LeftButton);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
    }
    EXPECT_EQ(dialog.name, "after");
    EXPECT_EQ(dialog.initCalls, 1);
    EXPECT_FALSE(dialog.isVisible());

    ScopedModalHook hook([](CDialog &running) {
        running.GetDlgItem<QLineEdit>(1001)->setText("discarded");
        QTest::keyClick(&running, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.name, "after");
}

TEST_F(CDialogTest, EndDialogResultIsReturnedAndNestedDialogsReachTheHook)
{
    QList<UINT> order;
    ScopedModalHook hook([&](CDialog &running) {
        order.append(running.templateId());
        if (running.templateId() == 150) {
            CDialog inner(151, &running);
            EXPECT_EQ(inner.DoModal(), 5);
            running.EndDialog(IDYES);
        } else {
            running.EndDialog(5);
        }
    });
    EXPECT_EQ(dialog.DoModal(), IDYES);
    EXPECT_EQ(order, (QList<UINT>{150, 151}));
}

TEST_F(CDialogTest, LeftOpenIsCancelledAndEndedDuringInitialisationNeverRuns)
{
    int hookRuns = 0;
    ScopedModalHook hook([&](CDialog &) { ++hookRuns; });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    dialog.endInInit = true;
    EXPECT_EQ(dialog.DoModal(), 42);
    QCoreApplication::processEvents();
    EXPECT_EQ(hookRuns, 1);
}

TEST_F(CDialogTest, DialogUnitsScaleWithTheFont)
{
    const QSize small = dialog.dluSize(139, 160);
    EXPECT_GT(small.width(), 139);
    EXPECT_GT(small.height(), 160);
    QFont big = dialog.font();
    big.setPixelSize(dialog.fontMetrics().height() * 2);
    dialog.setFont(big);
    EXPECT_GT(dialog.dluSize(139, 160).height(), small.height() * 3 / 2);
    EXPECT_EQ(dialog.dluRect(0, 0, 4, 8).size(), dialog.dluSize(4, 8));
}

} // namespace
