// splitter-render: draws one of the program's windows to a PNG file without a display. The window can be
// given a client size and dragged first; the drags go through the runtime's mouse events as a person's
// would (press on the bar, move, release).
#include <QApplication>
#include <QImage>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "qt/painting.h"
#include "qt/qt_host.h"

namespace {

struct Drag {
    std::string bar;
    double position;
};

struct Options {
    std::string window = "SplitterForm";
    std::optional<std::pair<double, double>> size;  // client twips
    std::vector<Drag> drags;
    double scale = 1;
    bool clientOnly = false;
    bool exactSize = false;
    std::string where;  // a bar to tell a grab point of, instead of drawing
    std::string output;
};

const std::string kUsage =
    "Usage: splitter-render [WINDOW] [options] -o FILE.png\n"
    "Draws WINDOW (" + app::windowChoices() + "; default SplitterForm) to a PNG file.\n"
    "  --size WxH        client size in twips (default: the window's defined size)\n"
    "  --drag BAR:POS    drag bar BAR (e.g. Image2) until its indicator is at POS twips in its\n"
    "                    container; may be repeated, drags run in order\n"
    "  --scale F         device pixel ratio, 0.5 to 4 (default 1)\n"
    "  --client-only     the client area alone, without the menu bar\n"
    "  --exact           with --size: the client area gets exactly that many twips even where they are\n"
    "                    not whole pixels at this scale (as on a screen whose pixels are finer than\n"
    "                    the logical pixel: Windows at 144 DPI has 10 twips to the pixel)\n"
    "  -o, --output FILE where to write the image\n"
    "  --where BAR       instead of drawing, prints where a pointer can grab bar BAR after the drags:\n"
    "                    X Y in device pixels of the client area, the axis it moves along (x or y),\n"
    "                    and where its container's inner corner lies on that axis, in twips\n";

bool parseNumber(const std::string& text, double& out)
{
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0' && std::isfinite(out);
}

// Returns an error message, or empty when the arguments are good.
std::string parse(int argc, char** argv, Options& o)
{
    bool windowGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc)
                return std::nullopt;
            return std::string(argv[++i]);
        };
        if (arg == "--size") {
            const auto v = value();
            const std::size_t x = v ? v->find('x') : std::string::npos;
            double w = 0, h = 0;
            if (x == std::string::npos || !parseNumber(v->substr(0, x), w) || !parseNumber(v->substr(x + 1), h) ||
                w < 0 || h < 0 || w > 1e6 || h > 1e6)
                return "--size wants WIDTHxHEIGHT in twips, e.g. 6000x4500";
            o.size = {w, h};
        } else if (arg == "--drag") {
            const auto v = value();
            const std::size_t colon = v ? v->find(':') : std::string::npos;
            double p = 0;
            if (colon == std::string::npos || colon == 0 || !parseNumber(v->substr(colon + 1), p) || std::fabs(p) > 1e6)
                return "--drag wants BAR:POSITION, e.g. Image2:1500";
            o.drags.push_back({v->substr(0, colon), p});
        } else if (arg == "--scale") {
            const auto v = value();
            if (!v || !parseNumber(*v, o.scale) || o.scale < 0.5 || o.scale > 4)
                return "--scale wants a device pixel ratio from 0.5 to 4";
        } else if (arg == "--client-only") {
            o.clientOnly = true;
        } else if (arg == "--where") {
            const auto v = value();
            if (!v || v->empty())
                return "--where wants a bar's name";
            o.where = *v;
        } else if (arg == "--exact") {
            o.exactSize = true;
        } else if (arg == "-o" || arg == "--output") {
            const auto v = value();
            if (!v || v->empty())
                return "-o wants a file name";
            o.output = *v;
        } else if (!arg.empty() && arg[0] != '-' && !windowGiven) {
            o.window = arg;
            windowGiven = true;
        } else {
            return "unknown argument: " + arg;
        }
    }
    if (o.output.empty() && o.where.empty())
        return "no output file given (-o FILE.png)";
    if (app::windowIndex(o.window) == app::kWindowCount)
        return "unknown window: " + o.window;
    return {};
}

// A client point (twips) where the hit test finds `bar`, searched over the bar's visible area.
std::optional<std::pair<double, double>> pointOn(const rt::Form& form, const rt::Control& bar)
{
    const rt::Rect onClient = form.visibleArea(bar, bar.bounds());
    if (onClient.empty())
        return std::nullopt;
    const double step = 5;
    for (double y = onClient.top + onClient.height / 2, dy = 0; dy <= onClient.height / 2; dy += step)
        for (double yy : {y + dy, y - dy})
            for (double x = onClient.left; x < onClient.right(); x += step)
                if (form.hitTest(x, yy) == &bar)
                    return std::make_pair(x, yy);
    return std::nullopt;
}

