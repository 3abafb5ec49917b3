#include "res/Pictures.h"

#include "res/Drawings.h"
#include "res/ResourceIds.h"

#include <QPainter>
#include <functional>

namespace {

using Draw = std::function<void(QPainter &)>;

QPixmap render(const QSize &logical, qreal dpr, const Draw &draw, const QColor &background)
{
    QPixmap pixmap(logical * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(background);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

const std::vector<Draw> &treeImages()
{
    static const std::vector<Draw> images = {
        Drawings::closedFolder,
        Drawings::openFolder,
        Drawings::handheld,
        [](QPainter &p) { Drawings::networkComputers(p, true); },
        [](QPainter &p) { Drawings::networkComputers(p, false); },
        [](QPainter &p) { Drawings::wasteBin(p, false); },
        [](QPainter &p) { Drawings::wasteBin(p, true); },
        [](QPainter &p) { Drawings::networkDrive(p, false); },
        [](QPainter &p) { Drawings::networkDrive(p, true); },
    };
    return images;
}

void drawTreeStrip(QPainter &p)
{
    for (const Draw &image : treeImages()) {
        image(p);
        p.translate(16, 0);
    }
}

Draw toolBarDrawing(UINT commandId)
{
    switch (commandId) {
    case ID_EDIT_CUT: return Drawings::cut;
    case ID_EDIT_COPY: return Drawings::copy;
    case ID_EDIT_PASTE: return Drawings::paste;
    case ID_FILE_DELETE: return Drawings::deleteMark;
    case ID_FILE_NEWFOLDER: return Drawings::newFolder;
    case ID_FILE_PROPERTIES: return Drawings::properties;
    case ID_VIEW_REFRESH: return Drawings::refresh;
    case ID_TOGGLE_TOOLBAR: return Drawings::toggleBars;
    default: return {};
    }
}

// An icon drawn in a box of boxSize units, at each of the given pixel sizes.
QIcon scaledIcon(const Draw &draw, qreal boxSize, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (int size : sizes) {
        icon.addPixmap(render(QSize(size, size), 1.0, [&](QPainter &p) {
            p.scale(size / boxSize, size / boxSize);
            draw(p);
        }, Qt::transparent));
    }
    return icon;
}

} // namespace

QSize bitmapImageSize(UINT id)
{
    switch (id) {
    case IDB_TREEIMAGES: return QSize(16, 16);
    case IDB_FILEIMAGE: return QSize(16, 15);
    case IDB_ABOUT: return QSize(Drawings::AboutWidth, Drawings::AboutHeight);
    default: return QSize();
    }
}

QPixmap LoadBitmap(UINT id, qreal dpr)
{
    switch (id) {
    case IDB_TREEIMAGES:
        return render(QSize(16 * int(treeImages().size()), 16), dpr, drawTreeStrip, Qt::white);
    case IDB_FILEIMAGE:
        return render(bitmapImageSize(id), dpr, Drawings::documentImage, Qt::white);
    case IDB_ABOUT:
        return render(bitmapImageSize(id), dpr, Drawings::aboutPicture, Qt::white);
    default:
        return QPixmap();
    }
}

QIcon LoadIcon(UINT id)
{
    switch (id) {
    case IDR_MAINFRAME: return scaledIcon(Drawings::appLogo, 32, {16, 24, 32, 48, 64});
    case IDI_FOLDER: return scaledIcon(Drawings::closedFolder, 16, {16, 32, 64});
    default: return QIcon();
    }
}

QIcon toolBarIcon(UINT commandId)
{
    const Draw draw = toolBarDrawing(commandId);
    if (!draw)
        return QIcon();
    QIcon icon;
    for (qreal dpr : {1.0, 2.0})
        icon.addPixmap(render(QSize(16, 16), dpr, draw, Qt::transparent));
    return icon;
}
