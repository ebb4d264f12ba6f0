#include "replay/qt/host_checker.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <optional>

#include "qt/form_window.h"
#include "replay/qt/backing_store.h"
#include "splitter/split_layout.h"

namespace qtreplay {
namespace {

using replay::EventKind;
using replay::Failure;
using replay::numberText;
using replay::Window;

constexpr const char* kShownWhileLoaded = "a window is on screen exactly while it is loaded";
constexpr const char* kClientIsSurface = "the runtime's client size is the surface's, which fills the window";
constexpr const char* kMinimumWidth = "a window in its normal state is at least the minimum outer width";
constexpr const char* kNoStaleButtons = "no mouse capture is left once every button is up";
constexpr const char* kQuit = "the program ends exactly when its last window closes";
constexpr const char* kPainted = "the screen shows the runtime's state";
constexpr const char* kQuietQt = "Qt reports no problem";
constexpr const char* kNoStrayMouse = "only mouse events reach the runtime's mouse handling";

// Qt's warnings while a checker is alive. Messages the offscreen platform gives for features it lacks
// say nothing about the program.
std::vector<std::string>* qtWarnings = nullptr;
QtMessageHandler previousHandler = nullptr;

void recordWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool platformLacks = message.contains(QLatin1String("This plugin does not support")) ||
                               message.startsWith(QLatin1String("QStandardPaths:"));
    if (qtWarnings && type != QtDebugMsg && type != QtInfoMsg && !platformLacks)
        qtWarnings->push_back(message.toStdString());
    if (previousHandler && !platformLacks)
        previousHandler(type, context, message);
}

std::optional<Window> windowOf(const HostSession& session, const rt::Form& form)
{
    for (Window w = 0; w < replay::kWindowCount; ++w)
        if (session.window(w) == &form)
            return w;
    return std::nullopt;
}

int dragsUnderWay(const HostSession& session)
{
    int n = 0;
    for (Window w = 0; w < replay::kWindowCount; ++w)
        if (const forms::PaneWindow* form = session.window(w))
            for (const splitter::Bar& bar : form->bars())
                n += bar.dragging;
    return n;
}

void collect(const std::vector<Failure>& found, std::vector<Failure>& failures)
{
    failures.insert(failures.end(), found.begin(), found.end());
}

}  // namespace

HostChecker::HostChecker(HostSession& session) : session_(session), runtimeChecks_(session)
{
    static std::vector<std::string> warnings;
    warnings.clear();
    qtWarnings = &warnings;
    previousHandler = qInstallMessageHandler(recordWarning);
    QCoreApplication::instance()->installEventFilter(this);
}

HostChecker::~HostChecker()
{
    QCoreApplication::instance()->removeEventFilter(this);
    qInstallMessageHandler(previousHandler);
    qtWarnings = nullptr;
    session_.host().runtime().setMouseObserver({});
}

bool HostChecker::eventFilter(QObject* watched, QEvent* event)
{
    const auto* surface = qobject_cast<const qthost::Surface*>(watched);
    const auto* mouse = surface && surface->form() ? dynamic_cast<const QMouseEvent*>(event) : nullptr;
    if (const std::optional<Window> w = mouse ? windowOf(session_, *surface->form()) : std::nullopt) {
        lastButtons_[*w] = scriptButtons(mouse->buttons());
        mouseReached_[*w] = true;
    }
    return false;
}

std::vector<Failure> HostChecker::play(const replay::Event& event)
{
    playing_ = &event;
    failures_.clear();
    loadedBefore_ = session_.host().runtime().loadedForms().size();
    quitRequestsBefore_ = session_.quitRequests();
    mouseReached_ = {};
    if (qtWarnings)
        qtWarnings->clear();
    // A mouse event is checked as the runtime receives it, which is not always as it was sent.
    received_.reset();
    session_.host().runtime().setMouseObserver(
        [this](rt::Form& form, rt::MouseEvent kind, int button, int shift, double x, double y) {
            receive({replay::scriptMouse(kind), windowOf(session_, form).value_or(0), button, shift, x, y, 0,
                     playing_->line});
        });
    const bool mouse = replay::isMouse(event.kind);
    if (!mouse)
        runtimeChecks_.before(event);
    session_.apply(event);
    session_.settle();
    if (!mouse)
        collect(runtimeChecks_.after(event), failures_);
    else if (received_)
        finishReceived();
    session_.host().runtime().setMouseObserver({});
    checkHost();
    return std::move(failures_);
}

void HostChecker::fail(const char* invariant, const std::string& detail)
{
    failures_.push_back({playing_->line, replay::formatEvent(*playing_), invariant, detail});
}

void HostChecker::receive(const replay::Event& e)
{
    if (!replay::isMouse(playing_->kind)) {
        // Minimising takes the pointer away: a drag under way ends there, with a release.
        if (!(playing_->kind == EventKind::Minimize && e.kind == EventKind::Up))
            fail(kNoStrayMouse, "the runtime was handed " + replay::formatEvent(e));
        return;
    }
    if (received_)
        finishReceived();
    ++coverage_.runtimeMouseEvents;
    dragsBefore_ = dragsUnderWay(session_);
    runtimeChecks_.before(e);
    received_ = e;
}

