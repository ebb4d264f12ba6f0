#include "qt/form_window.h"

#include <QCloseEvent>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "qt/accessibility.h"
#include "qt/window_style.h"
#include "qt/painting.h"
#include "runtime/control.h"
#include "runtime/runtime.h"

namespace qthost {
namespace {

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return rt::kLeftButton;
    case Qt::RightButton: return rt::kRightButton;
    case Qt::MiddleButton: return rt::kMiddleButton;
    default: return 0;
    }
}

int buttonsCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? rt::kLeftButton : 0) | (buttons & Qt::RightButton ? rt::kRightButton : 0) |
           (buttons & Qt::MiddleButton ? rt::kMiddleButton : 0);
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? rt::kShiftMask : 0) | (modifiers & Qt::ControlModifier ? rt::kCtrlMask : 0) |
           (modifiers & Qt::AltModifier ? rt::kAltMask : 0);
}

std::optional<rt::Key> keyFor(int key)
{
    switch (key) {
    case Qt::Key_F8: return rt::Key::F8;
    case Qt::Key_Left: return rt::Key::Left;
    case Qt::Key_Right: return rt::Key::Right;
    case Qt::Key_Up: return rt::Key::Up;
    case Qt::Key_Down: return rt::Key::Down;
    case Qt::Key_PageUp: return rt::Key::PageUp;
    case Qt::Key_PageDown: return rt::Key::PageDown;
    case Qt::Key_Home: return rt::Key::Home;
    case Qt::Key_End: return rt::Key::End;
    case Qt::Key_Return: return rt::Key::Return;
    case Qt::Key_Enter: return rt::Key::Enter;
    case Qt::Key_Space: return rt::Key::Space;
    case Qt::Key_Escape: return rt::Key::Escape;
    default: return std::nullopt;
    }
}

Qt::CursorShape cursorFor(rt::MousePointer pointer)
{
    switch (pointer) {
    case rt::MousePointer::SizeWestEast: return Qt::SizeHorCursor;
    case rt::MousePointer::SizeNorthSouth: return Qt::SizeVerCursor;
    case rt::MousePointer::Default: break;
    }
    return Qt::ArrowCursor;
}

// Menu captions are shown as they are: a '&' is not a mnemonic marker.
QString menuText(const std::string& caption) { return QString::fromStdString(caption).replace('&', "&&"); }

}  // namespace

Surface::Surface(FormWindow& window) : QWidget(&window), window_(window)
{
    setObjectName("surface");
    setMouseTracking(true);  // the bars hear of moves without a button too
    setFocusPolicy(Qt::StrongFocus);  // F8 moves the bars from the keyboard
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Where Qt keeps a window's pixels across a resize, only what changed is repainted. Where it does not
    // (Qt 6 keeps them only on Windows), the first paint after a window resize shows it, and the surface
    // stops asking: see paintEvent.
    setAttribute(Qt::WA_StaticContents);
    setCursor(Qt::ArrowCursor);
}

rt::Form* Surface::form() const { return window_.form(); }

double Surface::twipsPerPixel() const
{
    const QScreen* on = screen();
    return on ? twipsPerPixelFor(on->logicalDotsPerInchX()) : 15.0;
}

QRect Surface::widgetRect(const rt::Rect& area) const
{
    if (area.empty())
        return {};
    const double tpp = twipsPerPixel();
    // Clamp before converting: areas may lie far outside the surface.
    const auto clampX = [&](double px) { return static_cast<int>(std::clamp(px, -1.0, width() + 1.0)); };
    const auto clampY = [&](double px) { return static_cast<int>(std::clamp(px, -1.0, height() + 1.0)); };
    const int x0 = clampX(std::floor(area.left / tpp) - 1), x1 = clampX(std::ceil(area.right() / tpp) + 1);
    const int y0 = clampY(std::floor(area.top / tpp) - 1), y1 = clampY(std::ceil(area.bottom() / tpp) + 1);
    return QRect(x0, y0, x1 - x0, y1 - y0).intersected(rect());
}

