// The Qt host: one top-level window per loaded form. The runtime works in twips; the host converts to
// pixels at the screen's logical DPI, paints, and turns window-system events into runtime events.
#pragma once

#include <QIcon>
#include <QImage>
#include <functional>
#include <map>
#include <memory>

#include "runtime/host.h"
#include "runtime/program_identity.h"
#include "runtime/runtime.h"

namespace qthost {

class WindowSystemFilter;
class FormWindow;

class QtHost final : public rt::Host {
public:
    QtHost();
    ~QtHost() override;
    QtHost(const QtHost&) = delete;
    QtHost& operator=(const QtHost&) = delete;

    rt::Runtime& runtime() { return runtime_; }

    void showForm(rt::Form& form) override;
    void unloadForm(rt::Form& form) override;
    bool resizeOuterWidth(rt::Form& form, rt::Single outerWidth) override;
    rt::Single frameWidth(const rt::Form& form) const override;
    void areaChanged(rt::Form& form, const rt::Rect& area) override;
    void allFormsClosed() override;

    // The window of a form that is shown, or null.
    FormWindow* window(const rt::Form& form) const;
    // Twips per pixel on the screen the form's window is on (the primary screen when it has none).
    double twipsPerPixel(const rt::Form& form) const override;

    // Sets a window's client size from twips (rounded to whole pixels); the runtime hears of it through
    // the window's resize, as for a resize by the user.
    void resizeClient(const rt::Form& form, double widthTwips, double heightTwips);

    // What to do when the last window has closed; quits the application unless replaced.
    void setQuitHandler(std::function<void()> handler) { quit_ = std::move(handler); }
    bool quitRequested() const { return quitRequested_; }

    // The whole window, menu bar included, as it is drawn now; null when the form has no window.
    QImage grabWindow(const rt::Form& form) const;

    // One icon per definition, shared by every window that shows it. The X11 platform turns a window's
    // icon into pixels through Qt's pixmap cache, keyed by the icon's own pixmap: an icon made afresh for
    // each window would leave one more entry (4 KB) there every time a window was opened.
    const QIcon& iconFor(const rt::IconDefinition& definition);

private:
    // A window is dropped from inside its own close event, so it is deleted once that event has returned.
    struct DeleteLater {
        void operator()(FormWindow* window) const;
    };
    // A window the window system destroyed counts as closed.
    void nativeWindowDestroyed(WId id);
    // The window system took the pointer from a window (a grab, an unmap): a drag in it ends.
    void pointerLostBy(WId id);

    rt::Runtime runtime_;
    std::map<const rt::Form*, std::unique_ptr<FormWindow, DeleteLater>> windows_;
    std::map<const rt::IconDefinition*, QIcon> icons_;
    std::function<void()> quit_;
    bool quitRequested_ = false;
    std::unique_ptr<WindowSystemFilter> windowSystemFilter_;
};

// The application-wide settings from the program's identity: name, version and icon.
void setUpApplication(const rt::ProgramIdentity& identity);

}  // namespace qthost
