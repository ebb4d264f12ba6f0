// A program on the Qt host for one test, and helpers to find and press things on its windows.
#pragma once

#include <QEvent>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "qt/form_window.h"
#include "qt/qt_host.h"

namespace qttest {

class HostTest : public ::testing::Test {
protected:
    HostTest();
    ~HostTest() override;
    // A test that expects error reports checks them and then clears `errors`; any left over fail it.
    void TearDown() override;

    qthost::QtHost host;
    app::Program program{host.runtime()};
    std::vector<std::string> errors;  // lines the runtime reported

    rt::Form& main() { return program.splitterForm(); }
    // Opens the three other windows; all four, the main window first.
    std::vector<rt::Form*> allForms();
    qthost::FormWindow& windowOf(const rt::Form& form);
    qthost::Surface& surfaceOf(const rt::Form& form) { return *windowOf(form).surface(); }
    // The surface drawn as the screen would show it (device pixels).
    QImage grabSurface(const rt::Form& form);
};

// Records the region of every paint event a widget receives, as the screen would be updated.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& widget);
    // The regions painted since the last call, after processing pending events.
    std::vector<QRegion> take();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QRegion> painted_;
};

// A widget pixel (the position a press there reports) where the hit test gives the named control.
QPoint pixelOn(const rt::Form& form, const std::string& control);

// Mouse events with every field under the test's control.
void sendMouse(QWidget& widget, QEvent::Type type, QPointF position, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Colour of a pixel without alpha, for comparisons.
QRgb rgbAt(const QImage& image, int x, int y);

// The client area as the window system holds it, after pending repaints: the window's backing store cut
// to the surface (the menu bar left out), in device pixels. Unlike a fresh grab, it keeps whatever a
// repaint missed. Null if the window has no backing store image.
QImage shownClientArea(qthost::FormWindow& window);

// A fresh drawing of the form the surface shows, at the surface's scale and palette: what the window must
// show after any sequence of repaints.
QImage freshDrawing(const qthost::Surface& surface);

// Compares what a window shows with a fresh drawing: false, with the first differing pixel and how many
// differ in `why`, unless equal. Below a menu bar at a fractional offset the surface's last device row is
// shared with the window around it (and may be cut off); that row is not compared.
bool showsFreshDrawing(qthost::FormWindow& window, std::string* why);

}  // namespace qttest
