// The program as main.cpp builds it (application, host, program), measured from inside:
//   program_harness --startup [--all]   prints "first_paint_us <us>" once the main window (with --all:
//                                       all four windows) has been painted, and ends
//   program_harness --resize N [--callgrind]
//                                       resizes Splitter5 through N sizes, each laid out and painted;
//                                       prints "resize_us <median> <p10> <p90> <n>"
//   program_harness --drag DRAGS MOVES [--callgrind | --callgrind-release]
//                                       drags Splitter5's left bar with real Qt mouse events; prints the
//                                       time from each move to its repainted indicator, from the release
//                                       to the repainted window, allocations and painted areas
// With --callgrind the measured operations (with --callgrind-release: the releases) run between
// callgrind's instrumentation switches.
#include <QMouseEvent>
#include <QPointingDevice>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/allocation_counter.h"
#include "app/program.h"
#include "qt/form_window.h"
#include "qt/qt_host.h"
#include "qt_measure.h"

namespace {

struct Options {
    bool startup = false, all = false, callgrind = false, callgrindRelease = false;
    int resizes = 0, drags = 0, moves = 0;
};

Options parse(int argc, char* argv[])
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--startup"))
            o.startup = true;
        else if (!std::strcmp(argv[i], "--all"))
            o.all = true;
        else if (!std::strcmp(argv[i], "--callgrind"))
            o.callgrind = true;
        else if (!std::strcmp(argv[i], "--callgrind-release"))
            o.callgrindRelease = true;
        else if (!std::strcmp(argv[i], "--resize") && i + 1 < argc)
            o.resizes = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--drag") && i + 2 < argc) {
            o.drags = std::atoi(argv[++i]);
            o.moves = std::atoi(argv[++i]);
        }
    }
    return o;
}

int measureResize(bench::MeasuringApplication& application, qthost::QtHost& host, rt::Form& form, const Options& o)
{
    QWidget* surface = host.window(form)->surface();
    if (!application.processUntilPainted(surface, 500)) {
        std::fprintf(stderr, "program_harness: Splitter5 was never painted\n");
        return 1;
    }
    const double tpp = host.twipsPerPixel(form);
    std::vector<double> samples;
    samples.reserve(std::size_t(o.resizes));
    int failures = 0;
    if (o.callgrind)
        bench::startInstrumentation();
    for (const auto& [w, h] : bench::resizeSizes(surface->width(), surface->height(), o.resizes)) {
        const std::int64_t t0 = bench::monotonicNs();
        host.resizeClient(form, w * tpp, h * tpp);
        failures += !application.processUntilPainted(surface);
        samples.push_back(double(bench::monotonicNs() - t0) / 1000.0);
    }
    if (o.callgrind)
        bench::stopInstrumentation();
    if (failures)
        std::fprintf(stderr, "program_harness: %d resizes were not painted\n", failures);
    bench::printSummary("resize_us", samples);
    return 0;
}

QMouseEvent mouseEvent(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    return QMouseEvent(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
}

void send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event = mouseEvent(widget, type, at, button, buttons);
    QApplication::sendEvent(widget, &event);
}

