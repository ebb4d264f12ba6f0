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
constexpr const char* kCapture = "the mouse goes to the captured control, and no capture is left once every button is up";
constexpr const char* kFlag = "drag flag follows press, move and release";
constexpr const char* kOtherBars = "an event on one bar leaves the other bars alone";
constexpr const char* kOtherWindows = "an event on one window leaves the other windows alone";
constexpr const char* kPress = "a press lays the indicator over its bar and shows it";
constexpr const char* kMove = "a move puts the indicator at the limited pointer position";
constexpr const char* kMoveOnly = "a mouse event changes nothing but, on a press or in a drag, the bar's indicator";
constexpr const char* kRelease = "a release hides the indicator";
constexpr const char* kIndicatorsStay =
    "the indicators of vertical bars are never moved by a layout, except to hold one that is out within its limits";
constexpr const char* kAddUp = "sides and gap add up to the reference size";
constexpr const char* kClientSize = "the client size follows the resize";
constexpr const char* kMinimumWidth = "the minimum width holds after every resize";
constexpr const char* kReported = "a failing handler is reported once";
constexpr const char* kLoading = "open loads and close unloads the window";

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
    const std::vector<WindowState>& before;
    const std::vector<WindowState>& now;
    const CaptureState& captureBefore;
    const Delivery& delivery;
    const std::optional<LimitControls>& limits;
    const ResizeOutcome& resize;
    bool showMayResize;
    unsigned long errorsReported;
    std::vector<Failure>& failures;

    const WindowState& was() const { return before[e.window]; }
    const WindowState& is() const { return now[e.window]; }
    std::string window() const { return std::string(windowName(e.window)); }
    void fail(const std::string& invariant, const std::string& detail) const
    {
        failures.push_back({e.line, formatEvent(e), invariant, detail});
    }
    // The control whose size bounds the bar's drag, "" for the client area; none where the statement of
    // limits given does not name the bar.
    std::optional<std::string> limitControl(const splitter::Bar& bar) const
    {
        if (!limits)
            return bar.limit ? std::string((*bar.limit)->name()) : std::string();
        const auto found = limits->find({e.window, bar.number});
        return found == limits->end() ? std::nullopt : std::optional(found->second);
    }
    // The size that bounds the bar's drag in `state`, read off the control the statement names.
    std::optional<float> limitSize(const splitter::Bar& bar, const WindowState& state) const
    {
        const std::optional<std::string> name = limitControl(bar);
        if (!name)
            return std::nullopt;
        if (name->empty())
            return bar.vertical() ? state.scaleWidth : state.scaleHeight;
        const ControlState* limit = state.find(*name);
        if (!limit)
            return std::nullopt;
        return static_cast<float>(bar.vertical() ? limit->bounds.width : limit->bounds.height);
    }
    // The position a move asks for: the bar's position plus the pointer's offset along its direction.
    std::optional<float> candidate() const
    {
        const ControlState& bar = *was().find(std::string(delivery.bar->control->name()));
        const bool vertical = delivery.bar->vertical();
        return single((vertical ? bar.bounds.left : bar.bounds.top) + (vertical ? delivery.argX : delivery.argY));
    }
};

const rt::Control* controlNamed(const forms::PaneWindow& form, const std::string& name)
{
    return name.empty() ? nullptr : form.find(name);
}

Delivery deliveryOf(const Event& e, const forms::PaneWindow* form, const CaptureState& was)
{
    Delivery d;
    if (!isMouse(e.kind) || !form || !form->loaded())
        return d;
    const rt::MouseState& is = form->mouseState();
    if (e.kind == EventKind::Down && (e.button & is.heldButtons))
        d.target = is.capture;
    else if (e.kind == EventKind::Move)
        d.target = controlNamed(*form, was.heldButtons ? was.capture : was.underPointer);
    else if (e.kind == EventKind::Up && (was.heldButtons & e.button & ~is.heldButtons))
        d.target = controlNamed(*form, was.capture);
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
    if (!s.before[0].loaded || s.e.menuIndex + 1 >= kWindowCount)
        return std::nullopt;
    return s.e.menuIndex + 1;
}

