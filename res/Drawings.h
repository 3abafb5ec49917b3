// The program's pictures as painter code. Each function draws into a 16 x 16
// unit box at the painter's origin (documentImage: 16 x 15; appLogo: 32 x 32;
// aboutPicture: its own size); callers scale and translate. Colours avoid pure
// white, which the bitmaps use as their transparent colour.
#pragma once

class QPainter;

namespace Drawings {

// Tree images, in bitmap order.
void closedFolder(QPainter &p);
void openFolder(QPainter &p);
void handheld(QPainter &p);
void networkComputers(QPainter &p, bool connected);
void wasteBin(QPainter &p, bool full);
void networkDrive(QPainter &p, bool unreachable);

void documentImage(QPainter &p);

// Tool-bar buttons.
void cut(QPainter &p);
void copy(QPainter &p);
void paste(QPainter &p);
void deleteMark(QPainter &p);
void newFolder(QPainter &p);
void properties(QPainter &p);
void refresh(QPainter &p);
void toggleBars(QPainter &p);

void appLogo(QPainter &p);
constexpr int AboutWidth = 176;
constexpr int AboutHeight = 64;
void aboutPicture(QPainter &p);

} // namespace Drawings
