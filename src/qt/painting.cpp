#include "qt/painting.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "runtime/control.h"

namespace qthost {
namespace {

using paint::Box;
using paint::kEdgeLimit;

// Enough for any window's fills; a picture with more is drawn through the painter instead.
constexpr std::size_t kMaxFills = 1024;

QRgb opaque(const QColor& colour) { return colour.rgb() | 0xFF000000u; }

Box boxOf(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }
QRect rectOf(const Box& b) { return QRect(b.left, b.top, b.right - b.left, b.bottom - b.top); }

void paintThroughPainter(QPainter& painter, const Fill* fills, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        painter.fillRect(fills[i].rect(), QColor::fromRgb(fills[i].colour));
}

// The pixel loops below are plain C++ that the compiler vectorises; on x86-64 they are compiled twice, for
// AVX2 and for the baseline, and the loader picks the one the processor runs.
#if defined(__x86_64__) && defined(__ELF__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define SPLITTER_PIXEL_LOOPS __attribute__((target_clones("avx2", "default")))
#endif
#endif
#ifndef SPLITTER_PIXEL_LOOPS
#define SPLITTER_PIXEL_LOOPS
#endif

// Narrower fills are written column by column: a frame line is a few pixels wide and hundreds tall, so a
// row at a time would cost a loop per pixel.
constexpr int kNarrowFill = 8;

// N pixels from p: a fixed count, which the compiler unrolls into a few wide stores (left to itself, the
// baseline build keeps a loop of one store per four pixels).
template <int N>
inline void fillBlock(quint32* p, quint32 colour)
{
#pragma GCC unroll 128
    for (int i = 0; i < N; ++i)
        p[i] = colour;
}

// The same block of N pixels in each of `height` rows, `stride` pixels apart.
template <int N>
inline void fillBlockDown(quint32* p, int height, qsizetype stride, quint32 colour)
{
    for (; height > 0; --height, p += stride)
        fillBlock<N>(p, colour);
}

// A fill at least kNarrowFill wide: blocks of 128 pixels, then the rest as blocks that end exactly at its
// right edge, overlapping pixels already written rather than stepping down to single pixels. Each block
// is written down all the rows before the next, so that no row needs a decision of its own.
inline void fillWide(quint32* p, int width, int height, qsizetype stride, quint32 colour)
{
    quint32* const end = p + width;
    if (width >= 32) {
        for (; end - p >= 128; p += 128)
            fillBlockDown<128>(p, height, stride, colour);
        if (end - p > 64) {
            fillBlockDown<64>(p, height, stride, colour);
            p += 64;
        }
        if (end - p > 32)
            fillBlockDown<32>(p, height, stride, colour);
        if (end - p > 0)
            fillBlockDown<32>(end - 32, height, stride, colour);
    } else if (width >= 16) {
        fillBlockDown<16>(p, height, stride, colour);
        fillBlockDown<16>(end - 16, height, stride, colour);
    } else {
        fillBlockDown<8>(p, height, stride, colour);
        fillBlockDown<8>(end - 8, height, stride, colour);
    }
}

// One column `height` pixels tall, `stride` pixels from one row to the next: sixteen rows a step, as two
// runs of eight from two pointers, so that the same eight row offsets serve both.
inline void fillColumn(quint32* p, int height, qsizetype stride, quint32 colour)
{
    const auto eight = [stride, colour](quint32* q) {
        q[0] = colour;
        q[stride] = colour;
        q[2 * stride] = colour;
        q[3 * stride] = colour;
        q[4 * stride] = colour;
        q[5 * stride] = colour;
        q[6 * stride] = colour;
        q[7 * stride] = colour;
    };
    for (; height >= 16; height -= 16, p += 16 * stride) {
        eight(p);
        eight(p + 8 * stride);
    }
    if (height >= 8) {
        eight(p);
        height -= 8;
        p += 8 * stride;
    }
    for (; height > 0; --height, p += stride)
        *p = colour;
}

// Writes the fills straight into the image the painter draws on, if it is a 32-bit image that the painter
// reaches by a whole-pixel translation and nothing else; false (nothing drawn) otherwise. Only pixels that
// the painter itself could draw on are written: the image, within the painter's system clip.
bool paintDirectly(QPainter& painter, const Fill* fills, std::size_t count, const QRect& clip)
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
    const qsizetype stride = image.bytesPerLine();
    const QRegion allowed = engine->systemClip();
    if (allowed.isEmpty()) {
        rasterizeFills(fills, count, inImage, bits, stride, origin);
        return true;
    }
    for (const QRect& r : allowed)
        rasterizeFills(fills, count, r.translated(-origin).intersected(inImage), bits, stride, origin);
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

std::size_t formFills(const rt::Form& form, const DeviceScale& scale, QRgb background, const QRect& clip, Fill* out,
                      std::size_t capacity)
{
    std::size_t count = 0;
    paint::walkFills(form, scale, background, boxOf(clip), [&](const Box& b, QRgb colour) {
        if (count < capacity)
            out[count] = {{b.left, b.top, b.right, b.bottom, colour | 0xFF000000u}};
        ++count;
    });
    return count;
}

SPLITTER_PIXEL_LOOPS
void rasterizeFills(const Fill* fills, std::size_t count, const QRect& area, uchar* bits, qsizetype bytesPerLine,
                    QPoint origin)
{
    if (area.isEmpty())
        return;
    const int left = area.left(), top = area.top(), right = area.right() + 1, bottom = area.bottom() + 1;
    const qsizetype stride = bytesPerLine / qsizetype(sizeof(quint32));
    quint32* const picture = reinterpret_cast<quint32*>(bits) + origin.y() * stride + origin.x();
    for (std::size_t i = 0; i < count; ++i) {
        const Fill f = fills[i];  // a copy, which the pixel stores cannot alias
        const int x0 = std::max(f.left, left), x1 = std::min(f.right, right);
        const int y0 = std::max(f.top, top), y1 = std::min(f.bottom, bottom);
        if (x1 <= x0 || y1 <= y0)
            continue;
        quint32* const corner = picture + y0 * stride + x0;
        const int width = x1 - x0, height = y1 - y0;
        if (width < kNarrowFill) {
            for (int x = 0; x < width; ++x)
                fillColumn(corner + x, height, stride, f.colour);
        } else {
            fillWide(corner, width, height, stride, f.colour);
        }
    }
}

void paintForm(QPainter& painter, const rt::Form& form, const DeviceScale& scale, const QColor& background,
               const QRect& clip)
{
    std::array<Fill, kMaxFills> fills;
    const std::size_t count = formFills(form, scale, opaque(background), clip, fills.data(), fills.size());
    if (count > fills.size()) {
        paint::walkFills(form, scale, opaque(background), boxOf(clip),
                  [&](const Box& b, QRgb colour) { painter.fillRect(rectOf(b), QColor::fromRgb(colour)); });
        return;
    }
    if (!paintDirectly(painter, fills.data(), count, clip))
        paintThroughPainter(painter, fills.data(), count);
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