void checkGeometry(const Step& s)
{
    for (Window w = 0; w < kWindowCount; ++w) {
        const WindowState& a = s.now[w];
        const std::string window(windowName(w));
        if (!std::isfinite(a.scaleWidth) || !std::isfinite(a.scaleHeight))
            s.fail(kFinite, window + " client size " + str(a.scaleWidth) + " x " + str(a.scaleHeight));
        else if (a.scaleWidth < 0 || a.scaleHeight < 0)
            s.fail(kNonNegative, window + " client size " + str(a.scaleWidth) + " x " + str(a.scaleHeight));
        for (const ControlState& c : a.controls) {
            const rt::Rect& r = c.bounds;
            if (!std::isfinite(r.left) || !std::isfinite(r.top) || !std::isfinite(r.width) || !std::isfinite(r.height))
                s.fail(kFinite, window + "." + c.name + " bounds " + str(r));
            else if (r.width < 0 || r.height < 0)
                s.fail(kNonNegative, window + "." + c.name + " bounds " + str(r));
        }
        if (w != affectedWindow(s) && !(a == s.before[w]))
            s.fail(kOtherWindows, window + " changed");
    }
}

// Only a bar's own handler touches its flag; minimised, a window loses the pointer, and a drag in it
// ends as if released.
void checkFlags(const Step& s)
{
    for (Window w = 0; w < kWindowCount; ++w) {
        const std::vector<bool>& a = s.now[w].flags;
        const std::vector<bool>& b = s.before[w].flags;
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
            const int bar = static_cast<int>(i) + 1;
            const bool own = w == s.e.window && s.delivery.bar && s.delivery.bar->number == bar;
            const bool cutOff = w == s.e.window && s.e.kind == EventKind::Minimize && b[i] && !a[i];
            if (!own && !cutOff && a[i] != b[i])
                s.fail(kFlag, std::string(windowName(w)) + ".DraggingImage" + std::to_string(bar) + " changed from " +
                                  (b[i] ? "set" : "clear") + " without an event on its bar");
        }
    }
    if (!s.delivery.bar || s.e.kind == EventKind::Move)
        return;
    const bool set = s.is().flags[static_cast<std::size_t>(s.delivery.bar->number - 1)];
    if (set != (s.e.kind == EventKind::Down))
        s.fail(kFlag, s.window() + ": DraggingImage" + std::to_string(s.delivery.bar->number) +
                          (set ? " still set after a release" : " clear after a press"));
}

// A press with nothing held captures what is under the pointer; the capture stays while any button is
// held, and none is left once every button is up.
void checkCapture(const Step& s)
{
    for (Window w = 0; w < kWindowCount; ++w)
        if (const forms::PaneWindow* form = s.run.window(w); form && !form->mouseState().heldButtons &&
                                                            form->mouseState().capture)
            s.fail(kCapture, std::string(windowName(w)) + " keeps " + form->mouseState().capture->name() +
                                 " captured with no button held");
    if (!isMouse(s.e.kind) || !s.form || !s.form->loaded() || !s.form->mouseState().heldButtons)
        return;
    const rt::MouseState& is = s.form->mouseState();
    const std::string capture = is.capture ? is.capture->name() : "";
    const std::string& expected = s.captureBefore.heldButtons ? s.captureBefore.capture : s.captureBefore.underPointer;
    if (capture != expected)
        s.fail(kCapture, s.window() + " captured \"" + capture + "\", expected \"" + expected + "\"");
}

void checkSplits(const Step& s)
{
    for (Window w = 0; w < kWindowCount; ++w)
        if (s.now[w].loaded)
            for (const Failure& f : checkSplitsAddUp(*s.run.window(w)))
                s.fail(f.invariant, f.detail);
}

