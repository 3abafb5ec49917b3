// What every widget benchmark sets up first: Qt's offscreen platform unless
// another is chosen, the application object, and the device it works on.
#pragma once

#include "platform/Device.h"

#include <QApplication>

struct BenchApp {
    BenchApp(int &argc, char **argv, const char *deviceDir)
        : app(offscreen(argc), argv), device(QString::fromLocal8Bit(deviceDir)), current(device)
    {
    }

    // The platform must be chosen before the application object exists.
    static int &offscreen(int &argc)
    {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }

    QApplication app;
    Device device;
    CurrentDevice current;
};
