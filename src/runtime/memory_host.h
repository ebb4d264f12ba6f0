// A host without a screen, for tests, tools and benchmarks. Windows have a fixed frame of
// kFrameWidth twips (outer width less client width). A Width assignment resizes at once and delivers the
// Resize nested inside the assignment, unless deferred resizing is switched on, in which case it is
// delivered by deliverPendingResizes().
#pragma once

#include <map>
#include <vector>

#include "runtime/host.h"
#include "runtime/runtime.h"

namespace rt {

class MemoryHost : public Host {
public:
    static constexpr Single kFrameWidth = 120;  // a 4-pixel frame on each side at 96 DPI

    MemoryHost() : runtime_(*this) {}

    Runtime& runtime() { return runtime_; }

    void showForm(Form& form) override;
    void unloadForm(Form& form) override;
    bool resizeOuterWidth(Form& form, Single outerWidth) override;
    Single frameWidth(const Form&) const override { return kFrameWidth; }
    double twipsPerPixel(const Form&) const override { return twipsPerPixel_; }
    void areaChanged(Form& form, const Rect& area) override;
    void allFormsClosed() override { quitRequested_ = true; }

    // What a person does: resize a window's client area, and nothing else.
    void resizeClient(Form& form, double width, double height);

    // Test switches: refuse Width assignments (as for a minimised window), or defer their Resize.
    void setRefuseResize(bool refuse) { refuseResize_ = refuse; }
    void setDeferResize(bool defer) { deferResize_ = defer; }
    // The screen every window is on: 15 twips per pixel (96 DPI) unless changed.
    void setTwipsPerPixel(double twips) { twipsPerPixel_ = twips; }
    void deliverPendingResizes();

    bool isShown(const Form& form) const { return shown_.count(&form) != 0; }
    int showCount(const Form& form) const;
    bool quitRequested() const { return quitRequested_; }
    // Areas reported as needing a repaint, since the last call to takeRepaints().
    std::vector<Rect> takeRepaints();

private:
    Runtime runtime_;
    std::map<const Form*, int> shown_;  // form -> times shown while loaded
    struct PendingResize {
        Form* form;
        Single clientWidth;
    };
    std::vector<PendingResize> pendingResizes_;
    std::vector<Rect> repaints_;
    double twipsPerPixel_ = 15;
    bool refuseResize_ = false;
    bool deferResize_ = false;
    bool quitRequested_ = false;
};

}  // namespace rt
