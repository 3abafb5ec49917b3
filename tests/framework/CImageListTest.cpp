#include "framework/CImageList.h"

#include "QtApp.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

TEST(ImageList, StripIsSplitWithWhiteTransparent)
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
}

TEST(ImageList, AppendReplaceRemove)
{
    qtApp();
    QPixmap red(16, 16), blue(16, 16);
    red.fill(Qt::red);
    blue.fill(Qt::blue);
    CImageList images;
    EXPECT_EQ(images.ReplaceIcon(-1, QIcon(red)), 0);
    EXPECT_EQ(images.ReplaceIcon(-1, QIcon(red)), 1);
    EXPECT_EQ(images.ReplaceIcon(-1, QIcon()), -1);
    EXPECT_EQ(images.ReplaceIcon(1, QIcon(blue)), 1);
    EXPECT_EQ(images.ReplaceIcon(2, QIcon(blue)), -1);
    EXPECT_EQ(images.GetImageCount(), 2);
    EXPECT_EQ(images.icon(1).pixmap(16, 16).toImage().pixelColor(3, 3), QColor(Qt::blue));
    EXPECT_TRUE(images.Remove(0));
    EXPECT_FALSE(images.Remove(1));
    EXPECT_EQ(images.GetImageCount(), 1);
    EXPECT_TRUE(images.icon(1).isNull());
}

} // namespace
