// The application icon: a pressure gauge on a 4-20 mA loop, drawn rather
// than loaded so the window needs no resource files.
#pragma once

#include <QIcon>
#include <QPixmap>

QPixmap DrawAppIcon(int size);
QIcon AppIcon();  // the usual sizes from 16 to 64 pixels, drawn once and shared
