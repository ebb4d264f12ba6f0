#include "qt/painting.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "runtime/control.h"

namespace qthost {
namespace {

// Far beyond any screen, and far from overflowing when edges are added or subtracted.
constexpr double kEdgeLimit = 1 << 24;

void fill(QPainter& painter, const QRect& area, const QRect& clip, const QColor& colour)
{
    const QRect r = area.intersected(clip);
    if (!r.isEmpty())
        painter.fillRect(r, colour);
}

// Fills the half-open device-pixel span [x0, x1) x [y0, y1).
void fillSpan(QPainter& painter, int x0, int y0, int x1, int y1, const QRect& clip, const QColor& colour)
{
    if (x1 > x0 && y1 > y0)
        fill(painter, QRect(x0, y0, x1 - x0, y1 - y0), clip, colour);
}

void paintSunkenFrame(QPainter& painter, const DeviceScale& s, double left, double top, double width,
                      double height, double thickness, const QRect& clip)
{
    const double half = thickness / 2;
    const int x0 = s.edge(left), x1 = s.edge(left + half), x2 = s.edge(left + thickness);
    const int x5 = s.edge(left + width), x4 = s.edge(left + width - half), x3 = s.edge(left + width - thickness);
    const int y0 = s.edge(top), y1 = s.edge(top + half), y2 = s.edge(top + thickness);
    const int y5 = s.edge(top + height), y4 = s.edge(top + height - half), y3 = s.edge(top + height - thickness);
    const SunkenFrameColors& c = kSunkenFrame;
    // Outer ring: the top and left lines stop short of the far corners, which belong to the light lines.
    fillSpan(painter, x0, y0, x4, y1, clip, c.outerTopLeft);
    fillSpan(painter, x0, y0, x1, y4, clip, c.outerTopLeft);
    fillSpan(painter, x0, y4, x5, y5, clip, c.outerBottomRight);
    fillSpan(painter, x4, y0, x5, y5, clip, c.outerBottomRight);
    // Inner ring, the same way one line further in.
    fillSpan(painter, x1, y1, x3, y2, clip, c.innerTopLeft);
    fillSpan(painter, x1, y1, x2, y3, clip, c.innerTopLeft);
    fillSpan(painter, x1, y3, x4, y4, clip, c.innerBottomRight);
    fillSpan(painter, x3, y1, x4, y4, clip, c.innerBottomRight);
}

// Where the visible PictureBoxes among `siblings` will paint inside `clip`: areas a fill beneath them can
// leave out, as they are painted over anyway. Up to 16; beyond that the rest is simply painted twice.
struct Covered {
    std::array<QRect, 16> rects;
    std::size_t count = 0;
};

Covered coveredBy(const std::vector<rt::Control*>& siblings, double ox, double oy, const DeviceScale& s,
                  const QRect& clip)
{
    Covered covered;
    for (const rt::Control* c : siblings) {
        if (covered.count == covered.rects.size())
            break;
        if (!c->isPictureBox() || !c->Visible())
            continue;
        const double left = ox + c->Left(), top = oy + c->Top();
        const QRect r = s.rect({left, top, c->Width(), c->Height()}).intersected(clip);
        if (!r.isEmpty())
            covered.rects[covered.count++] = r;
    }
    return covered;
}

// Fills `area` except the parts under `holes`: each hole splits what is left into the bands above and
// below it and the pieces left and right of it. A full-window repaint then fills each pixel about once
// instead of once per nesting level.
void fillExcept(QPainter& painter, const QRect& area, const QRect* holes, std::size_t count, const QColor& colour)
{
    if (area.isEmpty())
        return;
    for (; count > 0; ++holes, --count) {
        const QRect h = holes->intersected(area);
        if (h.isEmpty())
            continue;
        const QRect pieces[] = {
            QRect(area.left(), area.top(), area.width(), h.top() - area.top()),
            QRect(area.left(), h.bottom() + 1, area.width(), area.bottom() - h.bottom()),
            QRect(area.left(), h.top(), h.left() - area.left(), h.height()),
            QRect(h.right() + 1, h.top(), area.right() - h.right(), h.height()),
        };
        for (const QRect& piece : pieces)
            fillExcept(painter, piece, holes + 1, count - 1, colour);
        return;
    }
    painter.fillRect(area, colour);
}

// Paints the PictureBoxes among `siblings`, bottom first, each clipped to `clip`. `ox`, `oy`: where the
// siblings' coordinate origin lies on the client area, in twips.
void paintChildren(QPainter& painter, const std::vector<rt::Control*>& siblings, double ox, double oy,
                   const DeviceScale& s, const QColor& background, const QRect& clip)
{
    for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
        const rt::Control& c = **it;
        if (!c.isPictureBox() || !c.Visible())
            continue;  // Images draw nothing
        const double left = ox + c.Left(), top = oy + c.Top();
        const QRect outer = s.rect({left, top, c.Width(), c.Height()}).intersected(clip);
        if (outer.isEmpty())
            continue;
        const QColor colour = c.backColor() ? QColor(c.backColor()->red(), c.backColor()->green(), c.backColor()->blue())
                                            : background;
        const double b = c.borderThickness();
        const QRect inner = s.rect({left + b, top + b, c.innerWidth(), c.innerHeight()}).intersected(outer);
        const bool children = !inner.isEmpty() && !c.children().empty();
        const Covered covered = children ? coveredBy(c.children(), left + b, top + b, s, inner) : Covered{};
        fillExcept(painter, outer, covered.rects.data(), covered.count, colour);
        if (c.borderStyle() == rt::BorderStyle::Sunken)
            paintSunkenFrame(painter, s, left, top, c.Width(), c.Height(), b, outer);
        if (children)
            paintChildren(painter, c.children(), left + b, top + b, s, background, inner);
    }
}

}  // namespace

