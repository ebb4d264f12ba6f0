// Moves of a bar that the window system interrupts: the window minimised, hidden or resized, or the
// pointer taken by another client, while a bar's indicator is out. Every window, through real Qt events.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <xcb/xcb.h>

#include "forms/pane_window.h"
#include "qt_test_support.h"

namespace {

using qttest::HostTest;
using qttest::sendMouse;

constexpr int kMovePixels = 20;  // about 300 twips at 96 DPI, well inside every bar's range

class InterruptedMoveTest : public HostTest {
protected:
    forms::PaneWindow& pane(rt::Form& form) { return static_cast<forms::PaneWindow&>(form); }

    // The pixel a press on the bar lands on, and that pixel moved kMovePixels along the bar's axis.
    static QPointF along(const splitter::Bar& bar, QPointF from, int pixels)
    {
        return bar.vertical() ? from + QPointF(pixels, 0) : from + QPointF(0, pixels);
    }

    // Presses on the bar and drags it kMovePixels further with the left button held.
    QPointF pressAndDrag(rt::Form& form, const splitter::Bar& bar)
    {
        qthost::Surface& surface = surfaceOf(form);
        const QPointF press = qttest::pixelOn(form, std::string(bar.control.name()));
        sendMouse(surface, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
        sendMouse(surface, QEvent::MouseMove, along(bar, press, kMovePixels / 2), Qt::NoButton, Qt::LeftButton);
        sendMouse(surface, QEvent::MouseMove, along(bar, press, kMovePixels), Qt::NoButton, Qt::LeftButton);
        return along(bar, press, kMovePixels);
    }

    // Where a release at `last` (pixels) puts a bar that was at `before`: the bar's handlers add X (or Y)
    // from the bar's corner to its position.
    static rt::Single releasedAt(const rt::Form& form, const splitter::Bar& bar, rt::Single before, QPointF last)
    {
        double x = 0, y = 0;
        form.originOf(*bar.control, x, y);
        return static_cast<rt::Single>(before + (bar.vertical() ? last.x() * 15 - x : last.y() * 15 - y));
    }

    // The drag has ended at its last position: bar laid out there, indicator hidden, no button held.
    void expectEndedAt(rt::Form& form, const splitter::Bar& bar, rt::Single position)
    {
        EXPECT_EQ(bar.position(), position) << form.name() << " " << bar.control.name();
        EXPECT_FALSE(bar.dragging);
        EXPECT_FALSE(bar.indicator->Visible());
        EXPECT_FALSE(form.mouseButtonsHeld());
    }

    // What arrives once the window is back: the release Qt still owes, and a plain move far away. Neither
    // may move the bar, and F8 takes a bar again.
    void expectLaterEventsChangeNothing(rt::Form& form, const splitter::Bar& bar, QPointF last)
    {
        qthost::Surface& surface = surfaceOf(form);
        const rt::Single position = bar.position();
        sendMouse(surface, QEvent::MouseButtonRelease, last, Qt::LeftButton, Qt::NoButton);
        sendMouse(surface, QEvent::MouseMove, QPointF(5, 5), Qt::NoButton, Qt::NoButton);
        sendMouse(surface, QEvent::MouseMove, QPointF(40, 60), Qt::NoButton, Qt::LeftButton);
        EXPECT_EQ(bar.position(), position) << form.name() << " " << bar.control.name();
        EXPECT_TRUE(host.runtime().key(form, rt::Key::F8, 0));
        EXPECT_NE(pane(form).keyboardBar(), nullptr);
        EXPECT_TRUE(host.runtime().key(form, rt::Key::Escape, 0));
    }
};

TEST_F(InterruptedMoveTest, MinimisingInMidDragEndsTheDragWhereThePointerWasLastSeen)
{
    for (rt::Form* form : allForms()) {
        for (const splitter::Bar& bar : pane(*form).bars()) {
            const rt::Single before = bar.position();
            const QPointF last = pressAndDrag(*form, bar);
            const rt::Single expected = releasedAt(*form, bar, before, last);
            windowOf(*form).showMinimized();
            expectEndedAt(*form, bar, expected);
            windowOf(*form).showNormal();
            QCoreApplication::processEvents();
            expectLaterEventsChangeNothing(*form, bar, last);
        }
    }
}

TEST_F(InterruptedMoveTest, HidingInMidDragEndsTheDragWhereThePointerWasLastSeen)
{
    for (rt::Form* form : allForms()) {
        for (const splitter::Bar& bar : pane(*form).bars()) {
            const rt::Single before = bar.position();
            const QPointF last = pressAndDrag(*form, bar);
            const rt::Single expected = releasedAt(*form, bar, before, last);
            windowOf(*form).hide();
            expectEndedAt(*form, bar, expected);
            windowOf(*form).show();
            QCoreApplication::processEvents();
            expectLaterEventsChangeNothing(*form, bar, last);
        }
    }
}

// The X server's notice that another client grabbed the pointer, as the platform hands it to the filters.
void deliverGrabLeave(WId window)
{
    xcb_leave_notify_event_t leave{};
    leave.response_type = XCB_LEAVE_NOTIFY;
    leave.mode = XCB_NOTIFY_MODE_GRAB;
    leave.event = static_cast<xcb_window_t>(window);
    qintptr result = 0;
    QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &leave, &result);
}

TEST_F(InterruptedMoveTest, APointerGrabbedByAnotherClientEndsTheDragOfThatWindowOnly)
{
    const std::vector<rt::Form*> forms = allForms();
    for (rt::Form* form : forms) {
        const splitter::Bar& bar = pane(*form).bars().front();
        const rt::Single before = bar.position();
        const QPointF last = pressAndDrag(*form, bar);
        const rt::Single expected = releasedAt(*form, bar, before, last);
        // A leave of an ordinary kind, and a grab leave of another window, leave the drag alone.
        xcb_leave_notify_event_t normal{};
        normal.response_type = XCB_LEAVE_NOTIFY;
        normal.mode = XCB_NOTIFY_MODE_NORMAL;
        normal.event = static_cast<xcb_window_t>(windowOf(*form).internalWinId());
        qintptr result = 0;
        QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &normal, &result);
        deliverGrabLeave(windowOf(*forms[form == forms.front() ? 1 : 0]).internalWinId());
        QCoreApplication::processEvents();
        ASSERT_TRUE(bar.dragging) << form->name();
        deliverGrabLeave(windowOf(*form).internalWinId());
        QCoreApplication::processEvents();
        expectEndedAt(*form, bar, expected);
        expectLaterEventsChangeNothing(*form, bar, last);
    }
}

