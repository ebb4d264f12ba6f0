// The Win32 host: one top-level window per loaded form, on the Win32 API alone. The runtime works in
// twips; the host converts to pixels at each window's own DPI, paints from the shared fills, and turns
// window messages into runtime events.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/host.h"
#include "runtime/runtime.h"

namespace winhost {

class FormWindow;

class Win32Host final : public rt::Host {
public:
    explicit Win32Host(HINSTANCE instance);
    ~Win32Host() override;
    Win32Host(const Win32Host&) = delete;
    Win32Host& operator=(const Win32Host&) = delete;

    rt::Runtime& runtime() { return runtime_; }
    HINSTANCE instance() const { return instance_; }

    void showForm(rt::Form& form) override;
    void unloadForm(rt::Form& form) override;
    bool resizeOuterWidth(rt::Form& form, rt::Single outerWidth) override;
    rt::Single frameWidth(const rt::Form& form) const override;
    double twipsPerPixel(const rt::Form& form) const override;
    void areaChanged(rt::Form& form, const rt::Rect& area) override;
    void allFormsClosed() override;

    FormWindow* window(const rt::Form& form) const;

    // Runs the message loop until the last window has closed; returns the exit status.
    int run();

private:
    // Windows dropped while one of their own messages is being handled, deleted once it has returned.
    void deleteDropped() { dropped_.clear(); }

    HINSTANCE instance_;
    rt::Runtime runtime_;
    std::map<const rt::Form*, std::unique_ptr<FormWindow>> windows_;
    std::vector<std::unique_ptr<FormWindow>> dropped_;
};

// Where the runtime's error text goes: the debugger output, and the console of whoever started the
// program, if any.
void reportError(const std::string& text);

}  // namespace winhost