// A handler whose arguments cannot be represented never starts, and a move whose position cannot be
// fails: each is reported once; nothing else is.
void checkReported(const Step& s)
{
    unsigned long expected = s.delivery.argumentsFail ? 1 : 0;
    if (s.e.kind == EventKind::Move && s.delivery.bar && !s.candidate())
        expected = 1;
    if (s.errorsReported != expected)
        s.fail(kReported, std::to_string(s.errorsReported) + " handler failures reported, expected " +
                              std::to_string(expected));
}

void checkOpen(const Step& s)
{
    if (!s.is().loaded)
        s.fail(kLoading, s.window() + " is not loaded after open");
    else if (s.was().loaded && !s.showMayResize && !(s.is() == s.was()))
        s.fail(kOtherWindows, s.window() + " changed when opened while already open");
}

void checkClose(const Step& s)
{
    if (s.is().loaded)
        s.fail(kLoading, s.window() + " is still loaded after close");
}

void checkMenu(const Step& s)
{
    if (const std::optional<Window> opened = affectedWindow(s); opened && !s.now[*opened].loaded)
        s.fail(kLoading, std::string(windowName(*opened)) + " is not loaded after its menu entry");
}

// The client size becomes what the host promises, but for a width under the minimum outer width, which
// the window widens to that minimum.
void checkResize(const Step& s)
{
    const WindowState& a = s.is();
    if (!s.was().loaded || s.resize.kind == ResizeOutcome::Kind::Unpredictable)
        return;
    if (s.resize.kind == ResizeOutcome::Kind::Unchanged) {
        if (!(a == s.was()))
            s.fail(kClientSize, s.window() + " changed on a size it cannot take");
        return;
    }
    const float outer = s.form->Width();
    const bool widened = a.scaleWidth > s.resize.width && outer - (a.scaleWidth - s.resize.width) < splitter::kMinimumOuterWidth;
    if (a.scaleHeight != s.resize.height || (a.scaleWidth != s.resize.width && !widened))
        s.fail(kClientSize, s.window() + " client size " + str(a.scaleWidth) + " x " + str(a.scaleHeight) +
                                ", expected " + str(s.resize.width) + " x " + str(s.resize.height));
    if (outer < splitter::kMinimumOuterWidth)
        s.fail(kMinimumWidth, s.window() + " outer width " + str(outer) + " twips");
}

// A layout (a resize or a release) leaves a vertical bar's indicator where it is, unless it is out (the
// bar being moved): a resize then holds it to the drag's limits for the new size. The window system may
// settle at a size after the last Resize, or send none for an unchanged one, so the indicator may also
// stop short of that place.
void checkVerticalIndicators(const Step& s)
{
    if (!s.form || !s.was().loaded || !s.is().loaded)
        return;
    const bool resize = s.e.kind == EventKind::Resize;
    for (const splitter::Bar& bar : s.form->bars()) {
        const std::string name(bar.indicator->name());
        const ControlState* was = s.was().find(name);
        const ControlState* is = s.is().find(name);
        if (!bar.vertical() || !was || !is)
            continue;
        ControlState want = *was;
        std::string limited;
        if (!resize)
            want.visible = is->visible;  // a release hides its own indicator, checked with the release
        if (resize && s.was().flags[static_cast<std::size_t>(bar.number - 1)]) {
            if (!was->visible)
                continue;  // a flag left by a window closed in mid-drag: its hidden indicator shows nowhere
            // Where the host promises no size, the window may pass through any, down to none, on its way.
            const std::optional<float> limit = s.resize.kind == ResizeOutcome::Kind::Unpredictable
                                                   ? std::optional<float>(0)
                                                   : s.limitSize(bar, s.is());
            const double from = was->bounds.left;
            const double held = limit ? splitter::limitDragPosition(static_cast<float>(from), *limit) : from;
            if (is->bounds.left >= std::min(from, held) && is->bounds.left <= std::max(from, held))
                want.bounds.left = is->bounds.left;
            limited = limit ? " (held within " + str(*limit) + ")" : "";
        }
        if (!(*is == want))
            s.fail(kIndicatorsStay, s.window() + "." + name + " went from " + str(*was) + " to " + str(*is) +
                                        ", expected " + str(want) + limited);
    }
}