// Another client unmapped the window (xdotool windowunmap): Qt reports no hide, only the server's notice.
TEST_F(InterruptedMoveTest, AWindowUnmappedByAnotherClientEndsItsDrag)
{
    for (rt::Form* form : allForms()) {
        const splitter::Bar& bar = pane(*form).bars().back();
        const rt::Single before = bar.position();
        const QPointF last = pressAndDrag(*form, bar);
        const rt::Single expected = releasedAt(*form, bar, before, last);
        xcb_unmap_notify_event_t unmap{};
        unmap.response_type = XCB_UNMAP_NOTIFY | 0x80;  // sent by a client: proves nothing
        unmap.window = static_cast<xcb_window_t>(windowOf(*form).internalWinId());
        qintptr result = 0;
        QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &unmap, &result);
        QCoreApplication::processEvents();
        ASSERT_TRUE(bar.dragging) << form->name();
        unmap.response_type = XCB_UNMAP_NOTIFY;
        QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &unmap, &result);
        QCoreApplication::processEvents();
        expectEndedAt(*form, bar, expected);
        expectLaterEventsChangeNothing(*form, bar, last);
    }
}

TEST_F(InterruptedMoveTest, AReleaseFoundLostOnALaterMoveIsMadeWhereThePointerWasLastSeen)
{
    std::vector<std::pair<double, double>> releases;
    host.runtime().setMouseObserver([&](rt::Form&, rt::MouseEvent event, int, int, double x, double y) {
        if (event == rt::MouseEvent::Up)
            releases.emplace_back(x, y);
    });
    const splitter::Bar& bar = pane(main()).bars().front();
    const QPointF last = pressAndDrag(main(), bar);
    sendMouse(surfaceOf(main()), QEvent::MouseMove, QPointF(300, 40), Qt::NoButton, Qt::NoButton);
    ASSERT_EQ(releases.size(), 1u);
    EXPECT_EQ(releases[0].first, last.x() * 15);
    EXPECT_EQ(releases[0].second, last.y() * 15);
    EXPECT_FALSE(main().mouseButtonsHeld());
}

