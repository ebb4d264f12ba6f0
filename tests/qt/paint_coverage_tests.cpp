// Fills leave out what a child paints over, so every pixel must still get a colour at any size, scale and
// drag state, and a window painted in small tiles must look the same as one painted whole.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "app/program.h"
#include "qt/painting.h"
#include "runtime/control.h"
#include "runtime/memory_host.h"

namespace {

// No control, frame or background has this colour.
constexpr QRgb kUnpainted = 0xFF12345Au;

const QColor kBackground(212, 208, 200);

QImage paint(const rt::Form& form, const qthost::DeviceScale& scale, const QSize& size, int tile,
             QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, format);
    image.fill(kUnpainted);
    QPainter painter(&image);
    const QColor background = kBackground;
    for (int y = 0; y < size.height(); y += tile)
        for (int x = 0; x < size.width(); x += tile)
            qthost::paintForm(painter, form, scale, background, QRect(x, y, tile, tile).intersected(image.rect()));
    return image;
}

// The picture painted the plain way, each box over what lies beneath: its whole area in its colour, its
// frame's outer ring then inner ring over that (dark lines first), then its children inside its border.
class PlainPainter {
public:
    PlainPainter(QImage& image, double ratio) : painter_(&image), scale_{15, ratio} {}

    void form(const rt::Form& form)
    {
        const QRect client = scale_.rect({0, 0, form.ScaleWidth(), form.ScaleHeight()});
        painter_.fillRect(client, kBackground);
        boxes(form.children(), 0, 0, client);
    }

private:
    void boxes(const std::vector<rt::Control*>& siblings, double ox, double oy, const QRect& clip)
    {
        for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
            const rt::Control& c = **it;
            if (!c.isPictureBox() || !c.Visible())
                continue;
            const double left = ox + c.Left(), top = oy + c.Top(), b = c.borderThickness();
            const QRect outer = scale_.rect({left, top, c.Width(), c.Height()}).intersected(clip);
            if (outer.isEmpty())
                continue;
            const auto& colour = c.backColor();
            painter_.fillRect(outer, colour ? QColor(colour->red(), colour->green(), colour->blue()) : kBackground);
            if (c.borderStyle() == rt::BorderStyle::Sunken) {
                const auto e = [&](double twips) { return scale_.edge(twips); };
                const int x[] = {e(left), e(left + b / 2), e(left + b), e(left + c.Width() - b),
                                 e(left + c.Width() - b / 2), e(left + c.Width())};
                const int y[] = {e(top), e(top + b / 2), e(top + b), e(top + c.Height() - b),
                                 e(top + c.Height() - b / 2), e(top + c.Height())};
                const qthost::SunkenFrameColors& f = qthost::kSunkenFrame;
                line(x[0], y[0], x[4], y[1], outer, f.outerTopLeft);
                line(x[0], y[0], x[1], y[4], outer, f.outerTopLeft);
                line(x[0], y[4], x[5], y[5], outer, f.outerBottomRight);
                line(x[4], y[0], x[5], y[5], outer, f.outerBottomRight);
                line(x[1], y[1], x[3], y[2], outer, f.innerTopLeft);
                line(x[1], y[1], x[2], y[3], outer, f.innerTopLeft);
                line(x[1], y[3], x[4], y[4], outer, f.innerBottomRight);
                line(x[3], y[1], x[4], y[4], outer, f.innerBottomRight);
            }
            const QRect inner = scale_.rect({left + b, top + b, c.innerWidth(), c.innerHeight()}).intersected(outer);
            if (!inner.isEmpty())
                boxes(c.children(), left + b, top + b, inner);
        }
    }

    void line(int x0, int y0, int x1, int y1, const QRect& clip, const QColor& colour)
    {
        if (x1 > x0 && y1 > y0)
            painter_.fillRect(QRect(x0, y0, x1 - x0, y1 - y0).intersected(clip), colour);
    }

    QPainter painter_;
    qthost::DeviceScale scale_;
};

long unpaintedPixels(const QImage& image)
{
    long count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == kUnpainted;
    return count;
}

class PaintCoverage : public ::testing::Test {
protected:
    PaintCoverage()
    {
        host.runtime().setErrorOutput([](const std::string&) {});
        program.start();
        program.SanbunMenu_Click();
        program.YonbunMenu_Click();
        program.RokuBunMenu_Click();
    }

    // Presses the window's first bar and moves the pointer `offset` twips along; released unless `hold`.
    void drag(rt::Form& form, double offset, bool hold)
    {
        double x = 0, y = 0;
        form.originOf(form.control("Image1"), x, y);
        rt::Runtime& runtime = host.runtime();
        runtime.mouse(form, rt::MouseEvent::Down, rt::kLeftButton, 0, x + 20, y + 200);
        runtime.mouse(form, rt::MouseEvent::Move, rt::kLeftButton, 0, x + 20 + offset, y + 200);
        if (!hold)
            runtime.mouse(form, rt::MouseEvent::Up, rt::kLeftButton, 0, x + 20 + offset, y + 200);
    }

    rt::MemoryHost host;
    app::Program program{host.runtime()};
};

