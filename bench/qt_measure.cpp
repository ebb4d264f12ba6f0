#include "qt_measure.h"

#include <valgrind/callgrind.h>

#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace bench {

std::int64_t monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

std::int64_t sinceProcessStartNs()
{
    if (const char* t0 = std::getenv("SPLITTER_BENCH_T0"); t0 && *t0)
        return monotonicNs() - std::strtoll(t0, nullptr, 10);
    // Field 22 of /proc/self/stat: start time in clock ticks since boot (CLOCK_BOOTTIME).
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && rest >> field; ++i) {
    }
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const double ticks = double(sysconf(_SC_CLK_TCK));
    const double started = std::strtod(field.c_str(), nullptr) / ticks;
    return std::int64_t((double(boot.tv_sec) + double(boot.tv_nsec) * 1e-9 - started) * 1e9);
}

Summary summarize(std::vector<double> samples)
{
    Summary s;
    s.count = samples.size();
    if (samples.empty())
        return s;
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) { return samples[std::size_t(q * double(samples.size() - 1) + 0.5)]; };
    s.median = at(0.5);
    s.p10 = at(0.1);
    s.p90 = at(0.9);
    return s;
}

void printSummary(const std::string& key, const std::vector<double>& samples)
{
    const Summary s = summarize(samples);
    std::printf("%s %.3f %.3f %.3f %zu\n", key.c_str(), s.median, s.p10, s.p90, s.count);
    std::fflush(stdout);
}

MeasuringApplication::MeasuringApplication(int& argc, char** argv)
    : QApplication(argc, argv), syncWithServer_(qEnvironmentVariableIntValue("SPLITTER_BENCH_SYNC") == 1)
{
}

bool MeasuringApplication::notify(QObject* receiver, QEvent* event)
{
    if (event->type() == QEvent::Paint && receiver->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(receiver);
        paintedInEvent_ = true;
        if (firstFramesDone_)
            paintedWindows_.insert(widget->window());
        if (target_ && (widget == target_ || target_->isAncestorOf(widget)))
            targetPainted_ = true;
        if (widget == regionWidget_)
            painted_ += static_cast<QPaintEvent*>(event)->region();
    }
    ++depth_;
    const bool result = QApplication::notify(receiver, event);
    --depth_;
    if (depth_ == 0 && paintedInEvent_) {
        paintedInEvent_ = false;
        if (firstFramesDone_ && paintedWindows_.size() >= firstFrameWindows_) {
            auto done = std::move(firstFramesDone_);
            firstFramesDone_ = nullptr;
            done();
        }
    }
    return result;
}

void MeasuringApplication::onFirstFrames(int windows, std::function<void()> done)
{
    firstFrameWindows_ = windows;
    paintedWindows_.clear();
    firstFramesDone_ = std::move(done);
}

bool MeasuringApplication::processUntilPainted(QWidget* widget, int rounds)
{
    target_ = widget;
    targetPainted_ = false;
    for (int i = 0; i < rounds && !(targetPainted_ && depth_ == 0); ++i)
        processEvents();
    target_ = nullptr;
    if (targetPainted_ && syncWithServer_)
        QGuiApplication::sync();
    return targetPainted_;
}

QRegion MeasuringApplication::takePaintedRegion()
{
    QRegion r = painted_;
    painted_ = QRegion();
    return r;
}

void startInstrumentation() { CALLGRIND_START_INSTRUMENTATION; }
void stopInstrumentation() { CALLGRIND_STOP_INSTRUMENTATION; }

std::vector<std::pair<int, int>> resizeSizes(int width, int height, int count)
{
    std::vector<std::pair<int, int>> sizes;
    sizes.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        // Steps of 1..7 pixels in a cycle of 61 widths and 53 heights: no two neighbours share a dimension.
        const int dw = (i * 7) % 61 - 30, dh = (i * 5) % 53 - 26;
        sizes.emplace_back(width + dw, height + dh);
    }
    return sizes;
}

void reportFirstPaintAndExit()
{
    std::printf("first_paint_us %.1f\n", double(sinceProcessStartNs()) / 1000.0);
    std::fflush(stdout);
    std::_Exit(0);
}

void addMainWindowMenu(QMainWindow& window)
{
    QMenuBar* bar = window.menuBar();
    bar->addAction(QStringLiteral("３分割"));
    bar->addAction(QStringLiteral("４分割"));
    bar->addAction(QStringLiteral("５分割"));
}

}  // namespace bench
