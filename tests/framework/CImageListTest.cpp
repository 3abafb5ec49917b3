#include "framework/CImageList.h"

#include "QtApp.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

TEST(ImageList, StripIsSplitWithWhiteTransparentAndImagesChange)
{
    qtApp();
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

    // Append, replace, remove.
    QPixmap red(16, 16), blue(16, 16);
    red.fill(Qt::red);
    blue.fill(Qt::blue);
    CImageList changed;
    EXPECT_EQ(changed.ReplaceIcon(-1, QIcon(red)), 0);
    EXPECT_EQ(changed.ReplaceIcon(-1, QIcon(red)), 1);
    EXPECT_EQ(changed.ReplaceIcon(-1, QIcon()), -1);
    EXPECT_EQ(changed.ReplaceIcon(1, QIcon(blue)), 1);
    EXPECT_EQ(changed.ReplaceIcon(2, QIcon(blue)), -1);
    EXPECT_EQ(changed.GetImageCount(), 2);
    EXPECT_EQ(changed.icon(1).pixmap(16, 16).toImage().pixelColor(3, 3), QColor(Qt::blue));
    EXPECT_TRUE(changed.Remove(0));
    EXPECT_FALSE(changed.Remove(1));
    EXPECT_EQ(changed.GetImageCount(), 1);
    EXPECT_TRUE(changed.icon(1).isNull());
}

} // namespace
