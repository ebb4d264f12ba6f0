// What assistive tools see of the bars and can do with them: a separator named for what it divides, with
// its position as a value in the drag's range, a value that tools can set, and the focus while the
// keyboard moves it. (The events that announce these reach a tool only through a real accessibility bus;
// tests/atspi checks them there.)
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
                const bool isBar = child->role() == QAccessible::Separator;
                if ((isBar ? child->text(QAccessible::Description) : child->text(QAccessible::Name)).toStdString() ==
                    target.name())
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
            EXPECT_EQ(object->text(QAccessible::Description).toStdString(), name);
            EXPECT_TRUE(object->state().focusable);
            EXPECT_FALSE(object->state().focused);
            QAccessibleValueInterface* value = object->valueInterface();
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(value->currentValue().toDouble(), bar.position());
            EXPECT_EQ(value->minimumValue().toDouble(), 100);
            EXPECT_EQ(value->maximumValue().toDouble(),
                      testing_support::definedBar(form->name(), bar.number).farEnd);
            EXPECT_EQ(value->minimumStepSize().toDouble(), 15);
        }
    // Panes, containers and indicators have no value.
    for (const char* other : {"Picture2", "Picture5", "Picture10"})
        EXPECT_EQ(objectOf(*program.splitter5(), other)->valueInterface(), nullptr) << other;

    QAccessibleInterface* main1 = objectOf(main(), "Image1");
    EXPECT_EQ(main1->text(QAccessible::Name), "Divider between the left and right panes");
    EXPECT_EQ(main1->text(QAccessible::Value), "45 %");  // 2340 in 100 .. 5045
    // The range follows the window's size.
    host.resizeClient(main(), 9000, 4215);
    EXPECT_EQ(main1->valueInterface()->maximumValue().toDouble(), 8900);
    EXPECT_EQ(main1->text(QAccessible::Value), "25 %");  // 2240 of 8800
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

TEST_F(AccessibleBarsTest, TheBarTheKeyboardMovesHasTheFocus)
{
    rt::Form& five = *allForms()[3];
    focus(five);
    QAccessibleInterface* surface = QAccessible::queryAccessibleInterface(&surfaceOf(five));
    QAccessibleInterface* image1 = objectOf(five, "Image1");
    QAccessibleInterface* image2 = objectOf(five, "Image2");
    EXPECT_TRUE(surface->state().focused);

    type(five, Qt::Key_F8);
    EXPECT_TRUE(image1->state().focused);
    EXPECT_FALSE(surface->state().focused);
    EXPECT_EQ(surface->focusChild(), image1);

    type(five, Qt::Key_F8);  // on to Image2, inside the left container
    EXPECT_FALSE(image1->state().focused);
    EXPECT_TRUE(image2->state().focused);

    type(five, Qt::Key_Down);
    type(five, Qt::Key_Return);  // the commit moves the bar, and the focus goes back to the surface
    EXPECT_FALSE(image2->state().focused);
    EXPECT_TRUE(surface->state().focused);
    EXPECT_EQ(image2->valueInterface()->currentValue().toDouble(), 4020 + 15);

    // Another window taking the keyboard takes the focus from the bar.
    type(five, Qt::Key_F8);
    EXPECT_TRUE(image1->state().focused);
    focus(main());
    EXPECT_FALSE(image1->state().focused);
    EXPECT_NE(surface->focusChild(), image1);
}

}  // namespace
