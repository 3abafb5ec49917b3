#include "res/Drawings.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor FolderFill(0xF2, 0xC9, 0x4C);
const QColor FolderBack(0xD9, 0xA5, 0x20);
const QColor FolderLine(0x8C, 0x6A, 0x12);
const QColor FolderShine(0xF8, 0xDE, 0x85);
const QColor Paper(0xFB, 0xFB, 0xF5);
const QColor PaperLine(0x6B, 0x72, 0x80);
const QColor TextLine(0x8F, 0xA0, 0xB4);
const QColor Red(0xD0, 0x30, 0x30);
const QColor DarkRed(0x8A, 0x1C, 0x1C);
const QColor Green(0x3C, 0x9A, 0x3C);
const QColor DarkGreen(0x2F, 0x5E, 0x22);
const QColor Blue(0x34, 0x78, 0xC8);
const QColor Grey(0x9A, 0xA6, 0xB2);
const QColor Steel(0x4D, 0x56, 0x61);
const QColor Dark(0x3D, 0x44, 0x4C);

void style(QPainter &p, const QColor &line, const QBrush &fill, qreal width = 1.0)
{
    p.setPen(QPen(line, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
}

void polygon(QPainter &p, std::initializer_list<QPointF> points)
{
    p.drawPolygon(QPolygonF(QList<QPointF>(points)));
}

void page(QPainter &p, const QRectF &r, int lines)
{
    const qreal fold = 3;
    style(p, PaperLine, Paper);
    polygon(p, {r.topLeft(), {r.right() - fold, r.top()}, {r.right(), r.top() + fold}, r.bottomRight(), r.bottomLeft()});
    style(p, PaperLine, QColor(0xD8, 0xDC, 0xE0));
    polygon(p, {{r.right() - fold, r.top()}, {r.right() - fold, r.top() + fold}, {r.right(), r.top() + fold}});
    p.setPen(QPen(TextLine, 1));
    for (int i = 0; i < lines; ++i) {
        const qreal y = r.top() + 5 + 2 * i;
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

void arrowHead(QPainter &p, std::initializer_list<QPointF> points, const QColor &colour)
{
    style(p, colour, colour, 0.5);
    polygon(p, points);
}

void monitor(QPainter &p, qreal x, qreal y, bool lit)
{
    style(p, Dark, QColor(0x5B, 0x64, 0x70));
    p.drawRect(QRectF(x + 0.5, y + 0.5, 7, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? QColor(0x7F, 0xC8, 0xF0) : QColor(0xB8, 0xC2, 0xCC));
    p.drawRect(QRectF(x + 1.5, y + 1.5, 5, 3));
    p.setBrush(Dark);
    p.drawRect(QRectF(x + 3, y + 6, 2, 1));
    p.drawRect(QRectF(x + 2, y + 7, 4, 1));
}

void cross(QPainter &p, const QRectF &r, qreal width)
{
    for (const auto &[pen, w] : {std::pair{DarkRed, width + 1.2}, std::pair{Red, width}}) {
        p.setPen(QPen(pen, w, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(r.topLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomLeft());
    }
}

} // namespace

namespace Drawings {

void closedFolder(QPainter &p)
{
    style(p, FolderLine, FolderFill);
    polygon(p, {{1.5, 13.5}, {1.5, 3.5}, {6, 3.5}, {7.5, 5}, {14.5, 5}, {14.5, 13.5}});
    p.setPen(QPen(FolderShine, 1));
    p.drawLine(QPointF(2.5, 6.5), QPointF(13.5, 6.5));
}

void openFolder(QPainter &p)
{
    style(p, FolderLine, FolderBack);
    polygon(p, {{1.5, 13.5}, {1.5, 3.5}, {6, 3.5}, {7.5, 5}, {13.5, 5}, {13.5, 7.5}});
    style(p, FolderLine, FolderFill);
    polygon(p, {{1.5, 13.5}, {4, 7.5}, {15.5, 7.5}, {13, 13.5}});
}

void handheld(QPainter &p)
{
    style(p, QColor(0x26, 0x2C, 0x33), QColor(0x4A, 0x55, 0x60));
    p.drawRoundedRect(QRectF(3.5, 0.5, 9, 15), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xA8, 0xD8, 0xF0));
    p.drawRect(QRectF(5, 2, 6, 7));
    p.setBrush(Grey);
    p.drawEllipse(QPointF(5.8, 12), 1, 1);
    p.drawEllipse(QPointF(10.2, 12), 1, 1);
    p.setBrush(QColor(0x7F, 0xB0, 0xD8));
    p.drawEllipse(QPointF(8, 12.5), 1.3, 1.3);
}

void networkComputers(QPainter &p, bool connected)
{
    p.setPen(QPen(connected ? Green : Grey, 1));
    p.drawPolyline(QPolygonF({QPointF(5.5, 14.5), QPointF(11.5, 14.5), QPointF(11.5, 9)}));
    monitor(p, 7, 1, connected);
    monitor(p, 1, 6, connected);
}

void wasteBin(QPainter &p, bool full)
{
    style(p, Steel, Grey);
    polygon(p, {{3.5, 4.5}, {12.5, 4.5}, {11.5, 15.5}, {4.5, 15.5}});
    p.setPen(QPen(QColor(0x6C, 0x78, 0x84), 1));
    for (qreal x : {6.5, 8.0, 9.5})
        p.drawLine(QPointF(x, 6.5), QPointF(x, 13.5));
    if (full) {
        style(p, PaperLine, Paper);
        p.drawEllipse(QPointF(5.8, 3.5), 2.3, 2);
        p.drawEllipse(QPointF(10.2, 3), 2.5, 2.2);
        style(p, Blue.darker(), QColor(0xA8, 0xC8, 0xF0));
        p.drawEllipse(QPointF(8, 4), 1.6, 1.4);
    } else {
        style(p, Steel, QColor(0x7D, 0x89, 0x95));
        p.drawRect(QRectF(2.5, 2.5, 11, 2));
        p.drawRect(QRectF(6.5, 1, 3, 1.5));
    }
}

void networkDrive(QPainter &p, bool unreachable)
{
    p.setPen(QPen(Dark, 1));
    p.drawLine(QPointF(8, 9.5), QPointF(8, 12.5));
    p.setPen(QPen(Dark, 2));
    p.drawLine(QPointF(2, 13.5), QPointF(14, 13.5));
    style(p, Steel, QColor(0xB8, 0xC0, 0xC8));
    p.drawRect(QRectF(1.5, 3.5, 13, 6));
    p.setPen(QPen(Steel, 1));
    p.drawLine(QPointF(3.5, 6.5), QPointF(9, 6.5));
    style(p, Dark, unreachable ? Grey : QColor(0x4C, 0xD0, 0x4C), 0.5);
    p.drawEllipse(QPointF(12, 6.5), 1, 1);
    if (unreachable)
        cross(p, QRectF(9, 7.5, 5.5, 6.5), 1.8);
}

void documentImage(QPainter &p)
{
    page(p, QRectF(2.5, 0.5, 11, 14), 4);
}

void cut(QPainter &p)
{
    p.setPen(QPen(QColor(0x6E, 0x77, 0x81), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 1), QPointF(10, 10.5));
    p.drawLine(QPointF(11, 1), QPointF(6, 10.5));
    style(p, Red, Qt::NoBrush, 1.5);
    p.drawEllipse(QPointF(5, 12.5), 2.3, 2.3);
    p.drawEllipse(QPointF(11, 12.5), 2.3, 2.3);
    style(p, Dark, Dark);
    p.drawEllipse(QPointF(8, 6.2), 0.8, 0.8);
}

void copy(QPainter &p)
{
    page(p, QRectF(1.5, 0.5, 8.5, 10.5), 2);
    page(p, QRectF(6, 4.5, 8.5, 11), 3);
}

void paste(QPainter &p)
{
    style(p, QColor(0x6B, 0x45, 0x20), QColor(0xB0, 0x7A, 0x3C));
    p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12.5), 1, 1);
    style(p, Dark, Grey);
    p.drawRect(QRectF(4.5, 1, 4, 3));
    page(p, QRectF(7, 6, 8, 9.5), 2);
}

void deleteMark(QPainter &p)
{
    cross(p, QRectF(3.5, 3.5, 9, 9), 2.4);
}

void newFolder(QPainter &p)
{
    closedFolder(p);
    style(p, DarkGreen, Green);
    p.drawEllipse(QPointF(12, 4), 3.5, 3.5);
    p.setPen(QPen(Paper, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 2), QPointF(12, 6));
    p.drawLine(QPointF(10, 4), QPointF(14, 4));
}

void properties(QPainter &p)
{
    style(p, PaperLine, Paper);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(Blue);
    p.drawRect(QRectF(2, 2, 12, 3));
    for (qreal y : {6.5, 9.5, 12.5}) {
        style(p, PaperLine, Qt::NoBrush);
        p.drawRect(QRectF(3.5, y - 1, 2, 2));
        p.setPen(QPen(TextLine, 1));
        p.drawLine(QPointF(7, y), QPointF(12.5, y));
    }
}

void refresh(QPainter &p)
{
    style(p, Green, Qt::NoBrush, 1.8);
    const QRectF ring(2.5, 2.5, 11, 11);
    p.drawArc(ring, 30 * 16, 150 * 16);
    p.drawArc(ring, 210 * 16, 150 * 16);
    arrowHead(p, {{0.5, 7}, {4.5, 7}, {2.5, 10}}, Green);
    arrowHead(p, {{11.5, 9}, {15.5, 9}, {13.5, 6}}, Green);
}

void toggleBars(QPainter &p)
{
    style(p, Steel, QColor(0xC8, 0xD4, 0xE0));
    p.drawRect(QRectF(1.5, 1.5, 13, 4));
    p.drawRect(QRectF(1.5, 10.5, 13, 4));
    p.setPen(QPen(Dark, 1));
    p.drawLine(QPointF(3, 3.5), QPointF(5, 3.5));
    p.drawLine(QPointF(7, 3.5), QPointF(9, 3.5));
    p.setPen(Qt::NoPen);
    p.setBrush(Blue);
    for (qreal x : {3.0, 6.0, 9.0})
        p.drawRect(QRectF(x, 11.5, 2, 2));
    p.setPen(QPen(Dark, 1));
    p.drawLine(QPointF(8, 6.5), QPointF(8, 9.5));
    arrowHead(p, {{6.5, 7.5}, {9.5, 7.5}, {8, 6}}, Dark);
    arrowHead(p, {{6.5, 8.5}, {9.5, 8.5}, {8, 10}}, Dark);
}

void appLogo(QPainter &p)
{
    QPainterPath mound(QPointF(1.5, 30.5));
    mound.cubicTo(QPointF(4, 20), QPointF(26, 18), QPointF(30.5, 30.5));
    mound.closeSubpath();
    QLinearGradient moss(QPointF(0, 18), QPointF(0, 31));
    moss.setColorAt(0, QColor(0x7C, 0xBA, 0x50));
    moss.setColorAt(1, QColor(0x3E, 0x7A, 0x2E));
    style(p, DarkGreen, moss);
    p.drawPath(mound);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xA6, 0xD4, 0x70));
    for (const QPointF &tuft : {QPointF(8, 26), QPointF(14, 24), QPointF(21, 25.5), QPointF(26, 28)})
        p.drawEllipse(tuft, 1.2, 1);

    QPainterPath vane(QPointF(9, 26));
    vane.cubicTo(QPointF(10, 14), QPointF(20, 5), QPointF(29, 2));
    vane.cubicTo(QPointF(28, 10), QPointF(21, 19), QPointF(9, 26));
    style(p, QColor(0x8A, 0x7A, 0x5A), QColor(0xF3, 0xEC, 0xD8));
    p.drawPath(vane);
    p.setPen(QPen(QColor(0xC8, 0xB8, 0x90), 0.8));
    for (int i = 1; i <= 4; ++i) {
        const QPointF on(9 + 4 * i, 26 - 4.6 * i);
        p.drawLine(on, on + QPointF(-2.5, -1.2));
        p.drawLine(on, on + QPointF(1.4, 2.2));
    }
    p.setPen(QPen(QColor(0x7A, 0x5A, 0x30), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 28.5), QPointF(28, 3));
    p.setPen(QPen(QColor(0x22, 0x22, 0x22), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 30), QPointF(8, 27.5));
}

void aboutPicture(QPainter &p)
{
    QLinearGradient sky(QPointF(0, 0), QPointF(0, AboutHeight));
    sky.setColorAt(0, QColor(0xEA, 0xF3, 0xE2));
    sky.setColorAt(1, QColor(0xCC, 0xE4, 0xBE));
    p.fillRect(QRectF(0, 0, AboutWidth, AboutHeight), sky);
    p.save();
    p.translate(4, 4);
    p.scale(1.75, 1.75);
    appLogo(p);
    p.restore();
    // Fonts differ between systems: the title shrinks until it fits.
    const QRectF titleBox(66, 8, AboutWidth - 70, 28);
    QFont title(QStringLiteral("serif"));
    title.setBold(true);
    for (int pixels = 22; pixels > 8; --pixels) {
        title.setPixelSize(pixels);
        if (QFontMetricsF(title).horizontalAdvance(QStringLiteral("Quillmoss")) <= titleBox.width())
            break;
    }
    p.setFont(title);
    p.setPen(DarkGreen);
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quillmoss"));
    QFont maker(QStringLiteral("sans-serif"));
    maker.setPixelSize(11);
    p.setFont(maker);
    p.setPen(QColor(0x5A, 0x6B, 0x50));
    p.drawText(QRectF(67, 36, AboutWidth - 68, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("by Brindlecove"));
}

} // namespace Drawings
