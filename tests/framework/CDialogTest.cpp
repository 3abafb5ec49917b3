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
        static_cast<QComboBox *>(make(new QComboBox(this), 1020))->addItems({"a", "b", "c"});
        static_cast<QCheckBox *>(make(new QCheckBox(this), 1030))->setTristate(true);
        auto *group = new QButtonGroup(this);
        for (int id : {1040, 1041})
            group->addButton(static_cast<QRadioButton *>(make(new QRadioButton(this), id)));
        connect(static_cast<QPushButton *>(make(new QPushButton(this), IDOK)), &QPushButton::clicked, this, &CDialog::accept);
    }

    QString name;
    int choice = -1, pick = -1, checked = 0, other = -1, initCalls = 0;
    bool endInInit = false;
    auto fields() { return std::tie(name, choice, pick, checked, other); }

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

// The exchange round-trips every field and reads the user's choice; units
// follow the font; the hook sees every dialog shown and initialised, nested
// ones too.
TEST(CDialogTest, ExchangeUnitsAndTheModalLoop)
{
    qtApp();
    SampleDialog dialog;
    EXPECT_TRUE(dialog.GetDlgItem<QLineEdit>(1001));
    EXPECT_EQ(dialog.GetDlgItem<QComboBox>(1001), nullptr) << "wrong kind";
    EXPECT_EQ(dialog.GetDlgItem(9999), nullptr);
    using Fields = std::tuple<QString, int, int, int, int>; // name, choice, pick, checked, other
    const std::pair<Fields, Fields> cases[] = {
        {{"report.txt", 2, 1, 1, 0}, {"report.txt", 2, 1, 1, 0}}, {{"", -1, -1, 0, -1}, {"", -1, -1, 0, -1}},
        {{"x", 0, 2, 2, 1}, {"x", 0, 2, 2, 1}}, {{"z", 3, 0, 0, 2}, {"z", -1, 0, 0, -1}}, // out of range clears
    };
    for (const auto &[in, out] : cases) {
        dialog.fields() = in;
        dialog.UpdateData(false);
        dialog.fields() = Fields("?", 7, 7, 7, 7);
        dialog.UpdateData(true);
        EXPECT_EQ(dialog.fields(), out);
    }
    dialog.GetDlgItem<QRadioButton>(1012)->click();
    dialog.GetDlgItem<QLineEdit>(1001)->setText("typed");
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.fields(), Fields("typed", 2, 0, 0, -1));
    // Dialog units scale with the font.
    const QSize small = dialog.dluSize(139, 160);
    EXPECT_GT(small.width(), 139);
    EXPECT_GT(small.height(), 160);
    QFont big = dialog.font();
    big.setPixelSize(dialog.fontMetrics().height() * 2);
    dialog.setFont(big);
    EXPECT_GT(dialog.dluSize(139, 160).height(), small.height() * 3 / 2);
    EXPECT_EQ(dialog.dluRect(0, 0, 4, 8).size(), dialog.dluSize(4, 8));

    // Ok saves, Escape discards, EndDialog answers, one left open is cancelled.
    const auto run = [&](const CDialog::ModalHook &act) {
        ScopedModalHook hook(act);
        const int result = dialog.DoModal();
        QCoreApplication::processEvents();
        return result;
    };
    dialog.name = "before";
    EXPECT_EQ(run([](CDialog &running) {
                  EXPECT_TRUE(running.isVisible());
                  auto *edit = running.GetDlgItem<QLineEdit>(1001);
                  EXPECT_EQ(edit->text(), "before");
                  edit->setText("after");
                  QTest::mouseClick(running.GetDlgItem<QPushButton>(IDOK), Qt::LeftButton);
              }),
              IDOK);
    EXPECT_EQ(dialog.name, "after");
    EXPECT_EQ(dialog.initCalls, 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(run([](CDialog &running) {
                  running.GetDlgItem<QLineEdit>(1001)->setText("discarded");
                  QTest::keyClick(&running, Qt::Key_Escape);
              }),
              IDCANCEL);
    EXPECT_EQ(dialog.name, "after");

    QList<UINT> order;
    EXPECT_EQ(run([&](CDialog &running) {
                  order.append(running.templateId());
                  if (running.templateId() == 151)
                      return running.EndDialog(5);
                  CDialog inner(151, &running);
                  EXPECT_EQ(inner.DoModal(), 5);
                  running.EndDialog(IDYES);
              }),
              IDYES);
    // Ended during its initialisation, a dialog never reaches the hook.
    const auto log = [&](CDialog &running) { order.append(running.templateId()); };
    EXPECT_EQ(run(log), IDCANCEL);
    dialog.endInInit = true;
    EXPECT_EQ(run(log), 42);
    EXPECT_EQ(order, (QList<UINT>{150, 151, 150}));
}

} // namespace
