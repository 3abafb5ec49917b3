// Beaming files to and from another device through the device's infrared
// transfer program, irsquirt.exe: an empty command line receives, a file's
// full path sends that file. The program blocks while irsquirt runs; its
// window keeps painting. Messages are the application's own boxes, owned by
// owner.
#pragma once

#include "platform/UiSink.h"

#include <QString>
#include <QStringList>

namespace IrTransfer {

// Clears the archive bit of every entry in the root, runs the receiver, then
// moves every root entry that has the bit again (what arrived) into
// destination (a folder path ending with "\"). The caller reloads the file
// list afterwards, whatever happened.
void Receive(HWND owner, const QString &destination);

// Runs the sender for one file and waits for it; false when it could not be
// started (the sender's own outcome is not examined).
bool SendFile(HWND owner, const QString &path);
// Sends the files of folder (a path without trailing "\") named by names,
// in order, stopping at the first that cannot be sent.
void SendFiles(HWND owner, const QString &folder, const QStringList &names);
// Sends the files of folder (ending with "\") and of its subfolders, asking
// before each file. False when the user stopped the walk.
bool SendFolder(HWND owner, const QString &folder);

} // namespace IrTransfer
