// What assistive tools see of the bars and can do with them: a separator named for what it divides, with
// its position as a value in the drag's range, a value that tools can set, and while the keyboard moves it,
// its indicator: a slider with the focus, valued in percent, whose every move is announced. (The events
// reach a tool only through a real accessibility bus; tests/atspi and tests/orca check them there too.)
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "qt_test_support.h"
#include "support/defined_bars.h"

namespace {

using qttest::HostTest;

class AccessibleBarsTest : public HostTest {
protected:
    // The object of the control with that name, found by walking down from the surface.
    QAccessibleInterface* objectOf(const rt::Form& form, const std::string& control)
    {
        QAccessibleInterface* found = nullptr;
        const rt::Control& target = form.control(control);
        std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* parent) {
            for (int i = 0; i < parent->childCount() && !found; ++i) {
                QAccessibleInterface* child = parent->child(i);
                if (child->text(QAccessible::Help).toStdString() == target.name())
                    found = child;
                else
                    walk(child);
            }
        };
        walk(QAccessible::queryAccessibleInterface(&surfaceOf(form)));
        return found;
    }

    void focus(const rt::Form& form)
    {
        windowOf(form).activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&windowOf(form)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return surfaceOf(form).hasFocus(); }, 2000));
    }
    void type(const rt::Form& form, Qt::Key key) { QTest::keyClick(windowOf(form).windowHandle(), key); }
};

TEST_F(AccessibleBarsTest, BarsAreSeparatorsValuedByTheirPositionInTheDragsRange)
{
    for (rt::Form* form : allForms())
        for (const splitter::Bar& bar : static_cast<forms::PaneWindow*>(form)->bars()) {
            const std::string name(bar.control.name());
            SCOPED_TRACE(std::string(form->name()) + "." + name);
            QAccessibleInterface* object = objectOf(*form, name);
            ASSERT_NE(object, nullptr);
            EXPECT_EQ(object->role(), QAccessible::Separator);
            EXPECT_TRUE(object->text(QAccessible::Name).startsWith("Divider between the "));
            EXPECT_EQ(object->text(QAccessible::Help).toStdString(), name);
            EXPECT_FALSE(object->state().focusable);  // the keyboard takes its indicator
            EXPECT_FALSE(object->state().focused);
            QAccessibleValueInterface* value = object->valueInterface();
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(value->currentValue().toDouble(), bar.position());
            EXPECT_EQ(value->minimumValue().toDouble(), 100);
            EXPECT_EQ(value->maximumValue().toDouble(),
                      testing_support::definedBar(form->name(), bar.number).farEnd);
            EXPECT_EQ(value->minimumStepSize().toDouble(), 15);
        }
    // Panes and containers have no value.
    for (const char* other : {"Picture2", "Picture5"})
        EXPECT_EQ(objectOf(*program.instance<forms::Splitter5>(), other)->valueInterface(), nullptr) << other;

    QAccessibleInterface* main1 = objectOf(main(), "Image1");
    EXPECT_EQ(main1->text(QAccessible::Name), "Divider between the left and right panes");
    EXPECT_EQ(main1->text(QAccessible::Description), "45 percent from the left");  // 2340 in 100 .. 5045
    // The range follows the window's size.
    host.resizeClient(main(), 9000, 4215);
    EXPECT_EQ(main1->valueInterface()->maximumValue().toDouble(), 8900);
    EXPECT_EQ(main1->text(QAccessible::Description), "25 percent from the left");  // 2240 of 8800
}

TEST_F(AccessibleBarsTest, SettingTheValueLaysTheWindowOutAsADragReleasedThere)
{
    rt::Form& five = *allForms()[3];
    QAccessibleInterface* image4 = objectOf(five, "Image4");
    image4->valueInterface()->setCurrentValue(2000.0);
    EXPECT_EQ(five.control("Image4").Left(), 2000);
    EXPECT_EQ(five.control("Picture11").Width(), 2000);
    EXPECT_FALSE(five.control("Picture10").Visible());
    // 1050 twips from the left, inside Picture5: the left pane's colour, then the right one's.
    EXPECT_EQ(qttest::rgbAt(grabSurface(five), 70, 70), 0xFFC0C0u);
    // Through the same limits, and something that is no number changes nothing: tried away from either
    // limit, where taking it for 0 would move the bar to the lower one.
    image4->valueInterface()->setCurrentValue(-5.0);
    EXPECT_EQ(five.control("Image4").Left(), 100);
    EXPECT_EQ(qttest::rgbAt(grabSurface(five), 70, 70), 0xE0E0E0u);
    image4->valueInterface()->setCurrentValue(99999.0);
    EXPECT_EQ(five.control("Image4").Left(), 4460);  // Picture5's outer width, 4560, less 100
    image4->valueInterface()->setCurrentValue(2500.0);
    image4->valueInterface()->setCurrentValue(QStringLiteral("wide"));
    EXPECT_EQ(five.control("Image4").Left(), 2500);
    EXPECT_EQ(image4->valueInterface()->currentValue().toDouble(), 2500);
}

