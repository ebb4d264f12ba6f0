// Painting at the device pixel ratio this process runs at (QT_SCALE_FACTOR): whole device pixels only,
// edges where rounding each one puts them, and the window drawn as the offscreen rendering draws it.
#include <QApplication>
#include <QKeyEvent>
#include <QSet>

#include "qt/painting.h"
#include "qt_test_support.h"

namespace {

using qttest::HostTest;
using qttest::rgbAt;

double expectedRatio()
{
    bool ok = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && factor > 0 ? factor : 1.0;
}

QRgb rgb(const QColor& c) { return c.rgb() & 0xFFFFFFu; }

class ScaledHostTest : public HostTest {
protected:
};

TEST_F(ScaledHostTest, TheSurfaceRunsAtTheProcessScaleFactor)
{
    EXPECT_DOUBLE_EQ(surfaceOf(main()).devicePixelRatioF(), expectedRatio());
    EXPECT_EQ(surfaceOf(main()).size(), QSize(343, 281));  // logical pixels do not change
}

TEST_F(ScaledHostTest, EveryPixelIsADefinedColourAndMatchesTheOffscreenRendering)
{
    const double dpr = expectedRatio();
    for (rt::Form* form : allForms()) {
        const QImage grabbed = grabSurface(*form);
        const QImage rendered =
            qthost::renderForm(*form, dpr, 15, surfaceOf(*form).palette()).convertToFormat(QImage::Format_RGB32);
        const QSet<QRgb> allowed = {rgb(qthost::controlBackground(surfaceOf(*form).palette())),
                                    rgb(qthost::kSunkenFrame.outerTopLeft), rgb(qthost::kSunkenFrame.innerTopLeft),
                                    rgb(qthost::kSunkenFrame.outerBottomRight),
                                    rgb(qthost::kSunkenFrame.innerBottomRight)};
        QSet<QRgb> colours = allowed;
        for (const auto& c : form->controls())
            if (c->backColor())
                colours.insert(qRgb(c->backColor()->red(), c->backColor()->green(), c->backColor()->blue()) & 0xFFFFFFu);
        const int w = std::min(grabbed.width(), rendered.width()), h = std::min(grabbed.height(), rendered.height());
        EXPECT_LE(std::abs(grabbed.width() - rendered.width()), 1) << form->name();
        int stray = 0, differing = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                stray += !colours.contains(rgbAt(grabbed, x, y));
                differing += rgbAt(grabbed, x, y) != rgbAt(rendered, x, y);
            }
        EXPECT_EQ(stray, 0) << form->name() << ": blended pixels";
        EXPECT_EQ(differing, 0) << form->name();
    }
}

TEST_F(ScaledHostTest, NestedPanesSitFlushAgainstTheirContainersFrame)
{
    const double dpr = expectedRatio();
    std::vector<rt::Form*> forms = allForms();
    rt::Form& five = *forms[3];
    const QImage image = grabSurface(five);
    const qthost::DeviceScale scale{15, dpr};
    // Picture5 lies at the inner corner of Picture2: Picture2's inner dark line, then Picture5's outer one.
    double ox = 0, oy = 0;
    five.originOf(five.control("Picture5"), ox, oy);
    const int x = scale.edge(ox), row = scale.edge(oy + 600);
    EXPECT_EQ(x, scale.edge(30));
    EXPECT_EQ(rgbAt(image, x - 1, row), rgb(qthost::kSunkenFrame.innerTopLeft));
    EXPECT_EQ(rgbAt(image, x, row), rgb(qthost::kSunkenFrame.outerTopLeft));
    // The gap between Picture2 and Picture3 (a 40-twip band under Image1) is exactly its rounded edges.
    const rt::Control& left = five.control("Picture2");
    const rt::Control& right = five.control("Picture3");
    const int gapStart = scale.edge(left.Left() + left.Width()), gapEnd = scale.edge(right.Left());
    const QRgb background = rgb(qthost::controlBackground(surfaceOf(five).palette()));
    EXPECT_EQ(rgbAt(image, gapStart - 1, row), rgb(qthost::kSunkenFrame.outerBottomRight));
    for (int gx = gapStart; gx < gapEnd; ++gx)
        EXPECT_EQ(rgbAt(image, gx, row), background) << gx;
    EXPECT_EQ(rgbAt(image, gapEnd, row), rgb(qthost::kSunkenFrame.outerTopLeft));
}

// A key moves a bar by one logical pixel, 15 twips at 96 DPI, whatever the device pixels are.
TEST_F(ScaledHostTest, AnArrowKeyMovesABarOneLogicalPixel)
{
    qthost::Surface& surface = surfaceOf(main());
    for (Qt::Key key : {Qt::Key_F8, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&surface, &press);
    }
    EXPECT_EQ(main().control("Image1").Left(), 2340 + 2 * 15);
}

}  // namespace
