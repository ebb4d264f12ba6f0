#include "replay/invariants.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <tuple>

#include "splitter/bar_drag.h"
#include "splitter/split_layout.h"

namespace replay {
namespace {

constexpr const char* kFinite = "every property finite";
constexpr const char* kNonNegative = "no negative width or height";
constexpr const char* kCapture = "the mouse goes to the captured control, and no capture is left once every button is up";
constexpr const char* kFlag = "drag flag follows press, move and release";
constexpr const char* kOtherWindows = "an event on one window leaves the other windows alone";
constexpr const char* kPress = "a press lays the indicator over its bar and shows it";
constexpr const char* kMove = "a move puts the indicator at the limited pointer position";
constexpr const char* kMoveOnly = "a mouse event changes nothing but, on a press or in a drag, the bar's indicator";
constexpr const char* kRelease = "a release hides the indicator";
constexpr const char* kIndicatorsStay =
    "a layout leaves the other bars' indicators alone, except to hold one that is out within its limits";
constexpr const char* kAddUp = "sides and gap add up to the reference size";
constexpr const char* kClientSize = "the client size is what the host gives the window";
constexpr const char* kMinimumWidth = "the minimum width holds after every resize";
constexpr const char* kReported = "a failing handler is reported once";
constexpr const char* kLoading = "open loads and close unloads the window";

std::string str(double v) { return numberText(v); }

std::string str(const rt::Rect& r)
{
    return "(" + str(r.left) + ", " + str(r.top) + ", " + str(r.width) + ", " + str(r.height) + ")";
}

std::string str(const ControlState& c) { return str(c.bounds) + (c.visible ? " shown" : " hidden"); }

// Half a unit in the last place of a single-precision value: how far an exact sum may be from it.
double halfUlp(float v)
{
    const float a = std::fabs(v);
    return (double(std::nextafter(a, std::numeric_limits<float>::infinity())) - a) / 2;
}

std::optional<float> single(double value)
{
    float out = 0;
    return rt::roundToSingle(rt::Number(value), out) == rt::ErrorCode::None ? std::optional(out) : std::nullopt;
}

// Where a mouse event went, as the runtime's capture and hit test say.
struct Delivery {
    const rt::Control* target = nullptr;  // null: the window itself, or nowhere
    const splitter::Bar* bar = nullptr;   // the bar whose handler runs
    bool argumentsFail = false;           // delivered, but the handler's arguments are not representable
    float argX = 0, argY = 0;
};

// What one check sees of an event.
struct Step {
    const Event& e;
    const ProgramRun& run;
    const forms::PaneWindow* form;  // the event's window, or null before it was first opened
    const StateBefore& before;
    const std::vector<WindowState>& now;
    const Delivery& delivery;
    const std::optional<LimitControls>& limits;
    std::vector<Failure>& failures;

