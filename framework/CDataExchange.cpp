#include "framework/CDataExchange.h"

#include "framework/CDialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <algorithm>

namespace {

template<class T>
T *control(CDataExchange &dx, int id, const char *kind)
{
    T *found = dx.dialog.GetDlgItem<T>(id);
    if (!found)
        qWarning("Dialog %u: no %s with id %d", dx.dialog.templateId(), kind, id);
    return found;
}

QList<QAbstractButton *> radioGroup(QAbstractButton *first)
{
    if (first->group())
        return first->group()->buttons();
    QList<QAbstractButton *> group;
    for (QObject *sibling : first->parent()->children()) {
        auto *radio = qobject_cast<QRadioButton *>(sibling);
        if (radio == first || (radio && !group.isEmpty() && !radio->group()))
            group.append(radio);
    }
    return group;
}

void uncheckAll(const QList<QAbstractButton *> &group)
{
    // An exclusive group refuses to lose its last check: lift the rule meanwhile.
    QButtonGroup *buttonGroup = group.first()->group();
    const bool groupExclusive = buttonGroup && buttonGroup->exclusive();
    if (buttonGroup)
        buttonGroup->setExclusive(false);
    for (QAbstractButton *button : group) {
        const bool autoExclusive = button->autoExclusive();
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(autoExclusive);
    }
    if (buttonGroup)
        buttonGroup->setExclusive(groupExclusive);
}

} // namespace

void DDX_Text(CDataExchange &dx, int id, QString &value)
{
    QWidget *widget = control<QWidget>(dx, id, "text control");
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        dx.saving ? void(value = edit->text()) : edit->setText(value);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget)) {
        dx.saving ? void(value = plain->toPlainText()) : plain->setPlainText(value);
    } else if (auto *rich = qobject_cast<QTextEdit *>(widget)) {
        dx.saving ? void(value = rich->toPlainText()) : rich->setPlainText(value);
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        dx.saving ? void(value = label->text()) : label->setText(value);
    } else if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->isEditable()) {
        dx.saving ? void(value = combo->currentText()) : combo->setEditText(value);
    } else if (widget) {
        qWarning("Dialog %u: control %d holds no text", dx.dialog.templateId(), id);
    }
}

void DDX_Radio(CDataExchange &dx, int firstId, int &value)
{
    auto *first = control<QAbstractButton>(dx, firstId, "radio button");
    if (!first)
        return;
    const QList<QAbstractButton *> group = radioGroup(first);
    if (dx.saving) {
        value = -1;
        for (qsizetype i = 0; i < group.size(); ++i) {
            if (group[i]->isChecked())
                value = int(i);
        }
    } else if (value >= 0 && value < group.size()) {
        group[value]->setChecked(true);
    } else {
        uncheckAll(group);
    }
}

void DDX_Check(CDataExchange &dx, int id, int &value)
{
    auto *button = control<QAbstractButton>(dx, id, "check box");
    if (!button)
        return;
    auto *box = qobject_cast<QCheckBox *>(button);
    // The framework's order: 0 unchecked, 1 checked, 2 partly checked.
    static constexpr Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    if (dx.saving) {
        const Qt::CheckState state = box ? box->checkState() : button->isChecked() ? Qt::Checked : Qt::Unchecked;
        value = int(std::find(std::begin(states), std::end(states), state) - std::begin(states));
    } else if (box) {
        box->setCheckState(states[value >= 0 && value <= 2 ? value : 0]);
    } else {
        button->setChecked(value == 1);
    }
}

void DDX_CBIndex(CDataExchange &dx, int id, int &value)
{
    auto *combo = control<QComboBox>(dx, id, "combo box");
    if (!combo)
        return;
    if (dx.saving)
        value = combo->currentIndex();
    else
        combo->setCurrentIndex(value);
}
