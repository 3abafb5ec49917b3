// Mailing a file through the device's mail program, \Windows\tmail.exe,
// which opens a new message with the file attached.
#pragma once

#include <QString>

// The mail program's command line: every field empty but the attachment.
QString MailCommandLine(const QString &path);
// Starts the mail program for path (may be empty) and does not wait for it;
// nothing is reported when it cannot be started.
void MailFile(const QString &path);
