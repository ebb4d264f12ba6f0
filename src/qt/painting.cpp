#include "qt/painting.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "runtime/control.h"

namespace qthost {
namespace {

// Far beyond any screen, and far from overflowing when edges are added or subtracted.
constexpr double kEdgeLimit = 1 << 24;

// Enough for any window's fills; a picture with more is drawn through the painter instead.
constexpr std::size_t kMaxFills = 1024;

QRgb opaque(const QColor& colour) { return colour.rgb() | 0xFF000000u; }

// Device pixels [left, right) x [top, bottom), empty unless both sides are positive. The walker works in
// these rather than QRect, whose intersection is a library call.
struct Box {
    int left, top, right, bottom;

    bool empty() const { return right <= left || bottom <= top; }
    Box operator&(const Box& o) const
    {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    }
};

Box boxOf(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }
QRect rectOf(const Box& b) { return QRect(b.left, b.top, b.right - b.left, b.bottom - b.top); }

// Hands each fill of a form's picture to `sink(Box, QRgb)`, in painting order, clipped to `clip`.
template <class Sink>
class FillWalker {
public:
    FillWalker(const DeviceScale& scale, QRgb background, Sink& sink) : s_(scale), background_(background), sink_(sink)
    {
    }

    void form(const rt::Form& form, const Box& clip)
    {
        const Box area = clip & box({0, 0, form.ScaleWidth(), form.ScaleHeight()});
        Covered covered;
        if (form.loaded())
            addCovered(form.children(), 0, 0, area, covered);
        fillExcept(clip, covered.boxes, covered.count, background_);
        if (form.loaded())
            children(form.children(), 0, 0, area);
    }

private:
    // Where the visible PictureBoxes among some siblings will paint inside a clip: areas a fill beneath
    // them can leave out, as they are painted over anyway. Up to 16; beyond that the rest is painted twice.
    struct Covered {
        Box boxes[16];
        std::size_t count = 0;
    };

    void addCovered(const std::vector<rt::Control*>& siblings, double ox, double oy, const Box& clip,
                    Covered& covered) const
    {
        for (const rt::Control* c : siblings) {
            if (covered.count == std::size(covered.boxes))
                break;
            if (!c->isPictureBox() || !c->Visible())
                continue;
            const Box b = box({ox + c->Left(), oy + c->Top(), c->Width(), c->Height()}) & clip;
            if (!b.empty())
                covered.boxes[covered.count++] = b;
        }
    }

    Box box(const rt::Rect& twips) const
    {
        return {s_.edge(twips.left), s_.edge(twips.top), s_.edge(twips.left + twips.width),
                s_.edge(twips.top + twips.height)};
    }

    // The span [x0, x1) x [y0, y1) within `clip`.
    void span(int x0, int y0, int x1, int y1, const Box& clip, QRgb colour)
    {
        const Box b = Box{x0, y0, x1, y1} & clip;
        if (!b.empty())
            sink_(b, colour);
    }

    // `area` except the parts under `holes`: each hole splits what is left into the bands above and below
    // it and the pieces left and right of it, so that each pixel gets about one fill.
    void fillExcept(const Box& area, const Box* holes, std::size_t count, QRgb colour)
    {
        if (area.empty())
            return;
        for (; count > 0; ++holes, --count) {
            const Box h = *holes & area;
            if (h.empty())
                continue;
            const Box pieces[] = {
                {area.left, area.top, area.right, h.top},
                {area.left, h.bottom, area.right, area.bottom},
                {area.left, h.top, h.left, h.bottom},
                {h.right, h.top, area.right, h.bottom},
            };
            for (const Box& piece : pieces)
                fillExcept(piece, holes + 1, count - 1, colour);
            return;
        }
        sink_(area, colour);
    }

    // The edges of a sunken frame: x0..x5 and y0..y5 from the outside in to the far outside, the outer ring
    // between 0, 1 and 4, 5, the inner ring between 1, 2 and 3, 4, the inside between 2 and 3.
    struct Ring {
        int x0, x1, x2, x3, x4, x5, y0, y1, y2, y3, y4, y5;

        // Each ring lies inside the one around it, so the eight lines and the inside share no pixel.
        bool nested() const
        {
            return x0 <= x1 && x1 <= x2 && x2 <= x3 && x3 <= x4 && x4 <= x5 && y0 <= y1 && y1 <= y2 &&
                   y2 <= y3 && y3 <= y4 && y4 <= y5;
        }
    };

    Ring ring(double left, double top, double width, double height, double thickness) const
    {
        const double half = thickness / 2;
        return {s_.edge(left),
                s_.edge(left + half),
                s_.edge(left + thickness),
                s_.edge(left + width - thickness),
                s_.edge(left + width - half),
                s_.edge(left + width),
                s_.edge(top),
                s_.edge(top + half),
                s_.edge(top + thickness),
                s_.edge(top + height - thickness),
                s_.edge(top + height - half),
                s_.edge(top + height)};
    }

