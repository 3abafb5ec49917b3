// The program's pictures and the image list that holds them.
#include "framework/CImageList.h"
#include "res/Pictures.h"
#include "res/ResourceIds.h"
#include "res/ToolBars.h"

#include "QtApp.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// Pixels that differ from the background (white for bitmaps, transparent for icons).
int inkIn(const QImage &image, const QRect &area, bool onWhite)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ink += onWhite ? (image.pixel(x, y) | 0xFF000000) != 0xFFFFFFFF : qAlpha(image.pixel(x, y)) > 0;
    }
    return ink;
}

struct PicturesTest : WithQtApp, ::testing::Test {};

TEST_F(PicturesTest, BitmapsIconsAndToolBarPicturesHaveTheirSizesAndInkAndDiffer)
{
    for (qreal dpr : {1.0, 2.0}) {
        const QPixmap strip = LoadBitmap(IDB_TREEIMAGES, dpr);
        ASSERT_EQ(strip.size(), QSize(144, 16) * dpr);
        EXPECT_EQ(strip.deviceIndependentSize(), QSizeF(144, 16));
        const QImage image = strip.toImage();
        EXPECT_EQ(image.pixel(0, 0) | 0xFF000000, 0xFFFFFFFFu) << "white shows through the mask";
        QList<QImage> images;
        for (int i = 0; i < 9; ++i) {
            const QImage cell = image.copy(QRect(QPoint(int(16 * i * dpr), 0), QSize(16, 16) * dpr));
            EXPECT_GT(inkIn(cell, cell.rect(), true), 16 * dpr * dpr) << "image " << i;
            EXPECT_FALSE(images.contains(cell)) << "image " << i;
            images.append(cell);
        }
    }
    const std::pair<UINT, QSize> bitmaps[] = {{IDB_FILEIMAGE, {16, 15}}, {IDB_ABOUT, bitmapImageSize(IDB_ABOUT)}};
    for (const auto &[id, size] : bitmaps) {
        const QPixmap pixmap = LoadBitmap(id);
        ASSERT_FALSE(pixmap.isNull()) << id;
        EXPECT_EQ(pixmap.size(), size) << id;
        EXPECT_GT(inkIn(pixmap.toImage(), pixmap.rect(), true), 40) << id;
    }
    EXPECT_TRUE(LoadBitmap(999).isNull());
    // Icons at every size, on a transparent ground.
    for (UINT id : {IDR_MAINFRAME, IDI_FOLDER}) {
        const QIcon icon = LoadIcon(id);
        ASSERT_FALSE(icon.isNull()) << id;
        for (int size : {16, 32}) {
            const QImage image = icon.pixmap(size, size).toImage();
            EXPECT_EQ(image.size(), QSize(size, size));
            EXPECT_GT(inkIn(image, image.rect(), false), size * size / 8) << id << " at " << size;
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "transparent corner";
        }
    }
    EXPECT_TRUE(LoadIcon(999).isNull());
    // Every tool bar button has its own picture.
    QList<QImage> seen;
    for (UINT id : LoadToolBar(IDR_MAINFRAME)) {
        if (id == ID_SEPARATOR)
            continue;
        const QIcon icon = toolBarIcon(id);
        ASSERT_FALSE(icon.isNull()) << id;
        EXPECT_EQ(icon.availableSizes().value(0), QSize(16, 16));
        const QImage image = icon.pixmap(QSize(16, 16), 2.0).toImage();
        EXPECT_EQ(image.size(), QSize(32, 32)) << "2x version for " << id;
        EXPECT_GT(inkIn(image, image.rect(), false), 60) << id;
        EXPECT_FALSE(seen.contains(image)) << id;
        seen.append(image);
    }
    EXPECT_EQ(seen.size(), 8);
    EXPECT_TRUE(toolBarIcon(ID_APP_EXIT).isNull());
}

TEST_F(PicturesTest, ImageListSplitsAStripWithWhiteTransparentAndImagesChange)
{
    QImage strip(40, 15, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter(&strip).fillRect(16, 0, 1, 1, Qt::red);

    CImageList images;
    ASSERT_TRUE(images.Create(QPixmap::fromImage(strip), 16, QColor(Qt::white)));
    EXPECT_EQ(images.GetImageCount(), 2); // the last 8 pixels are no whole image
    const QImage second = images.icon(1).pixmap(16, 15).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(second.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(second.pixelColor(1, 0).alpha(), 0);
    EXPECT_FALSE(images.Create(QPixmap::fromImage(strip), 41, QColor(Qt::white)));

    QPixmap red(16, 16), blue(16, 16);
    red.fill(Qt::red);
    blue.fill(Qt::blue);
    CImageList changed;
    EXPECT_EQ((QList<int>{changed.ReplaceIcon(-1, red), changed.ReplaceIcon(-1, red), changed.ReplaceIcon(-1, QIcon()),
                          changed.ReplaceIcon(1, blue), changed.ReplaceIcon(2, blue), changed.GetImageCount()}),
              (QList<int>{0, 1, -1, 1, -1, 2}));
    EXPECT_EQ(changed.icon(1).pixmap(16, 16).toImage().pixelColor(3, 3), QColor(Qt::blue));
    EXPECT_EQ((QList<bool>{changed.Remove(0), changed.Remove(1)}), (QList<bool>{true, false}));
    EXPECT_EQ(changed.GetImageCount(), 1);
    EXPECT_TRUE(changed.icon(1).isNull());
}

} // namespace
