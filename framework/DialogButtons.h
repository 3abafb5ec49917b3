// The standard pair of buttons at the foot of a dialog.
#pragma once

class CDialog;
class QString;

// Adds okText (id IDOK, the default button, runs accept) and "Cancel" (id
// IDCANCEL, runs reject), 46 by 14 dialog units each, side by side at y.
void AddOkCancelButtons(CDialog &dialog, const QString &okText, int y);
