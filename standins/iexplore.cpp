// iexplore.exe stand-in: opens the address given as its whole command line in
// the host's browser ($QUILLMOSS_OPENER, else xdg-open).
#include <QCoreApplication>
#include <QProcess>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString address = app.arguments().mid(1).join(QLatin1Char(' '));
    if (address.isEmpty())
        return 0;
    QString opener = qEnvironmentVariable("QUILLMOSS_OPENER");
    if (opener.isEmpty())
        opener = QStringLiteral("xdg-open");
    if (!QProcess::startDetached(opener, {address})) {
        QTextStream(stderr) << "iexplore: cannot start " << opener << Qt::endl;
        return 1;
    }
    return 0;
}
