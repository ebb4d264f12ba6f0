// A run of the program without a screen: the in-memory host, the program, and the events of a script
// applied to them one at a time.
#pragma once

#include <string>
#include <vector>

#include "app/program.h"
#include "forms/pane_window.h"
#include "replay/script.h"
#include "runtime/memory_host.h"

namespace replay {

class Session {
public:
    Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void apply(const Event& event);

    // The window's instance, or null before it was first opened.
    forms::PaneWindow* window(Window window);
    const forms::PaneWindow* window(Window window) const;

    rt::MemoryHost& host() { return host_; }
    app::Program& program() { return program_; }
    // Every line the runtime reported on its error output.
    const std::vector<std::string>& errors() const { return errors_; }
    // Handler failures the runtime reported (each as one line of its error output).
    unsigned long untrappedErrors() const { return const_cast<rt::MemoryHost&>(host_).runtime().untrappedErrors(); }

private:
    rt::MemoryHost host_;
    app::Program program_;
    std::vector<std::string> errors_;
};

}  // namespace replay
