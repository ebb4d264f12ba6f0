// The pixels of every window at this process's scale factor, as the window shows them: at first, while
// each bar is dragged by real mouse events, and after each release. The expected picture is worked out
// from the runtime's bounds, each edge rounded to device pixels on its own: a pane's inside is exactly its
// colour, its sunken border lies in its outer 2 (logical) pixels, gaps show the window's background.
#include <QApplication>
#include <QBackingStore>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <random>
#include <sstream>

#include "qt/painting.h"
#include "qt_test_support.h"
#include "runtime/control.h"
#include "forms/pane_window.h"

namespace {

using qttest::HostTest;
using qttest::rgbAt;

QRgb rgb(const QColor& c) { return c.rgb() & 0xFFFFFFu; }

// What a pixel may be: one exact colour, or a line of a sunken frame's outer or inner ring.
enum Kind : uchar { Exact, OuterRing, InnerRing };

struct Expected {
    QImage colour;  // for Exact pixels
    QImage kind;    // Kind per pixel
    QImage owner;   // index into names + 1 of the control that shows there, 0 for the window
    std::vector<std::string> names;
};

class Model {
public:
    Model(const rt::Form& form, double dpr, QRgb background, QSize size)
        : scale_{15, dpr}, background_(background)
    {
        e_.colour = QImage(size, QImage::Format_RGB32);
        e_.colour.fill(background);
        e_.kind = QImage(size, QImage::Format_Grayscale8);
        e_.kind.fill(Exact);
        e_.owner = QImage(size, QImage::Format_Grayscale8);
        e_.owner.fill(0);
        const QRect client = scale_.rect({0, 0, form.ScaleWidth(), form.ScaleHeight()}).intersected(e_.colour.rect());
        add(form.children(), 0, 0, client);
    }
    Expected take() { return std::move(e_); }

private:
    void fill(QImage& image, const QRect& r, uint value)
    {
        if (r.isEmpty())
            return;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                if (image.format() == QImage::Format_Grayscale8)
                    image.scanLine(y)[x] = static_cast<uchar>(value);
                else
                    reinterpret_cast<QRgb*>(image.scanLine(y))[x] = value;
            }
    }

    // Siblings are stored topmost first: lay them down from the last.
    void add(const std::vector<rt::Control*>& siblings, double ox, double oy, const QRect& clip)
    {
        for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
            const rt::Control& c = **it;
            if (!c.isPictureBox() || !c.Visible())
                continue;
            const double left = ox + c.Left(), top = oy + c.Top(), b = c.borderThickness();
            const QRect outer = scale_.rect({left, top, c.Width(), c.Height()}).intersected(clip);
            if (outer.isEmpty())
                continue;
            e_.names.push_back(c.name());
            const auto& bc = c.backColor();
            fill(e_.colour, outer, bc ? qRgb(bc->red(), bc->green(), bc->blue()) & 0xFFFFFFu : background_);
            fill(e_.owner, outer, static_cast<uint>(e_.names.size()));
            fill(e_.kind, outer, Exact);
            QRect inside = outer;
            if (b > 0) {
                // Outer ring down to half the border, inner ring to the full border, then the inside.
                const QRect half = edges(left + b / 2, top + b / 2, left + c.Width() - b / 2, top + c.Height() - b / 2);
                inside = edges(left + b, top + b, left + c.Width() - b, top + c.Height() - b).intersected(outer);
                fill(e_.kind, outer, OuterRing);
                fill(e_.kind, half.intersected(outer), InnerRing);
                fill(e_.kind, inside, Exact);
            }
            add(c.children(), left + b, top + b, inside);
        }
    }

    QRect edges(double x0, double y0, double x1, double y1) const
    {
        const int l = scale_.edge(x0), t = scale_.edge(y0), r = scale_.edge(x1), b = scale_.edge(y1);
        return r > l && b > t ? QRect(l, t, r - l, b - t) : QRect();
    }

    qthost::DeviceScale scale_;
    QRgb background_;
    Expected e_;
};

