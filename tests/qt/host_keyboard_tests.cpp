// The keyboard on the real windows: key events delivered through the window system's path to whichever
// widget has the focus, the focus moving between windows and to the menu bar, and the mouse meeting a bar
// that the keyboard holds.
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTest>

#include "qt_test_support.h"

namespace {

using qttest::HostTest;
using qttest::sendMouse;

class KeyboardHostTest : public HostTest {
protected:
    // Activates the form's window and waits until its surface has the keyboard.
    void focus(const rt::Form& form)
    {
        qthost::FormWindow& window = windowOf(form);
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        ASSERT_TRUE(QTest::qWaitFor([&] { return surfaceOf(form).hasFocus(); }, 2000));
    }
    // A key pressed and released on the window, delivered as the window system delivers it.
    void type(const rt::Form& form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(windowOf(form).windowHandle(), key, modifiers);
    }
    forms::PaneWindow& pane(rt::Form& form) { return static_cast<forms::PaneWindow&>(form); }
};

TEST_F(KeyboardHostTest, TheSurfaceTakesTheKeyboardAndF8ArrowsAndReturnMoveTheBar)
{
    focus(main());
    const rt::Control& indicator = main().control("Picture1");
    type(main(), Qt::Key_F8);
    EXPECT_TRUE(indicator.Visible());
    EXPECT_EQ(indicator.Left(), 2340);
    type(main(), Qt::Key_Right);
    EXPECT_EQ(indicator.Left(), 2355);  // one pixel at 96 DPI
    type(main(), Qt::Key_Right, Qt::ControlModifier);
    type(main(), Qt::Key_PageDown);
    type(main(), Qt::Key_Left);
    EXPECT_EQ(indicator.Left(), 2340 + 20 * 15);
    EXPECT_EQ(main().control("Image1").Left(), 2340);  // the panes wait for the commit
    type(main(), Qt::Key_Return);
    EXPECT_EQ(main().control("Image1").Left(), 2640);
    EXPECT_EQ(main().control("Picture3").Left(), 2680);
    EXPECT_FALSE(indicator.Visible());

    // The keypad's Enter commits too, and the indicator is painted while it is out.
    type(main(), Qt::Key_F8);
    type(main(), Qt::Key_Home);
    const QImage shown = grabSurface(main());
    EXPECT_EQ(qttest::rgbAt(shown, 7, 100), 0x404040u);  // Picture1's colour, at 100 twips
    type(main(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(main().control("Image1").Left(), 100);
}

TEST_F(KeyboardHostTest, KeysThatAreNotTheBarsAreLeftForOthers)
{
    focus(main());
    qthost::Surface& surface = surfaceOf(main());
    const auto accepted = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&surface, &event);
        return event.isAccepted();
    };
    EXPECT_FALSE(accepted(Qt::Key_Right));  // nothing is taken yet
    EXPECT_FALSE(accepted(Qt::Key_Escape));
    EXPECT_TRUE(accepted(Qt::Key_F8));
    EXPECT_TRUE(accepted(Qt::Key_Up));  // across the bar: taken, and nothing happens
    EXPECT_FALSE(accepted(Qt::Key_A));
    EXPECT_FALSE(accepted(Qt::Key_Right, Qt::AltModifier));
    EXPECT_TRUE(accepted(Qt::Key_Escape));
    EXPECT_FALSE(pane(main()).dragging(1));
}

TEST_F(KeyboardHostTest, KeyboardModeEndsWhenAnotherWindowTakesTheKeyboard)
{
    rt::Form& three = *allForms()[1];
    focus(main());
    const rt::Rect before = main().control("Picture1").bounds();
    type(main(), Qt::Key_F8);
    type(main(), Qt::Key_Right, Qt::ControlModifier);
    focus(three);
    EXPECT_EQ(pane(main()).keyboardBar(), nullptr);
    EXPECT_FALSE(pane(main()).dragging(1));
    EXPECT_FALSE(main().control("Picture1").Visible());
    EXPECT_EQ(main().control("Picture1").bounds(), before);
    EXPECT_EQ(main().control("Image1").Left(), 2340);

    // The other window has a keyboard mode of its own, from its first bar.
    type(three, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(pane(three).keyboardBar(), &pane(three).bars()[1]);
    surfaceOf(three).clearFocus();
    EXPECT_EQ(pane(three).keyboardBar(), nullptr);
}

TEST_F(KeyboardHostTest, AltGivesTheKeyboardToTheMenuBarWhichEndsKeyboardMode)
{
    focus(main());
    type(main(), Qt::Key_F8);
    QMenuBar* menuBar = windowOf(main()).menuBar();
    QTest::keyClick(windowOf(main()).windowHandle(), Qt::Key_Alt, Qt::AltModifier);
    EXPECT_EQ(pane(main()).keyboardBar(), nullptr);
    EXPECT_FALSE(main().control("Picture1").Visible());
    ASSERT_NE(menuBar->activeAction(), nullptr);
    EXPECT_EQ(menuBar->activeAction(), menuBar->actions().at(0));
    type(main(), Qt::Key_Right);
    EXPECT_EQ(menuBar->activeAction(), menuBar->actions().at(1));
    type(main(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return surfaceOf(main()).hasFocus(); }, 2000));
    type(main(), Qt::Key_F8);  // back on the surface, F8 works again
    EXPECT_NE(pane(main()).keyboardBar(), nullptr);
}

TEST_F(KeyboardHostTest, APressEndsKeyboardModeAndDragsAndKeysWaitForTheRelease)
{
    focus(main());
    qthost::Surface& surface = surfaceOf(main());
    type(main(), Qt::Key_F8);
    type(main(), Qt::Key_End);
    QTest::mousePress(&surface, Qt::LeftButton, {}, QPoint(157, 100));
    EXPECT_EQ(pane(main()).keyboardBar(), nullptr);
    EXPECT_EQ(main().control("Picture1").Left(), 2340);  // laid over the bar by the press
    sendMouse(surface, QEvent::MouseMove, QPointF(200, 100), Qt::NoButton, Qt::LeftButton);
    type(main(), Qt::Key_F8);
    type(main(), Qt::Key_Escape);
    type(main(), Qt::Key_Left);
    EXPECT_EQ(pane(main()).keyboardBar(), nullptr);
    EXPECT_EQ(main().control("Picture1").Left(), 3000);
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_EQ(main().control("Image1").Left(), 3000);
}

TEST_F(KeyboardHostTest, ClosingAWindowWithABarTakenLeavesItOpeningWithNone)
{
    rt::Form& three = *allForms()[1];
    focus(three);
    type(three, Qt::Key_F8);
    type(three, Qt::Key_F8);
    type(three, Qt::Key_Down, Qt::ControlModifier);
    windowOf(three).close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_FALSE(three.loaded());
    EXPECT_FALSE(pane(three).dragging(2));
    program.SanbunMenu_Click();
    focus(three);
    EXPECT_EQ(pane(three).keyboardBar(), nullptr);
    EXPECT_FALSE(three.control("Picture4").Visible());
    type(three, Qt::Key_Return);  // nothing to commit
    EXPECT_EQ(three.control("Image2").Top(), 2700);
}

}  // namespace