TEST_F(AccessibleBarsTest, TheKeyboardMovesTheIndicatorWhichHasTheFocus)
{
    rt::Form& five = *allForms()[3];
    focus(five);
    QAccessibleInterface* surface = QAccessible::queryAccessibleInterface(&surfaceOf(five));
    QAccessibleInterface* image2 = objectOf(five, "Image2");
    EXPECT_TRUE(surface->state().focused);

    type(five, Qt::Key_F8);
    QAccessibleInterface* indicator1 = objectOf(five, "Picture1");
    ASSERT_NE(indicator1, nullptr);
    EXPECT_TRUE(indicator1->state().focused);
    EXPECT_FALSE(surface->state().focused);
    EXPECT_EQ(surface->focusChild(), indicator1);

    type(five, Qt::Key_F8);  // on to Image2, inside the left container
    EXPECT_EQ(objectOf(five, "Picture1"), nullptr);
    QAccessibleInterface* indicator4 = objectOf(five, "Picture4");
    ASSERT_NE(indicator4, nullptr);
    EXPECT_TRUE(indicator4->state().focused);
    EXPECT_EQ(indicator4->text(QAccessible::Name), image2->text(QAccessible::Name));
    // 4020 in 100 .. 8270, in percent.
    EXPECT_NEAR(indicator4->valueInterface()->currentValue().toDouble(), 47.98, 0.01);

    type(five, Qt::Key_Down);
    EXPECT_EQ(image2->valueInterface()->currentValue().toDouble(), 4020 + 15);     // the indicator's position
    EXPECT_EQ(five.control("Image2").Top(), 4020);
    type(five, Qt::Key_End);
    EXPECT_EQ(indicator4->valueInterface()->currentValue().toDouble(), 100);

    type(five, Qt::Key_Return);  // the commit moves the bar, and the focus goes back to the surface
    EXPECT_TRUE(surface->state().focused);
    EXPECT_EQ(surface->text(QAccessible::Description),
              "Divider between the upper group of panes and the lower pane on the left placed, at the bottom limit");
    EXPECT_EQ(image2->valueInterface()->currentValue().toDouble(), 8270);

    type(five, Qt::Key_F8);
    EXPECT_TRUE(surface->text(QAccessible::Description).isEmpty());
    type(five, Qt::Key_Left);
    type(five, Qt::Key_Escape);
    EXPECT_EQ(surface->text(QAccessible::Description),
              "Move cancelled. Divider between the left and right groups of panes back, 51 percent from the left");  // 4560 in 100 .. 8810

    // Another window taking the keyboard takes the focus from the indicator, and the window forgets the move.
    type(five, Qt::Key_F8);
    ASSERT_NE(objectOf(five, "Picture1"), nullptr);
    EXPECT_TRUE(objectOf(five, "Picture1")->state().focused);
    focus(main());
    EXPECT_EQ(objectOf(five, "Picture1"), nullptr);
    EXPECT_TRUE(surface->text(QAccessible::Description).isEmpty());
}

// A tool setting the value of the bar the keyboard holds puts the bar down there and the focus back on the
// window, so that a screen reader does not go on believing the bar has it (the focus event itself is
// checked on a real bus by tests/atspi).
TEST_F(AccessibleBarsTest, AValueSetWhileTheKeyboardHoldsTheBarGivesTheFocusBack)
{
    rt::Form& three = *allForms()[1];
    focus(three);
    type(three, Qt::Key_F8);
    QAccessibleInterface* image1 = objectOf(three, "Image1");
    image1->valueInterface()->setCurrentValue(3000.0);
    EXPECT_EQ(three.control("Image1").Left(), 3000);
    EXPECT_EQ(objectOf(three, "Picture1"), nullptr);
    QAccessibleInterface* surface = QAccessible::queryAccessibleInterface(&surfaceOf(three));
    EXPECT_TRUE(surface->state().focused);
    EXPECT_EQ(surface->text(QAccessible::Description),
              "Divider between the left group of panes and the right pane placed, 43 percent from the left");
    type(three, Qt::Key_F8);
    ASSERT_NE(objectOf(three, "Picture1"), nullptr);
    EXPECT_TRUE(objectOf(three, "Picture1")->state().focused);
}

}  // namespace