// On a release its bar lays the window out: a vertical bar's indicator is left as it is, a horizontal one
// takes its container's width and keeps the rest.
void checkOtherBars(const Step& s)
{
    if (!s.delivery.bar)
        return;
    for (const splitter::Bar& other : s.form->bars()) {
        const std::string name(other.indicator->name());
        const ControlState& was = *s.was().find(name);
        const ControlState& is = *s.is().find(name);
        const bool same = other.vertical() ? was == is
                                           : was.visible == is.visible && was.bounds.top == is.bounds.top &&
                                                 was.bounds.height == is.bounds.height;
        if (&other != s.delivery.bar && !same)
            s.fail(kOtherBars, s.window() + "." + name + " went from " + str(was) + " to " + str(is));
    }
}

// A mouse event changes nothing, but for a press or a move in a drag, which move the bar's own indicator,
// and a release on a bar, which lays the window out.
void checkOnlyIndicator(const Step& s)
{
    const splitter::Bar* bar = s.delivery.bar;
    if (bar && s.e.kind == EventKind::Up)
        return;
    const bool dragging = bar && s.was().flags[std::size_t(bar->number - 1)] && s.candidate();
    const std::string indicator = bar && (s.e.kind == EventKind::Down || dragging) ? bar->indicator->name() : "";
    const WindowState& a = s.is();
    const WindowState& b = s.was();
    for (std::size_t i = 0; i < a.controls.size() && i < b.controls.size(); ++i)
        if (a.controls[i].name != indicator && !(a.controls[i] == b.controls[i]))
            s.fail(kMoveOnly, s.window() + "." + a.controls[i].name + " went from " + str(b.controls[i]) + " to " +
                                  str(a.controls[i]));
    if (a.scaleWidth != b.scaleWidth || a.scaleHeight != b.scaleHeight || a.controls.size() != b.controls.size())
        s.fail(kMoveOnly, s.window() + " client size changed");
}

void checkPress(const Step& s)
{
    if (!s.delivery.bar)
        return;
    const splitter::Bar& bar = *s.delivery.bar;
    const rt::Rect& at = s.was().find(bar.control->name())->bounds;
    const double width = bar.vertical() ? double(float(at.width / 2)) : at.width;
    const rt::Rect expected{at.left, at.top, width, at.height};
    const ControlState& indicator = *s.is().find(bar.indicator->name());
    if (!indicator.visible || indicator.bounds != expected)
        s.fail(kPress, s.window() + "." + bar.control->name() + ": " + indicator.name + " at " + str(indicator) +
                           ", expected " + str(expected) + " shown");
}

// In a drag, the indicator goes where the drag's own limiting function puts the pointer's position, for
// the size read off the control the statement of limits names.
void checkMove(const Step& s)
{
    if (!s.delivery.bar)
        return;
    const splitter::Bar& bar = *s.delivery.bar;
    const std::string where = s.window() + "." + bar.control->name();
    const std::optional<float> candidate = s.candidate();
    if (!s.was().flags[static_cast<std::size_t>(bar.number - 1)] || !candidate)
        return;  // nothing changes: checked with what a mouse event may change
    const std::optional<float> limit = s.limitSize(bar, s.was());
    if (!limit)
        return s.fail(kMove, where + ": no control named for what limits its drag");
    const ControlState& was = *s.was().find(bar.indicator->name());
    const ControlState& is = *s.is().find(bar.indicator->name());
    rt::Rect want = was.bounds;
    (bar.vertical() ? want.left : want.top) = splitter::limitDragPosition(*candidate, *limit);
    if (is.bounds != want || is.visible != was.visible)
        s.fail(kMove, where + ": " + is.name + " at " + str(is.bounds) + ", expected " + str(want));
}

