// The emulated device: one host folder holding the object store (store/) and
// the registry hive (registry.db). Every platform call acts on the current
// device; the program opens its device at start-up, each test opens its own.
#pragma once

#include <QString>
#include <memory>

class RegistryHive;

class Device
{
public:
    // Opens (and on first use lays out) the device in the host folder dir.
    explicit Device(const QString &dir);
    ~Device();
    Device(const Device &) = delete;
    Device &operator=(const Device &) = delete;

    QString dir() const { return m_dir; }
    // Host path of the object store root "\" (no trailing slash).
    QString storeRoot() const { return m_storeRoot; }
    QString hivePath() const { return m_dir + QStringLiteral("/registry.db"); }
    // Host folder holding the network computers (\\COMPUTER\SHARE).
    QString networkRoot() const { return m_networkRoot; }
    void setNetworkRoot(const QString &dir) { m_networkRoot = dir; }

    RegistryHive &hive();

    // The device every platform call uses; null before one is set.
    static Device *current();
    static void setCurrent(Device *device);

    // Device folder chosen by --device DIR, then QUILLMOSS_DEVICE, then the default
    // $XDG_DATA_HOME/quillmoss/device. args are the program's arguments.
    static QString chooseDir(const QStringList &args);
    // Network folder chosen by --network DIR, else $XDG_DATA_HOME/quillmoss/network.
    static QString chooseNetworkDir(const QStringList &args);

private:
    void layOut();

    QString m_dir;
    QString m_storeRoot;
    QString m_networkRoot;
    std::unique_ptr<RegistryHive> m_hive;
};

// Makes a device current for the lifetime of the object (tests, tools).
class CurrentDevice
{
public:
    explicit CurrentDevice(Device &device) : m_previous(Device::current()) { Device::setCurrent(&device); }
    ~CurrentDevice() { Device::setCurrent(m_previous); }
    CurrentDevice(const CurrentDevice &) = delete;
    CurrentDevice &operator=(const CurrentDevice &) = delete;

private:
    Device *m_previous;
};
