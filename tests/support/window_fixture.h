// Windows driven through the in-memory host, and helpers to check bounds and to drag bars the way a
// person does: a press in the bar's visible strip, moves, a release.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "runtime/memory_host.h"

namespace testing_support {

struct ExpectedBounds {
    const char* control;
    float left, top, width, height;
};

inline void expectBounds(const rt::Form& form, const std::vector<ExpectedBounds>& rows)
{
    for (const ExpectedBounds& row : rows) {
        SCOPED_TRACE(std::string(form.name()) + "." + row.control);
        const rt::Control& c = form.control(row.control);
        EXPECT_EQ(c.Left(), row.left) << "Left";
        EXPECT_EQ(c.Top(), row.top) << "Top";
        EXPECT_EQ(c.Width(), row.width) << "Width";
        EXPECT_EQ(c.Height(), row.height) << "Height";
    }
}

struct Snapshot {
    std::vector<rt::Rect> bounds;
    std::vector<bool> visible;
    bool operator==(const Snapshot&) const = default;
};

inline Snapshot snapshot(const rt::Form& form)
{
    Snapshot s;
    for (const auto& c : form.controls()) {
        s.bounds.push_back(c->bounds());
        s.visible.push_back(c->Visible());
    }
    return s;
}

class WindowTest : public ::testing::Test {
protected:
    WindowTest()
    {
        host.runtime().setErrorOutput([this](const std::string& line) { errors.push_back(line); });
    }

    // A test that expects error reports checks them and then clears `errors`; any left over fail it.
    void TearDown() override
    {
        for (const std::string& line : errors)
            ADD_FAILURE() << "unexpected error report: " << line;
    }

    rt::Runtime& runtime() { return host.runtime(); }

    // A point in the bar's visible strip (its first 20 twips across, the middle along it).
    void pointOnBar(const rt::Form& form, const rt::Control& bar, double& x, double& y, double alongOffset = -1)
    {
        form.originOf(bar, x, y);
        const bool vertical = bar.pointer() == rt::MousePointer::SizeWestEast;
        if (vertical) {
            x += 20;
            y += alongOffset >= 0 ? alongOffset : bar.Height() / 2;
        } else {
            y += 20;
            x += alongOffset >= 0 ? alongOffset : 200;
        }
    }

    void press(rt::Form& form, const char* barName, int button = rt::kLeftButton, int shift = 0)
    {
        double x = 0, y = 0;
        pointOnBar(form, form.control(barName), x, y);
        runtime().mouse(form, rt::MouseEvent::Down, button, shift, x, y);
        lastX = x;
        lastY = y;
    }

    // Moves the pointer so that the dragged bar's candidate position is `position` (container coordinates).
    void moveTo(rt::Form& form, const char* barName, double position, int buttons = rt::kLeftButton)
    {
        const rt::Control& bar = form.control(barName);
        double ox = 0, oy = 0;
        form.originOf(bar, ox, oy);
        const bool vertical = bar.pointer() == rt::MousePointer::SizeWestEast;
        if (vertical)
            lastX = ox + (position - bar.Left());
        else
            lastY = oy + (position - bar.Top());
        runtime().mouse(form, rt::MouseEvent::Move, buttons, 0, lastX, lastY);
    }

    void release(rt::Form& form, int button = rt::kLeftButton)
    {
        runtime().mouse(form, rt::MouseEvent::Up, button, 0, lastX, lastY);
    }

    void drag(rt::Form& form, const char* barName, double position)
    {
        press(form, barName);
        moveTo(form, barName, position);
        release(form);
    }

    rt::MemoryHost host;
    app::Program program{host.runtime()};
    std::vector<std::string> errors;
    double lastX = 0, lastY = 0;
};

}  // namespace testing_support
