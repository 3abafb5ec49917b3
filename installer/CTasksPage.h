// Wizard page 3: the installation's tasks (template 139) with a progress
// marker (1014 to 1016) in front of each row, hidden until used.
#pragma once

#include "framework/CDialog.h"

class CTasksPage : public CDialog
{
    Q_OBJECT
public:
    explicit CTasksPage(QWidget *parent);

    // Shows the marker with done * 100 / total percent and repaints at once.
    void ShowTaskProgress(int markerId, int done, int total);
};
