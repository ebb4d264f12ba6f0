#include "qt/qt_host.h"

#include <QApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "qt/accessibility.h"
#include "qt/accessibility_bus_guard.h"
#include "qt/form_window.h"
#include "qt/icons.h"
#include "qt/painting.h"
#include "qt/window_system_filter.h"

namespace qthost {

QtHost::QtHost()
    : runtime_(*this),
      quit_([] { QCoreApplication::quit(); }),
      windowSystemFilter_(std::make_unique<WindowSystemFilter>([this](WId id) { nativeWindowDestroyed(id); },
                                                               [this](WId id) { pointerLostBy(id); }))
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->installNativeEventFilter(windowSystemFilter_.get());
}

void QtHost::DeleteLater::operator()(FormWindow* window) const
{
    window->detach();
    window->hide();
    window->deleteLater();
}

QtHost::~QtHost()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeNativeEventFilter(windowSystemFilter_.get());
    windows_.clear();
    // Nothing of ours may outlive the host: delete every window handed to deferred deletion now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

FormWindow* QtHost::window(const rt::Form& form) const
{
    const auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.get();
}

double QtHost::twipsPerPixel(const rt::Form& form) const
{
    if (const FormWindow* w = window(form))
        return w->surface()->twipsPerPixel();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? twipsPerPixelFor(screen->logicalDotsPerInchX()) : 15.0;
}

void QtHost::showForm(rt::Form& form)
{
    if (FormWindow* w = window(form)) {
        if (w->isMinimized())
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->show();
        w->raise();
        w->activateWindow();
        return;
    }
    const rt::IconDefinition* icon = form.definition().icon;
    FormWindow* w = windows_.emplace(&form, new FormWindow(form, icon ? iconFor(*icon) : QIcon())).first->second.get();
    const double tpp = twipsPerPixel(form);
    w->setClientSize(static_cast<int>(std::lround(form.ScaleWidth() / tpp)),
                     static_cast<int>(std::lround(form.ScaleHeight() / tpp)));
    // Showing delivers the first resize, which reports the client size to the runtime.
    w->show();
}

void QtHost::unloadForm(rt::Form& form)
{
    windows_.erase(&form);
}

bool QtHost::resizeOuterWidth(rt::Form& form, rt::Single outerWidth)
{
    FormWindow* w = window(form);
    if (!w || (w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return false;
    const double tpp = twipsPerPixel(form);
    const double client = std::ceil((double(outerWidth) - frameWidth(form)) / tpp);
    const int clientPixels = static_cast<int>(std::clamp(client, 0.0, double(QWIDGETSIZE_MAX)));
    // Nothing to do at the current size; asking anyway must not start another Resize.
    if (clientPixels == w->surface()->width())
        return true;
    w->requestClientWidth(clientPixels);
    return true;
}

rt::Single QtHost::frameWidth(const rt::Form& form) const
{
    const FormWindow* w = window(form);
    if (!w || !w->isVisible())
        return 0;
    const int frame = w->frameGeometry().width() - w->geometry().width();
    return static_cast<rt::Single>(std::max(0, frame) * twipsPerPixel(form));
}

void QtHost::areaChanged(rt::Form& form, const rt::Rect& area)
{
    if (FormWindow* w = window(form))
        w->surface()->areaChanged(area);
}

void QtHost::nativeWindowDestroyed(WId id)
{
    // Windows the host deleted itself are no longer listed.
    for (const auto& [form, window] : windows_) {
        if (window->internalWinId() == id) {
            window->closeDestroyedWindow();
            return;
        }
    }
}

void QtHost::pointerLostBy(WId id)
{
    for (const auto& [form, window] : windows_) {
        if (window->internalWinId() != id)
            continue;
        // After the events the platform has already queued: a release that came before the grab ends
        // the drag where it happened.
        QMetaObject::invokeMethod(
            window->surface(), [surface = window->surface()] { surface->endCutOffDrag(); }, Qt::QueuedConnection);
        return;
    }
}

void QtHost::allFormsClosed()
{
    quitRequested_ = true;
    if (quit_)
        quit_();
}

void QtHost::resizeClient(const rt::Form& form, double widthTwips, double heightTwips)
{
    FormWindow* w = window(form);
    if (!w)
        return;
    const double tpp = twipsPerPixel(form);
    const auto pixels = [tpp](double twips) {
        return static_cast<int>(std::clamp(std::round(twips / tpp), 0.0, double(QWIDGETSIZE_MAX)));
    };
    w->setClientSize(pixels(widthTwips), pixels(heightTwips));
}

const QIcon& QtHost::iconFor(const rt::IconDefinition& definition)
{
    auto it = icons_.find(&definition);
    if (it == icons_.end())
        it = icons_.emplace(&definition, toIcon(definition)).first;
    return it->second;
}

QImage QtHost::grabWindow(const rt::Form& form) const
{
    const FormWindow* w = window(form);
    return w ? const_cast<FormWindow*>(w)->grab().toImage() : QImage();
}

void setUpApplication(const rt::ProgramIdentity& identity)
{
    const auto text = [](std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); };
    QCoreApplication::setOrganizationName(QStringLiteral("Splitter"));
    QCoreApplication::setApplicationName(text(identity.name));
    QCoreApplication::setApplicationVersion(text(identity.version));
    // The windows name the desktop entry they belong to (the Wayland app id), so that the desktop links
    // them to its launcher and icon.
    QGuiApplication::setDesktopFileName(text(identity.desktopEntry));
    if (identity.icon)
        QApplication::setWindowIcon(toIcon(*identity.icon));
    // The last window to close ends the program, whichever it is: allFormsClosed decides, not Qt.
    QApplication::setQuitOnLastWindowClosed(false);
    installAccessibility();
    guardAccessibilityBus();
}

}  // namespace qthost
