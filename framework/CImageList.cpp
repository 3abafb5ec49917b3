#include "framework/CImageList.h"

#include <QBitmap>
#include <QImage>

bool CImageList::Create(const QPixmap &strip, int cx, const QColor &mask)
{
    m_images.clear();
    if (cx <= 0 || strip.isNull())
        return false;
    QPixmap transparent = strip;
    transparent.setMask(QBitmap::fromImage(strip.toImage().createMaskFromColor(mask.rgb(), Qt::MaskInColor)));
    for (int x = 0; x + cx <= strip.width(); x += cx)
        m_images.append(QIcon(transparent.copy(x, 0, cx, strip.height())));
    return !m_images.isEmpty();
}

int CImageList::ReplaceIcon(int index, const QIcon &icon)
{
    if (icon.isNull())
        return -1;
    if (index == -1) {
        m_images.append(icon);
        return GetImageCount() - 1;
    }
    if (index < 0 || index >= GetImageCount())
        return -1;
    m_images[index] = icon;
    return index;
}

bool CImageList::Remove(int index)
{
    if (index < 0 || index >= GetImageCount())
        return false;
    m_images.removeAt(index);
    return true;
}

QIcon CImageList::icon(int index) const
{
    return index >= 0 && index < GetImageCount() ? m_images[index] : QIcon();
}
