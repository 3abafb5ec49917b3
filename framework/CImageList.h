// A list of small images addressed by index, as the list and tree controls
// use them: images from a bitmap strip first, per-file icons appended after.
#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QPixmap>

class CImageList
{
public:
    // Replaces the contents with the images of a horizontal strip, each cx
    // pixels wide (a partial image at the right end is dropped); pixels of the
    // mask colour become transparent. False when the strip holds no image.
    bool Create(const QPixmap &strip, int cx, const QColor &mask);

    // index -1 appends the icon, an existing index replaces that image.
    // Returns the image's index, or -1 for a null icon or a bad index.
    int ReplaceIcon(int index, const QIcon &icon);

    int GetImageCount() const { return int(m_images.size()); }
    // Removes one image (later images move down); false for a bad index.
    bool Remove(int index);

    // The image at index; a null icon for a bad index.
    QIcon icon(int index) const;

private:
    QList<QIcon> m_images;
};