void Surface::areaChanged(const rt::Rect& area)
{
    if (resizing_ > 0 && !keepsPixels())
        return;  // the whole surface is repainted after the resize
    const QRect r = widgetRect(area);
    if (r.isEmpty())
        return;
    if (resizing_ > 0)
        resizeDamage_ += r;
    else
        update(r);
}

void Surface::paintEvent(QPaintEvent* event)
{
    if (const QSize windowSize = window()->size(); windowSize != windowSizeAtPaint_) {
        // The first paint since the window was resized. If it covers the whole surface although less was
        // marked, Qt repaints a resized window whole here: keeping the surface's pixels then saves nothing
        // (the surface is resized with its window) and costs Qt region work on every resize.
        if (windowSizeAtPaint_.isValid() && !askedForWhole_ && keepsPixels() &&
            (QRegion(rect()) - event->region()).isEmpty())
            setAttribute(Qt::WA_StaticContents, false);
        windowSizeAtPaint_ = windowSize;
    }
    askedForWhole_ = false;
    QPainter painter(this);
    const double dpr = devicePixelRatioF();
    painter.setWorldTransform(QTransform::fromScale(1 / dpr, 1 / dpr));  // draw in device pixels
    const QRect r = event->rect();
    const int x0 = static_cast<int>(std::floor(r.x() * dpr)), y0 = static_cast<int>(std::floor(r.y() * dpr));
    const int x1 = static_cast<int>(std::ceil((r.x() + r.width()) * dpr));
    const int y1 = static_cast<int>(std::ceil((r.y() + r.height()) * dpr));
    const QRect clip(x0, y0, x1 - x0, y1 - y0);
    const QColor background = controlBackground(palette());
    if (rt::Form* shown = form())
        paintForm(painter, *shown, {twipsPerPixel(), dpr}, background, clip);
    else
        painter.fillRect(clip, background);
}

void Surface::tellRuntimeTheSize()
{
    if (rt::Form* shown = form()) {
        const double tpp = twipsPerPixel();
        ++resizing_;
        shown->runtime().resized(*shown, width() * tpp, height() * tpp);
        --resizing_;
    }
}

void Surface::sendMouse(rt::Form& shown, rt::MouseEvent type, int buttons, const QMouseEvent& event)
{
    const double tpp = twipsPerPixel();
    const QPointF p = event.position();
    lastPosition_ = QPointF(p.x() * tpp, p.y() * tpp);
    shown.runtime().mouse(shown, type, buttons, shiftCode(event.modifiers()), lastPosition_.x(), lastPosition_.y());
}

void Surface::releaseAtLastPosition(rt::Form& shown, int buttons, Qt::KeyboardModifiers modifiers)
{
    for (const int button : {rt::kLeftButton, rt::kRightButton, rt::kMiddleButton})
        if (buttons & button && shown.loaded())
            shown.runtime().mouse(shown, rt::MouseEvent::Up, button, shiftCode(modifiers), lastPosition_.x(),
                                  lastPosition_.y());
}

void Surface::resizeEvent(QResizeEvent* event)
{
    tellRuntimeTheSize();
    if (resizing_ > 0 || !keepsPixels())
        return;  // the outer resize repaints what this one changed; or Qt repaints everything
    // Besides what the layout changed, only the area the surface gained differs from what it showed.
    const QRect before(QPoint(0, 0), event->oldSize().expandedTo(QSize(0, 0)));
    QRegion damage = std::exchange(resizeDamage_, QRegion());
    damage += QRegion(rect()) - before;
    if (damage.boundingRect() == rect() && (QRegion(rect()) - damage).isEmpty())
        askedForWhole_ = true;
    update(damage);
}

void Surface::reportClientSize()
{
    tellRuntimeTheSize();
    update();
}

