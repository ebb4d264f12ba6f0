// Windows, menu and program lifetime on the Qt host.
#include <QAbstractAnimation>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <xcb/xcb.h>

#include "forms/definitions.h"
#include "qt/icons.h"
#include "qt_test_support.h"

namespace {

using qttest::HostTest;

TEST_F(HostTest, FirstShowGivesTheDefinedClientSizeTitleAndIcon)
{
    qthost::FormWindow& w = windowOf(main());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.surface()->size(), QSize(343, 281));
    EXPECT_EQ(main().ScaleWidth(), 5145);
    EXPECT_EQ(main().ScaleHeight(), 4215);
    EXPECT_EQ(w.windowTitle(), "SplitterForm");
    EXPECT_EQ(w.windowIcon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32),
              qthost::iconImage(forms::kMainWindowIcon));
    EXPECT_EQ(QCoreApplication::applicationVersion(), "1.00");
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    // The first Resize laid the panes out.
    EXPECT_EQ(main().control("Picture3").Left(), 2380);
    EXPECT_EQ(main().control("Picture3").Width(), 2765);
}

TEST_F(HostTest, MenuBarHoldsTheThreeEntriesDirectlyAndOpensOneWindowPerClass)
{
    const QList<QAction*> actions = windowOf(main()).menuBar()->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), QString::fromUtf8("３分割"));
    EXPECT_EQ(actions[1]->text(), QString::fromUtf8("４分割"));
    EXPECT_EQ(actions[2]->text(), QString::fromUtf8("５分割"));
    for (QAction* a : actions)
        EXPECT_EQ(a->menu(), nullptr);

    actions[0]->trigger();
    qthost::FormWindow* first = host.window(*program.instance<forms::Splitter3>());
    actions[0]->trigger();
    QCoreApplication::processEvents();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(host.window(*program.instance<forms::Splitter3>()), first);
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        shown += w->isVisible() && w->windowTitle() == "Splitter3";
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(first->surface()->size(), QSize(468, 424));
    EXPECT_TRUE(first->menuBar()->actions().isEmpty());
}

TEST_F(HostTest, ClosingTheMainWindowLeavesOthersOpenAndTheLastOneEndsTheProgram)
{
    host.setQuitHandler([] { QCoreApplication::quit(); });
    program.RokuBunMenu_Click();
    qthost::FormWindow* five = host.window(*program.instance<forms::Splitter5>());
    ASSERT_NE(five, nullptr);
    bool fiveOpenAfterMainClosed = false;
    QTimer::singleShot(0, [&] {
        windowOf(main()).close();
        fiveOpenAfterMainClosed = five->isVisible() && !host.quitRequested();
        QTimer::singleShot(0, [five] { five->close(); });
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(3); });  // a hang fails rather than blocks
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(fiveOpenAfterMainClosed);
    EXPECT_TRUE(host.quitRequested());
    EXPECT_FALSE(main().loaded());
    EXPECT_EQ(host.window(main()), nullptr);
}

TEST_F(HostTest, AClosedWindowOpensAgainFreshlyLaidOut)
{
    program.SanbunMenu_Click();
    rt::Form& three = *program.instance<forms::Splitter3>();
    windowOf(three).close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(three.loaded());
    EXPECT_EQ(host.window(three), nullptr);
    EXPECT_FALSE(host.quitRequested());  // the main window is still open

    program.SanbunMenu_Click();
    ASSERT_NE(host.window(three), nullptr);
    EXPECT_TRUE(host.window(three)->isVisible());
    EXPECT_EQ(three.ScaleWidth(), 7020);
}

TEST_F(HostTest, WidthAssignmentsResizeTheClientToWholePixelsAndRespectTheWindowState)
{
    rt::Form& form = main();
    const double frame = host.frameWidth(form);
    const qthost::FormWindow& w = windowOf(form);
    EXPECT_EQ(frame, (w.frameGeometry().width() - w.width()) * 15);
    EXPECT_TRUE(host.resizeOuterWidth(form, rt::Single(3001 + frame)));
    QCoreApplication::processEvents();
    EXPECT_EQ(surfaceOf(form).width(), 201);  // rounded up: at least the width asked for
    EXPECT_EQ(form.ScaleWidth(), 3015);
    EXPECT_EQ(form.Width(), 3015 + frame);
    EXPECT_EQ(form.control("Picture3").Width(), 3015 - 2340 - 40);

    // Asking for the size it has starts no resize.
    qttest::PaintRecorder painted(surfaceOf(form));
    EXPECT_TRUE(host.resizeOuterWidth(form, rt::Single(3015 + frame)));
    EXPECT_TRUE(painted.take().empty());

    for (Qt::WindowState state : {Qt::WindowMinimized, Qt::WindowMaximized, Qt::WindowFullScreen}) {
        windowOf(form).setWindowState(state);
        EXPECT_FALSE(host.resizeOuterWidth(form, 4000)) << state;
        windowOf(form).setWindowState(Qt::WindowNoState);
    }
}

TEST_F(HostTest, AWindowMadeTooNarrowIsWidenedToTheMinimumByItsResizeHandler)
{
    program.SanbunMenu_Click();
    rt::Form& three = *program.instance<forms::Splitter3>();
    const double frame = host.frameWidth(three);
    host.resizeClient(three, 600, 3000);
    QCoreApplication::processEvents();
    const int pixels = static_cast<int>(std::ceil((2000 - frame) / 15));  // whole pixels, rounded up
    EXPECT_EQ(surfaceOf(three).width(), pixels);
    EXPECT_EQ(three.ScaleWidth(), pixels * 15);
    EXPECT_GE(three.Width(), 2000);
    EXPECT_EQ(three.ScaleHeight(), 3000);
    EXPECT_EQ(three.control("Picture3").Height(), 3000);
    EXPECT_TRUE(errors.empty());
}

