// tmail.exe stand-in: opens a new message with a device file attached.
//   -to "" -cc "" -bcc "" -subject "" -body "" -attach "\My Documents\a.txt"
// Writes the message (RFC 5322, MIME, the attachment in base64) into the
// device's outbox folder, <device>/outbox/, and hands the file to the host's
// mail program ($QUILLMOSS_MAILER, else xdg-email) when there is one.
// Exit status: 0 written, 1 the attachment or the message could not be written.
#include "DeviceProgram.h"

#include "platform/DevicePath.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The keyword values of the command line: -keyword "value" or -keyword value.
std::map<QString, QString> parseCommandLine(const QString &line)
{
    std::map<QString, QString> values;
    qsizetype i = 0;
    const qsizetype n = line.size();
    const auto skipBlanks = [&] {
        while (i < n && (line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t')))
            ++i;
    };
    const auto token = [&] {
        skipBlanks();
        const qsizetype start = i;
        if (i < n && line[i] == QLatin1Char('"')) {
            const qsizetype end = line.indexOf(QLatin1Char('"'), start + 1);
            i = end < 0 ? n : end + 1;
            return line.mid(start + 1, (end < 0 ? n : end) - start - 1);
        }
        while (i < n && line[i] != QLatin1Char(' ') && line[i] != QLatin1Char('\t') && line[i] != QLatin1Char('"'))
            ++i;
        return line.mid(start, i - start);
    };
    while (skipBlanks(), i < n) {
        const QString word = token();
        if (word.startsWith(QLatin1Char('-')) && word.size() > 1)
            values[word.mid(1).toLower()] = token();
    }
    return values;
}

// A header value on one line: line breaks would start headers of their own.
QByteArray headerText(const QString &value)
{
    QString flat = value;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    bool ascii = true;
    for (const QChar c : flat)
        ascii = ascii && c.unicode() >= 0x20 && c.unicode() < 0x7F;
    return ascii ? flat.toLatin1() : "=?UTF-8?B?" + flat.toUtf8().toBase64() + "?=";
}

// filename="..." when plain ASCII does, else the RFC 2231 form.
QByteArray fileNameParameter(const QString &name)
{
    bool plain = true;
    for (const QChar c : name)
        plain = plain && c.unicode() >= 0x20 && c.unicode() < 0x7F && c != QLatin1Char('"') && c != QLatin1Char('\\');
    return plain ? "filename=\"" + name.toLatin1() + '"' : "filename*=UTF-8''" + name.toUtf8().toPercentEncoding();
}

// base64 in lines of 76 characters.
bool writeBase64(QIODevice &out, QByteArrayView data)
{
    const QByteArray encoded = data.toByteArray().toBase64();
    for (qsizetype at = 0; at < encoded.size(); at += 76) {
        if (out.write(encoded.constData() + at, std::min<qsizetype>(76, encoded.size() - at)) < 0
            || out.write("\r\n", 2) != 2)
            return false;
    }
    return true;
}

// Streams the open file fd into out as base64.
bool writeBase64File(QIODevice &out, int fd)
{
    QByteArray chunk(57 * 1024, Qt::Uninitialized); // a multiple of 57 bytes: whole 76-character lines
    for (;;) {
        qsizetype filled = 0;
        while (filled < chunk.size()) {
            const ssize_t n = ::read(fd, chunk.data() + filled, std::size_t(chunk.size() - filled));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return false;
            if (n == 0)
                break;
            filled += n;
        }
        if (!writeBase64(out, QByteArrayView(chunk.constData(), filled)))
            return false;
        if (filled < chunk.size())
            return true;
    }
}

QString sender()
{
    const QString configured = qEnvironmentVariable("QUILLMOSS_MAIL_FROM");
    if (!configured.isEmpty())
        return configured;
    const QString user = qEnvironmentVariable("USER", QStringLiteral("quillmoss"));
    return user + QLatin1Char('@') + QSysInfo::machineHostName();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    DeviceProgram program;
    QTextStream err(stderr);
    std::map<QString, QString> values = parseCommandLine(deviceCommandLine(app.arguments()));

    // The attachment, opened through the device so nothing outside it is read.
    const QString attach = values["attach"];
    UniqueFd file;
    QString hostFile;
    if (!attach.isEmpty()) {
        const DevicePath path = DevicePath::resolve(attach);
        struct stat st{};
        file.reset(path.ok() && path.exists() ? path.openFile(O_RDONLY | O_CLOEXEC) : -1);
        if (!file.valid() || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
            err << "tmail: cannot read " << attach << Qt::endl;
            return 1;
        }
        hostFile = QFileInfo(QFile::decodeName(DevicePath::fdPath(file.get()))).canonicalFilePath();
    }

    const QDir outbox(program.device().dir() + QStringLiteral("/outbox"));
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray unique = now.toString(QStringLiteral("yyyyMMdd-HHmmss")).toLatin1() + '-'
        + QByteArray::number(::getpid()) + '-' + QByteArray::number(QRandomGenerator::global()->generate(), 16);
    const QString host = QSysInfo::machineHostName();
    QSaveFile out(outbox.filePath(QString::fromLatin1(unique) + QStringLiteral(".eml")));
    if (!outbox.mkpath(QStringLiteral(".")) || !out.open(QIODevice::WriteOnly)) {
        err << "tmail: cannot write into " << outbox.path() << Qt::endl;
        return 1;
    }
    const QByteArray boundary = "=_quillmoss_" + unique;
    QByteArray head = "From: " + headerText(sender()) + "\r\n";
    for (const auto &[key, name] : {std::pair{"to", "To"}, {"cc", "Cc"}, {"bcc", "Bcc"}, {"subject", "Subject"}}) {
        if (!values[QLatin1String(key)].isEmpty())
            head += QByteArray(name) + ": " + headerText(values[QLatin1String(key)]) + "\r\n";
    }
    head += "Date: " + now.toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    head += "Message-ID: <" + unique + '@' + headerText(host) + ">\r\n";
    head += "MIME-Version: 1.0\r\n";
    head += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    head += "--" + boundary + "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    out.write(head);
    writeBase64(out, values["body"].toUtf8());
    if (file.valid()) {
        const QString name = attach.mid(attach.lastIndexOf(QLatin1Char('\\')) + 1);
        const QByteArray type = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name().toLatin1();
        out.write("--" + boundary + "\r\nContent-Type: " + type + "\r\nContent-Disposition: attachment; "
                  + fileNameParameter(name) + "\r\nContent-Transfer-Encoding: base64\r\n\r\n");
        if (!writeBase64File(out, file.get())) {
            err << "tmail: cannot read " << attach << Qt::endl;
            return 1;
        }
    }
    out.write("--" + boundary + "--\r\n");
    if (!out.commit()) {
        err << "tmail: cannot write " << out.fileName() << Qt::endl;
        return 1;
    }

    QString mailer = qEnvironmentVariable("QUILLMOSS_MAILER");
    if (mailer.isEmpty())
        mailer = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (!mailer.isEmpty()) {
        QStringList arguments;
        for (const char *key : {"cc", "bcc", "subject", "body"}) {
            if (!values[QLatin1String(key)].isEmpty())
                arguments << QStringLiteral("--") + QLatin1String(key) << values[QLatin1String(key)];
        }
        if (!hostFile.isEmpty())
            arguments << QStringLiteral("--attach") << hostFile;
        if (!values["to"].isEmpty())
            arguments << values["to"];
        if (!QProcess::startDetached(mailer, arguments))
            err << "tmail: cannot start " << mailer << Qt::endl;
    }
    return 0;
}