class PixelTest : public HostTest {
protected:
    void SetUp() override
    {
        program.SanbunMenu_Click();
        program.YonbunMenu_Click();
        program.RokuBunMenu_Click();
        QCoreApplication::processEvents();
        forms_ = {&main(), program.instance<forms::Splitter3>(), program.instance<forms::Splitter4>(), program.instance<forms::Splitter5>()};
        for (rt::Form* form : forms_)
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&windowOf(*form)));
    }

    double dpr(const rt::Form& form) { return surfaceOf(form).devicePixelRatioF(); }
    QRgb background(const rt::Form& form) { return rgb(qthost::controlBackground(surfaceOf(form).palette())); }

    QImage shown(const rt::Form& form)
    {
        QImage image = qttest::shownClientArea(windowOf(form));
        if (image.isNull())
            ADD_FAILURE() << "the window has no backing store image";
        return image;
    }

    // Every pixel against the model; on a mismatch, says where and which control should show there.
    void expectMatchesModel(const rt::Form& form, const QImage& image, const std::string& when)
    {
        const Expected e = Model(form, dpr(form), background(form), image.size()).take();
        const qthost::SunkenFrameColors& f = qthost::kSunkenFrame;
        int wrong = 0;
        std::ostringstream first;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* got = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            const QRgb* want = reinterpret_cast<const QRgb*>(e.colour.constScanLine(y));
            const uchar* kind = e.kind.constScanLine(y);
            for (int x = 0; x < image.width(); ++x) {
                const QRgb g = got[x] & 0xFFFFFFu;
                bool ok = false;
                switch (kind[x]) {
                case Exact: ok = g == (want[x] & 0xFFFFFFu); break;
                case OuterRing: ok = g == rgb(f.outerTopLeft) || g == rgb(f.outerBottomRight); break;
                default: ok = g == rgb(f.innerTopLeft) || g == rgb(f.innerBottomRight); break;
                }
                if (!ok && wrong++ == 0) {
                    const int owner = e.owner.constScanLine(y)[x];
                    first << " first at (" << x << "," << y << ") over "
                          << (owner ? e.names[static_cast<std::size_t>(owner - 1)] : std::string("the window"))
                          << ": got " << std::hex << g << std::dec << ", wanted ";
                    if (kind[x] == Exact)
                        first << std::hex << (want[x] & 0xFFFFFFu) << std::dec;
                    else
                        first << (kind[x] == OuterRing ? "the frame's outer ring" : "the frame's inner ring");
                }
            }
        }
        EXPECT_EQ(wrong, 0) << form.name() << " " << when << ":" << first.str();
    }

    // Below a menu bar at a fractional offset the window can hold half a device row less of the client
    // area than a drawing of it has; no more than that.
    void expectSameSize(const rt::Form& form, const QImage& shown, const QImage& drawn)
    {
        EXPECT_EQ(shown.width(), drawn.width()) << form.name();
        EXPECT_TRUE(shown.height() == drawn.height() || (!form.menu().empty() && shown.height() == drawn.height() - 1))
            << form.name() << ": " << shown.height() << " rows shown, " << drawn.height() << " drawn";
    }

    QImage rendered(const rt::Form& form) { return qttest::freshDrawing(surfaceOf(form)); }

    // Runs pending events until the window has settled: a resize may queue another, for the minimum width.
    static void settle()
    {
        for (int i = 0; i < 4; ++i)
            QCoreApplication::processEvents();
    }

    void expectShowsFreshDrawing(const rt::Form& form, const std::string& when)
    {
        std::string why;
        EXPECT_TRUE(qttest::showsFreshDrawing(windowOf(form), &why)) << form.name() << " " << when << ": " << why;
    }

    std::vector<rt::Form*> forms_;
};

TEST_F(PixelTest, EveryWindowAtFirstShowsItsPanesWhereTheirBoundsSay)
{
    for (rt::Form* form : forms_) {
        const QImage image = shown(*form);
        expectSameSize(*form, image, rendered(*form));
        expectMatchesModel(*form, image, "at first");
    }
}