// The main window's layout places the client area at once, without a geometry animation made, run and
// left for deletion on every resize, and the panes are laid out before the resize returns.
TEST_F(HostTest, AResizePlacesTheClientAreaInOneStep)
{
    qthost::FormWindow& w = windowOf(main());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (int width : {400, 420, 380})
        host.resizeClient(main(), width * 15, 300 * 15);
    EXPECT_TRUE(w.surface()->findChildren<QAbstractAnimation*>().empty());
    EXPECT_EQ(w.surface()->size(), QSize(380, 300));
    EXPECT_EQ(main().ScaleWidth(), 380 * 15);
    EXPECT_EQ(main().control("Picture3").Height(), 300 * 15);
}

TEST_F(HostTest, AWindowShrunkToNoClientHeightStillGetsItsResizeAndKeepsTheMinimumWidth)
{
    // The main window's menu bar can take the whole window: its client area then has no height left,
    // and the window system may make it as small as it likes.
    qthost::FormWindow& w = windowOf(main());
    const double frame = host.frameWidth(main());
    const int minimumPixels = static_cast<int>(std::ceil((2000 - frame) / 15));
    const int menuHeight = w.menuWidget()->height();
    for (const QSize size : {QSize(1, 1), QSize(1, menuHeight), QSize(60, 0), QSize(0, 0)}) {
        w.resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(surfaceOf(main()).height(), 0) << size.width() << "x" << size.height();
        EXPECT_EQ(main().ScaleHeight(), 0);
        EXPECT_EQ(surfaceOf(main()).width(), minimumPixels);
        EXPECT_EQ(main().ScaleWidth(), minimumPixels * 15);
        EXPECT_GE(main().Width(), 2000);
    }
    // Given height again, the panes fill it.
    host.resizeClient(main(), 4500, 3000);
    QCoreApplication::processEvents();
    EXPECT_EQ(surfaceOf(main()).size(), QSize(300, 200));
    EXPECT_EQ(main().control("Picture3").Height(), 3000);
    EXPECT_EQ(main().control("Picture3").Width(), 4500 - 2380);
    EXPECT_TRUE(errors.empty());
}

// Hands the host the X11 notice that a window was destroyed, as the xcb platform would.
void deliverDestroyNotify(WId window, bool sentByAClient = false)
{
    xcb_destroy_notify_event_t event{};
    event.response_type = XCB_DESTROY_NOTIFY | (sentByAClient ? 0x80 : 0);
    event.event = event.window = static_cast<xcb_window_t>(window);
    qintptr result = 0;
    QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &event, &result);
}

TEST_F(HostTest, AWindowDestroyedByTheWindowSystemMidDragCountsAsClosed)
{
    bool quit = false;
    host.setQuitHandler([&quit] { quit = true; });
    program.SanbunMenu_Click();
    rt::Form& three = *program.instance<forms::Splitter3>();
    qthost::Surface& surface = surfaceOf(three);
    QTest::mousePress(&surface, Qt::LeftButton, {}, qttest::pixelOn(three, "Image1"));
    ASSERT_TRUE(three.control("Picture1").Visible());  // the drag has begun
    const WId id = windowOf(three).internalWinId();
    ASSERT_NE(id, 0u);

    deliverDestroyNotify(id);
    QCoreApplication::processEvents();
    EXPECT_FALSE(three.loaded());
    EXPECT_EQ(host.window(three), nullptr);
    EXPECT_FALSE(quit);  // the main window is still open

    // Its menu entry opens it again, freshly laid out and with no drag in progress.
    program.SanbunMenu_Click();
    ASSERT_NE(host.window(three), nullptr);
    EXPECT_TRUE(host.window(three)->isVisible());
    EXPECT_FALSE(three.control("Picture1").Visible());
    EXPECT_EQ(three.ScaleWidth(), 7020);

    // The program ends when the last of its windows is gone, whichever way.
    deliverDestroyNotify(windowOf(main()).internalWinId());
    QCoreApplication::processEvents();
    EXPECT_FALSE(main().loaded());
    EXPECT_FALSE(quit);
    windowOf(three).close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(quit);
    EXPECT_TRUE(errors.empty());
}

TEST_F(HostTest, DestroyNoticesForOtherWindowsOrSentByAClientCloseNothing)
{
    const WId id = windowOf(main()).internalWinId();
    deliverDestroyNotify(id + 1000);
    deliverDestroyNotify(id, /*sentByAClient=*/true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(main().loaded());
    ASSERT_NE(host.window(main()), nullptr);
    EXPECT_TRUE(windowOf(main()).isVisible());

    // A notice that comes after the host has closed the window itself finds nothing to close.
    windowOf(main()).close();
    deliverDestroyNotify(id);
    QCoreApplication::processEvents();
    EXPECT_FALSE(main().loaded());
}

TEST(Icons, HexDigitsIndexTheSixteenColoursAndDotsAreTransparent)
{
    rt::IconDefinition icon{};
    for (auto& row : icon.rows)
        row = "................................";
    icon.rows[0] = "0F9.c";
    const QImage image = qthost::iconImage(icon);
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(image.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(image.pixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(image.pixel(2, 0), 0xFFFF0000u);
    EXPECT_EQ(qAlpha(image.pixel(3, 0)), 0);
    EXPECT_EQ(image.pixel(4, 0), 0xFF0000FFu);  // lower case reads as well
    EXPECT_EQ(qAlpha(image.pixel(5, 0)), 0);    // a short row leaves the rest transparent
    EXPECT_EQ(qAlpha(image.pixel(0, 1)), 0);
}

}  // namespace