QColor controlBackground(const QPalette& palette) { return palette.color(QPalette::Active, QPalette::Button); }

double twipsPerPixelFor(double logicalDpi) { return logicalDpi > 0 ? 1440.0 / logicalDpi : 15.0; }

int DeviceScale::edge(double twips) const
{
    const double px = std::round(twips / twipsPerPixel * devicePixelRatio);
    if (std::isnan(px))
        return 0;
    return static_cast<int>(std::clamp(px, -kEdgeLimit, kEdgeLimit));
}

QRect DeviceScale::rect(const rt::Rect& twips) const
{
    const int x0 = edge(twips.left), y0 = edge(twips.top);
    const int x1 = edge(twips.left + twips.width), y1 = edge(twips.top + twips.height);
    return x1 > x0 && y1 > y0 ? QRect(x0, y0, x1 - x0, y1 - y0) : QRect();
}

void paintForm(QPainter& painter, const rt::Form& form, const DeviceScale& scale, const QColor& background,
               const QRect& clip)
{
    const QRect client = scale.rect({0, 0, form.ScaleWidth(), form.ScaleHeight()});
    const QRect area = clip.intersected(client);
    const Covered covered = form.loaded() ? coveredBy(form.children(), 0, 0, scale, area) : Covered{};
    fillExcept(painter, clip, covered.rects.data(), covered.count, background);
    if (form.loaded())
        paintChildren(painter, form.children(), 0, 0, scale, background, area);
}

QImage renderForm(const rt::Form& form, double devicePixelRatio, double twipsPerPixel, const QPalette& palette)
{
    const DeviceScale scale{twipsPerPixel, devicePixelRatio};
    const int w = std::max(1, scale.edge(form.ScaleWidth())), h = std::max(1, scale.edge(form.ScaleHeight()));
    QImage image(w, h, QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    {
        QPainter painter(&image);
        paintForm(painter, form, scale, controlBackground(palette), image.rect());
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

}  // namespace qthost
