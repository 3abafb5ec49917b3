// recordargs: a device program for tests. Writes its arguments and, after a
// line "--", its environment to $QUILLMOSS_DEVICE/recorded, one a line; then
// waits (at most 30 s) for $QUILLMOSS_DEVICE/release and writes "done".
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
    QFile part(dir + "/recorded.part");
    if (!part.open(QIODevice::WriteOnly) || part.write(record) != record.size() || !part.rename(dir + "/recorded"))
        return 1;
    for (int i = 0; i < 600 && !QFile::exists(dir + "/release"); ++i)
        QThread::msleep(50);
    return QFile(dir + "/done").open(QIODevice::WriteOnly) ? 0 : 1;
}
