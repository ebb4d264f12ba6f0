// The main window's menu bar marks the selected entry, whether the mouse is over it or the keyboard chose
// it (Alt, then the arrows), in the style the program runs with here, as on a plain X server.
#include <QApplication>
#include <QMenuBar>
#include <QTest>

#include "qt_test_support.h"

namespace {

using qttest::HostTest;

class MenuBarTest : public HostTest {
protected:
    QMenuBar& menuBar() { return *windowOf(main()).menuBar(); }
    QAction* entry(int index) { return menuBar().actions().at(index); }
    void hover(QAction* action)
    {
        qttest::sendMouse(menuBar(), QEvent::MouseMove, menuBar().actionGeometry(action).center(), Qt::NoButton,
                          Qt::NoButton);
    }

    // Pixels of the selection colour inside the entry, as the menu bar is drawn now.
    int marked(int index)
    {
        QCoreApplication::processEvents();
        const QImage drawn = menuBar().grab().toImage();
        const double ratio = drawn.devicePixelRatio();
        const QRect r = menuBar().actionGeometry(entry(index));
        const QRgb highlight = menuBar().palette().color(QPalette::Highlight).rgb() & 0xFFFFFFu;
        int count = 0;
        for (int y = int(r.top() * ratio); y < int((r.bottom() + 1) * ratio); ++y)
            for (int x = int(r.left() * ratio); x < int((r.right() + 1) * ratio); ++x)
                count += qttest::rgbAt(drawn, x, y) == highlight;
        return count;
    }
};

TEST_F(MenuBarTest, TheEntryUnderTheMouseIsMarked)
{
    EXPECT_EQ(marked(0), 0);
    hover(entry(0));
    EXPECT_GT(marked(0), 20);
    EXPECT_EQ(marked(1), 0);
    hover(entry(2));
    EXPECT_EQ(marked(0), 0);
    EXPECT_GT(marked(2), 20);
}

TEST_F(MenuBarTest, TheEntryChosenFromTheKeyboardIsMarkedAndReturnOpensItsWindow)
{
    windowOf(main()).activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&windowOf(main())));
    QWindow* window = windowOf(main()).windowHandle();
    QTest::keyClick(window, Qt::Key_Alt, Qt::AltModifier);
    EXPECT_GT(marked(0), 20);
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(marked(0), 0);
    EXPECT_GT(marked(1), 20);
    QTest::keyClick(window, Qt::Key_Return);
    ASSERT_NE(program.instance<forms::Splitter4>(), nullptr);
    EXPECT_TRUE(program.instance<forms::Splitter4>()->loaded());
}

}  // namespace
