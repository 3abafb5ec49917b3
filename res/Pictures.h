// The program's pictures: bitmaps, icons and tool-bar buttons, drawn in code
// so they stay sharp at any device pixel ratio.
#pragma once

#include "platform/Types.h"

#include <QIcon>
#include <QPixmap>
#include <QSize>

// A bitmap resource as the framework keeps it: an opaque picture on white
// (0xFFFFFF, the colour image lists take as transparent; the pictures
// themselves never use pure white). IDB_TREEIMAGES is a strip of nine 16x16
// images (144x16), IDB_FILEIMAGE one 16x15 image, IDB_ABOUT the About picture.
// With dpr > 1 the pixmap holds dpr times the pixels and carries that device
// pixel ratio; its logical size stays the same. Null for an unknown id.
QPixmap LoadBitmap(UINT id, qreal dpr = 1.0);

// Logical size of one image of a bitmap resource (16x16 for the tree strip,
// 16x15 for the file image, the whole picture otherwise); invalid for an
// unknown id.
QSize bitmapImageSize(UINT id);

// IDR_MAINFRAME (the application icon, 16 to 64 pixels) or IDI_FOLDER (a
// 32x32 folder, also 16); transparent background. Null for an unknown id.
QIcon LoadIcon(UINT id);

// The 16x16 picture (with a 2x version) of a tool-bar button's command, on a
// transparent background; null for a command without a button.
QIcon toolBarIcon(UINT commandId);