    const WindowState& was() const { return before.windows[e.window]; }
    const WindowState& is() const { return now[e.window]; }
    std::string window() const { return std::string(windowName(e.window)); }
    void fail(const std::string& invariant, const std::string& detail) const
    {
        failures.push_back({e.line, formatEvent(e), invariant, detail});
    }
    bool wasDragging(const splitter::Bar& bar) const { return was().flags[std::size_t(bar.number - 1)]; }
    // The size that bounds the bar's drag in `state`, read off the control the statement of limits names
    // ("" the client area); none where it names no such control.
    std::optional<float> limitSize(const splitter::Bar& bar, const WindowState& state) const
    {
        std::string name = bar.limit ? (*bar.limit)->name() : "";
        if (limits) {
            const auto found = limits->find({e.window, bar.number});
            if (found == limits->end())
                return std::nullopt;
            name = found->second;
        }
        if (name.empty())
            return bar.vertical() ? state.scaleWidth : state.scaleHeight;
        const ControlState* limit = state.find(name);
        return limit ? std::optional(float(bar.vertical() ? limit->bounds.width : limit->bounds.height)) : std::nullopt;
    }
    // The position a move asks for: the bar's position plus the pointer's offset along its direction.
    std::optional<float> candidate() const
    {
        const rt::Rect& bar = was().find(delivery.bar->control->name())->bounds;
        return single(delivery.bar->vertical() ? bar.left + delivery.argX : bar.top + delivery.argY);
    }
};

Delivery deliveryOf(const Event& e, const forms::PaneWindow* form, const StateBefore& was)
{
    Delivery d;
    if (!isMouse(e.kind) || !form || !form->loaded())
        return d;
    // A press the runtime took, any move, and a release of a button it held reach the mouse's target.
    const int held = form->mouseState().heldButtons;
    const bool taken = e.kind == EventKind::Move || (e.kind == EventKind::Down ? e.button & held
                                                                                : was.heldButtons & e.button & ~held);
    const std::string& to = was.mouseTarget();
    d.target = taken && !to.empty() ? form->find(to) : nullptr;
    if (!d.target)
        return d;
    double ox = 0, oy = 0;
    form->originOf(*d.target, ox, oy);
    const std::optional<float> x = single(e.x - ox), y = single(e.y - oy);
    d.argumentsFail = !x || !y;
    if (d.argumentsFail)
        return d;
    d.argX = *x;
    d.argY = *y;
    for (const splitter::Bar& bar : form->bars())
        if (&*bar.control == d.target)
            d.bar = &bar;
    return d;
}

// Which window an event may change; none for a menu entry that opens nothing.
std::optional<Window> affectedWindow(const Step& s)
{
    if (s.e.kind != EventKind::Menu)
        return s.e.window;
    if (!s.before.windows[0].loaded || s.e.menuIndex + 1 >= kWindowCount)
        return std::nullopt;
    return s.e.menuIndex + 1;
}

// What holds in every window after any event: finite, non-negative geometry; splits that add up; no
// capture with no button held; drag flags changed only by their own bar's handler (minimised, a window
// loses the pointer, and a drag in it ends as if released); nothing changed outside the event's window.
void checkEveryWindow(const Step& s)
{
    const std::optional<Window> affected = affectedWindow(s);
    for (Window w = 0; w < kWindowCount; ++w) {
        const WindowState& a = s.now[w];
        const WindowState& b = s.before.windows[w];
        const std::string window(windowName(w));
        const auto checkRect = [&](const std::string& what, const rt::Rect& r) {
            if (!std::isfinite(r.left) || !std::isfinite(r.top) || !std::isfinite(r.width) || !std::isfinite(r.height))
                s.fail(kFinite, window + what + str(r));
            else if (r.width < 0 || r.height < 0)
                s.fail(kNonNegative, window + what + str(r));
        };
        checkRect(" client size ", {0, 0, a.scaleWidth, a.scaleHeight});
        for (const ControlState& c : a.controls)
            checkRect("." + c.name + " bounds ", c.bounds);
        for (std::size_t i = 0; i < a.flags.size() && i < b.flags.size(); ++i) {
            const bool own = w == s.e.window && s.delivery.bar && std::size_t(s.delivery.bar->number) == i + 1;
            const bool cutOff = w == s.e.window && s.e.kind == EventKind::Minimize && b.flags[i];
            if (!own && !cutOff && a.flags[i] != b.flags[i])
                s.fail(kFlag, window + ".DraggingImage" + std::to_string(i + 1) + " changed from " +
                                  (b.flags[i] ? "set" : "clear") + " without an event on its bar");
        }
        const forms::PaneWindow* form = s.run.window(w);
        if (form && !form->mouseState().heldButtons && form->mouseState().capture)
            s.fail(kCapture, window + " keeps " + form->mouseState().capture->name() + " captured with no button held");
        if (a.loaded)
            for (const Failure& f : checkSplitsAddUp(*form))
                s.fail(f.invariant, f.detail);
        if (w != affected && !(a == b))
            s.fail(kOtherWindows, window + " changed");
    }
}

// A press with nothing held captures what is under the pointer; the capture stays while any button is held.
void checkCapture(const Step& s)
{
    if (!s.form || !s.form->loaded() || !s.form->mouseState().heldButtons)
        return;
    const rt::Control* is = s.form->mouseState().capture;
    const std::string capture = is ? is->name() : "";
    const std::string& expected = s.before.mouseTarget();
    if (capture != expected)
        s.fail(kCapture, s.window() + " captured \"" + capture + "\", expected \"" + expected + "\"");
}

// A handler whose arguments cannot be represented never starts, and a move whose position cannot be
// fails: each is reported once; nothing else is.
void checkReported(const Step& s)
{
    const unsigned long reported = s.run.program().runtime().untrappedErrors() - s.before.errors;
    const bool moveFails = s.e.kind == EventKind::Move && s.delivery.bar && !s.candidate();
    const unsigned long expected = s.delivery.argumentsFail || moveFails ? 1 : 0;
    if (reported != expected)
        s.fail(kReported,
               std::to_string(reported) + " handler failures reported, expected " + std::to_string(expected));
}

void checkLoading(const Step& s)
{
    const std::optional<Window> w = affectedWindow(s);
    const bool close = s.e.kind == EventKind::Close;
    if (w && s.now[*w].loaded == close)
        s.fail(kLoading, std::string(windowName(*w)) + (close ? " is still loaded after " : " is not loaded after ") +
                             (s.e.kind == EventKind::Menu ? "its menu entry" : close ? "close" : "open"));
}

// Where the host keeps the size (a size it refuses, or showing an open window), nothing changes; where it
// promises one, the client size becomes it, but for a width under the minimum outer width, which the
// window widens to that minimum.
void checkSize(const Step& s)
{
    const WindowState& a = s.is();
    const ResizeOutcome& promised = s.before.size;
    if (!s.was().loaded || !a.loaded || promised.kind == ResizeOutcome::Kind::Unpredictable)
        return;
    if (promised.kind == ResizeOutcome::Kind::Unchanged) {
        if (!(a == s.was()))
            s.fail(kClientSize, s.window() + " changed where its host keeps the size");
        return;
    }
    const float outer = s.form->Width();
    const bool widened = a.scaleWidth > promised.width &&
                         outer - (a.scaleWidth - promised.width) < splitter::kMinimumOuterWidth;
    if (a.scaleHeight != promised.height || (a.scaleWidth != promised.width && !widened))
        s.fail(kClientSize, s.window() + " client size " + str(a.scaleWidth) + " x " + str(a.scaleHeight) +
                                ", expected " + str(promised.width) + " x " + str(promised.height));
    if (outer < splitter::kMinimumOuterWidth)
        s.fail(kMinimumWidth, s.window() + " outer width " + str(outer) + " twips");
}

// A layout (a resize, or a release on a bar) leaves the indicators where they are: a vertical one wholly,
// a horizontal one across its bar (on a release; its width follows its container). A released bar's own
// indicator is hidden, checked with the release. On a resize, a vertical one that is out (its bar being
// moved) is held to the drag's limits for the new size; the window system may settle at a size after the
// last Resize, or send none for an unchanged one, so it may also stop short of that place.
void checkLayoutIndicators(const Step& s)
{
    const bool resize = s.e.kind == EventKind::Resize;
    if (!s.form || !s.was().loaded || !s.is().loaded || (!resize && !s.delivery.bar))
        return;  // a release on no bar changes nothing, checked with what any mouse event may change
    for (const splitter::Bar& bar : s.form->bars()) {
        const ControlState* was = s.was().find(bar.indicator->name());
        const ControlState* is = s.is().find(bar.indicator->name());
        const bool out = resize && s.wasDragging(bar);
        if (!was || !is || (resize && !bar.vertical()) || (out && !was->visible))
            continue;  // or a flag left by a window closed in mid-drag: its hidden indicator shows nowhere
        ControlState want = *was;
        if (&bar == s.delivery.bar)
            want.visible = is->visible;
        if (!bar.vertical())
            std::tie(want.bounds.left, want.bounds.width) = std::tie(is->bounds.left, is->bounds.width);
        std::string limited;
        if (out) {
            // Where the host promises no size, the window may pass through any, down to none, on its way.
            const std::optional<float> limit = s.before.size.kind == ResizeOutcome::Kind::Unpredictable
                                                   ? std::optional<float>(0)
                                                   : s.limitSize(bar, s.is());
            const double from = was->bounds.left;
            const double held = limit ? splitter::limitDragPosition(static_cast<float>(from), *limit) : from;
            if (is->bounds.left >= std::min(from, held) && is->bounds.left <= std::max(from, held))
                want.bounds.left = is->bounds.left;
            limited = limit ? " (held within " + str(*limit) + ")" : "";
        }
        if (!(*is == want))
            s.fail(kIndicatorsStay, s.window() + "." + is->name + " went from " + str(*was) + " to " + str(*is) +
                                        ", expected " + str(want) + limited);
    }
}

// A mouse event changes nothing, but for a press or a move in a drag, which move the bar's own indicator,
// and a release on a bar, which lays the window out.
void checkOnlyIndicator(const Step& s)
{
    const splitter::Bar* bar = s.delivery.bar;
    if (bar && s.e.kind == EventKind::Up)
        return;
    const bool moves = bar && (s.e.kind == EventKind::Down || (s.wasDragging(*bar) && s.candidate()));
    const std::string indicator = moves ? bar->indicator->name() : "";
    const WindowState& a = s.is();
    const WindowState& b = s.was();
    for (std::size_t i = 0; i < a.controls.size() && i < b.controls.size(); ++i)
        if (a.controls[i].name != indicator && !(a.controls[i] == b.controls[i]))
            s.fail(kMoveOnly, s.window() + "." + a.controls[i].name + " went from " + str(b.controls[i]) + " to " +
                                  str(a.controls[i]));
    if (a.scaleWidth != b.scaleWidth || a.scaleHeight != b.scaleHeight || a.controls.size() != b.controls.size())
        s.fail(kMoveOnly, s.window() + " client size changed");
}

// A press sets its bar's flag and lays the indicator over the bar, half as wide where the bar is vertical;
// a release clears the flag and hides the indicator; a move in a drag puts the indicator where the drag's
// own limiting function puts the pointer's position, for the size read off the control the limits name.
void checkIndicator(const Step& s)
{
    if (!s.delivery.bar)
        return;
    const splitter::Bar& bar = *s.delivery.bar;
    const std::string where = s.window() + "." + bar.control->name() + ": ";
    const ControlState& was = *s.was().find(bar.indicator->name());
    const ControlState& is = *s.is().find(bar.indicator->name());
    const bool set = s.is().flags[std::size_t(bar.number - 1)];
    if (s.e.kind != EventKind::Move && set != (s.e.kind == EventKind::Down))
        s.fail(kFlag, where + "DraggingImage" + std::to_string(bar.number) +
                          (set ? " still set after a release" : " clear after a press"));
    if (s.e.kind == EventKind::Up) {
        if (is.visible)
            s.fail(kRelease, where + is.name + " still shown");
        return;
    }
    ControlState want = was;
    const std::optional<float> candidate = s.e.kind == EventKind::Move ? s.candidate() : std::nullopt;
    if (s.e.kind == EventKind::Down) {
        want.bounds = s.was().find(bar.control->name())->bounds;
        if (bar.vertical())
            want.bounds.width = float(want.bounds.width / 2);
        want.visible = true;
    } else if (!s.wasDragging(bar) || !candidate) {
        return;  // nothing changes: checked with what any mouse event may change
    } else if (const std::optional<float> limit = s.limitSize(bar, s.was())) {
        (bar.vertical() ? want.bounds.left : want.bounds.top) = splitter::limitDragPosition(*candidate, *limit);
    } else {
        return s.fail(kMove, where + "no control named for what limits its drag");
    }
    if (!(is == want))
        s.fail(s.e.kind == EventKind::Down ? kPress : kMove,
               where + is.name + " at " + str(is) + ", expected " + str(want));
}

constexpr unsigned on(EventKind kind) { return 1u << static_cast<unsigned>(kind); }
constexpr unsigned kEveryEvent = ~0u;
constexpr unsigned kMouse = on(EventKind::Down) | on(EventKind::Move) | on(EventKind::Up);

// Which checks run after which kinds of event.
struct Rule {
    unsigned kinds;
    void (*check)(const Step&);
};
constexpr Rule kRules[] = {
    {kEveryEvent, checkEveryWindow},
    {kMouse, checkCapture},
    {kEveryEvent, checkReported},
    {on(EventKind::Open) | on(EventKind::Close) | on(EventKind::Menu), checkLoading},
    {on(EventKind::Resize) | on(EventKind::Open), checkSize},
    {on(EventKind::Resize) | on(EventKind::Up), checkLayoutIndicators},
    {kMouse, checkOnlyIndicator},
    {kMouse, checkIndicator},
};

WindowState stateOf(const forms::PaneWindow* form)
{
    WindowState s;
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

std::vector<WindowState> stateOfAll(const ProgramRun& run)
{
    std::vector<WindowState> all;
    for (Window w = 0; w < kWindowCount; ++w)
        all.push_back(stateOf(run.window(w)));
    return all;
}

}  // namespace

std::string numberText(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", value);
    return buffer;
}

std::string Failure::describe() const
{
    return "line " + std::to_string(line) + " (" + event + "): " + invariant + ": " + detail;
}

const ControlState* WindowState::find(const std::string& name) const
{
    for (const ControlState& c : controls)
        if (c.name == name)
            return &c;
    return nullptr;
}

void InvariantChecker::before(const Event& e)
{
    StateBefore& b = before_ = StateBefore();
    b.windows = stateOfAll(run_);
    if (const forms::PaneWindow* form = run_.window(e.window); form && form->loaded()) {
        const rt::MouseState& mouse = form->mouseState();
        const rt::Control* hit = isMouse(e.kind) ? form->hitTest(e.x, e.y) : nullptr;
        b.capture = mouse.capture ? mouse.capture->name() : "";
        b.underPointer = hit ? hit->name() : "";
        b.heldButtons = mouse.heldButtons;
    }
    if (e.kind == EventKind::Open || (e.kind == EventKind::Resize && b.windows[e.window].loaded))
        b.size = run_.sizeAfter(e);
    b.errors = run_.program().runtime().untrappedErrors();
}

std::vector<Failure> InvariantChecker::after(const Event& e) const
{
    const std::vector<WindowState> now = stateOfAll(run_);
    const forms::PaneWindow* form = run_.window(e.window);
    const Delivery delivery = deliveryOf(e, form, before_);
    std::vector<Failure> failures;
    const Step step{e, run_, form, before_, now, delivery, limits_, failures};
    for (const Rule& rule : kRules)
        if (rule.kinds & on(e.kind))
            rule.check(step);
    return failures;
}

std::vector<Failure> checkSplitsAddUp(const forms::PaneWindow& form)
{
    std::vector<Failure> failures;
    for (const splitter::Bar& split : form.bars()) {
        const float along = split.splitSize();
        const double position = split.position();
        // Laid out with a valid position and room for the gap: both sides' sizes were taken.
        if (!(position >= 0) || double(along) - position - splitter::kGap < 0)
            continue;
        const auto size = [&](const rt::Control& c, bool alongTheSplit) {
            return double(split.vertical() == alongTheSplit ? c.Width() : c.Height());
        };
        const double a = size(*split.first, true), b = size(*split.second, true);
        const double across1 = size(*split.first, false), across2 = size(*split.second, false);
        const float across = split.splitBreadth();
        const std::string where = std::string(form.name()) + " split of " + split.control->name() + ": ";
        if (std::fabs(a + splitter::kGap + b - along) > halfUlp(along))
            failures.push_back({0, "", kAddUp, where + str(a) + " + " + str(splitter::kGap) + " + " + str(b) + " != " +
                                                   str(along) + " (bar at " + str(position) + ")"});
        if (across1 != across || across2 != across)
            failures.push_back({0, "", kAddUp, where + "sides " + str(across1) + " and " + str(across2) +
                                                   " across, expected " + str(across)});
    }
    return failures;
}

std::vector<Failure> playChecked(ProgramRun& run, const std::vector<Event>& events, bool keepGoing,
                                 const LimitControls* limits)
{
    InvariantChecker checker(run, limits ? std::optional(*limits) : std::nullopt);
    return playEach(events, keepGoing, [&](const Event& e) {
        checker.before(e);
        run.apply(e);
        return checker.after(e);
    });
}

}  // namespace replay
