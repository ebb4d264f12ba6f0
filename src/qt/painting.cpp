#include "qt/painting.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "paint/row_pixels.h"
#include "runtime/control.h"

namespace qthost {
namespace {

using paint::Box;
using paint::kEdgeLimit;

QRgb opaque(const QColor& colour) { return colour.rgb() | 0xFF000000u; }

Box boxOf(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }
QRect rectOf(const Box& b) { return QRect(b.left, b.top, b.right - b.left, b.bottom - b.top); }

// What a paint works with, kept from one paint to the next so that painting allocates nothing once the
// buffers have grown to the windows' needs. Painting happens on the GUI thread only.
struct Scratch {
    std::vector<paint::Fill> fills;
    paint::RowBands rows;
};

Scratch& scratch()
{
    static Scratch kept;
    return kept;
}

void paintThroughPainter(QPainter& painter, std::span<const paint::Fill> fills)
{
    for (const paint::Fill& f : fills)
        painter.fillRect(rectOf({f.left, f.top, f.right, f.bottom}), QColor::fromRgb(f.colour));
}

// Writes the fills straight into the image the painter draws on, if it is a 32-bit image that the painter
// reaches by a whole-pixel translation and nothing else; false (nothing drawn) otherwise. Only pixels that
// the painter itself could draw on are written: the image, within the painter's system clip.
bool paintDirectly(QPainter& painter, std::span<const paint::Fill> fills, const QRect& clip)
{
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || painter.hasClipping())
        return false;
    QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image)
        return false;
    QImage& image = *static_cast<QImage*>(device);
    const QImage::Format format = image.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return false;
    if (!image.isDetached())
        return false;  // writing would copy it first, and the painter would never see the pixels
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate)
        return false;
    const double dx = std::round(t.dx()), dy = std::round(t.dy());
    if (std::abs(dx - t.dx()) > 1e-6 || std::abs(dy - t.dy()) > 1e-6 || std::abs(dx) > kEdgeLimit ||
        std::abs(dy) > kEdgeLimit)
        return false;
    const QPoint origin(static_cast<int>(dx), static_cast<int>(dy));
    const QRect inImage = clip.intersected(image.rect().translated(-origin));
    if (inImage.isEmpty())
        return true;
    uchar* bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    const QRegion allowed = engine->systemClip();
    if (allowed.isEmpty()) {
        rasterizeFills(fills, inImage, bits, bytesPerLine, origin);
        return true;
    }
    for (const QRect& r : allowed)
        rasterizeFills(fills, r.translated(-origin).intersected(inImage), bits, bytesPerLine, origin);
    return true;
}

}  // namespace

QColor controlBackground(const QPalette& palette) { return palette.color(QPalette::Active, QPalette::Button); }

QRect DeviceScale::rect(const rt::Rect& twips) const
{
    const int x0 = edge(twips.left), y0 = edge(twips.top);
    const int x1 = edge(twips.left + twips.width), y1 = edge(twips.top + twips.height);
    return x1 > x0 && y1 > y0 ? QRect(x0, y0, x1 - x0, y1 - y0) : QRect();
}

void rasterizeFills(std::span<const paint::Fill> fills, const QRect& area, uchar* bits, qsizetype bytesPerLine,
                    QPoint origin)
{
    const qsizetype stride = bytesPerLine / qsizetype(sizeof(quint32));
    quint32* const picture = reinterpret_cast<quint32*>(bits) + origin.y() * stride + origin.x();
    paint::writeFills(fills, boxOf(area), picture, stride, scratch().rows);
}

void paintForm(QPainter& painter, const rt::Form& form, const DeviceScale& scale, const QColor& background,
               const QRect& clip)
{
    Scratch& kept = scratch();
    kept.fills.clear();
    paint::walkFills(form, scale, opaque(background), boxOf(clip), [&](const Box& b, paint::Rgb colour) {
        kept.fills.push_back({b.left, b.top, b.right, b.bottom, colour | 0xFF000000u});
    });
    if (!paintDirectly(painter, kept.fills, clip))
        paintThroughPainter(painter, kept.fills);
}

QImage renderForm(const rt::Form& form, double devicePixelRatio, double twipsPerPixel, const QPalette& palette)
{
    const DeviceScale scale{twipsPerPixel, devicePixelRatio};
    const int w = std::max(1, scale.edge(form.ScaleWidth())), h = std::max(1, scale.edge(form.ScaleHeight()));
    QImage image(w, h, QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    {
        QPainter painter(&image);
        paint::walkFills(form, scale, opaque(controlBackground(palette)), boxOf(image.rect()),
                         [&](const Box& b, QRgb colour) { painter.fillRect(rectOf(b), QColor::fromRgb(colour)); });
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

}  // namespace qthost
