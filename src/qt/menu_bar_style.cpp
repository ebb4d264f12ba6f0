#include "qt/menu_bar_style.h"

#include <QApplication>
#include <QMenuBar>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>

namespace qthost {
namespace {

class MenuBarStyle : public QProxyStyle {
public:
    explicit MenuBarStyle(const QString& base) : QProxyStyle(base) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuBarItem && item && (item->state & State_Selected) && (item->state & State_Enabled)) {
            QStyleOptionMenuItem selected = *item;
            selected.state |= State_Sunken;
            QProxyStyle::drawControl(element, &selected, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

}  // namespace

void useSelectionMarkingStyle(QMenuBar& menuBar)
{
    static QPointer<MenuBarStyle> shared;
    if (!shared) {
        shared = new MenuBarStyle(QApplication::style()->name());
        shared->setParent(QCoreApplication::instance());
    }
    menuBar.setStyle(shared);
}

}  // namespace qthost
