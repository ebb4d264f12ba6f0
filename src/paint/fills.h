// The walk that turns a form's controls into device-pixel fills: every edge converted from twips on its
// own, by rounding, so that neighbouring controls stay flush at any scale; the window background, then
// the PictureBoxes bottom first, each with its sunken frame. Both hosts draw from these fills alone, so
// they show the same pixels. No GUI toolkit here.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "runtime/control.h"
#include "runtime/form.h"
#include "runtime/geometry.h"

namespace paint {

// An opaque colour as 0xFFRRGGBB: the layout of a 32-bit pixel, blue in the lowest byte.
using Rgb = std::uint32_t;

constexpr Rgb rgb(int red, int green, int blue)
{
    return 0xFF000000u | (Rgb(red & 0xFF) << 16) | (Rgb(green & 0xFF) << 8) | Rgb(blue & 0xFF);
}

// The colours of a sunken frame, outer ring then inner ring.
struct FrameColours {
    Rgb outerTopLeft = rgb(128, 128, 128);
    Rgb innerTopLeft = rgb(64, 64, 64);
    Rgb outerBottomRight = rgb(255, 255, 255);
    Rgb innerBottomRight = rgb(212, 208, 200);
};
inline constexpr FrameColours kSunkenFrame{};

// Far beyond any screen, and far from overflowing when edges are added or subtracted.
inline constexpr double kEdgeLimit = 1 << 24;

// Twips become pixels at the screen's logical DPI: 15 twips per pixel at 96 DPI.
inline double twipsPerPixelFor(double logicalDpi) { return logicalDpi > 0 ? 1440.0 / logicalDpi : 15.0; }

struct DeviceScale {
    double twipsPerPixel = 15;
    double devicePixelRatio = 1;

    // The device-pixel column or row of an edge at `twips`, clamped well inside the int range.
    int edge(double twips) const
    {
        const double px = twips / twipsPerPixel * devicePixelRatio;
        if (px != px)
            return 0;  // NaN
        if (px >= kEdgeLimit || px <= -kEdgeLimit)
            return static_cast<int>(px > 0 ? kEdgeLimit : -kEdgeLimit);
        // Halves away from zero, as std::round does, without its library call: `whole` is px without its
        // fraction, and px - whole is exact at these magnitudes.
        const int whole = static_cast<int>(px);
        const double fraction = px - whole;
        return whole + (fraction >= 0.5) - (fraction <= -0.5);
    }
};

// Device pixels [left, right) x [top, bottom); empty unless both sides are positive.
struct Box {
    int left, top, right, bottom;

    bool empty() const { return right <= left || bottom <= top; }
    Box operator&(const Box& o) const
    {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    }
    bool operator==(const Box&) const = default;
};

// One solid rectangle of a form's picture: device pixels [left, right) x [top, bottom).
struct Fill {
    int left, top, right, bottom;
    Rgb colour;  // opaque
};

namespace detail {

// Hands each fill of a form's picture to `sink(Box, Rgb)`, in painting order, clipped to `clip`.
template <class Sink>
class FillWalker {
public:
    FillWalker(const DeviceScale& scale, Rgb background, Sink& sink) : s_(scale), background_(background), sink_(sink)
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
    void span(int x0, int y0, int x1, int y1, const Box& clip, Rgb colour)
    {
        const Box b = Box{x0, y0, x1, y1} & clip;
        if (!b.empty())
            sink_(b, colour);
    }

    // `area` except the parts under `holes`: each hole splits what is left into the bands above and below
    // it and the pieces left and right of it, so that each pixel gets about one fill.
    void fillExcept(const Box& area, const Box* holes, std::size_t count, Rgb colour)
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
        const FrameColours& f = kSunkenFrame;
        span(r.x0, r.y0, r.x1, r.y4, clip, f.outerTopLeft);
        span(r.x1, r.y1, r.x2, r.y3, clip, f.innerTopLeft);
        span(r.x0, r.y0, r.x4, r.y1, clip, f.outerTopLeft);
        span(r.x1, r.y1, r.x3, r.y2, clip, f.innerTopLeft);
        inside();
        span(r.x1, r.y3, r.x4, r.y4, clip, f.innerBottomRight);
        span(r.x0, r.y4, r.x5, r.y5, clip, f.outerBottomRight);
        span(r.x3, r.y1, r.x4, r.y4, clip, f.innerBottomRight);
        span(r.x4, r.y0, r.x5, r.y5, clip, f.outerBottomRight);
    }

    // The same lines where they cross each other (a box narrower than its frame), over what lies beneath:
    // the outer ring, then the inner ring, each dark lines first.
    void crossedFrame(const Ring& r, const Box& clip)
    {
        const FrameColours& f = kSunkenFrame;
        span(r.x0, r.y0, r.x4, r.y1, clip, f.outerTopLeft);
        span(r.x0, r.y0, r.x1, r.y4, clip, f.outerTopLeft);
        span(r.x0, r.y4, r.x5, r.y5, clip, f.outerBottomRight);
        span(r.x4, r.y0, r.x5, r.y5, clip, f.outerBottomRight);
        span(r.x1, r.y1, r.x3, r.y2, clip, f.innerTopLeft);
        span(r.x1, r.y1, r.x2, r.y3, clip, f.innerTopLeft);
        span(r.x1, r.y3, r.x4, r.y4, clip, f.innerBottomRight);
        span(r.x3, r.y1, r.x4, r.y4, clip, f.innerBottomRight);
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
            const Rgb colour = back ? rgb(back->red(), back->green(), back->blue()) : background_;
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

    const DeviceScale& s_;
    Rgb background_;
    Sink& sink_;
};

}  // namespace detail

// Hands each fill that draws a form's client area within `clip` (device pixels) to `sink(Box, Rgb)`, in
// painting order: a later fill covers an earlier one where they overlap. `background` fills the window and
// every PictureBox without a colour of its own.
template <class Sink>
void walkFills(const rt::Form& form, const DeviceScale& scale, Rgb background, const Box& clip, Sink sink)
{
    detail::FillWalker<Sink> walker(scale, background | 0xFF000000u, sink);
    walker.form(form, clip);
}

// The same fills written to `out`, at most `capacity` of them; returns how many there are in all.
std::size_t formFills(const rt::Form& form, const DeviceScale& scale, Rgb background, const Box& clip, Fill* out,
                      std::size_t capacity);

}  // namespace paint
