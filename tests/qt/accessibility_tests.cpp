// What assistive tools see: windows named after their forms and described by how to use the keyboard,
// and below each surface one object per control (a drag indicator only while it is shown), named in
// words, with a role, placed where the runtime's bounds put it and following a drag.
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <functional>
#include <map>
#include <string>

#include "qt_test_support.h"

namespace {

using qttest::HostTest;
using qttest::sendMouse;

// The control an object stands for: its help text, which screen readers do not speak.
std::string controlName(QAccessibleInterface* object) { return object->text(QAccessible::Help).toStdString(); }

class AccessibilityTest : public HostTest {
protected:

    QAccessibleInterface* surfaceInterface(const rt::Form& form)
    {
        return QAccessible::queryAccessibleInterface(&surfaceOf(form));
    }

    // Every object below the surface by control name, checking on the way that each child names its parent.
    std::map<std::string, QAccessibleInterface*> descendants(const rt::Form& form)
    {
        std::map<std::string, QAccessibleInterface*> found;
        std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* parent) {
            for (int i = 0; i < parent->childCount(); ++i) {
                QAccessibleInterface* child = parent->child(i);
                if (!child) {
                    ADD_FAILURE() << "missing child " << i;
                    continue;
                }
                EXPECT_EQ(child->parent(), parent) << controlName(child);
                EXPECT_EQ(parent->indexOfChild(child), i);
                EXPECT_TRUE(found.emplace(controlName(child), child).second) << "named twice: " << controlName(child);
                walk(child);
            }
        };
        walk(surfaceInterface(form));
        return found;
    }

    QRect screenRect(const rt::Form& form, const std::string& name)
    {
        double x = 0, y = 0;
        const rt::Control& c = form.control(name);
        form.originOf(c, x, y);
        const QPoint origin = surfaceOf(form).mapToGlobal(QPoint(0, 0));
        return QRect(QPoint(qRound(x / 15), qRound(y / 15)) + origin,
                     QPoint(qRound((x + c.Width()) / 15) - 1, qRound((y + c.Height()) / 15) - 1) + origin);
    }
};

TEST_F(AccessibilityTest, EachWindowIsNamedAfterItsFormAndHoldsItsSurface)
{
    for (rt::Form* form : allForms()) {
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&windowOf(*form));
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->role(), QAccessible::Window);
        EXPECT_EQ(window->text(QAccessible::Name).toStdString(), form->name());
        const QString help = window->text(QAccessible::Description);
        for (const char* key : {"F8", "arrow keys", "Return", "Escape"})
            EXPECT_TRUE(help.contains(QLatin1String(key))) << form->name() << " does not mention " << key;
        QAccessibleInterface* surface = surfaceInterface(*form);
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ(surface->parent(), window);
        EXPECT_GE(window->indexOfChild(surface), 0);
    }
}

TEST_F(AccessibilityTest, EveryControlAppearsOnceWithItsNameAndRole)
{
    for (rt::Form* form : allForms()) {
        SCOPED_TRACE(std::string(form->name()));
        const auto found = descendants(*form);
        for (const auto& control : form->controls()) {
            const bool indicator = control->role() == rt::ControlRole::Indicator;
            EXPECT_EQ(found.count(control->name()), indicator ? 0u : 1u) << control->name();
        }
        // No control name is what a screen reader would speak.
        for (const auto& [name, object] : found)
            for (const QAccessible::Text t : {QAccessible::Name, QAccessible::Description, QAccessible::Value})
                EXPECT_FALSE(object->text(t).contains(QLatin1String("Picture")) ||
                             object->text(t).contains(QLatin1String("Image")))
                    << name << " says " << object->text(t).toStdString();
    }
    rt::Form& five = *program.instance<forms::Splitter5>();
    const auto found = descendants(five);
    EXPECT_EQ(found.at("Picture11")->role(), QAccessible::Pane);
    EXPECT_EQ(found.at("Picture9")->role(), QAccessible::Pane);
    EXPECT_EQ(found.at("Picture2")->role(), QAccessible::Grouping);  // holds Picture5 and Picture6
    EXPECT_EQ(found.at("Picture5")->role(), QAccessible::Grouping);
    EXPECT_EQ(found.at("Image4")->role(), QAccessible::Separator);
    EXPECT_EQ(found.at("Picture5")->parent()->parent(), surfaceInterface(five));
    EXPECT_EQ(found.at("Picture11")->text(QAccessible::Name), "left pane on the upper left");
    EXPECT_EQ(found.at("Picture5")->text(QAccessible::Name), "upper group of panes on the left");
}

