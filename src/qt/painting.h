// Drawing a form's controls in device pixels. Every edge is converted from twips to device pixels on its
// own, by rounding, so that neighbouring controls stay flush at any device pixel ratio; all fills are
// whole device-pixel rectangles.
#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>

#include "runtime/form.h"
#include "runtime/geometry.h"

class QPainter;

namespace qthost {

// The colours of a sunken frame, outer ring then inner ring.
struct SunkenFrameColors {
    QColor outerTopLeft{128, 128, 128};
    QColor innerTopLeft{64, 64, 64};
    QColor outerBottomRight{255, 255, 255};
    QColor innerBottomRight{212, 208, 200};
};
inline const SunkenFrameColors kSunkenFrame{};

// What the window and a PictureBox without a colour of its own are filled with.
QColor controlBackground(const QPalette& palette);

// Twips become pixels at the screen's logical DPI: 15 twips per pixel at 96 DPI.
double twipsPerPixelFor(double logicalDpi);

struct DeviceScale {
    double twipsPerPixel = 15;
    double devicePixelRatio = 1;

    // The device-pixel column or row of an edge at `twips`, clamped well inside the int range.
    int edge(double twips) const;
    // A twips rectangle as device pixels, edge by edge.
    QRect rect(const rt::Rect& twips) const;
};

// Paints the window background and every visible PictureBox. The painter must draw in device pixels
// (identity transform on a device of that resolution); only `clip` (device pixels) needs to be right.
void paintForm(QPainter& painter, const rt::Form& form, const DeviceScale& scale, const QColor& background,
               const QRect& clip);

// The client area of a loaded form drawn into an image of its device size, with that device pixel ratio.
QImage renderForm(const rt::Form& form, double devicePixelRatio, double twipsPerPixel = 15,
                  const QPalette& palette = QPalette());

}  // namespace qthost
