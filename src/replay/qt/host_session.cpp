#include "replay/qt/host_session.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "qt/form_window.h"

// Qt's entry point for simulated window-system mouse events, exported for QTest (declared in
// <QtTest/qtestmouse.h>, which would bring the rest of QTest with it).
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);
QT_END_NAMESPACE

namespace qtreplay {
namespace {

using replay::EventKind;

// Far beyond any screen, yet well inside what Qt converts to whole pixels without overflowing.
constexpr double kPositionLimit = 1e6;

Qt::KeyboardModifiers qtModifiers(int shift)
{
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ShiftModifier, shift & rt::kShiftMask);
    modifiers.setFlag(Qt::ControlModifier, shift & rt::kCtrlMask);
    return modifiers.setFlag(Qt::AltModifier, shift & rt::kAltMask);
}

}  // namespace

HostSession::HostSession() : program_(host_.runtime())
{
    host_.runtime().setErrorOutput([](const std::string&) {});  // counted by the runtime
    host_.setQuitHandler([this] { ++quitRequests_; });
    clock_ += 10000;
}

HostSession::~HostSession() { host_.runtime().setMouseObserver({}); }

qthost::FormWindow* HostSession::windowOf(replay::Window w) const
{
    const forms::PaneWindow* form = window(w);
    return form ? host_.window(*form) : nullptr;
}

void HostSession::apply(const replay::Event& e)
{
    if (replay::isMouse(e.kind))
        return mouse(e);
    clock_ += 1000;
    qthost::FormWindow* shown = windowOf(e.window);
    if (e.kind == EventKind::Open) {
        program_.open(e.window);
    } else if (e.kind == EventKind::Menu) {
        const QList<QAction*> entries = windowOf(0) ? windowOf(0)->menuBar()->actions() : QList<QAction*>();
        if (e.menuIndex < static_cast<std::size_t>(entries.size()))
            entries[static_cast<qsizetype>(e.menuIndex)]->trigger();
    } else if (e.kind == EventKind::Close) {
        if (shown)
            shown->close();
        sizedBySystem_[e.window] = false;
    } else if (!shown) {
        return;
    } else if (e.kind == EventKind::Resize) {
        if (!std::isnan(e.x) && !std::isnan(e.y))
            host_.resizeClient(*window(e.window), e.x, e.y);
    } else if (e.kind == EventKind::Restore) {
        shown->setWindowState(Qt::WindowNoState);
    } else {
        // Minimizing keeps a maximized window's state for its return, as a window system does.
        shown->setWindowState(e.kind == EventKind::Maximize
                                  ? Qt::WindowMaximized
                                  : (shown->windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
        sizedBySystem_[e.window] = true;
    }
}

void HostSession::mouse(const replay::Event& e)
{
    clock_ += 100;
    qthost::FormWindow* shown = windowOf(e.window);
    QWindow* handle = shown ? shown->windowHandle() : nullptr;
    QPointF local;
    if (handle) {
        const double tpp = shown->surface()->twipsPerPixel();
        const auto pixels = [tpp](double twips) {
            const double px = twips / tpp;
            return std::isnan(px) ? px : std::clamp(px, -kPositionLimit, kPositionLimit);
        };
        local = QPointF(pixels(e.x), pixels(e.y)) + QPointF(shown->surface()->mapTo(shown, QPoint(0, 0)));
    }
    // The one button a press or release names: the lowest it gives.
    const int named = qtButtons(e.button).toInt();
    const Qt::MouseButton button = e.kind == EventKind::Move ? Qt::NoButton : Qt::MouseButton(named & -named);
    QEvent::Type type = QEvent::MouseMove;
    if (e.kind == EventKind::Down) {
        // The menu bar is Qt's; its entries are chosen with menu events. A press there (which may open
        // the menu bar's own pop-up and wait for it) is not made.
        if (handle && shown->menuWidget() && shown->menuWidget()->geometry().contains(local.toPoint()))
            return;
        held_ |= button;
        type = QEvent::MouseButtonPress;
    } else if (e.kind == EventKind::Up) {
        held_ &= ~Qt::MouseButtons(button);
        type = QEvent::MouseButtonRelease;
    } else {
        held_ = qtButtons(e.button);
    }
    if (!handle || (shown->windowState() & Qt::WindowMinimized) || (type != QEvent::MouseMove && !button))
        return;
    if (std::isnan(local.x()) || std::isnan(local.y()))
        return;  // no window system reports such a position
    qt_handleMouseEvent(handle, local, handle->mapToGlobal(local), held_, button, type, qtModifiers(e.shift),
                        clock_);
}

void HostSession::settle()
{
    // A deferred Width assignment may start another resize, which may defer another; a few rounds
    // run them all.
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

replay::ResizeOutcome HostSession::sizeAfter(const replay::Event& e) const
{
    using Kind = replay::ResizeOutcome::Kind;
    const qthost::FormWindow* shown = windowOf(e.window);
    if (shown && e.kind == EventKind::Open && (shown->windowState() & Qt::WindowMinimized))
        return {Kind::Unpredictable};
    if (!shown || e.kind != EventKind::Resize || std::isnan(e.x) || std::isnan(e.y))
        return {Kind::Unchanged};
    // Once minimized, maximized or full screen, the window system may keep the size it gave the window,
    // whatever resizes come later: the offscreen platform keeps a maximized size even after a restore.
    if ((shown->windowState() & kSizedBySystem) || sizedBySystem_[e.window])
        return {Kind::Unpredictable};
    const double tpp = shown->surface()->twipsPerPixel();
    const auto pixels = [tpp](double twips) {
        return static_cast<int>(std::clamp(std::round(twips / tpp), 0.0, double(QWIDGETSIZE_MAX)));
    };
    const int clientWidth = std::max(pixels(e.x), shown->minimumWidth());
    const int clientHeight = pixels(e.y);
    // A window larger than its screen may be kept within it, as the window system sees fit.
    if (const QScreen* screen = shown->screen()) {
        const QSize room = screen->availableGeometry().size();
        if (clientWidth + shown->frameGeometry().width() - shown->width() > room.width() ||
            clientHeight + shown->frameGeometry().height() - shown->surface()->height() > room.height())
            return {Kind::Unpredictable};
    }
    return {Kind::Settles, static_cast<float>(clientWidth * tpp), static_cast<float>(clientHeight * tpp)};
}

}  // namespace qtreplay
