// Display texts shared by the file list, the find result list and the
// properties dialog.
#pragma once

#include "platform/Types.h"

#include <QString>

// "%d b" below 1024 bytes, else kilobytes ("%.1fKb") below 1048576 bytes,
// else megabytes ("%.1fMb"), one decimal rounded to the nearest tenth.
QString FormatFileSize(DWORD sizeHigh, DWORD sizeLow);

// The UTC file time in local time as "DD-MM-YYYY hh:mm:ss" (24-hour clock,
// year in full). The offset used is the one in force at that instant, so a
// summer time reads with the summer offset even in winter.
QString FormatFileTime(const FILETIME &time);

// One letter per set bit, in the order RHSDAINTCFM; unlisted bits add nothing.
QString FormatAttributes(DWORD attributes);