QRect pixelRect(const rt::Rect& r, double tpp)
{
    const int x0 = int(std::floor(r.left / tpp)) - 1, y0 = int(std::floor(r.top / tpp)) - 1;
    const int x1 = int(std::ceil(r.right() / tpp)) + 1, y1 = int(std::ceil(r.bottom() / tpp)) + 1;
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

long area(const QRegion& region)
{
    long pixels = 0;
    for (const QRect& r : region)
        pixels += long(r.width()) * r.height();
    return pixels;
}

int measureDrag(bench::MeasuringApplication& application, qthost::QtHost& host, forms::Splitter5& form,
                const Options& o)
{
    QWidget* surface = host.window(form)->surface();
    if (!application.processUntilPainted(surface, 500)) {
        std::fprintf(stderr, "program_harness: Splitter5 was never painted\n");
        return 1;
    }
    const double tpp = host.twipsPerPixel(form);
    const splitter::Bar& dragged = form.bars().front();
    const rt::Control& bar = *dragged.control;
    const rt::Control& indicator = *dragged.indicator;
    application.watchRegion(surface);

    std::vector<double> moveUs, releaseUs, moveAllocs, handlerAllocs, paintedPixels, outsidePixels;
    int unpainted = 0;
    double homeX = 0, homeY = 0;
    form.originOf(bar, homeX, homeY);
    homeX /= tpp;
    for (int d = 0; d < o.drags; ++d) {
        double bx = 0, by = 0;
        form.originOf(bar, bx, by);
        const QPointF press((bx + 20) / tpp, (by + 2000) / tpp);
        send(surface, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
        application.processUntilPainted(surface);
        application.takePaintedRegion();
        QPointF at = press;
        for (int m = 0; m < o.moves; ++m) {
            // Back and forth over 150 pixels either side of where the bar was at first, 3 pixels a step, so
            // that every drag ends near there.
            const int phase = m % 200;
            // Every other drag runs mirrored, so that each release moves the bar by about 300 pixels.
            const double offset = 3.0 * (phase < 100 ? phase - 50 : 150 - phase);
            at.setX(homeX + (d % 2 ? -offset : offset));
            const rt::Rect before = indicator.bounds();
            // The event is made before the clock starts, as the window system would have made it.
            QMouseEvent move = mouseEvent(surface, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
            const unsigned long a0 = testing_support::allocationCount();
            if (o.callgrind)
                bench::startInstrumentation();
            const std::int64_t t0 = bench::monotonicNs();
            QApplication::sendEvent(surface, &move);
            const unsigned long a1 = testing_support::allocationCount();
            unpainted += !application.processUntilPainted(surface);
            const std::int64_t t1 = bench::monotonicNs();
            if (o.callgrind)
                bench::stopInstrumentation();
            moveUs.push_back(double(t1 - t0) / 1000.0);
            handlerAllocs.push_back(double(a1 - a0));
            moveAllocs.push_back(double(testing_support::allocationCount() - a0));
            // What was painted, and how much of it lay outside the indicator's old and new areas (with the
            // pixel of rounding margin the host adds on each side).
            const QRegion painted = application.takePaintedRegion();
            const QRegion expected = QRegion(pixelRect(before, tpp)) + pixelRect(indicator.bounds(), tpp);
            paintedPixels.push_back(double(area(painted)));
            outsidePixels.push_back(double(area(painted - expected)));
        }
        QMouseEvent release = mouseEvent(surface, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        if (o.callgrindRelease)
            bench::startInstrumentation();
        const std::int64_t t0 = bench::monotonicNs();
        QApplication::sendEvent(surface, &release);
        unpainted += !application.processUntilPainted(surface);
        releaseUs.push_back(double(bench::monotonicNs() - t0) / 1000.0);
        if (o.callgrindRelease)
            bench::stopInstrumentation();
        application.takePaintedRegion();
    }
    if (unpainted)
        std::fprintf(stderr, "program_harness: %d drag events were not followed by a paint\n", unpainted);
    bench::printSummary("drag_move_us", moveUs);
    bench::printSummary("drag_release_us", releaseUs);
    bench::printSummary("drag_move_allocs", moveAllocs);
    bench::printSummary("drag_move_handler_allocs", handlerAllocs);
    bench::printSummary("drag_move_painted_px", paintedPixels);
    bench::printSummary("drag_move_outside_px", outsidePixels);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    const Options o = parse(argc, argv);
    bench::MeasuringApplication application(argc, argv);
    if (o.startup)
        application.onFirstFrames(o.all ? 4 : 1, bench::reportFirstPaintAndExit);
    qthost::setUpApplication(app::kIdentity);
    qthost::QtHost host;
    app::Program program(host.runtime());
    program.start();
    if (o.startup) {
        if (o.all) {
            program.SanbunMenu_Click();
            program.YonbunMenu_Click();
            program.RokuBunMenu_Click();
        }
        return QApplication::exec();
    }
    program.RokuBunMenu_Click();
    forms::Splitter5& form = *program.instance<forms::Splitter5>();
    if (o.resizes > 0)
        return measureResize(application, host, form, o);
    if (o.drags > 0)
        return measureDrag(application, host, form, o);
    return 0;
}
