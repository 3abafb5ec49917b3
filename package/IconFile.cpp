#include "package/IconFile.h"

#include "package/LittleEndian.h"

namespace IconFile {

namespace {

constexpr int InfoHeaderSize = 40;

int stride(int bits) { return (bits + 31) / 32 * 4; }

// Header, palette, colour rows and mask rows, both bottom-up.
QByteArray imageData(const QImage &source)
{
    QImage rgba = source.convertToFormat(QImage::Format_ARGB32);
    const int w = rgba.width();
    const int h = rgba.height();
    QImage opaque(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb pixel = rgba.pixel(x, y);
            opaque.setPixel(x, y, qAlpha(pixel) < 128 ? qRgb(0, 0, 0) : pixel);
        }
    }
    const QImage indexed = opaque.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);

    QByteArray bytes;
    for (quint32 field : {quint32(InfoHeaderSize), quint32(w), quint32(2 * h)})
        appendU32(bytes, field);
    appendU16(bytes, 1); // planes
    appendU16(bytes, 8); // bits per pixel
    for (quint32 field : {0u, quint32(stride(8 * w) * h), 0u, 0u, 0u, 0u})
        appendU32(bytes, field);
    const QList<QRgb> colours = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < colours.size() ? colours[i] : qRgb(0, 0, 0);
        bytes += char(qBlue(c));
        bytes += char(qGreen(c));
        bytes += char(qRed(c));
        bytes += '\0';
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride(8 * w), '\0');
        for (int x = 0; x < w; ++x)
            row[x] = char(indexed.pixelIndex(x, y));
        bytes += row;
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride(w), '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(rgba.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        bytes += row;
    }
    return bytes;
}

} // namespace

QByteArray write(const QList<QImage> &images)
{
    QByteArray directory;
    appendU16(directory, 0);
    appendU16(directory, 1); // icons
    appendU16(directory, quint16(images.size()));
    QByteArray data;
    quint32 offset = 6 + 16 * quint32(images.size());
    for (const QImage &image : images) {
        const QByteArray one = imageData(image);
        directory += char(image.width());
        directory += char(image.height());
        directory += '\0'; // colour count: none below 8 bits
        directory += '\0';
        appendU16(directory, 1);
        appendU16(directory, 8);
        appendU32(directory, quint32(one.size()));
        appendU32(directory, offset);
        offset += quint32(one.size());
        data += one;
    }
    return directory + data;
}

} // namespace IconFile
