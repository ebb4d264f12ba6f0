// Drawing a form's controls in device pixels on Qt: the fills come from the walk both hosts share
// (paint/fills.h); this writes them into Qt's images.
#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <cstddef>

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

// One solid rectangle of a form's picture: device pixels [left, right) x [top, bottom).
struct Fill : paint::Fill {
    QRect rect() const { return QRect(left, top, right - left, bottom - top); }
};

// The fills that draw a form's client area within `clip` (device pixels), in painting order: a later fill
// covers an earlier one where they overlap. Writes at most `capacity` of them to `out` and returns how many
// there are in all.
std::size_t formFills(const rt::Form& form, const DeviceScale& scale, QRgb background, const QRect& clip, Fill* out,
                      std::size_t capacity);

// Writes fills into 32-bit pixels, only inside `area`, in painting order: pixel (x, y) of the picture is
// the 32-bit word at bits + (y + origin.y()) * bytesPerLine, word x + origin.x(), valid for all of `area`.
// Each fill is written once, straight into its rectangle: wide ones in blocks of pixels, each block down
// all the rows, narrow ones (frame lines) column by column.
void rasterizeFills(const Fill* fills, std::size_t count, const QRect& area, uchar* bits, qsizetype bytesPerLine,
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
