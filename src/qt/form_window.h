// The top-level window of one loaded form: a menu bar when the form has a menu, and the client surface
// that paints the controls and hands the mouse to the runtime.
#pragma once

#include <QIcon>
#include <QMainWindow>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include "runtime/form.h"
#include "runtime/geometry.h"

namespace qthost {

class FormWindow;

// The client area of a form's window: paints the controls and hands the mouse and the keyboard to the
// runtime.
class Surface : public QWidget {
    Q_OBJECT
public:
    explicit Surface(FormWindow& window);

    // The form shown, or null once the window has been detached from it.
    rt::Form* form() const;

    // Twips per pixel on the screen this surface is on.
    double twipsPerPixel() const;

    // Part of the client area (twips) changed: repaint it (during a resize, once the resize is done).
    void areaChanged(const rt::Rect& area);
    // True while a resize is being reported to the runtime.
    bool resizing() const { return resizing_ > 0; }
    // Reports the client size to the runtime, which runs the form's Resize handler.
    void reportClientSize();

    // The window system took the pointer away in mid-drag (the window was minimised or hidden, another
    // client grabbed the pointer): every button the runtime holds is released at the last position the
    // surface saw, so the drag ends now and not on some later, unrelated event.
    void endCutOffDrag();

    // The widget rectangle that covers a twips area, a pixel wider on each side for rounding.
    QRect widgetRect(const rt::Rect& area) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateCursor(const QPointF& position);
    // Reports the surface's size to the runtime, which lays the form out for it.
    void tellRuntimeTheSize();
    // Passes a mouse event on to the runtime at the event's position, in twips.
    void sendMouse(rt::Form& shown, rt::MouseEvent type, int buttons, const QMouseEvent& event);
    // A minimised window has no pointer. Qt's implicit grab can outlive a minimise in mid-press, though,
    // and then hands this surface a press made in another window while a button is still held.
    bool minimized() const { return window()->windowState() & Qt::WindowMinimized; }
    // Whether Qt keeps the surface's pixels across a resize (static contents), so that what changed must
    // be marked; otherwise it repaints the whole surface itself.
    bool keepsPixels() const { return testAttribute(Qt::WA_StaticContents); }

    // Releases every button the runtime holds that `event` says is up, apart from the one `event`
    // itself releases: those releases never came (the window was hidden mid-drag, a grab was broken).
    void releaseLostButtons(const QMouseEvent& event);
    // Sends a release of each of `buttons` at lastPosition_.
    void releaseAtLastPosition(rt::Form& shown, int buttons, Qt::KeyboardModifiers modifiers);

    FormWindow& window_;
    QPointF lastPosition_;  // client twips of the last mouse event passed to the runtime
    int resizing_ = 0;  // depth of nested resizes being reported to the runtime
    // What changed while a resize was reported, repainted together when it is done.
    QRegion resizeDamage_;
    QSize windowSizeAtPaint_;  // the window's size when the surface was last painted
    bool askedForWhole_ = false;  // the whole surface has been marked since the last paint
};

class FormWindow : public QMainWindow {
    Q_OBJECT
public:
    // `icon` is the window's icon, or a null icon for the platform's own.
    FormWindow(rt::Form& form, const QIcon& icon);

    Surface* surface() const { return surface_; }
    rt::Form* form() const { return form_; }
    // Resizes the window so that its client area (below any menu bar) gets this size in pixels.
    void setClientSize(int width, int height);
    // The same for a new client width, asked for by the runtime. Inside a resize it is done once that
    // resize has finished: the window's layout is still placing the surface at the old size.
    void requestClientWidth(int width);
    // Stops all calls into the form: its window is going away.
    void detach() { form_ = nullptr; }
    // The window system destroyed the native window: the form closes as if the user had closed it, once
    // the platform's event handling has returned.
    void closeDestroyedWindow();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    rt::Form* form_;
    Surface* surface_;
    int pendingWidth_ = -1;  // a client width waiting for the current resize to finish
};

}  // namespace qthost
