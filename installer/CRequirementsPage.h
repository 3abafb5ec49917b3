// Wizard page 1: the system requirements (template 137).
#pragma once

#include "framework/CDialog.h"

class CRequirementsPage : public CDialog
{
    Q_OBJECT
public:
    explicit CRequirementsPage(QWidget *parent);
};
