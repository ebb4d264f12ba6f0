#include "replay/invariants.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "splitter/bar_drag.h"
#include "splitter/split_layout.h"

namespace replay {
namespace {

constexpr const char* kFinite = "every property finite";
constexpr const char* kNonNegative = "no negative width or height";
constexpr const char* kFlag = "drag flag follows press, move and release";
constexpr const char* kOtherBars = "an event on one bar leaves the other bars alone";
constexpr const char* kOtherWindows = "an event on one window leaves the other windows alone";
constexpr const char* kNoHandler = "a mouse event no bar handles changes nothing";
constexpr const char* kPress = "a press lays the indicator over its bar and shows it";
constexpr const char* kMove = "a move puts the indicator at the limited pointer position";
constexpr const char* kMoveOnly = "a press or move changes only the bar's indicator";
constexpr const char* kRelease = "a release hides the indicator";
constexpr const char* kIndicatorsStay =
    "the indicators of vertical bars are never moved by a layout, except to hold one that is out within its limits";

// Where a drag keeps an indicator: 100 twips from either end of the limiting size, and never negative.
float heldWithinDragLimits(float candidate, float limitSize)
{
    const float upper = static_cast<float>(double(limitSize) - splitter::kDragMargin);
    float held = candidate;
    if (candidate < splitter::kDragMargin)
        held = splitter::kDragMargin;
    else if (candidate >= upper)
        held = upper;
    return held < 0 ? 0 : held;
}
constexpr const char* kAddUp = "sides and gap add up to the reference size";
constexpr const char* kClientSize = "the client size follows the resize";
constexpr const char* kReported = "a failing handler is reported once";
constexpr const char* kLoading = "open loads and close unloads the window";

const splitter::Bar& barOf(const forms::PaneWindow& window, int number)
{
    return window.bars()[static_cast<std::size_t>(number - 1)];
}

std::string barName(int bar) { return "Image" + std::to_string(bar); }

std::string str(double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.9g", v);
    return buffer;
}

std::string str(const rt::Rect& r)
{
    return "(" + str(r.left) + ", " + str(r.top) + ", " + str(r.width) + ", " + str(r.height) + ")";
}

// Half a unit in the last place of a single-precision value: how far an exact sum may be from it.
double halfUlp(float v)
{
    const float a = std::fabs(v);
    return (double(std::nextafter(a, std::numeric_limits<float>::infinity())) - a) / 2;
}

// Which window's state an event may change; none for a menu entry that opens nothing.
std::optional<Window> affectedWindow(const Event& e, bool mainLoaded)
{
    if (e.kind != EventKind::Menu)
        return e.window;
    if (!mainLoaded || e.menuIndex > 2)
        return std::nullopt;
    return kWindows[e.menuIndex + 1];
}

}  // namespace

std::string Failure::describe() const
{
    return "line " + std::to_string(line) + " (" + event + "): " + invariant + ": " + detail;
}

const InvariantChecker::ControlState* InvariantChecker::WindowState::find(const std::string& name) const
{
    for (const ControlState& c : controls)
        if (c.name == name)
            return &c;
    return nullptr;
}

InvariantChecker::WindowState InvariantChecker::capture(Window window) const
{
    WindowState s;
    const forms::PaneWindow* form = session_.window(window);
    s.exists = form != nullptr;
    if (form)
        for (const splitter::Bar& bar : form->bars())
            s.flags.push_back(bar.dragging);
    if (!form || !form->loaded())
        return s;
    s.loaded = true;
    s.scaleWidth = form->ScaleWidth();
    s.scaleHeight = form->ScaleHeight();
    for (const auto& c : form->controls())
        s.controls.push_back({c->name(), c->bounds(), c->Visible()});
    return s;
}

InvariantChecker::Delivery InvariantChecker::route(const Event& e)
{
    Delivery d;
    Pointer& p = pointers_[static_cast<std::size_t>(e.window)];
    const forms::PaneWindow* form = session_.window(e.window);
    if (!isMouse(e.kind) || !form || !form->loaded())
        return d;
    const auto hitName = [&] {
        const rt::Control* hit = form->hitTest(e.x, e.y);
        return hit ? hit->name() : std::string();
    };
    const int button = e.button & (rt::kLeftButton | rt::kRightButton | rt::kMiddleButton);
    switch (e.kind) {
    case EventKind::Down:
        if (!button)
            return d;
        if (p.held == 0)
            p.capture = hitName();
        p.held |= button;
        d.target = p.capture;
        break;
    case EventKind::Move:
        d.target = p.held ? p.capture : hitName();
        break;
    default:
        if (!(p.held & button))
            return d;
        p.held &= ~button;
        d.target = p.capture;
        if (p.held == 0)
            p.capture.clear();
        break;
    }
    if (d.target.empty())
        return d;
    double ox = 0, oy = 0;
    form->originOf(form->control(d.target), ox, oy);
    const bool argsOk = rt::roundToSingle(rt::Number(e.x - ox), d.argX) == rt::ErrorCode::None &&
                        rt::roundToSingle(rt::Number(e.y - oy), d.argY) == rt::ErrorCode::None;
    if (!argsOk) {
        d.handlerRuns = false;
        d.bar = -1;  // delivered, but the handler never starts: reported as an error
        return d;
    }
    for (const splitter::Bar& bar : form->bars())
        if (d.target == bar.control.name()) {
            d.bar = bar.number;
            d.handlerRuns = true;
        }
    return d;
}

void InvariantChecker::before(const Event& e)
{
    for (Window w : kWindows)
        before_[static_cast<std::size_t>(w)] = capture(w);
    errorsBefore_ = session_.untrappedErrors();
    delivery_ = route(e);
    if (e.kind == EventKind::Resize && before_[static_cast<std::size_t>(e.window)].loaded)
        resizeOutcome_ = session_.resizeOutcome(e.window, e.x, e.y);
    showMayResize_ = e.kind == EventKind::Open && session_.showMayResize(e.window);
}

std::vector<Failure> InvariantChecker::after(const Event& e)
{
    std::vector<Failure> failures;
    const std::string eventText = formatEvent(e);
    const auto fail = [&](const char* invariant, const std::string& detail) {
        failures.push_back({e.line, eventText, invariant, detail});
    };

    std::array<WindowState, 4> now;
    for (Window w : kWindows)
        now[static_cast<std::size_t>(w)] = capture(w);
    const WindowState& mainBefore = before_[0];
    const std::optional<Window> affected = affectedWindow(e, mainBefore.loaded);

    for (Window w : kWindows) {
        const WindowState& a = now[static_cast<std::size_t>(w)];
        const WindowState& b = before_[static_cast<std::size_t>(w)];
        const std::string window(windowName(w));
        if (!a.loaded)
            pointers_[static_cast<std::size_t>(w)] = {};
        // A minimise that took the pointer away released every button for the runtime.
        if (w == e.window && e.kind == EventKind::Minimize)
            if (const forms::PaneWindow* form = session_.window(w); form && !form->mouseButtonsHeld())
                pointers_[static_cast<std::size_t>(w)] = {};
        if (!std::isfinite(a.scaleWidth) || !std::isfinite(a.scaleHeight))
            fail(kFinite, window + " client size " + str(a.scaleWidth) + " x " + str(a.scaleHeight));
        else if (a.scaleWidth < 0 || a.scaleHeight < 0)
            fail(kNonNegative, window + " client size " + str(a.scaleWidth) + " x " + str(a.scaleHeight));
        for (const ControlState& c : a.controls) {
            const rt::Rect& r = c.bounds;
            if (!std::isfinite(r.left) || !std::isfinite(r.top) || !std::isfinite(r.width) || !std::isfinite(r.height))
                fail(kFinite, window + "." + c.name + " bounds " + str(r));
            else if (r.width < 0 || r.height < 0)
                fail(kNonNegative, window + "." + c.name + " bounds " + str(r));
        }
        if (w != affected && !(a == b))
            fail(kOtherWindows, window + " changed");
        // Only a bar's own handler touches its flag.
        for (std::size_t i = 0; i < a.flags.size() && i < b.flags.size(); ++i) {
            const int bar = static_cast<int>(i) + 1;
            // Minimised, a window loses the pointer: a drag in it ends as if released.
            const bool cutOff = w == e.window && e.kind == EventKind::Minimize && b.flags[i] && !a.flags[i];
            const bool own = (w == e.window && delivery_.handlerRuns && delivery_.bar == bar) || cutOff;
            if (!own && a.flags[i] != b.flags[i])
                fail(kFlag, window + ".DraggingImage" + std::to_string(bar) + " changed from " +
                                (b.flags[i] ? "set" : "clear") + " without an event on its bar");
        }
        if (a.loaded)
            checkSplits(w, e, failures);
    }

    const WindowState& a = now[static_cast<std::size_t>(e.window)];
    const WindowState& b = before_[static_cast<std::size_t>(e.window)];
    const std::string window(windowName(e.window));
    unsigned long expectedErrors = 0;
    switch (e.kind) {
    case EventKind::Open:
        if (!a.loaded)
            fail(kLoading, window + " is not loaded after open");
        else if (b.loaded && !showMayResize_ && !(a == b))
            fail(kOtherWindows, window + " changed when opened while already open");
        break;
    case EventKind::Close:
        if (a.loaded)
            fail(kLoading, window + " is still loaded after close");
        break;
    case EventKind::Menu:
        if (affected && !now[static_cast<std::size_t>(*affected)].loaded)
            fail(kLoading, std::string(windowName(*affected)) + " is not loaded after its menu entry");
        break;
    case EventKind::Resize: {
        if (!b.loaded)
            break;
        const ResizeOutcome& outcome = resizeOutcome_;
        if (outcome.kind == ResizeOutcome::Kind::Unchanged) {
            if (!(a == b))
                fail(kClientSize, window + " changed on a size it cannot take");
            break;
        }
        if (outcome.kind == ResizeOutcome::Kind::Settles &&
            (a.scaleWidth != outcome.width || a.scaleHeight != outcome.height))
            fail(kClientSize, window + " client size " + str(a.scaleWidth) + " x " + str(a.scaleHeight) +
                                  ", expected " + str(outcome.width) + " x " + str(outcome.height));
        // A vertical bar's indicator stays where it is, unless it is out (the bar being moved): it is
        // then held to the drag's limits for the new size.
        if (const forms::PaneWindow* form = session_.window(e.window)) {
            for (const splitter::Bar& bar : form->bars()) {
                if (!bar.vertical())
                    continue;
                const std::string name(bar.indicator.name());
                const ControlState* was = b.find(name);
                const ControlState* is = a.find(name);
                if (!was || !is)
                    continue;
                ControlState want = *was;
                const std::size_t flag = static_cast<std::size_t>(bar.number - 1);
                const bool underDrag = flag < b.flags.size() && b.flags[flag];
                // A flag left set by a window closed in mid-drag keeps its hidden indicator out of sight:
                // where that indicator lies shows nowhere, so it is not checked.
                if (underDrag && !was->visible)
                    continue;
                if (underDrag) {
                    const std::optional<std::string> limitName = limitControl(e.window, bar);
                    const ControlState* limit = limitName && !limitName->empty() ? a.find(*limitName) : nullptr;
                    const float limitSize = limit ? static_cast<float>(limit->bounds.width) : a.scaleWidth;
                    want.bounds.left = heldWithinDragLimits(static_cast<float>(was->bounds.left), limitSize);
                    // The window system may settle at a size after the window's last Resize (a widening to
                    // the minimum width rounded to whole pixels), or send none for an unchanged size: the
                    // indicator moves only towards the held place, never beyond it.
                    const double low = std::min(was->bounds.left, want.bounds.left);
                    const double high = std::max(was->bounds.left, want.bounds.left);
                    if (is->bounds.left >= low && is->bounds.left <= high)
                        want.bounds.left = is->bounds.left;
                }
                if (!(*is == want))
                    fail(kIndicatorsStay, window + "." + name + " went from " + str(was->bounds) + " to " +
                                              str(is->bounds) + ", expected " + str(want.bounds));
            }
        }
        break;
    }
    case EventKind::Down:
    case EventKind::Move:
    case EventKind::Up:
        if (!delivery_.target.empty() && delivery_.bar == -1)
            expectedErrors = 1;
        checkMouse(e, failures);
        if (e.kind == EventKind::Move && delivery_.handlerRuns) {
            // The candidate position itself may lie beyond the single range; the handler then fails.
            const bool vertical = barOf(*session_.window(e.window), delivery_.bar).vertical();
            const ControlState* bar = b.find(barName(delivery_.bar));
            const double position = vertical ? bar->bounds.left : bar->bounds.top;
            float candidate = 0;
            if (rt::roundToSingle(rt::Number(position + (vertical ? delivery_.argX : delivery_.argY)),
                                  candidate) != rt::ErrorCode::None)
                expectedErrors = 1;
        }
        break;
    case EventKind::Minimize:
    case EventKind::Maximize:
    case EventKind::Restore:
        break;  // a new size follows the resize rules, checked through the window's own invariants
    }
    const unsigned long reported = session_.untrappedErrors() - errorsBefore_;
    if (reported != expectedErrors)
        fail(kReported, std::to_string(reported) + " handler failures reported, expected " +
                            std::to_string(expectedErrors));
    return failures;
}

void InvariantChecker::checkMouse(const Event& e, std::vector<Failure>& failures) const
{
    const std::string eventText = formatEvent(e);
    const auto fail = [&](const char* invariant, const std::string& detail) {
        failures.push_back({e.line, eventText, invariant, detail});
    };
    const WindowState a = capture(e.window);
    const WindowState& b = before_[static_cast<std::size_t>(e.window)];
    const std::string window(windowName(e.window));
    if (!delivery_.handlerRuns) {
        if (!(a == b))
            fail(kNoHandler, window + " changed" + (delivery_.target.empty() ? "" : " (to " + delivery_.target + ")"));
        return;
    }
    const int number = delivery_.bar;
    const std::size_t flag = static_cast<std::size_t>(number - 1);
    const forms::PaneWindow& form = *session_.window(e.window);
    const splitter::Bar& entry = barOf(form, number);
    const std::string indicatorName(entry.indicator.name());
    const ControlState& barWas = *b.find(barName(number));
    const ControlState& indicatorWas = *b.find(indicatorName);
    const ControlState& indicatorIs = *a.find(indicatorName);
    const std::string where = window + "." + barName(number);

    // The other bars: flags (checked for every event) and indicators.
    for (const splitter::Bar& otherSpec : form.bars()) {
        if (otherSpec.number == number)
            continue;
        const std::string name(otherSpec.indicator.name());
        const ControlState& was = *b.find(name);
        const ControlState& is = *a.find(name);
        // A horizontal bar's indicator takes its container's width from every layout; the rest is its own.
        const bool same = otherSpec.vertical() ? was == is
                                                : was.visible == is.visible && was.bounds.top == is.bounds.top &&
                                                      was.bounds.height == is.bounds.height;
        if (!same)
            fail(kOtherBars, window + "." + name + " went from " + str(was.bounds) + (was.visible ? " shown" : " hidden") +
                                 " to " + str(is.bounds) + (is.visible ? " shown" : " hidden"));
    }

    // Everything but the bar's own indicator, for a press or a move.
    const auto onlyIndicatorChanged = [&] {
        for (std::size_t i = 0; i < a.controls.size() && i < b.controls.size(); ++i)
            if (a.controls[i].name != indicatorName && !(a.controls[i] == b.controls[i]))
                fail(kMoveOnly, window + "." + a.controls[i].name + " went from " + str(b.controls[i].bounds) + " to " +
                                    str(a.controls[i].bounds));
        if (a.scaleWidth != b.scaleWidth || a.scaleHeight != b.scaleHeight)
            fail(kMoveOnly, window + " client size changed");
    };

    switch (e.kind) {
    case EventKind::Down: {
        if (!a.flags[flag])
            fail(kFlag, where + ": DraggingImage" + std::to_string(number) + " clear after a press");
        const rt::Rect& bar = barWas.bounds;
        const double width = entry.vertical() ? double(float(bar.width / 2)) : bar.width;
        const rt::Rect expected{bar.left, bar.top, width, bar.height};
        if (!indicatorIs.visible || indicatorIs.bounds != expected)
            fail(kPress, where + ": " + indicatorName + " at " + str(indicatorIs.bounds) +
                             (indicatorIs.visible ? " shown" : " hidden") + ", expected " + str(expected) + " shown");
        onlyIndicatorChanged();
        break;
    }
    case EventKind::Move: {
        if (a.flags[flag] != b.flags[flag])
            fail(kFlag, where + ": a move changed DraggingImage" + std::to_string(number));
        const bool vertical = entry.vertical();
        float candidate = 0;
        const double barPosition = vertical ? barWas.bounds.left : barWas.bounds.top;
        const bool candidateOk = rt::roundToSingle(rt::Number(barPosition + (vertical ? delivery_.argX : delivery_.argY)),
                                                   candidate) == rt::ErrorCode::None;
        if (!b.flags[flag] || !candidateOk) {
            if (!(a == b))
                fail(kMoveOnly, where + ": a move " + (candidateOk ? "without a drag" : "that failed") +
                                    " changed the window");
            break;
        }
        // Kept 100 twips from either end of the limiting size; never negative.
        const std::optional<std::string> limitName = limitControl(e.window, entry);
        const ControlState* limit = limitName && !limitName->empty() ? b.find(*limitName) : nullptr;
        if (!limitName || (!limitName->empty() && !limit)) {
            fail(kMove, where + ": no control named for what limits its drag");
            break;
        }
        float limitSize = vertical ? a.scaleWidth : a.scaleHeight;
        if (limit)
            limitSize = static_cast<float>(vertical ? limit->bounds.width : limit->bounds.height);
        const float expected = heldWithinDragLimits(candidate, limitSize);
        rt::Rect want = indicatorWas.bounds;
        (vertical ? want.left : want.top) = expected;
        if (indicatorIs.bounds != want || indicatorIs.visible != indicatorWas.visible)
            fail(kMove, where + ": " + indicatorName + " at " + str(indicatorIs.bounds) + ", expected " + str(want));
        onlyIndicatorChanged();
        break;
    }
    default: {
        if (a.flags[flag])
            fail(kFlag, where + ": DraggingImage" + std::to_string(number) + " still set after a release");
        if (indicatorIs.visible)
            fail(kRelease, where + ": " + indicatorName + " still shown");
        for (const std::string& name : verticalIndicators(e.window)) {
            const ControlState* was = b.find(name);
            const ControlState* is = a.find(name);
            if (was && is && was->bounds != is->bounds)
                fail(kIndicatorsStay, window + "." + name + " went from " + str(was->bounds) + " to " + str(is->bounds));
        }
        break;
    }
    }
}

std::optional<std::string> InvariantChecker::limitControl(Window window, const splitter::Bar& bar) const
{
    if (!limitControls_)
        return bar.limit ? std::string(bar.limit->name()) : std::string();
    const auto found = limitControls_->find({window, bar.number});
    if (found == limitControls_->end())
        return std::nullopt;
    return found->second;
}

std::vector<std::string> InvariantChecker::verticalIndicators(Window window) const
{
    std::vector<std::string> names;
    if (const forms::PaneWindow* form = session_.window(window))
        for (const splitter::Bar& bar : form->bars())
            if (bar.vertical())
                names.emplace_back(bar.indicator.name());
    return names;
}

void InvariantChecker::checkSplits(Window w, const Event& e, std::vector<Failure>& failures) const
{
    for (const Failure& f : checkSplitsAddUp(*session_.window(w)))
        failures.push_back({e.line, formatEvent(e), f.invariant, f.detail});
}

std::vector<Failure> checkSplitsAddUp(const forms::PaneWindow& form)
{
    std::vector<Failure> failures;
    for (const splitter::Bar& split : form.bars()) {
        const bool vertical = split.vertical();
        const rt::Control& first = *split.first;
        const rt::Control& second = *split.second;
        const float refAlong = split.splitSize();     // along the split's direction
        const float refAcross = split.splitBreadth();  // and across it
        const double position = split.position();
        // Laid out with a valid position and room for the gap: both sides' sizes were taken.
        if (!(position >= 0) || double(refAlong) - position - splitter::kGap < 0)
            continue;
        const double a = vertical ? first.Width() : first.Height();
        const double b = vertical ? second.Width() : second.Height();
        const double across1 = vertical ? first.Height() : first.Width();
        const double across2 = vertical ? second.Height() : second.Width();
        const std::string where = std::string(form.name()) + " split of " + std::string(split.control.name());
        if (std::fabs(a + splitter::kGap + b - refAlong) > halfUlp(refAlong))
            failures.push_back({0, "", kAddUp,
                                where + ": " + str(a) + " + " + str(splitter::kGap) + " + " + str(b) + " != " +
                                    str(refAlong) + " (bar at " + str(position) + ")"});
        if (across1 != refAcross || across2 != refAcross)
            failures.push_back({0, "", kAddUp,
                                where + ": sides " + str(across1) + " and " + str(across2) + " across, expected " +
                                    str(refAcross)});
    }
    return failures;
}

std::vector<Failure> playChecked(ProgramRun& session, const std::vector<Event>& events, bool keepGoing,
                                 const InvariantChecker::LimitControls* limits)
{
    InvariantChecker checker(session);
    if (limits)
        checker.setLimitControls(*limits);
    std::vector<Failure> failures;
    for (const Event& e : events) {
        checker.before(e);
        session.apply(e);
        std::vector<Failure> found = checker.after(e);
        failures.insert(failures.end(), found.begin(), found.end());
        if (!found.empty() && !keepGoing)
            break;
    }
    return failures;
}

}  // namespace replay
