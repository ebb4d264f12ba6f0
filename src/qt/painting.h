// Drawing a form's controls in device pixels on Qt: the fills come from the walk both hosts share
// (paint/fills.h); this writes them into Qt's images.
#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <span>

#include "paint/fills.h"
#include "runtime/form.h"
#include "runtime/geometry.h"

class QPainter;

namespace qthost {

// The colours of a sunken frame, outer ring then inner ring.
struct SunkenFrameColors {
    QColor outerTopLeft = QColor::fromRgb(paint::kSunkenFrame.outerTopLeft);
    QColor innerTopLeft = QColor::fromRgb(paint::kSunkenFrame.innerTopLeft);
    QColor outerBottomRight = QColor::fromRgb(paint::kSunkenFrame.outerBottomRight);
    QColor innerBottomRight = QColor::fromRgb(paint::kSunkenFrame.innerBottomRight);
};
inline const SunkenFrameColors kSunkenFrame{};

// What the window and a PictureBox without a colour of its own are filled with.
QColor controlBackground(const QPalette& palette);

using paint::twipsPerPixelFor;

struct DeviceScale : paint::DeviceScale {
    // A twips rectangle as device pixels, edge by edge.
    QRect rect(const rt::Rect& twips) const;
};

// Writes fills, given in painting order, into 32-bit pixels, only inside `area`: pixel (x, y) of the
// picture is the 32-bit word at bits + (y + origin.y()) * bytesPerLine, word x + origin.x(), valid for all of
// `area`. The rows are written once each, in memory order (paint/row_pixels.h).
void rasterizeFills(std::span<const paint::Fill> fills, const QRect& area, uchar* bits, qsizetype bytesPerLine,
                    QPoint origin);

// Paints the window background and every visible PictureBox. The painter must draw in device pixels
// (identity transform on a device of that resolution); only `clip` (device pixels) needs to be right.
// When the painter draws straight into a 32-bit image, the fills are written into its pixels directly
// (rasterizeFills); otherwise every fill goes through the painter.
void paintForm(QPainter& painter, const rt::Form& form, const DeviceScale& scale, const QColor& background,
               const QRect& clip);

// A fresh drawing of a loaded form's whole client area into an image of its device size, with that device
// pixel ratio, one painter fill at a time: what the window must show after any sequence of repaints.
QImage renderForm(const rt::Form& form, double devicePixelRatio, double twipsPerPixel = 15,
                  const QPalette& palette = QPalette());

}  // namespace qthost
