// splitter-soak: long use of the program on the Qt host (offscreen unless QT_QPA_PLATFORM says otherwise).
// Opens and closes every window N times, then plays a random session of M events through real Qt mouse
// events, resizes, menu commands and close boxes, painting as it goes. Prints peak and current resident
// memory at the start, between the phases and at the end; fails when memory grew past a bound after
// warming up.
//
//   splitter-soak [--cycles N] [--events M] [--seed S] [--max-growth-kb K] [--keep-open]
//
// --keep-open never closes a window during the session, so that whatever a window gathers over its life
// shows; memory is then measured with the windows open.
#include <QApplication>
#include <QMouseEvent>
#include <malloc.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <array>
#include <fstream>
#include <random>
#include <string>
#include <utility>

#include "app/program.h"
#include "qt/form_window.h"
#include "qt/qt_host.h"

namespace {

struct Memory {
    long peakKb = 0;     // VmHWM
    long currentKb = 0;  // VmRSS
};

Memory readMemory()
{
    Memory m;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            m.peakKb = std::atol(line.c_str() + 6);
        else if (line.rfind("VmRSS:", 0) == 0)
            m.currentKb = std::atol(line.c_str() + 6);
    }
    return m;
}

Memory report(const char* when)
{
    malloc_trim(0);  // what the allocator keeps but does not use is not ours to count
    const Memory m = readMemory();
    std::printf("%-28s VmHWM %7ld kB  VmRSS %7ld kB\n", when, m.peakKb, m.currentKb);
    std::fflush(stdout);
    return m;
}

// Runs posted events, paints, and deletes the windows of closed forms.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// How many windows the program has, for picking one.
constexpr int kWindowCount = static_cast<int>(app::kWindowCount);

class Soak {
public:
    Soak(qthost::QtHost& host, app::Program& program, unsigned seed) : host_(host), program_(program), random_(seed) {}

    // Closes every window and lets Qt delete them, so that measurements compare like with like: the
    // backing stores of open windows follow their random sizes.
    void closeEverything()
    {
        for (rt::Form* form : program_.windows())
            if (form)
                if (qthost::FormWindow* w = host_.window(*form))
                    w->close();
        held_ = Qt::NoButton;
        settle();
    }

    void openAndCloseEverything()
    {
        program_.start();
        program_.SanbunMenu_Click();
        program_.YonbunMenu_Click();
        program_.RokuBunMenu_Click();
        settle();
        closeEverything();  // through the close box's path
    }

    unsigned long drags() const { return drags_; }
    // Windows stay open for the whole session (nothing is freed by closing them).
    void keepOpen() { keepOpen_ = true; }

    void randomEvent()
    {
        const int before = flagsSet();
        step();
        if (flagsSet() < before)
            ++drags_;  // a release ended a drag
    }

private:
    int flagsSet()
    {
        int n = 0;
        for (const forms::PaneWindow* window : program_.windows())
            if (window)
                for (const splitter::Bar& bar : window->bars())
                    n += bar.dragging;
        return n;
    }