void Surface::releaseLostButtons(const QMouseEvent& event)
{
    rt::Form* shown = form();
    if (!shown)
        return;
    const int ownRelease = event.type() == QEvent::MouseButtonRelease ? buttonCode(event.button()) : 0;
    const int lost = shown->mouseState().heldButtons & ~buttonsCode(event.buttons()) & ~ownRelease;
    // Released where the pointer was last seen: this event's position came after the button went up.
    releaseAtLastPosition(*shown, lost, event.modifiers());
}

void Surface::endCutOffDrag()
{
    rt::Form* shown = form();
    if (!shown || !shown->mouseButtonsHeld())
        return;
    releaseAtLastPosition(*shown, shown->mouseState().heldButtons, QGuiApplication::keyboardModifiers());
    if (shown->loaded())
        announceBarValues(*this);
}

void Surface::hideEvent(QHideEvent* event)
{
    // Hidden or minimised, the window loses the pointer: no release will come for a drag in it.
    endCutOffDrag();
    QWidget::hideEvent(event);
}

void Surface::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (minimized())
        return;
    releaseLostButtons(*event);
    const int button = buttonCode(event->button());
    rt::Form* shown = form();
    if (!shown || !button)
        return;
    const rt::Control* focusBefore = shown->keyboardFocus();
    sendMouse(*shown, rt::MouseEvent::Down, button, *event);
    if (focusBefore && shown->loaded())
        announceKeyboardFocus(*this, focusBefore, false);  // the press ended keyboard mode
}

void Surface::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void Surface::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (minimized())
        return;
    releaseLostButtons(*event);
    rt::Form* shown = form();
    if (!shown)
        return;
    sendMouse(*shown, rt::MouseEvent::Move, buttonsCode(event->buttons()), *event);
    if (event->buttons() == Qt::NoButton)
        updateCursor(event->position());
}

void Surface::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (minimized())
        return;
    releaseLostButtons(*event);
    const int button = buttonCode(event->button());
    rt::Form* shown = form();
    if (!shown)
        return;
    if (button) {
        sendMouse(*shown, rt::MouseEvent::Up, button, *event);
        announceBarValues(*this);
    }
    if (event->buttons() == Qt::NoButton)
        updateCursor(event->position());
}

void Surface::keyPressEvent(QKeyEvent* event)
{
    rt::Form* shown = form();
    const std::optional<rt::Key> key = keyFor(event->key());
    if (!shown || !key) {
        event->ignore();
        return;
    }
    const rt::Control* focusBefore = shown->keyboardFocus();
    if (!shown->runtime().key(*shown, *key, shiftCode(event->modifiers()))) {
        event->ignore();
        return;
    }
    event->accept();
    // The same bar taken again by F8 (a window with one bar) is announced again too.
    if (shown->loaded())
        announceKeyboardFocus(*this, focusBefore, *key == rt::Key::F8,
                              *key == rt::Key::Escape ? KeyboardEnd::Cancelled : KeyboardEnd::Placed);
}

void Surface::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    rt::Form* shown = form();
    if (!shown)
        return;
    const rt::Control* focusBefore = shown->keyboardFocus();
    shown->runtime().focusLost(*shown);
    if (shown->loaded())
        announceKeyboardFocus(*this, focusBefore, false);
    forgetLastMove(*this);
}

void Surface::enterEvent(QEnterEvent* event)
{
    // Wayland reports a pointer that a window appears or moves under with an enter and no motion after
    // it: choose the pointer from where it entered, as a move would. A held button belongs to a drag,
    // whose pointer stays as it is.
    if (QGuiApplication::mouseButtons() == Qt::NoButton)
        updateCursor(event->position());
    QWidget::enterEvent(event);
}

void Surface::updateCursor(const QPointF& position)
{
    rt::Form* shown = form();
    if (!shown)
        return;
    const double tpp = twipsPerPixel();
    const rt::Control* hit = shown->hitTest(position.x() * tpp, position.y() * tpp);
    const Qt::CursorShape shape = cursorFor(hit ? hit->pointer() : rt::MousePointer::Default);
    if (cursor().shape() != shape)
        setCursor(shape);
}

