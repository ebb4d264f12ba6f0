// The mouse on the surface: presses, drags and pointers, as the bars' handlers see them.
#include <QApplication>
#include <QTest>

#include "qt_test_support.h"

namespace {

using qttest::HostTest;
using qttest::sendMouse;

TEST_F(HostTest, APressInTheGapReachesTheBarWhoseIndicatorAppearsOverIt)
{
    const rt::Control& indicator = main().control("Picture1");
    const rt::Control& bar = main().control("Image1");
    ASSERT_FALSE(indicator.Visible());
    // On Picture2's border, just left of the gap: the pane, not the bar.
    QTest::mousePress(&surfaceOf(main()), Qt::LeftButton, {}, QPoint(155, 100));
    QTest::mouseRelease(&surfaceOf(main()), Qt::LeftButton, {}, QPoint(155, 100));
    EXPECT_FALSE(indicator.Visible());

    QTest::mousePress(&surfaceOf(main()), Qt::LeftButton, {}, QPoint(158, 100));
    EXPECT_TRUE(indicator.Visible());
    EXPECT_EQ(indicator.Left(), bar.Left());
    EXPECT_EQ(indicator.Top(), bar.Top());
    EXPECT_EQ(indicator.Width(), bar.Width() / 2);
    EXPECT_TRUE(static_cast<forms::SplitterForm&>(main()).dragging(1));
    // A move without dragging reports X from the bar's corner: 1 pixel right of the press is 15 twips
    // further, and the indicator follows to bar.Left + X.
    sendMouse(surfaceOf(main()), QEvent::MouseMove, QPointF(158, 100), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(indicator.Left(), 158 * 15);
    QTest::mouseRelease(&surfaceOf(main()), Qt::LeftButton, {}, QPoint(158, 100));
    EXPECT_FALSE(indicator.Visible());
    EXPECT_TRUE(errors.empty());
}

TEST_F(HostTest, ADragFromTheGapToReleaseLaysThePanesOut)
{
    qthost::Surface& surface = surfaceOf(main());
    QTest::mousePress(&surface, Qt::LeftButton, {}, QPoint(157, 100));
    for (int x = 160; x <= 200; x += 10)
        sendMouse(surface, QEvent::MouseMove, QPointF(x, 120), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(main().control("Picture2").Width(), 2340);  // nothing moves but the indicator
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, QPoint(200, 120));
    EXPECT_EQ(main().control("Picture2").Width(), 3000);
    EXPECT_EQ(main().control("Picture3").Left(), 3040);
    EXPECT_EQ(main().control("Picture3").Width(), 2105);
    EXPECT_EQ(main().control("Image1").Left(), 3000);
    EXPECT_FALSE(main().control("Picture1").Visible());
}

TEST_F(HostTest, OutsideTheWindowTheIndicatorStopsAHundredTwipsFromEitherEdge)
{
    qthost::Surface& surface = surfaceOf(main());
    QTest::mousePress(&surface, Qt::LeftButton, {}, QPoint(157, 100));
    sendMouse(surface, QEvent::MouseMove, QPointF(-80.5, 100), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(main().control("Picture1").Left(), 100);
    sendMouse(surface, QEvent::MouseMove, QPointF(900, -40), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(main().control("Picture1").Left(), 5145 - 100);
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, QPoint(900, -40));
    EXPECT_EQ(main().control("Picture2").Width(), 5045);
    EXPECT_EQ(main().control("Picture3").Width(), 60);
}

TEST_F(HostTest, TheRightAndMiddleButtonsDragToo)
{
    qthost::Surface& surface = surfaceOf(main());
    sendMouse(surface, QEvent::MouseButtonPress, QPointF(157, 100), Qt::RightButton, Qt::RightButton,
              Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(main().control("Picture1").Visible());
    sendMouse(surface, QEvent::MouseMove, QPointF(100, 100), Qt::NoButton, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(main().control("Picture1").Left(), 1500);
    sendMouse(surface, QEvent::MouseButtonRelease, QPointF(100, 100), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(main().control("Picture2").Width(), 1500);

    sendMouse(surface, QEvent::MouseButtonPress, QPointF(101, 100), Qt::MiddleButton, Qt::MiddleButton,
              Qt::AltModifier);
    sendMouse(surface, QEvent::MouseMove, QPointF(150, 100), Qt::NoButton, Qt::MiddleButton);
    sendMouse(surface, QEvent::MouseButtonRelease, QPointF(150, 100), Qt::MiddleButton, Qt::NoButton);
    EXPECT_EQ(main().control("Picture2").Width(), 2250);  // the bar's Left plus X from its corner
    EXPECT_EQ(main().control("Picture3").Left(), 2290);
}

TEST_F(HostTest, ARightPressDuringADragGoesToTheCapturingBar)
{
    qthost::Surface& surface = surfaceOf(main());
    sendMouse(surface, QEvent::MouseButtonPress, QPointF(157, 100), Qt::LeftButton, Qt::LeftButton);
    sendMouse(surface, QEvent::MouseMove, QPointF(100, 100), Qt::NoButton, Qt::LeftButton);
    // Over the left pane, but the bar holds the mouse: its MouseDown lays the indicator back over it.
    sendMouse(surface, QEvent::MouseButtonPress, QPointF(100, 100), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(main().control("Picture1").Left(), 2340);
    sendMouse(surface, QEvent::MouseMove, QPointF(120, 100), Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(main().control("Picture1").Left(), 1800);
    // Any release ends the drag where the indicator is.
    sendMouse(surface, QEvent::MouseButtonRelease, QPointF(120, 100), Qt::RightButton, Qt::LeftButton);
    EXPECT_EQ(main().control("Picture2").Width(), 1800);
    EXPECT_FALSE(main().control("Picture1").Visible());
    // The left button is still held, so the bar keeps the mouse: a middle press over the right pane
    // reaches it and starts a drag of its own.
    sendMouse(surface, QEvent::MouseButtonPress, QPointF(200, 100), Qt::MiddleButton, Qt::LeftButton | Qt::MiddleButton);
    EXPECT_TRUE(main().control("Picture1").Visible());
    sendMouse(surface, QEvent::MouseMove, QPointF(150, 100), Qt::NoButton, Qt::LeftButton | Qt::MiddleButton);
    EXPECT_EQ(main().control("Picture1").Left(), 2250);
    sendMouse(surface, QEvent::MouseButtonRelease, QPointF(150, 100), Qt::MiddleButton, Qt::LeftButton);
    sendMouse(surface, QEvent::MouseButtonRelease, QPointF(150, 100), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(main().control("Picture2").Width(), 2250);
    // With every button up the capture is over: a press over the right pane reaches no bar.
    sendMouse(surface, QEvent::MouseButtonPress, QPointF(200, 100), Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(main().control("Picture1").Visible());
    sendMouse(surface, QEvent::MouseButtonRelease, QPointF(200, 100), Qt::LeftButton, Qt::NoButton);

    // Buttons the program has no use for do nothing.
    sendMouse(surface, QEvent::MouseButtonPress, QPointF(151, 100), Qt::BackButton, Qt::BackButton);
    EXPECT_FALSE(main().control("Picture1").Visible());
    sendMouse(surface, QEvent::MouseButtonRelease, QPointF(151, 100), Qt::BackButton, Qt::NoButton);
    EXPECT_TRUE(errors.empty());
}

TEST_F(HostTest, PointersFollowTheHitTestAndStayPutDuringADrag)
{
    qthost::Surface& surface = surfaceOf(main());
    QTest::mouseMove(&surface, QPoint(157, 100));
    EXPECT_EQ(surface.cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(&surface, QPoint(60, 100));
    EXPECT_EQ(surface.cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(&surface, QPoint(159, 100));  // Picture3 covers the bar's right part
    EXPECT_EQ(surface.cursor().shape(), Qt::ArrowCursor);

    sendMouse(surface, QEvent::MouseMove, QPointF(157, 100), Qt::NoButton, Qt::NoButton);
    sendMouse(surface, QEvent::MouseButtonPress, QPointF(157, 100), Qt::LeftButton, Qt::LeftButton);
    sendMouse(surface, QEvent::MouseMove, QPointF(60, 100), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(surface.cursor().shape(), Qt::SizeHorCursor);
    sendMouse(surface, QEvent::MouseMove, QPointF(-500, 100), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(surface.cursor().shape(), Qt::SizeHorCursor);
    sendMouse(surface, QEvent::MouseButtonRelease, QPointF(60, 100), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(surface.cursor().shape(), Qt::ArrowCursor);  // released over the new left pane

    program.SanbunMenu_Click();
    rt::Form& three = *program.instance<forms::Splitter3>();
    const QPoint onBar = qttest::pixelOn(three, "Image2");
    ASSERT_NE(onBar, QPoint(-1, -1));
    // QTest moves the system pointer for a move without buttons, and that finds whichever window is on
    // top offscreen; send the move to this surface instead.
    sendMouse(surfaceOf(three), QEvent::MouseMove, onBar, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(surfaceOf(three).cursor().shape(), Qt::SizeVerCursor);
}

// The pointer arriving with no motion after it, as Wayland reports a window appearing under it.
void sendEnter(QWidget& widget, QPointF position)
{
    QEnterEvent event(position, position, widget.mapToGlobal(position));
    QApplication::sendEvent(&widget, &event);
}

TEST_F(HostTest, ThePointerIsChosenWhereItEntersWithoutWaitingForAMove)
{
    qthost::Surface& surface = surfaceOf(main());
    ASSERT_EQ(surface.cursor().shape(), Qt::ArrowCursor);
    sendEnter(surface, QPointF(157, 100));
    EXPECT_EQ(surface.cursor().shape(), Qt::SizeHorCursor);
    sendEnter(surface, QPointF(60, 100));
    EXPECT_EQ(surface.cursor().shape(), Qt::ArrowCursor);

    program.SanbunMenu_Click();
    rt::Form& three = *program.instance<forms::Splitter3>();
    const QPoint onBar = qttest::pixelOn(three, "Image2");
    ASSERT_NE(onBar, QPoint(-1, -1));
    sendEnter(surfaceOf(three), onBar);
    EXPECT_EQ(surfaceOf(three).cursor().shape(), Qt::SizeVerCursor);
}

TEST_F(HostTest, AnEnterDuringADragLeavesItsPointerAlone)
{
    qthost::Surface& surface = surfaceOf(main());
    QTest::mouseMove(&surface, QPoint(157, 100));
    QTest::mousePress(&surface, Qt::LeftButton, {}, QPoint(157, 100));
    ASSERT_EQ(surface.cursor().shape(), Qt::SizeHorCursor);
    sendEnter(surface, QPointF(60, 100));
    EXPECT_EQ(surface.cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, QPoint(60, 100));
    EXPECT_EQ(surface.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(errors.empty());
}

TEST_F(HostTest, ANestedBarReportsPositionsFromItsOwnCorner)
{
    program.RokuBunMenu_Click();
    rt::Form& five = *program.instance<forms::Splitter5>();
    const QPoint onBar = qttest::pixelOn(five, "Image4");  // vertical bar inside Picture5 inside Picture2
    ASSERT_NE(onBar, QPoint(-1, -1));
    qthost::Surface& surface = surfaceOf(five);
    sendMouse(surface, QEvent::MouseButtonPress, onBar, Qt::LeftButton, Qt::LeftButton);
    const rt::Control& indicator = five.control("Picture10");
    EXPECT_TRUE(indicator.Visible());
    double ox = 0, oy = 0;
    five.originOf(five.control("Image4"), ox, oy);
    sendMouse(surface, QEvent::MouseMove, QPointF(onBar.x() + 20, onBar.y()), Qt::NoButton, Qt::LeftButton);
    EXPECT_FLOAT_EQ(indicator.Left(), float(double(five.control("Image4").Left()) + (onBar.x() + 20) * 15.0 - ox));
    sendMouse(surface, QEvent::MouseButtonRelease, QPointF(onBar.x() + 20, onBar.y()), Qt::LeftButton, Qt::NoButton);
    EXPECT_FLOAT_EQ(five.control("Image4").Left(), indicator.Left());
    EXPECT_TRUE(errors.empty());
}

TEST_F(HostTest, AnUntrappedErrorInAMouseHandlerIsOneLineAndTheProgramGoesOn)
{
    qthost::Surface& surface = surfaceOf(main());
    sendMouse(surface, QEvent::MouseButtonPress, QPointF(1e38, 1e38), Qt::LeftButton, Qt::LeftButton);
    sendMouse(surface, QEvent::MouseButtonRelease, QPointF(1e38, 1e38), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(errors.empty());  // outside the window nothing is hit

    sendMouse(surface, QEvent::MouseButtonPress, QPointF(157, 100), Qt::LeftButton, Qt::LeftButton);
    sendMouse(surface, QEvent::MouseMove, QPointF(1e38, 100), Qt::NoButton, Qt::LeftButton);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Image1_MouseMove"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("runtime error 6"), std::string::npos) << errors[0];
    EXPECT_EQ(errors[0].find('\n'), std::string::npos);

    sendMouse(surface, QEvent::MouseMove, QPointF(180, 100), Qt::NoButton, Qt::LeftButton);
    sendMouse(surface, QEvent::MouseButtonRelease, QPointF(180, 100), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(main().control("Picture2").Width(), 2700);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(host.runtime().untrappedErrors(), 1u);
    errors.clear();
}

}  // namespace
