// What assistive tools see: windows named after their forms, and below each surface one object per
// control, named, with a role, placed where the runtime's bounds put it and following a drag.
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

// The control an object stands for: a bar is named in words and keeps its control's name as description.
std::string controlName(QAccessibleInterface* object)
{
    const QAccessible::Text t = object->role() == QAccessible::Separator ? QAccessible::Description : QAccessible::Name;
    return object->text(t).toStdString();
}

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
        EXPECT_EQ(found.size(), form->controls().size());
        for (const auto& control : form->controls())
            EXPECT_TRUE(found.count(control->name())) << control->name();
    }
    rt::Form& five = *program.splitter5();
    const auto found = descendants(five);
    EXPECT_EQ(found.at("Picture11")->role(), QAccessible::Pane);
    EXPECT_EQ(found.at("Picture9")->role(), QAccessible::Pane);
    EXPECT_EQ(found.at("Picture2")->role(), QAccessible::Grouping);  // holds Picture5 and Picture6
    EXPECT_EQ(found.at("Picture5")->role(), QAccessible::Grouping);
    EXPECT_EQ(found.at("Image4")->role(), QAccessible::Separator);
    EXPECT_EQ(found.at("Picture10")->role(), QAccessible::Indicator);
    EXPECT_EQ(found.at("Picture10")->parent(), found.at("Picture5"));
    EXPECT_EQ(found.at("Picture5")->parent()->parent(), surfaceInterface(five));
}

TEST_F(AccessibilityTest, RectsAreTheControlsBoundsOnTheScreen)
{
    for (rt::Form* form : allForms())
        for (const auto& [name, iface] : descendants(*form))
            EXPECT_EQ(iface->rect(), screenRect(*form, name)) << form->name() << "." << name;
}

TEST_F(AccessibilityTest, IndicatorsAreHiddenUntilTheirBarIsDraggedAndRectsFollowTheLayout)
{
    rt::Form& form = main();
    const auto found = descendants(form);
    QAccessibleInterface* indicator = found.at("Picture1");
    QAccessibleInterface* left = found.at("Picture2");
    EXPECT_TRUE(indicator->state().invisible);
    EXPECT_FALSE(left->state().invisible);

    qthost::Surface& surface = surfaceOf(form);
    QTest::mousePress(&surface, Qt::LeftButton, {}, QPoint(157, 100));
    sendMouse(surface, QEvent::MouseMove, QPointF(200, 100), Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(indicator->state().invisible);
    EXPECT_EQ(indicator->rect().left(), surface.mapToGlobal(QPoint(200, 0)).x());
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_TRUE(indicator->state().invisible);
    EXPECT_EQ(left->rect(), screenRect(form, "Picture2"));
    EXPECT_EQ(left->rect().width(), 200);
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
    const QAccessible::Id id = QAccessible::uniqueId(pane);
    ASSERT_TRUE(pane->isValid());
    windowOf(three).close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    // The window is gone, and with it every interface of its controls.
    EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr);
    // Opened again, the new window's controls are there afresh.
    program.SanbunMenu_Click();
    QCoreApplication::processEvents();
    const auto found = descendants(*program.splitter3());
    ASSERT_TRUE(found.count("Picture3"));
    EXPECT_TRUE(found.at("Picture3")->isValid());
    EXPECT_EQ(found.at("Picture3")->rect(), screenRect(*program.splitter3(), "Picture3"));
}

}  // namespace