void checkRelease(const Step& s)
{
    if (s.delivery.bar && s.is().find(s.delivery.bar->indicator->name())->visible)
        s.fail(kRelease, s.window() + "." + s.delivery.bar->control->name() + ": " +
                             s.delivery.bar->indicator->name() + " still shown");
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
    {kEveryEvent, checkGeometry},
    {kEveryEvent, checkFlags},
    {kEveryEvent, checkCapture},
    {kEveryEvent, checkSplits},
    {kEveryEvent, checkReported},
    {on(EventKind::Open), checkOpen},
    {on(EventKind::Close), checkClose},
    {on(EventKind::Menu), checkMenu},
    {on(EventKind::Resize), checkResize},
    {on(EventKind::Resize) | on(EventKind::Up), checkVerticalIndicators},
    {kMouse, checkOnlyIndicator},
    {on(EventKind::Up), checkOtherBars},
    {on(EventKind::Down), checkPress},
    {on(EventKind::Move), checkMove},
    {on(EventKind::Up), checkRelease},
};

WindowState stateOf(const forms::PaneWindow* form)
{
    WindowState s;
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

CaptureState captureOf(const forms::PaneWindow* form, const Event& e)
{
    if (!form || !form->loaded())
        return {};
    const rt::MouseState& mouse = form->mouseState();
    const rt::Control* hit = isMouse(e.kind) ? form->hitTest(e.x, e.y) : nullptr;
    return {mouse.capture ? mouse.capture->name() : "", mouse.heldButtons, hit ? hit->name() : ""};
}

}  // namespace

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

std::vector<WindowState> InvariantChecker::captureAll() const
{
    std::vector<WindowState> all;
    for (Window w = 0; w < kWindowCount; ++w)
        all.push_back(stateOf(run_.window(w)));
    return all;
}

void InvariantChecker::before(const Event& e)
{
    before_ = captureAll();
    captureBefore_ = captureOf(run_.window(e.window), e);
    errorsBefore_ = run_.untrappedErrors();
    resizeOutcome_ = e.kind == EventKind::Resize && before_[e.window].loaded
                         ? run_.resizeOutcome(e.window, e.x, e.y)
                         : ResizeOutcome{};
    showMayResize_ = e.kind == EventKind::Open && run_.showMayResize(e.window);
}

std::vector<Failure> InvariantChecker::after(const Event& e) const
{
    const std::vector<WindowState> now = captureAll();
    const forms::PaneWindow* form = run_.window(e.window);
    const Delivery delivery = deliveryOf(e, form, captureBefore_);
    std::vector<Failure> failures;
    const Step step{e,      run_,           form,          before_,       now,
                    captureBefore_, delivery, limits_, resizeOutcome_, showMayResize_,
                    run_.untrappedErrors() - errorsBefore_, failures};
    for (const Rule& rule : kRules)
        if (rule.kinds & on(e.kind))
            rule.check(step);
    return failures;
}

std::vector<Failure> checkSplitsAddUp(const forms::PaneWindow& form)
{
    std::vector<Failure> failures;
    for (const splitter::Bar& split : form.bars()) {
        const bool vertical = split.vertical();
        const float along = split.splitSize();
        const float across = split.splitBreadth();
        const double position = split.position();
        // Laid out with a valid position and room for the gap: both sides' sizes were taken.
        if (!(position >= 0) || double(along) - position - splitter::kGap < 0)
            continue;
        const rt::Control& first = *split.first;
        const rt::Control& second = *split.second;
        const double a = vertical ? first.Width() : first.Height();
        const double b = vertical ? second.Width() : second.Height();
        const double across1 = vertical ? first.Height() : first.Width();
        const double across2 = vertical ? second.Height() : second.Width();
        const std::string where = std::string(form.name()) + " split of " + split.control->name();
        if (std::fabs(a + splitter::kGap + b - along) > halfUlp(along))
            failures.push_back({0, "", kAddUp,
                                where + ": " + str(a) + " + " + str(splitter::kGap) + " + " + str(b) + " != " +
                                    str(along) + " (bar at " + str(position) + ")"});
        if (across1 != across || across2 != across)
            failures.push_back({0, "", kAddUp,
                                where + ": sides " + str(across1) + " and " + str(across2) + " across, expected " +
                                    str(across)});
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
