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

struct ButtonCode {
    int code;
    Qt::MouseButton button;
};
constexpr ButtonCode kButtons[] = {{1, Qt::LeftButton},
                                   {2, Qt::RightButton},
                                   {4, Qt::MiddleButton},
                                   {8, Qt::BackButton},
                                   {16, Qt::ForwardButton}};

// The one button a press or release names: the lowest it gives.
Qt::MouseButton qtButton(int code)
{
    for (const ButtonCode& b : kButtons)
        if (code & b.code)
            return b.button;
    return Qt::NoButton;
}

// Far beyond any screen, yet well inside what Qt converts to whole pixels without overflowing.
constexpr double kPositionLimit = 1e6;

constexpr Qt::WindowStates kSizedBySystem = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

}  // namespace

Qt::MouseButtons qtButtons(int buttons)
{
    Qt::MouseButtons held;
    for (const ButtonCode& b : kButtons)
        if (buttons & b.code)
            held |= b.button;
    return held;
}

int scriptButtons(Qt::MouseButtons buttons)
{
    int code = 0;
    for (const ButtonCode& b : kButtons)
        if (buttons & b.button)
            code |= b.code;
    return code;
}

Qt::KeyboardModifiers qtModifiers(int shift)
{
    Qt::KeyboardModifiers modifiers;
    if (shift & rt::kShiftMask)
        modifiers |= Qt::ShiftModifier;
    if (shift & rt::kCtrlMask)
        modifiers |= Qt::ControlModifier;
    if (shift & rt::kAltMask)
        modifiers |= Qt::AltModifier;
    return modifiers;
}

HostSession::HostSession() : program_(host_.runtime())
{
    host_.runtime().setErrorOutput([](const std::string&) {});  // counted by the runtime
    host_.setQuitHandler([this] { ++quitRequests_; });
    clock_ += 10000;
}

HostSession::~HostSession()
{
    host_.runtime().setMouseObserver({});
}

qthost::FormWindow* HostSession::windowOf(replay::Window w) const
{
    const forms::PaneWindow* form = window(w);
    return form ? host_.window(*form) : nullptr;
}

void HostSession::apply(const replay::Event& e)
{
    if (replay::isMouse(e.kind)) {
        mouse(e);
        return;
    }
    clock_ += 1000;
    forms::PaneWindow* form = window(e.window);
    qthost::FormWindow* shown = windowOf(e.window);
    switch (e.kind) {
    case EventKind::Open:
        program_.open(e.window);
        break;
    case EventKind::Menu:
        if (qthost::FormWindow* main = windowOf(0)) {
            const QList<QAction*> entries = main->menuBar()->actions();
            if (e.menuIndex < static_cast<std::size_t>(entries.size()))
                entries[static_cast<qsizetype>(e.menuIndex)]->trigger();
        }
        break;
    case EventKind::Close:
        if (shown)
            shown->close();
        sizedBySystem_[e.window] = false;
        break;
    case EventKind::Resize:
        if (form && shown && !std::isnan(e.x) && !std::isnan(e.y))
            host_.resizeClient(*form, e.x, e.y);
        break;
    case EventKind::Minimize:
        if (shown) {
            shown->setWindowState((shown->windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
            sizedBySystem_[e.window] = true;
        }
        break;
    case EventKind::Maximize:
        if (shown) {
            shown->setWindowState(Qt::WindowMaximized);
            sizedBySystem_[e.window] = true;
        }
        break;
    case EventKind::Restore:
        if (shown)
            shown->setWindowState(Qt::WindowNoState);
        break;
    default: break;
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
    Qt::MouseButton button = Qt::NoButton;
    QEvent::Type type = QEvent::MouseMove;
    switch (e.kind) {
    case EventKind::Down:
        button = qtButton(e.button);
        // The menu bar is Qt's; its entries are chosen with menu events. A press there (which may open
        // the menu bar's own pop-up and wait for it) is not made.
        if (handle && shown->menuWidget() && shown->menuWidget()->geometry().contains(local.toPoint()))
            return;
        held_ |= button;
        type = QEvent::MouseButtonPress;
        break;
    case EventKind::Up:
        button = qtButton(e.button);
        held_ &= ~Qt::MouseButtons(button);
        type = QEvent::MouseButtonRelease;
        break;
    default:
        held_ = qtButtons(e.button);
        break;
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

bool HostSession::showMayResize(replay::Window w) const
{
    const qthost::FormWindow* shown = windowOf(w);
    return shown && (shown->windowState() & Qt::WindowMinimized);
}

replay::ResizeOutcome HostSession::resizeOutcome(replay::Window w, double width, double height) const
{
    using Kind = replay::ResizeOutcome::Kind;
    const forms::PaneWindow* form = window(w);
    const qthost::FormWindow* shown = windowOf(w);
    if (!form || !shown || std::isnan(width) || std::isnan(height))
        return {Kind::Unchanged};
    // Once minimized, maximized or full screen, the window system may keep the size it gave the window,
    // whatever resizes come later: the offscreen platform keeps a maximized size even after a restore.
    if ((shown->windowState() & kSizedBySystem) || sizedBySystem_[w])
        return {Kind::Unpredictable};
    const double tpp = shown->surface()->twipsPerPixel();
    const auto pixels = [tpp](double twips) {
        return static_cast<int>(std::clamp(std::round(twips / tpp), 0.0, double(QWIDGETSIZE_MAX)));
    };
    const int clientWidth = std::max(pixels(width), shown->minimumWidth());
    const int clientHeight = pixels(height);
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
