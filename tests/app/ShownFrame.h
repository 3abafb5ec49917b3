// The shown main frame under its earlier name, for tests written against it.
#pragma once

#include "Panes.h"

class ShownFrame : public Panes
{
protected:
    // Call once the device holds the test's files.
    void showFrame() { start(true); }
};
