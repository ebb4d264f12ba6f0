// What the surface paints, and what it asks to repaint.
#include <QApplication>
#include <QTest>
#include <cmath>
#include <random>

#include "qt/painting.h"
#include "qt_test_support.h"

namespace {

using qttest::HostTest;
using qttest::rgbAt;

QRgb rgb(const QColor& c) { return c.rgb() & 0xFFFFFFu; }

TEST_F(HostTest, PanesShowTheirColoursAndSunkenFramesAndTheGapShowsTheWindow)
{
    const QImage image = grabSurface(main());
    ASSERT_EQ(image.size(), QSize(343, 281));
    const QRgb background = rgb(qthost::controlBackground(surfaceOf(main()).palette()));
    EXPECT_EQ(rgbAt(image, 60, 140), 0xFFFFC0u);   // Picture2
    EXPECT_EQ(rgbAt(image, 250, 140), 0xC0C0FFu);  // Picture3
    for (int x = 156; x < 159; ++x)                // the gap under Image1: 2340..2380 twips
        EXPECT_EQ(rgbAt(image, x, 140), background) << x;

    // Picture2 spans pixels 0..155: dark lines top and left, light lines bottom and right.
    const qthost::SunkenFrameColors& f = qthost::kSunkenFrame;
    EXPECT_EQ(rgbAt(image, 0, 140), rgb(f.outerTopLeft));
    EXPECT_EQ(rgbAt(image, 1, 140), rgb(f.innerTopLeft));
    EXPECT_EQ(rgbAt(image, 60, 0), rgb(f.outerTopLeft));
    EXPECT_EQ(rgbAt(image, 60, 1), rgb(f.innerTopLeft));
    EXPECT_EQ(rgbAt(image, 154, 140), rgb(f.innerBottomRight));
    EXPECT_EQ(rgbAt(image, 155, 140), rgb(f.outerBottomRight));
    EXPECT_EQ(rgbAt(image, 60, 280), rgb(f.outerBottomRight));
    EXPECT_EQ(rgbAt(image, 155, 0), rgb(f.outerBottomRight));  // the far corners are light
    EXPECT_EQ(rgbAt(image, 0, 280), rgb(f.outerBottomRight));
    EXPECT_EQ(rgbAt(image, 2, 140), 0xFFFFC0u);
}

TEST_F(HostTest, TheSurfaceAndTheOffscreenRenderingAgree)
{
    program.RokuBunMenu_Click();
    const rt::Form& five = *program.instance<forms::Splitter5>();
    const QImage grabbed = grabSurface(five);
    const QImage rendered = qthost::renderForm(five, 1.0, 15, surfaceOf(five).palette());
    EXPECT_EQ(grabbed, rendered.convertToFormat(QImage::Format_RGB32));
}

TEST_F(HostTest, ChildrenAreClippedToTheirContainersInnerArea)
{
    program.RokuBunMenu_Click();
    rt::Form& five = *program.instance<forms::Splitter5>();
    rt::Control& container = five.control("Picture5");
    rt::Control& child = five.control("Picture11");
    // Push the left pane of Picture5 half out to the left and far below.
    child.setLeft(-300);
    child.setHeight(50000);
    const QImage image = grabSurface(five);
    double ox = 0, oy = 0;
    five.originOf(container, ox, oy);
    const int left = static_cast<int>(ox / 15), top = static_cast<int>(oy / 15);
    const int bottom = static_cast<int>((oy + container.Height()) / 15) - 1;
    EXPECT_EQ(rgbAt(image, left, top + 40), rgb(qthost::kSunkenFrame.outerTopLeft));
    EXPECT_EQ(rgbAt(image, left + 1, top + 40), rgb(qthost::kSunkenFrame.innerTopLeft));
    EXPECT_EQ(rgbAt(image, left + 2, top + 40), 0xFFC0C0u);  // the child's colour starts inside
    EXPECT_EQ(rgbAt(image, left + 10, bottom), rgb(qthost::kSunkenFrame.outerBottomRight));
    EXPECT_EQ(rgbAt(image, left + 10, bottom + 10), 0xFFC080u);  // Picture6 below is untouched
}

TEST_F(HostTest, AnIndicatorPaintsAboveThePaneItCrosses)
{
    QTest::mousePress(&surfaceOf(main()), Qt::LeftButton, {}, QPoint(157, 100));
    const QImage image = grabSurface(main());
    // Picture1 covers 2340..2407.5 twips, reaching into Picture3 (from 2380).
    for (int x = 156; x < 161; ++x)
        EXPECT_EQ(rgbAt(image, x, 140), 0x404040u) << x;
    EXPECT_EQ(rgbAt(image, 161, 140), 0xC0C0FFu);  // Picture3's frame lies under the indicator
    QTest::mouseRelease(&surfaceOf(main()), Qt::LeftButton, {}, QPoint(157, 100));
}

TEST_F(HostTest, ADragMoveRepaintsOnlyTheIndicatorsOldAndNewAreas)
{
    qthost::Surface& surface = surfaceOf(main());
    QTest::mousePress(&surface, Qt::LeftButton, {}, QPoint(157, 100));
    qttest::PaintRecorder painted(surface);
    painted.take();
    const rt::Control& indicator = main().control("Picture1");
    const QRect before = surface.widgetRect(indicator.bounds());

    qttest::sendMouse(surface, QEvent::MouseMove, QPointF(200, 100), Qt::NoButton, Qt::LeftButton);
    const QRect after = surface.widgetRect(indicator.bounds());
    EXPECT_EQ(indicator.Left(), 3000);
    const std::vector<QRegion> regions = painted.take();
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_EQ(regions[0], QRegion(before) + QRegion(after));
    // Each is the indicator's column (4.5 pixels wide) and a pixel of slack either side.
    EXPECT_LE(before.width(), 8);
    EXPECT_LE(after.width(), 8);
    EXPECT_TRUE(before.contains(156, 140) && after.contains(200, 140) && after.contains(204, 140));

    const QImage image = grabSurface(main());
    EXPECT_EQ(rgbAt(image, 202, 140), 0x404040u);
    EXPECT_EQ(rgbAt(image, 157, 140), rgb(qthost::controlBackground(surface.palette())));
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, QPoint(200, 100));
}