TEST_F(PaintCoverage, EveryPixelIsPaintedAndTilesAgreeWithTheWholeWindow)
{
    rt::Form* forms[] = {&program.splitterForm(), program.instance<forms::Splitter3>(), program.instance<forms::Splitter4>(), program.instance<forms::Splitter5>()};
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, kBackground);
    // Tiny windows whose panes collapse, the defined sizes, and large ones; a held drag shows an indicator.
    const struct {
        double width, height, offset;
        bool hold;
    } cases[] = {{60, 45, 0, true},        {400, 300, -200, false}, {2000, 90, 300, true},
                 {5145, 4215, -900, true}, {8910, 8370, 700, false}, {12000, 9000, -3000, true}};
    for (rt::Form* form : forms) {
        for (const auto& c : cases) {
            host.resizeClient(*form, c.width, c.height);
            drag(*form, c.offset, c.hold);
            for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
                SCOPED_TRACE(std::string(form->name()) + " " + std::to_string(c.width) + " x " +
                             std::to_string(c.height) + " at " + std::to_string(ratio));
                const qthost::DeviceScale scale{15, ratio};
                const QSize size(std::max(1, scale.edge(form->ScaleWidth())), std::max(1, scale.edge(form->ScaleHeight())));
                const QImage whole = paint(*form, scale, size, std::max(size.width(), size.height()));
                EXPECT_EQ(unpaintedPixels(whole), 0);
                EXPECT_TRUE(paint(*form, scale, size, 37) == whole);
                // Rows written straight into the image, fills through the painter (a 24-bit image, which
                // is not written directly), and a fresh drawing all agree.
                EXPECT_TRUE(paint(*form, scale, size, 53, QImage::Format_RGB888).convertToFormat(QImage::Format_RGB32) ==
                            whole);
                QImage fresh = qthost::renderForm(*form, ratio, 15, palette);
                fresh.setDevicePixelRatio(1);
                EXPECT_TRUE(fresh.convertToFormat(QImage::Format_RGB32) == whole);
                // Leaving out what is painted over, and frame lines cut around the inside, change no pixel.
                QImage plain(size, QImage::Format_RGB32);
                plain.fill(kUnpainted);
                PlainPainter(plain, ratio).form(*form);
                EXPECT_TRUE(plain == whole);
            }
            if (c.hold)
                host.runtime().mouse(*form, rt::MouseEvent::Up, rt::kLeftButton, 0, 0, 0);
        }
    }
}

// Boxes narrower or shorter than their frames, whose lines cross, at every scale: the fills still give
// exactly the plain painter's picture.
TEST_F(PaintCoverage, FramesWhoseLinesCrossAgreeWithThePlainPainter)
{
    rt::Form& form = *program.instance<forms::Splitter5>();
    host.resizeClient(form, 8910, 8370);
    for (const auto& owned : form.controls()) {
        rt::Control& box = *owned;
        if (!box.isPictureBox() || !box.Visible() || box.borderStyle() != rt::BorderStyle::Sunken)
            continue;
        const rt::Rect was = box.bounds();
        for (const double side : {7.5, 15.0, 22.5, 37.5, 52.5, 67.5}) {
            box.setWidth(side);
            box.setHeight(side * 3);
            for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
                SCOPED_TRACE(box.name() + " " + std::to_string(side) + " twips at " + std::to_string(ratio));
                const qthost::DeviceScale scale{15, ratio};
                const QSize size(scale.edge(form.ScaleWidth()), scale.edge(form.ScaleHeight()));
                QImage plain(size, QImage::Format_RGB32);
                plain.fill(kUnpainted);
                PlainPainter(plain, ratio).form(form);
                EXPECT_TRUE(paint(form, scale, size, size.width()) == plain);
            }
        }
        box.setWidth(was.width);
        box.setHeight(was.height);
    }
}

// Rows written straight into an image land where the painter's translation puts them, and nowhere else;
// a translation off the pixel grid goes through the painter.
TEST_F(PaintCoverage, DirectWritesFollowThePaintersTranslationAndStayInsideTheClip)
{
    rt::Form& form = *program.instance<forms::Splitter5>();
    const qthost::DeviceScale scale{15, 1.0};
    const QSize size(scale.edge(form.ScaleWidth()), scale.edge(form.ScaleHeight()));
    const QImage whole = paint(form, scale, size, size.width());
    for (const QPointF offset : {QPointF(7, 5), QPointF(-20, 13), QPointF(2.5, 3)}) {
        QImage image(size + QSize(40, 40), QImage::Format_ARGB32_Premultiplied);
        image.fill(kUnpainted);
        const QRect clip(30, 20, 200, 150);
        {
            QPainter painter(&image);
            painter.translate(offset);
            qthost::paintForm(painter, form, scale, kBackground, clip);
        }
        const QPoint at(qRound(offset.x()), qRound(offset.y()));
        QImage expected(image.size(), QImage::Format_ARGB32_Premultiplied);
        expected.fill(kUnpainted);
        {
            QPainter painter(&expected);
            painter.drawImage(clip.topLeft() + at, whole, clip);
        }
        EXPECT_TRUE(image == expected) << offset.x() << "," << offset.y();
    }
}

}  // namespace