// Every window's first bar is its vertical Image1, whose upper limit in a client 250 pixels wide is
// 250 * 15 - 100 twips.
constexpr rt::Single kNarrowLimit = 250 * 15 - 100;

TEST_F(InterruptedMoveTest, AShrinkWithTheKeyboardIndicatorAtTheEndCommitsWithinTheNewLimits)
{
    for (rt::Form* form : allForms()) {
        const splitter::Bar& bar = pane(*form).bars().front();
        ASSERT_TRUE(host.runtime().key(*form, rt::Key::F8, 0));
        ASSERT_TRUE(host.runtime().key(*form, rt::Key::End, 0));
        ASSERT_GT(bar.indicatorPosition(), kNarrowLimit);
        host.resizeClient(*form, 250 * 15, 200 * 15);
        EXPECT_EQ(bar.indicatorPosition(), kNarrowLimit) << form->name();  // the indicator painted is in range
        ASSERT_TRUE(host.runtime().key(*form, rt::Key::Return, 0));
        EXPECT_EQ(bar.position(), kNarrowLimit) << form->name();
        EXPECT_GT(bar.second->Width(), 0) << form->name() << ": the right pane is gone";
        // Escape after a shrink lays nothing out, and puts the indicator back as it was.
        host.resizeClient(*form, 600 * 15, 400 * 15);
        ASSERT_TRUE(host.runtime().key(*form, rt::Key::F8, 0));
        ASSERT_TRUE(host.runtime().key(*form, rt::Key::End, 0));
        host.resizeClient(*form, 250 * 15, 200 * 15);
        ASSERT_TRUE(host.runtime().key(*form, rt::Key::Escape, 0));
        EXPECT_EQ(bar.position(), kNarrowLimit) << form->name();
        EXPECT_FALSE(bar.indicator->Visible());
    }
}

TEST_F(InterruptedMoveTest, AShrinkInMidDragThenAReleaseWithoutAMoveLaysOutWithinTheNewLimits)
{
    for (rt::Form* form : allForms()) {
        const splitter::Bar& bar = pane(*form).bars().front();
        qthost::Surface& surface = surfaceOf(*form);
        const QPointF press = qttest::pixelOn(*form, std::string(bar.control.name()));
        const QPointF farRight(2000, press.y());
        sendMouse(surface, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
        sendMouse(surface, QEvent::MouseMove, farRight, Qt::NoButton, Qt::LeftButton);
        host.resizeClient(*form, 250 * 15, 200 * 15);
        EXPECT_EQ(bar.indicatorPosition(), kNarrowLimit) << form->name();
        // Released where the pointer was, with no move after the resize.
        sendMouse(surface, QEvent::MouseButtonRelease, farRight, Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(bar.position(), kNarrowLimit) << form->name();
        EXPECT_GT(bar.second->Width(), 0) << form->name() << ": the right pane is gone";
        host.resizeClient(*form, 600 * 15, 400 * 15);
    }
}

TEST_F(InterruptedMoveTest, AGrowingResizeInMidMoveLeavesTheIndicatorWhereItWas)
{
    rt::Form& form = *allForms()[1];
    const splitter::Bar& bar = pane(form).bars().front();
    ASSERT_TRUE(host.runtime().key(form, rt::Key::F8, 0));
    ASSERT_TRUE(host.runtime().key(form, rt::Key::Right, 0));
    const rt::Single indicator = bar.indicatorPosition();
    host.resizeClient(form, 900 * 15, 700 * 15);
    EXPECT_EQ(bar.indicatorPosition(), indicator);
    EXPECT_TRUE(bar.indicator->Visible());
    ASSERT_TRUE(host.runtime().key(form, rt::Key::Return, 0));
    EXPECT_EQ(bar.position(), indicator);
}

}  // namespace
