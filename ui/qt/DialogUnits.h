// Dialog units to pixels, the way a dialog template is laid out: from the
// average character width and the height of the dialog font, so a layout
// keeps its proportions whatever font stands in.
#pragma once

#include "dialog/Layout.h"

#include <QFont>
#include <QRect>
#include <QSize>

struct DialogUnits {
    int baseX = 0;  // average character width in pixels: four horizontal units
    int baseY = 0;  // character height in pixels: eight vertical units

    static DialogUnits FromFont(const QFont& font);

    int X(int dlu) const;
    int Y(int dlu) const;
    QRect Rect(const DluRect& r) const;
    QSize Size(int w, int h) const;
};

// The dialog's font: its own face when installed, otherwise the stand-in for
// the Chinese system face, otherwise the platform default.
QFont DialogFont(const DialogSpec& layout);