// Drags `d.bar` so that its indicator ends at `d.position` in the bar's container. Empty when done.
std::string drag(rt::Runtime& runtime, rt::Form& form, const Drag& d)
{
    const rt::Control* bar = form.find(d.bar);
    if (!bar || bar->isPictureBox() || bar->pointer() == rt::MousePointer::Default)
        return form.name().data() + std::string(" has no bar named ") + d.bar;
    const auto press = pointOn(form, *bar);
    if (!press)
        return "no part of " + d.bar + " can be grabbed";
    double ox = 0, oy = 0;
    form.originOf(*bar, ox, oy);
    const bool leftRight = bar->pointer() == rt::MousePointer::SizeWestEast;
    // The bar's handlers add X (or Y) from the bar's corner to its position in the container.
    const double x = leftRight ? ox - bar->Left() + d.position : press->first;
    const double y = leftRight ? press->second : oy - bar->Top() + d.position;
    runtime.mouse(form, rt::MouseEvent::Down, rt::kLeftButton, 0, press->first, press->second);
    runtime.mouse(form, rt::MouseEvent::Move, rt::kLeftButton, 0, x, y);
    runtime.mouse(form, rt::MouseEvent::Up, rt::kLeftButton, 0, x, y);
    return {};
}

// Prints a grab point of `name` and its axis, as --where describes. Returns the exit status.
int printWhere(const rt::Form& form, const std::string& name, double scale)
{
    const rt::Control* bar = form.find(name);
    const auto point = bar ? pointOn(form, *bar) : std::nullopt;
    if (!point || bar->isPictureBox() || bar->pointer() == rt::MousePointer::Default) {
        std::fprintf(stderr, "splitter-render: no part of a bar %s can be grabbed\n", name.c_str());
        return 2;
    }
    double ox = 0, oy = 0;
    form.originOf(*bar, ox, oy);
    const bool leftRight = bar->pointer() == rt::MousePointer::SizeWestEast;
    // The middle of the grabbable span across the bar, so that rounding to a pixel stays on it, and the
    // middle of its length, away from the window's edges.
    auto [x, y] = *point;
    const auto middle = [&](bool alongX) {
        double& at = alongX ? x : y;
        const auto hits = [&](double p) { return form.hitTest(alongX ? p : x, alongX ? y : p) == bar; };
        double low = at, high = at;
        while (hits(low - 5))
            low -= 5;
        while (hits(high + 5))
            high += 5;
        at = (low + high) / 2;
    };
    middle(leftRight);
    middle(!leftRight);
    const qthost::DeviceScale device{{15, scale}};
    std::printf("%d %d %s %g\n", device.edge(x), device.edge(y), leftRight ? "x" : "y",
                leftRight ? ox - bar->Left() : oy - bar->Top());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            std::fputs(kUsage.c_str(), stdout);
            return 0;
        }
    Options options;
    if (const std::string problem = parse(argc, argv, options); !problem.empty()) {
        std::fprintf(stderr, "splitter-render: %s\n%s", problem.c_str(), kUsage.c_str());
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", QByteArray::number(options.scale));
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    qthost::setUpApplication(app::kIdentity);
    qthost::QtHost host;
    app::Program program(host.runtime());
    program.start();
    // The main window is up once the program has started; opening it again would only raise it.
    const std::size_t index = app::windowIndex(options.window);
    rt::Form* form = program.window(index) ? program.window(index) : &program.open(index);
    if (options.size)
        host.resizeClient(*form, options.size->first, options.size->second);
    QCoreApplication::processEvents();
    if (options.size && options.exactSize)
        host.runtime().resized(*form, options.size->first, options.size->second);
    for (const Drag& d : options.drags) {
        if (const std::string problem = drag(host.runtime(), *form, d); !problem.empty()) {
            std::fprintf(stderr, "splitter-render: %s\n", problem.c_str());
            return 2;
        }
        QCoreApplication::processEvents();
    }
    if (!options.where.empty())
        return printWhere(*form, options.where, options.scale);
    const QImage image = options.clientOnly
                             ? qthost::renderForm(*form, options.scale, host.twipsPerPixel(*form), QPalette())
                             : host.grabWindow(*form);
    if (image.isNull() || !image.save(QString::fromStdString(options.output), "PNG")) {
        std::fprintf(stderr, "splitter-render: cannot write %s\n", options.output.c_str());
        return 1;
    }
    std::printf("%s\n", options.output.c_str());
    return host.runtime().untrappedErrors() == 0 ? 0 : 1;
}
