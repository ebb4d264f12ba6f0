#include "qt/window_style.h"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>

namespace qthost {
namespace {

class WindowStyle : public QProxyStyle {
public:
    explicit WindowStyle(const QString& base) : QProxyStyle(base) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_Widget_Animation_Duration)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }

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

void useWindowStyle(QWidget& widget)
{
    static QPointer<WindowStyle> shared;
    if (!shared) {
        shared = new WindowStyle(QApplication::style()->name());
        shared->setParent(QCoreApplication::instance());
    }
    widget.setStyle(shared);
}

}  // namespace qthost
