// How the guard before the accessibility bridge reads the bridge's description of an object: which
// arguments each method takes (a call that brings others is refused before it reaches the bridge) and
// which properties a query for all of them must gather.
#include <gtest/gtest.h>

#include "qt/accessibility_bus_guard.h"

namespace {

// Shaped as the bridge writes it: <interface> elements one after the other, with no root element.
const QString kBarDescription = QString::fromLatin1(R"xml(
  <interface name="org.a11y.atspi.Accessible">
    <property access="read" type="s" name="Name"/>
    <property access="read" type="(so)" name="Parent">
      <annotation value="QSpiObjectReference" name="org.qtproject.QtDBus.QtTypeName"/>
    </property>
    <method name="GetChildAtIndex">
      <arg direction="in" type="i" name="index"/>
      <arg direction="out" type="(so)"/>
      <annotation value="QSpiObjectReference" name="org.qtproject.QtDBus.QtTypeName.Out0"/>
    </method>
    <method name="GetRole">
      <arg direction="out" type="u"/>
    </method>
  </interface>
  <interface name="org.a11y.atspi.Component">
    <method name="GetRangeExtents">
      <arg direction="in" type="i" name="startOffset"/>
      <arg direction="out" type="i" name="x"/>
      <arg direction="in" type="u" name="coordType"/>
      <arg type="b" name="noDirectionMeansIn"/>
    </method>
  </interface>
  <interface name="org.a11y.atspi.Value">
    <property access="read" type="d" name="MinimumValue"/>
    <property access="readwrite" type="d" name="CurrentValue"/>
    <method name="SetCurrentValue">
      <arg direction="in" type="d" name="value"/>
    </method>
  </interface>
)xml");

TEST(AccessibilityBusGuard, MethodsTakeTheirInArgumentsInOrder)
{
    const qthost::BusDescription d = qthost::describeBusObject(kBarDescription);
    EXPECT_EQ(d.methods.value("org.a11y.atspi.Accessible").value("GetChildAtIndex"), "i");
    EXPECT_EQ(d.methods.value("org.a11y.atspi.Accessible").value("GetRole"), "");
    // Out arguments in between are skipped; an argument without a direction is an in argument.
    EXPECT_EQ(d.methods.value("org.a11y.atspi.Component").value("GetRangeExtents"), "iub");
    EXPECT_EQ(d.methods.value("org.a11y.atspi.Value").value("SetCurrentValue"), "d");
    EXPECT_FALSE(d.methods.value("org.a11y.atspi.Value").contains("GetCurrentValue"));
}

TEST(AccessibilityBusGuard, PropertiesAreListedPerInterface)
{
    const qthost::BusDescription d = qthost::describeBusObject(kBarDescription);
    EXPECT_EQ(d.properties.value("org.a11y.atspi.Accessible"), QStringList({"Name", "Parent"}));
    EXPECT_EQ(d.properties.value("org.a11y.atspi.Value"), QStringList({"MinimumValue", "CurrentValue"}));
    // An interface with methods only is still there, with no properties.
    EXPECT_TRUE(d.methods.contains("org.a11y.atspi.Component"));
    EXPECT_TRUE(d.properties.value("org.a11y.atspi.Component").isEmpty());
    EXPECT_FALSE(d.methods.contains("org.a11y.atspi.Text"));
}

TEST(AccessibilityBusGuard, NoDescriptionOrABrokenOneDescribesNothingUnread)
{
    // The bridge describes no object at a path where it has none.
    EXPECT_TRUE(qthost::describeBusObject(QString()).empty());
    // Text cut short keeps what was read completely before the break, and nothing after it.
    const QString cut = kBarDescription.left(kBarDescription.indexOf("<interface name=\"org.a11y.atspi.Value\"") + 20);
    const qthost::BusDescription d = qthost::describeBusObject(cut);
    EXPECT_EQ(d.methods.value("org.a11y.atspi.Accessible").value("GetChildAtIndex"), "i");
    EXPECT_TRUE(d.properties.value("org.a11y.atspi.Value").isEmpty());
}

}  // namespace
