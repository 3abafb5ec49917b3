// Icon files (.ico) of 256-colour images: each image is stored with a
// 256-entry palette, its colour pixels and a transparency mask.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace IconFile {

// Images up to 255 pixels a side; their transparent pixels (alpha below
// half) become mask bits over black.
QByteArray write(const QList<QImage> &images);

} // namespace IconFile
