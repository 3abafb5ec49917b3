// The device's registry hive: a SQLite database shared by every process that
// opens the device. Key and value names compare without regard to case and
// keep their case. (Implemented by the registry layer.)
#pragma once

#include <QString>

class RegistryHive
{
public:
    explicit RegistryHive(const QString &path);
    ~RegistryHive();
    RegistryHive(const RegistryHive &) = delete;
    RegistryHive &operator=(const RegistryHive &) = delete;
};