    // The outer ring's top and left lines stop short of the far corners, which belong to the light lines;
    // the inner ring the same way one line further in. Where the rings nest, the lines and the inside share
    // no pixel: they are written left lines, top lines, `inside()`, bottom lines, right lines, each pixel
    // once and each frame line next to the pixels it shares memory with.
    template <class Inside>
    void nestedFrame(const Ring& r, const Box& clip, Inside inside)
    {
        span(r.x0, r.y0, r.x1, r.y4, clip, frame_.outerTopLeft);
        span(r.x1, r.y1, r.x2, r.y3, clip, frame_.innerTopLeft);
        span(r.x0, r.y0, r.x4, r.y1, clip, frame_.outerTopLeft);
        span(r.x1, r.y1, r.x3, r.y2, clip, frame_.innerTopLeft);
        inside();
        span(r.x1, r.y3, r.x4, r.y4, clip, frame_.innerBottomRight);
        span(r.x0, r.y4, r.x5, r.y5, clip, frame_.outerBottomRight);
        span(r.x3, r.y1, r.x4, r.y4, clip, frame_.innerBottomRight);
        span(r.x4, r.y0, r.x5, r.y5, clip, frame_.outerBottomRight);
    }

    // The same lines where they cross each other (a box narrower than its frame), over what lies beneath:
    // the outer ring, then the inner ring, each dark lines first.
    void crossedFrame(const Ring& r, const Box& clip)
    {
        span(r.x0, r.y0, r.x4, r.y1, clip, frame_.outerTopLeft);
        span(r.x0, r.y0, r.x1, r.y4, clip, frame_.outerTopLeft);
        span(r.x0, r.y4, r.x5, r.y5, clip, frame_.outerBottomRight);
        span(r.x4, r.y0, r.x5, r.y5, clip, frame_.outerBottomRight);
        span(r.x1, r.y1, r.x3, r.y2, clip, frame_.innerTopLeft);
        span(r.x1, r.y1, r.x2, r.y3, clip, frame_.innerTopLeft);
        span(r.x1, r.y3, r.x4, r.y4, clip, frame_.innerBottomRight);
        span(r.x3, r.y1, r.x4, r.y4, clip, frame_.innerBottomRight);
    }

    // The PictureBoxes among `siblings`, bottom first, each clipped to `clip`. `ox`, `oy`: where the
    // siblings' coordinate origin lies on the client area, in twips.
    void children(const std::vector<rt::Control*>& siblings, double ox, double oy, const Box& clip)
    {
        for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
            const rt::Control& c = **it;
            if (!c.isPictureBox() || !c.Visible())
                continue;  // Images draw nothing
            const double left = ox + c.Left(), top = oy + c.Top();
            const Box outer = box({left, top, c.Width(), c.Height()}) & clip;
            if (outer.empty())
                continue;
            const auto& back = c.backColor();
            const QRgb colour = back ? qRgb(back->red(), back->green(), back->blue()) : background_;
            const double b = c.borderThickness();
            const Box inner = box({left + b, top + b, c.innerWidth(), c.innerHeight()}) & outer;
            const bool nested = !inner.empty() && !c.children().empty();
            Covered covered;
            if (nested)
                addCovered(c.children(), left + b, top + b, inner, covered);
            if (c.borderStyle() != rt::BorderStyle::Sunken) {
                fillExcept(outer, covered.boxes, covered.count, colour);
            } else if (const Ring r = ring(left, top, c.Width(), c.Height(), b); r.nested()) {
                nestedFrame(r, outer, [&] {
                    fillExcept(Box{r.x2, r.y2, r.x3, r.y3} & outer, covered.boxes, covered.count, colour);
                });
            } else {
                fillExcept(outer, covered.boxes, covered.count, colour);
                crossedFrame(r, outer);
            }
            if (nested)
                children(c.children(), left + b, top + b, inner);
        }
    }

    struct FrameColours {
        QRgb outerTopLeft = opaque(kSunkenFrame.outerTopLeft), innerTopLeft = opaque(kSunkenFrame.innerTopLeft);
        QRgb outerBottomRight = opaque(kSunkenFrame.outerBottomRight);
        QRgb innerBottomRight = opaque(kSunkenFrame.innerBottomRight);
    };

    const DeviceScale& s_;
    QRgb background_;
    Sink& sink_;
    const FrameColours frame_;
};

template <class Sink>
void walkFills(const rt::Form& form, const DeviceScale& scale, QRgb background, const QRect& clip, Sink sink)
{
    FillWalker<Sink> walker(scale, background, sink);
    walker.form(form, boxOf(clip));
}

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

double twipsPerPixelFor(double logicalDpi) { return logicalDpi > 0 ? 1440.0 / logicalDpi : 15.0; }

int DeviceScale::edge(double twips) const
{
    const double px = twips / twipsPerPixel * devicePixelRatio;
    if (std::isnan(px))
        return 0;
    if (px >= kEdgeLimit || px <= -kEdgeLimit)
        return static_cast<int>(px > 0 ? kEdgeLimit : -kEdgeLimit);
    // Halves away from zero, as std::round does, without its library call: `whole` is px without its
    // fraction, and px - whole is exact at these magnitudes.
    const int whole = static_cast<int>(px);
    const double fraction = px - whole;
    return whole + (fraction >= 0.5) - (fraction <= -0.5);
}

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
    walkFills(form, scale, background | 0xFF000000u, clip, [&](const Box& b, QRgb colour) {
        if (count < capacity)
            out[count] = {b.left, b.top, b.right, b.bottom, colour | 0xFF000000u};
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
        walkFills(form, scale, opaque(background), clip,
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
        walkFills(form, scale, opaque(controlBackground(palette)), image.rect(),
                  [&](const Box& b, QRgb colour) { painter.fillRect(rectOf(b), QColor::fromRgb(colour)); });
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

}  // namespace qthost
