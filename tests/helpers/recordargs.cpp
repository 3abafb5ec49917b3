// recordargs: a device program for tests. Writes its arguments, one a line,
// a line "--" and its environment to $QUILLMOSS_DEVICE/recorded (whole, by a
// rename), then waits until $QUILLMOSS_DEVICE/release exists (at most 30 s),
// so a test can see that nobody waited for it, and writes "done" on exit.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QThread>

extern char **environ;

int main(int argc, char **argv)
{
    const QString dir = QFile::decodeName(qgetenv("QUILLMOSS_DEVICE"));
    QByteArray record;
    for (int i = 1; i < argc; ++i)
        record += QByteArray(argv[i]) + '\n';
    record += "--\n";
    for (char **e = environ; *e; ++e)
        record += QByteArray(*e) + '\n';
    QFile part(dir + QStringLiteral("/recorded.part"));
    if (!part.open(QIODevice::WriteOnly) || part.write(record) != record.size())
        return 1;
    part.close();
    QFile::rename(part.fileName(), dir + QStringLiteral("/recorded"));
    for (int i = 0; i < 600 && !QFile::exists(dir + QStringLiteral("/release")); ++i)
        QThread::msleep(50);
    QFile done(dir + QStringLiteral("/done"));
    return done.open(QIODevice::WriteOnly) ? 0 : 1;
}
