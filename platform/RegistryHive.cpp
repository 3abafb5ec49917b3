#include "platform/RegistryHive.h"
RegistryHive::RegistryHive(const QString &) {}
RegistryHive::~RegistryHive() = default;