FormWindow::FormWindow(rt::Form& form, const QIcon& icon) : form_(&form)
{
    setObjectName(QString::fromUtf8(form.name().data(), static_cast<qsizetype>(form.name().size())));
    setWindowTitle(QString::fromUtf8(form.caption().data(), static_cast<qsizetype>(form.caption().size())));
    if (!icon.isNull())
        setWindowIcon(icon);
    const std::vector<rt::MenuEntry>& menu = form.menu();
    if (!menu.empty()) {
        QMenuBar* bar = menuBar();
        useWindowStyle(*bar);
        for (std::size_t i = 0; i < menu.size(); ++i) {
            QAction* action = bar->addAction(menuText(menu[i].caption));
            action->setStatusTip(QString::fromStdString(form.describeMenuEntry(menu[i])));
            connect(action, &QAction::triggered, this, [this, i] {
                if (form_)
                    form_->runtime().click(*form_, i);
            });
        }
    }
    surface_ = new Surface(*this);
    useWindowStyle(*surface_);
    setCentralWidget(surface_);
}

void FormWindow::setClientSize(int width, int height)
{
    width = std::clamp(width, 0, QWIDGETSIZE_MAX);
    height = std::clamp(height, 0, QWIDGETSIZE_MAX);
    const int menuHeight = menuWidget() ? menuWidget()->heightForWidth(width) : 0;
    resize(width, height + std::max(0, menuHeight));
    // Lay the window out now, hidden or shown: the surface may still have the geometry of a layout that
    // is due (the menu bar just shown), and the correction below must measure the real one.
    if (layout())
        layout()->activate();
    // Whatever the menu bar really took, the client area gets the rest.
    if (surface_->size() != QSize(width, height))
        resize(std::clamp(width + this->width() - surface_->width(), 0, QWIDGETSIZE_MAX),
               std::clamp(height + this->height() - surface_->height(), 0, QWIDGETSIZE_MAX));
}

void FormWindow::requestClientWidth(int width)
{
    if (!surface_->resizing()) {
        setClientSize(width, surface_->height());
        return;
    }
    const bool queued = pendingWidth_ >= 0;
    pendingWidth_ = width;
    if (queued)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            const int w = pendingWidth_;
            pendingWidth_ = -1;
            if (form_ && w >= 0 && w != surface_->width() &&
                !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
                setClientSize(w, surface_->height());
        },
        Qt::QueuedConnection);
}

void FormWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The main window's layout has placed the menu bar and the client area by now, except that it leaves
    // a client area with no width or no height where it was. Place that one here, so its resize still
    // reaches the runtime and the window keeps its minimum width even when it is made 0 wide or the menu
    // bar takes all of its height.
    const int menuBottom = menuWidget() && menuWidget()->isVisible() ? menuWidget()->geometry().bottom() + 1 : 0;
    const QRect client(0, menuBottom, width(), std::max(0, height() - menuBottom));
    if (surface_->geometry() != client)
        surface_->setGeometry(client);
}

void FormWindow::closeDestroyedWindow()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (form_)
                form_->runtime().close(*form_);
        },
        Qt::QueuedConnection);
}

void FormWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Minimised, the window has lost the pointer even where the window system does not hide it.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized))
        surface_->endCutOffDrag();
    // Back to its normal state from one the window system sized, the window gets its Resize, as it did
    // on the platform the program comes from, even when its size is unchanged: its Resize handler
    // could not apply the minimum width meanwhile.
    constexpr Qt::WindowStates sizedBySystem = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (event->type() == QEvent::WindowStateChange && form_ && !(windowState() & sizedBySystem) &&
        (static_cast<QWindowStateChangeEvent*>(event)->oldState() & sizedBySystem))
        surface_->reportClientSize();
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (form_)
        form_->runtime().close(*form_);  // unloads the form, which drops this window later
}

}  // namespace qthost
