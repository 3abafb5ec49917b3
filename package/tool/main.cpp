// mkpackage: writes the installation package of the built device program.
//   mkpackage QUILLMOSS OUTDIR  ->  OUTDIR/Quillmoss.CAB, Quillmoss.ini, Quillmoss.ico
#include "package/QuillmossPackage.h"
#include "res/Drawings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>
#include <QTextStream>

namespace {

// The program's own icon, drawn at size x size.
QImage logo(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    Drawings::appLogo(painter);
    return image;
}

bool save(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    QTextStream(stderr) << "mkpackage: cannot write " << path << Qt::endl;
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: mkpackage QUILLMOSS OUTDIR" << Qt::endl;
        return 2;
    }
    QFile program(args[1]);
    if (!program.open(QIODevice::ReadOnly)) {
        QTextStream(stderr) << "mkpackage: cannot read " << args[1] << Qt::endl;
        return 1;
    }
    const QByteArray cab = QuillmossPackage::cabinet(program.readAll(), QFileInfo(program).lastModified());
    if (cab.isEmpty()) {
        QTextStream(stderr) << "mkpackage: " << args[1] << " is too big for a cabinet" << Qt::endl;
        return 1;
    }
    const QDir out(args[2]);
    out.mkpath(QStringLiteral("."));
    const bool ok = save(out.filePath(QuillmossPackage::CabName), cab)
                    && save(out.filePath(QuillmossPackage::IniName), QuillmossPackage::ini())
                    && save(out.filePath(QuillmossPackage::IconName), QuillmossPackage::icon(logo(16), logo(32)));
    return ok ? 0 : 1;
}