TEST_F(HostTest, AResizeRepaintsTheWholeSurfaceOnce)
{
    qthost::Surface& surface = surfaceOf(main());
    qttest::PaintRecorder painted(surface);
    painted.take();
    host.resizeClient(main(), 6000, 4500);
    const std::vector<QRegion> regions = painted.take();
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_EQ(regions[0], QRegion(0, 0, 400, 300));
    EXPECT_EQ(main().control("Picture3").Width(), 6000 - 2340 - 40);
}

TEST(DeviceScale, EdgesRoundOnTheirOwnSoNeighboursStayFlush)
{
    const qthost::DeviceScale s{15, 1.25};
    EXPECT_EQ(s.edge(2340), 195);  // 156 px * 1.25
    EXPECT_EQ(s.edge(2380), 198);  // 198.33
    EXPECT_EQ(s.rect({2340, 0, 40, 15}), QRect(195, 0, 3, 1));
    // Two rectangles that meet in twips meet in device pixels, whatever their sizes.
    for (double left = 0; left < 300; left += 7.5) {
        const QRect a = s.rect({left, 0, 37.5, 10}), b = s.rect({left + 37.5, 0, 22.5, 10});
        EXPECT_EQ(a.x() + a.width(), b.x()) << left;
    }
    // Halves round away from zero, exactly as std::round does, at every scale and sign.
    std::mt19937 random(3);
    for (const double ratio : {1.0, 1.25, 1.5, 2.0, 0.8}) {
        const qthost::DeviceScale scale{15, ratio};
        for (int i = 0; i < 20000; ++i) {
            const double px = std::uniform_int_distribution<int>(-4000000, 4000000)(random) / 2.0 +
                              (i % 3 == 0 ? std::uniform_real_distribution<double>(-1, 1)(random) : 0.0);
            const double twips = px * 15 / ratio;
            EXPECT_EQ(scale.edge(twips), static_cast<int>(std::round(twips / 15 * ratio))) << twips << " at " << ratio;
        }
    }
    EXPECT_EQ(s.edge(std::nan("")), 0);
    EXPECT_EQ(s.edge(-0.4 * 12), 0);
    // Coordinates far off any screen neither overflow nor wrap.
    EXPECT_GT(s.edge(3.0e38), 1 << 20);
    EXPECT_LT(s.edge(-3.0e38), -(1 << 20));
    EXPECT_TRUE(s.rect({1e30, 0, 1e30, 100}).isEmpty() || s.rect({1e30, 0, 1e30, 100}).x() > 0);
}

}  // namespace