    void step()
    {
        rt::Form* form = program_.window(static_cast<std::size_t>(pick(kWindowCount)));
        const int what = pick(100);
        if (what < 2) {
            open(pick(kWindowCount));
            return;
        }
        if (!form || !form->loaded()) {
            open(pick(kWindowCount));
            return;
        }
        qthost::FormWindow* window = host_.window(*form);
        if (!window)
            return;
        if (what < 3 && !keepOpen_) {
            window->close();
        } else if (what < 8) {
            host_.resizeClient(*form, pick(30000), pick(25000));
        } else if (what < 9) {
            host_.runtime().click(program_.splitterForm(), static_cast<std::size_t>(pick(kWindowCount)));
        } else {
            mouse(*window->surface(), *form);
        }
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void open(int which) { program_.open(static_cast<std::size_t>(which)); }

    // A press, move or release, mostly on or near a bar so that drags happen.
    void mouse(QWidget& surface, const rt::Form& form)
    {
        QPointF at(pick(surface.width() + 40) - 20, pick(surface.height() + 40) - 20);
        if (pick(3) != 0) {
            const int bars = static_cast<int>(form.name() == "SplitterForm" ? 1 : form.name().back() - '0' - 1);
            const rt::Control* bar = form.find("Image" + std::to_string(pick(bars) + 1));
            if (bar) {
                double x = 0, y = 0;
                form.originOf(*bar, x, y);
                const double tpp = host_.twipsPerPixel(form);
                at = QPointF((x + 20) / tpp + pick(5), (y + 20) / tpp + pick(5));
            }
        }
        static constexpr Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        const Qt::MouseButton button = kButtons[pick(3)];
        const Qt::KeyboardModifiers modifiers = pick(4) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
        QEvent::Type type = QEvent::MouseMove;
        Qt::MouseButtons held = held_;
        switch (pick(4)) {
        case 0:
            type = QEvent::MouseButtonPress;
            held_ |= button;
            held = held_;
            break;
        case 1:
            type = QEvent::MouseButtonRelease;
            held_ &= ~Qt::MouseButtons(button);
            held = held_;
            break;
        default:
            // Moves carry the buttons held.
            break;
        }
        QMouseEvent event(type, at, surface.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                          modifiers);
        QApplication::sendEvent(&surface, &event);
    }

    qthost::QtHost& host_;
    app::Program& program_;
    std::mt19937 random_;
    Qt::MouseButtons held_;
    unsigned long drags_ = 0;
    bool keepOpen_ = false;
};

// The offscreen platform cannot raise windows; say so once rather than on every show.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    static bool toldRaise = false;
    if (message.contains(QLatin1String("does not support raise()"))) {
        if (toldRaise)
            return;
        toldRaise = true;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

constexpr const char* kUsage =
    "Usage: splitter-soak [--cycles N] [--events M] [--seed S] [--max-growth-kb K] [--keep-open]\n"
    "Long use on the Qt host (offscreen unless QT_QPA_PLATFORM says otherwise): opens and closes every\n"
    "window N times, then plays a random session of M events, printing peak and resident memory as it goes.\n"
    "  --cycles N          open/close cycles (default 1000)\n"
    "  --events M          events in the random session (default 1000000)\n"
    "  --seed S            seed of the random session (default 1)\n"
    "  --max-growth-kb K   resident memory may grow this much after warming up (default 8192)\n"
    "  --keep-open         never close a window during the session; measure with the windows open\n"
    "  -h, --help          print this and exit\n"
    "Exit status: 0 memory stayed within the bound, 1 it grew past it, 2 the options were wrong.\n";

struct Options {
    long cycles = 1000;
    long events = 1000000;
    long seed = 1;
    long maxGrowthKb = 8192;
    bool keepOpen = false;
    bool help = false;
};

// A whole non-negative decimal number, or false.
bool parseCount(const char* text, long& out)
{
    char* end = nullptr;
    errno = 0;
    out = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0' && errno == 0 && out >= 0;
}

// Empty when the arguments are good, else what is wrong with them.
std::string parseOptions(int argc, char* argv[], Options& o)
{
    const std::pair<const char*, long*> counts[] = {
        {"--cycles", &o.cycles}, {"--events", &o.events}, {"--seed", &o.seed}, {"--max-growth-kb", &o.maxGrowthKb}};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            o.help = true;
            continue;
        }
        if (arg == "--keep-open") {
            o.keepOpen = true;
            continue;
        }
        long* target = nullptr;
        for (const auto& [name, value] : counts)
            if (arg == name)
                target = value;
        if (!target)
            return "unknown argument: " + arg;
        if (i + 1 >= argc || !parseCount(argv[i + 1], *target))
            return arg + " wants a whole number, 0 or more";
        ++i;
    }
    return {};
}

}  // namespace

int main(int argc, char* argv[])
{
    Options options;
    if (const std::string problem = parseOptions(argc, argv, options); !problem.empty()) {
        std::fprintf(stderr, "splitter-soak: %s\n%s", problem.c_str(), kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const long cycles = options.cycles;
    const long events = options.events;
    const auto seed = static_cast<unsigned>(options.seed);
    const long maxGrowthKb = options.maxGrowthKb;

    qInstallMessageHandler(quietMessages);
    int qtArgc = 1;  // every argument is ours, and checked above
    QApplication application(qtArgc, argv);
    qthost::setUpApplication(app::kIdentity);
    qthost::QtHost host;
    host.setQuitHandler([] {});  // closing the last window must not end the soak
    app::Program program(host.runtime());
    unsigned long reported = 0;
    host.runtime().setErrorOutput([&reported](const std::string&) { ++reported; });
    Soak soak(host, program, seed);
    const bool keepOpen = options.keepOpen;
    if (keepOpen)
        soak.keepOpen();

    report("start");
    soak.openAndCloseEverything();  // warm-up: first-use allocations (fonts, styles, icons)
    const Memory afterWarmUp = report("after one open/close cycle");
    for (long i = 1; i < cycles; ++i)
        soak.openAndCloseEverything();
    const Memory afterCycles = report("after open/close cycles");

    // The session: a tenth of it warms up, the rest must not grow memory. Measured with every window
    // closed, at each tenth.
    Memory afterSessionWarmUp{};
    for (long i = 0; i < events; ++i) {
        soak.randomEvent();
        if (i % 64 == 63)
            settle();
        if (events >= 10 && (i + 1) % (events / 10) == 0 && i + 1 < events) {
            if (!keepOpen)
                soak.closeEverything();
            const std::string when = "after " + std::to_string((i + 1) / (events / 10) * 10) + "% of the session";
            const Memory m = report(when.c_str());
            if ((i + 1) / (events / 10) == 1)
                afterSessionWarmUp = m;
        }
    }
    if (!keepOpen)
        soak.closeEverything();
    const Memory end = report("end");

    std::printf("open/close cycles: %ld, session events: %ld, drags ended by a release: %lu, handler failures "
                "reported: %lu\n",
                cycles, events, soak.drags(), reported);
    const long cycleGrowth = afterCycles.currentKb - afterWarmUp.currentKb;
    const long sessionGrowth = end.currentKb - afterSessionWarmUp.currentKb;
    std::printf("growth over the cycles: %ld kB, over the session after warm-up: %ld kB (bound %ld kB)\n",
                cycleGrowth, sessionGrowth, maxGrowthKb);
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed memory in quarantine, so resident memory says nothing about leaks here;
    // LeakSanitizer reports them at exit instead.
    const bool memoryFlat = true;
#else
    const bool memoryFlat = cycleGrowth <= maxGrowthKb && (events <= 10 || sessionGrowth <= maxGrowthKb);
#endif
    return memoryFlat ? 0 : 1;
}
