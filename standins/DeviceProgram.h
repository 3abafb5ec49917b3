// What a stand-in for a device program starts from: the device it runs on
// and its command line as one string, the way the device hands it over.
#pragma once

#include "platform/Device.h"

#include <QStringList>

// The raw command line the device started us with; run by hand, the
// arguments joined by blanks.
inline QString deviceCommandLine(const QStringList &arguments)
{
    if (qEnvironmentVariableIsSet("QUILLMOSS_COMMAND_LINE"))
        return qEnvironmentVariable("QUILLMOSS_COMMAND_LINE");
    return arguments.mid(1).join(QLatin1Char(' '));
}

// The device in QUILLMOSS_DEVICE (else the user's default device), current
// while the program runs.
class DeviceProgram
{
public:
    DeviceProgram() : m_device(Device::chooseDir({})), m_current(m_device) {}
    Device &device() { return m_device; }

private:
    Device m_device;
    CurrentDevice m_current;
};