TEST_F(AccessibilityTest, RectsAreTheControlsBoundsOnTheScreen)
{
    for (rt::Form* form : allForms())
        for (const auto& [name, iface] : descendants(*form))
            EXPECT_EQ(iface->rect(), screenRect(*form, name)) << form->name() << "." << name;
}

TEST_F(AccessibilityTest, AnIndicatorIsThereOnlyWhileShownAndRectsFollowTheLayout)
{
    rt::Form& form = main();
    QAccessibleInterface* left = descendants(form).at("Picture2");
    EXPECT_EQ(descendants(form).count("Picture1"), 0u);

    qthost::Surface& surface = surfaceOf(form);
    QTest::mousePress(&surface, Qt::LeftButton, {}, QPoint(157, 100));
    sendMouse(surface, QEvent::MouseMove, QPointF(200, 100), Qt::NoButton, Qt::LeftButton);
    const auto during = descendants(form);
    ASSERT_EQ(during.count("Picture1"), 1u);
    QAccessibleInterface* indicator = during.at("Picture1");
    EXPECT_EQ(indicator->role(), QAccessible::Slider);
    EXPECT_EQ(indicator->text(QAccessible::Name), "Divider between the left and right panes");
    EXPECT_EQ(indicator->rect().left(), surface.mapToGlobal(QPoint(200, 0)).x());
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_EQ(descendants(form).count("Picture1"), 0u);
    EXPECT_EQ(left->rect(), screenRect(form, "Picture2"));
    EXPECT_EQ(left->rect().width(), 200);
}

TEST_F(AccessibilityTest, AMinimisedWindowsControlsAreNotShowing)
{
    rt::Form& three = *allForms()[1];
    QAccessibleInterface* bar = descendants(three).at("Image1");
    EXPECT_FALSE(bar->state().invisible);
    windowOf(three).showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return windowOf(three).isMinimized(); }, 2000));
    EXPECT_TRUE(bar->state().invisible);
    windowOf(three).showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !windowOf(three).isMinimized(); }, 2000));
    EXPECT_FALSE(bar->state().invisible);
}

TEST_F(AccessibilityTest, ChildAtFindsWhatTheMouseWouldReach)
{
    rt::Form& five = *allForms()[3];
    QAccessibleInterface* surface = surfaceInterface(five);
    const QPoint origin = surfaceOf(five).mapToGlobal(QPoint(0, 0));
    const auto nameAt = [&](QAccessibleInterface* parent, const std::string& control) {
        QAccessibleInterface* hit = parent->childAt(origin.x() + qttest::pixelOn(five, control).x(),
                                                    origin.y() + qttest::pixelOn(five, control).y());
        return hit ? controlName(hit) : std::string("(none)");
    };
    // From the surface, a point on a nested pane gives the top-level container holding it.
    EXPECT_EQ(nameAt(surface, "Picture11"), "Picture2");
    EXPECT_EQ(nameAt(surface, "Image1"), "Image1");
    QAccessibleInterface* container = descendants(five).at("Picture5");
    EXPECT_EQ(nameAt(container, "Picture11"), "Picture11");
    EXPECT_EQ(nameAt(container, "Image4"), "Image4");
    EXPECT_EQ(surface->childAt(origin.x() - 5, origin.y() - 5), nullptr);
}

TEST_F(AccessibilityTest, AClosedWindowsControlsBecomeInvalidWithoutCrashing)
{
    rt::Form& three = *allForms()[1];
    QAccessibleInterface* pane = descendants(three).at("Picture3");
    QAccessibleInterface* bar = descendants(three).at("Image1");
    const QAccessible::Id id = QAccessible::uniqueId(pane);
    ASSERT_TRUE(pane->isValid());
    EXPECT_EQ(bar->valueInterface()->currentValue().toDouble(), 3360);
    windowOf(three).close();
    // Read while the window goes: the bar is gone, and its value reads as a number, as it last was,
    // rather than nothing (which the bridge would send as whatever lay in memory).
    EXPECT_FALSE(bar->isValid());
    for (const QVariant& v : {bar->valueInterface()->currentValue(), bar->valueInterface()->maximumValue()})
        EXPECT_EQ(v.typeId(), QMetaType::Double);
    EXPECT_EQ(bar->valueInterface()->currentValue().toDouble(), 3360);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    // The window is gone, and with it every interface of its controls.
    EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr);
    // Opened again, the new window's controls are there afresh.
    program.SanbunMenu_Click();
    QCoreApplication::processEvents();
    const auto found = descendants(*program.instance<forms::Splitter3>());
    ASSERT_TRUE(found.count("Picture3"));
    EXPECT_TRUE(found.at("Picture3")->isValid());
    EXPECT_EQ(found.at("Picture3")->rect(), screenRect(*program.instance<forms::Splitter3>(), "Picture3"));
}

}  // namespace
