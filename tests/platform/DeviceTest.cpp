#include "TempDevice.h"

#include <gtest/gtest.h>

TEST(Device, NewDeviceIsLaidOut)
{
    TempDevice t;
    EXPECT_TRUE(t.exists("\\Windows\\Start Menu\\Programs"));
}