// Drags every bar of every window in turn, by mouse events on the surface, checking the picture while
// the indicator is out and after the release.
TEST_F(PixelTest, DraggingEachBarShowsTheIndicatorAtThePointerAndLeavesNothingBehind)
{
    for (rt::Form* window : forms_)
    for (const splitter::Bar& bar : static_cast<forms::PaneWindow&>(*window).bars()) {
        rt::Form& form = *window;
        const std::string what = std::string(form.name()) + " Image" + std::to_string(bar.number);
        SCOPED_TRACE(what);
        qthost::Surface& surface = surfaceOf(form);
        const double ratio = dpr(form);
        const bool across = bar.vertical();
        const QPoint press = qttest::pixelOn(form, "Image" + std::to_string(bar.number));
        ASSERT_GE(press.x(), 0);

        // Somewhere off the pixel grid, well inside the drag limits and clear of the window's edges.
        const double step = across ? 23.4 : 31.6;
        const double room = across ? surface.width() - press.x() : surface.height() - press.y();
        const double delta = room > 3 * step ? step : -step;
        const QPointF to = across ? QPointF(press.x() + delta, press.y()) : QPointF(press.x(), press.y() + delta);

        QTest::mousePress(&surface, Qt::LeftButton, {}, press);
        qttest::sendMouse(surface, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        const rt::Control& indicator = *bar.indicator;
        ASSERT_TRUE(indicator.Visible());
        const QImage during = shown(form);
        expectMatchesModel(form, during, "Image" + std::to_string(bar.number) + " during the drag");

        // The indicator's leading edge is drawn where the pointer is, to within a device pixel, on every
        // line across it where it shows and what lies before it has another colour.
        double ox = 0, oy = 0;
        form.originOf(indicator, ox, oy);
        const qthost::DeviceScale scale{15, ratio};
        const int from = std::max(0, scale.edge(across ? oy : ox));
        const int to_ = std::min(scale.edge(across ? oy + indicator.Height() : ox + indicator.Width()),
                                 across ? during.height() : during.width());
        const QRgb colour = qRgb(indicator.backColor()->red(), indicator.backColor()->green(),
                                 indicator.backColor()->blue()) & 0xFFFFFFu;
        const int pointer = static_cast<int>(std::lround((across ? to.x() : to.y()) * ratio));
        const auto at = [&](int along, int line) { return across ? rgbAt(during, along, line) : rgbAt(during, line, along); };
        int lines = 0;
        for (int line = from; line < to_; ++line) {
            int edge = pointer - 2;
            while (edge <= pointer + 2 && at(edge, line) != colour)
                ++edge;
            if (at(pointer - 3, line) == colour || edge > pointer + 2)
                continue;  // a pane of the indicator's own colour lies under it, or it is clipped here
            ++lines;
            if (std::abs(edge - pointer) > 1) {
                ADD_FAILURE() << "on line " << line << " the indicator starts at " << edge << ", the pointer is at "
                              << pointer;
                break;
            }
        }
        EXPECT_GT(lines, 0) << "no indicator within two device pixels of the pointer at " << pointer;

        qttest::sendMouse(surface, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        ASSERT_FALSE(indicator.Visible());
        const QImage after = shown(form);
        expectMatchesModel(form, after, "Image" + std::to_string(bar.number) + " after the release");
        const QImage fresh = rendered(form);
        expectSameSize(form, after, fresh);
        EXPECT_TRUE(after == fresh.copy(0, 0, after.width(), after.height()))
            << "the window differs from a fresh drawing after the release";
    }
    EXPECT_TRUE(errors.empty());
}

// Seeded random sequences of resizes, small and large, and drags of every bar, by real events: after
// every step, and in the middle of every drag, the window holds exactly what a fresh drawing shows.
TEST_F(PixelTest, AfterAnySequenceOfResizesAndDragsTheWindowEqualsAFreshDrawing)
{
    std::mt19937 random(1207);
    const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (rt::Form* window : forms_) {
        rt::Form& form = *window;
        qthost::Surface& surface = surfaceOf(form);
        const auto& bars = static_cast<forms::PaneWindow&>(form).bars();
        const QSize defined = surface.size();
        for (int step = 0; step < 24; ++step) {
            std::ostringstream what;
            const int kind = between(0, 3);
            if (kind <= 1) {
                // A few pixels either way, as a person dragging the window's edge; or anywhere from small to
                // twice the defined size.
                const bool small = kind == 0;
                const int w = small ? surface.width() + between(-9, 9) : between(40, 2 * defined.width());
                const int h = small ? surface.height() + between(-9, 9) : between(30, 2 * defined.height());
                what << "resize to " << w << " x " << h;
                host.resizeClient(form, w * 15.0, h * 15.0);
                settle();
            } else {
                const splitter::Bar& bar = bars[std::size_t(between(0, int(bars.size()) - 1))];
                const QPoint press = qttest::pixelOn(form, "Image" + std::to_string(bar.number));
                if (press.x() < 0)
                    continue;  // collapsed out of reach at this size
                const double delta = between(-400, 400) / 4.0;  // quarter pixels, off the device grid
                const QPointF to = bar.vertical() ? QPointF(press.x() + delta, press.y())
                                                  : QPointF(press.x(), press.y() + delta);
                what << "drag of Image" << bar.number << " by " << delta;
                QTest::mousePress(&surface, Qt::LeftButton, {}, press);
                qttest::sendMouse(surface, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
                expectShowsFreshDrawing(form, "during the " + what.str());
                qttest::sendMouse(surface, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
            }
            expectShowsFreshDrawing(form, "after step " + std::to_string(step) + ", a " + what.str());
        }
    }
    EXPECT_TRUE(errors.empty());
}

// Where the surface keeps its pixels across a resize (here: resized inside a window that keeps its size,
// so that Qt repaints only what the surface marks and what it gained), the areas the layout reports are
// enough: nothing stale is left anywhere.
TEST_F(PixelTest, AResizeThatKeepsTheOldPixelsRepaintsEverythingThatChanged)
{
    std::mt19937 random(5);
    for (rt::Form* window : forms_) {
        rt::Form& form = *window;
        qthost::Surface& surface = surfaceOf(form);
        const QSize full = surface.size();
        ASSERT_TRUE(surface.testAttribute(Qt::WA_StaticContents));
        qttest::PaintRecorder painted(surface);
        int partial = 0;  // steps that repainted less than the whole surface
        for (int step = 0; step < 8; ++step) {
            const QSize size(full.width() - std::uniform_int_distribution<int>(0, 60)(random),
                             full.height() - std::uniform_int_distribution<int>(0, 60)(random));
            painted.take();
            surface.resize(size);
            settle();
            ASSERT_EQ(surface.size(), size) << "the window's layout put the surface back";
            QRegion repainted;
            for (const QRegion& r : painted.take())
                repainted += r;
            partial += repainted != QRegion(surface.rect());
            expectShowsFreshDrawing(form, "resized in place to " + std::to_string(size.width()) + " x " +
                                              std::to_string(size.height()));
        }
        EXPECT_GT(partial, 0) << form.name() << ": every resize repainted everything, so nothing was kept";
    }
}

// Where Qt repaints a resized window whole (the offscreen platform, like every platform but Windows), the
// first window resize shows it and the surface stops keeping its pixels, which would only cost Qt work;
// where Qt repaints less, it keeps them. Either way every later resize, of the window or of the surface
// alone, leaves exactly a fresh drawing.
TEST_F(PixelTest, TheSurfaceKeepsItsPixelsOnlyWhereQtKeepsAResizedWindows)
{
    for (rt::Form* window : forms_) {
        rt::Form& form = *window;
        qthost::Surface& surface = surfaceOf(form);
        const QSize full = surface.size();
        qttest::PaintRecorder painted(surface);
        painted.take();
        host.resizeClient(form, (full.width() + 7) * 15.0, (full.height() + 5) * 15.0);
        settle();
        QRegion repainted;
        for (const QRegion& r : painted.take())
            repainted += r;
        const bool wholeRepainted = repainted == QRegion(surface.rect());
        EXPECT_EQ(surface.testAttribute(Qt::WA_StaticContents), !wholeRepainted) << form.name();
        for (const QSize size : {full, full - QSize(13, 11), full}) {
            host.resizeClient(form, size.width() * 15.0, size.height() * 15.0);
            settle();
            expectShowsFreshDrawing(form, "after the window was resized to " + std::to_string(size.width()));
        }
        surface.resize(full - QSize(21, 17));
        settle();
        expectShowsFreshDrawing(form, "after the surface alone was resized");
    }
    EXPECT_TRUE(errors.empty());
}

}  // namespace
