#include "tools/MailFile.h"

#include "platform/Files.h"
#include "platform/Process.h"

QString MailCommandLine(const QString &path)
{
    return QStringLiteral("-to \"\"-cc \"\"-bcc \"\"-subject \"\"-body \"\"-attach \"") + path + QLatin1Char('"');
}

void MailFile(const QString &path)
{
    PROCESS_INFORMATION info;
    if (CreateProcessW(u"\\Windows\\tmail.exe", wide(MailCommandLine(path)), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, nullptr, &info))
        CloseHandle(info.hProcess);
}
