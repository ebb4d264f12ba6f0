#include "qt/qt_host.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "app/program.h"
#include "forms/definitions.h"
#include "qt/accessibility.h"
#include "qt/destroyed_window_filter.h"
#include "qt/form_window.h"
#include "qt/icons.h"
#include "qt/painting.h"

namespace qthost {

QtHost::QtHost()
    : runtime_(*this),
      quit_([] { QCoreApplication::quit(); }),
      destroyedFilter_(std::make_unique<DestroyedWindowFilter>([this](WId id) { nativeWindowDestroyed(id); }))
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->installNativeEventFilter(destroyedFilter_.get());
}

QtHost::~QtHost()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeNativeEventFilter(destroyedFilter_.get());
    for (auto& [form, window] : windows_) {
        window->detach();
        delete window;
    }
    for (const QPointer<FormWindow>& window : closing_)
        delete window.data();
}

FormWindow* QtHost::window(const rt::Form& form) const
{
    const auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second;
}

double QtHost::twipsPerPixel(const rt::Form& form) const
{
    const FormWindow* w = window(form);
    const QScreen* screen = w ? w->screen() : QGuiApplication::primaryScreen();
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
    auto* w = new FormWindow(*this, form);
    windows_[&form] = w;
    const double tpp = twipsPerPixel(form);
    w->setClientSize(static_cast<int>(std::lround(form.ScaleWidth() / tpp)),
                     static_cast<int>(std::lround(form.ScaleHeight() / tpp)));
    // Showing delivers the first resize, which reports the client size to the runtime.
    w->show();
}

void QtHost::unloadForm(rt::Form& form)
{
    const auto it = windows_.find(&form);
    if (it == windows_.end())
        return;
    FormWindow* w = it->second;
    windows_.erase(it);
    w->detach();
    w->hide();
    // Usually called from the window's own close event: delete it once that has returned.
    w->deleteLater();
    closing_.erase(std::remove_if(closing_.begin(), closing_.end(), [](const auto& p) { return p.isNull(); }),
                   closing_.end());
    closing_.emplace_back(w);
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

QImage QtHost::grabWindow(const rt::Form& form) const
{
    const FormWindow* w = window(form);
    return w ? const_cast<FormWindow*>(w)->grab().toImage() : QImage();
}

void setUpApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Splitter"));
    QCoreApplication::setApplicationName(QStringLiteral("splitter"));
    QCoreApplication::setApplicationVersion(
        QString::fromUtf8(app::kProject.version.data(), static_cast<qsizetype>(app::kProject.version.size())));
    QApplication::setWindowIcon(toIcon(forms::kProgramIcon));
    // The last window to close ends the program, whichever it is: allFormsClosed decides, not Qt.
    QApplication::setQuitOnLastWindowClosed(false);
    installAccessibility();
}

}  // namespace qthost
