// The package files the installer carries inside itself: resources of the
// type "INSTALLFILE", 5001 the cabinet, 5002 the .ini, 5003 the icon.
#pragma once

#include <QByteArrayView>

// The resource's bytes; a null view when there is no such resource.
QByteArrayView FindInstallFile(int id);