void HostChecker::finishReceived()
{
    std::vector<Failure> found = runtimeChecks_.after(*received_);
    if (const std::string text = replay::formatEvent(*playing_); !found.empty() && found.front().event != text)
        for (Failure& f : found)
            f.event = text + ", handed to the runtime as " + f.event;
    collect(found, failures_);
    coverage_.dragsEnded += received_->kind == EventKind::Up && dragsUnderWay(session_) < dragsBefore_;
}

void HostChecker::checkHost()
{
    std::vector<const QWidget*> expectedOnScreen;
    for (Window w = 0; w < replay::kWindowCount; ++w)
        if (const QWidget* shown = checkWindow(w))
            expectedOnScreen.push_back(shown);
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && qobject_cast<const qthost::FormWindow*>(widget) &&
            std::find(expectedOnScreen.begin(), expectedOnScreen.end(), widget) == expectedOnScreen.end())
            fail(kShownWhileLoaded,
                 "a window titled \"" + widget->windowTitle().toStdString() + "\" is on screen for no loaded form");
    if (QWidget* grabber = QWidget::mouseGrabber(); grabber && session_.heldButtons() == Qt::NoButton)
        fail(kNoStaleButtons, "Qt's mouse grabber is " + grabber->objectName().toStdString() + " with no button held");

    const std::size_t loaded = session_.host().runtime().loadedForms().size();
    const int quits = session_.quitRequests() - quitRequestsBefore_;
    const int expectedQuits = loadedBefore_ > 0 && loaded == 0 ? 1 : 0;
    if (quits != expectedQuits)
        fail(kQuit, "asked to end " + std::to_string(quits) + " times with " + std::to_string(loaded) +
                        " windows loaded, after " + std::to_string(loadedBefore_));
    if (qtWarnings)
        for (const std::string& warning : *qtWarnings)
            fail(kQuietQt, warning);
}

const QWidget* HostChecker::checkWindow(Window w)
{
    const std::string name(replay::windowName(w));
    const forms::PaneWindow* form = session_.window(w);
    qthost::FormWindow* shown = session_.windowOf(w);
    const bool loaded = form && form->loaded();
    if (loaded != (shown && shown->isVisible()))
        fail(kShownWhileLoaded, name + (loaded ? " is loaded but not on screen" : " is on screen but not loaded"));
    if (!loaded || !shown)
        return nullptr;
    const qthost::Surface& surface = *shown->surface();
    const double tpp = surface.twipsPerPixel();
    const float width = static_cast<float>(surface.width() * tpp), height = static_cast<float>(surface.height() * tpp);
    if (form->ScaleWidth() != width || form->ScaleHeight() != height)
        fail(kClientIsSurface, name + " client size " + numberText(form->ScaleWidth()) + " x " +
                                   numberText(form->ScaleHeight()) + " twips, its surface " +
                                   std::to_string(surface.width()) + " x " + std::to_string(surface.height()) +
                                   " pixels");
    // A surface with no area shows nothing, so where Qt's layout parks it does not matter; its size does.
    const QRect client = surface.geometry();
    if (!client.isEmpty() &&
        (client.left() != 0 || client.width() != shown->width() || client.bottom() != shown->height() - 1))
        fail(kClientIsSurface, name + " surface at " + std::to_string(client.x()) + "," + std::to_string(client.y()) +
                                   " " + std::to_string(client.width()) + " x " + std::to_string(client.height()) +
                                   " in a window of " + std::to_string(shown->width()) + " x " +
                                   std::to_string(shown->height()));
    if (!(shown->windowState() & kSizedBySystem) && form->Width() < splitter::kMinimumOuterWidth)
        fail(kMinimumWidth, name + " outer width " + numberText(form->Width()) + " twips");
    // Buttons the runtime holds that the last mouse event to reach the window said were up.
    if (const int stale = form->mouseState().heldButtons & ~lastButtons_[w]; mouseReached_[w] && stale)
        fail(kNoStaleButtons, name + ": the runtime holds buttons " + std::to_string(stale) +
                                  " that the last mouse event said were up");
    if (!(shown->windowState() & Qt::WindowMinimized) && shown->windowHandle() && shown->windowHandle()->isExposed()) {
        const ScreenComparison screen = compareWithRender(*shown, *form);
        coverage_.screensCompared += screen.compared;
        if (screen.difference)
            fail(kPainted, name + ": " + *screen.difference);
    }
    return shown;
}

std::vector<Failure> playOnHost(const std::vector<replay::Event>& events, bool keepGoing)
{
    HostSession session;
    HostChecker checker(session);
    return replay::playEach(events, keepGoing, [&](const replay::Event& e) { return checker.play(e); });
}

}  // namespace qtreplay
