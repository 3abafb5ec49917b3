// Data exchange between a dialog's fields and its controls, in both
// directions: saving = true reads the controls into the fields, false writes
// the fields into the controls. Controls are found by their numeric id (see
// CDialog::GetDlgItem); a missing or mismatched control leaves the field and
// the dialog untouched (and warns once through qWarning).
#pragma once

#include <QString>

class CDialog;

class CDataExchange
{
public:
    CDataExchange(CDialog &dialog, bool saving) : dialog(dialog), saving(saving) {}
    CDialog &dialog;
    const bool saving;
};

// QLineEdit, QTextEdit/QPlainTextEdit (plain text), QLabel, editable QComboBox.
void DDX_Text(CDataExchange &dx, int id, QString &value);
// The radio group starting with the button with id firstId: the buttons of
// its QButtonGroup when it has one, else the radio siblings (same parent, in
// no QButtonGroup) in creation order from it on. value is the checked button's position in the
// group, -1 when none; writing -1 or a position out of range unchecks all.
void DDX_Radio(CDataExchange &dx, int firstId, int &value);
// A check box (any QAbstractButton): 0 unchecked, 1 checked, 2 partly checked.
void DDX_Check(CDataExchange &dx, int id, int &value);
// A combo box's selected index, -1 for none.
void DDX_CBIndex(CDataExchange &dx, int id, int &value);
