// What the whole-program harnesses share: an application that notices when a frame has been painted,
// the start time a launcher passes in, sample statistics, and callgrind's instrumentation switches.
#pragma once

#include <QApplication>
#include <QRegion>
#include <QSet>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QMainWindow;
class QWidget;

namespace bench {

// CLOCK_MONOTONIC in nanoseconds, the clock the launcher stamps the start with.
std::int64_t monotonicNs();

// Nanoseconds since the launcher started this process (SPLITTER_BENCH_T0), or since this process started
// when run by hand (to jiffy resolution, from /proc/self/stat).
std::int64_t sinceProcessStartNs();

struct Summary {
    double median = 0, p10 = 0, p90 = 0;
    std::size_t count = 0;
};
Summary summarize(std::vector<double> samples);
// One line for the compare script: "<key> <median> <p10> <p90> <count>".
void printSummary(const std::string& key, const std::vector<double>& samples);

// Runs every event through notify() and keeps track of paints: per top-level window, how many paint
// events reached any of its widgets; for one watched widget, the region its paint events covered.
class MeasuringApplication : public QApplication {
public:
    MeasuringApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Called once, when the outermost event that painted something has returned and `windows` distinct
    // top-level windows have been painted at least once (their frames are complete and flushed by then).
    void onFirstFrames(int windows, std::function<void()> done);

    // Processes events until `widget` or one of its descendants has received a paint event and the event
    // that caused it has returned; false if none came within `rounds` passes of the event loop. With
    // SPLITTER_BENCH_SYNC=1 in the environment it then waits for the window system to have handled all
    // requests so far (on X11 a round trip), so that a frame counts once the server has it on screen.
    bool processUntilPainted(QWidget* widget, int rounds = 50);

    // The region (widget pixels) that `widget`'s paint events covered since the last call.
    void watchRegion(QWidget* widget) { regionWidget_ = widget; }
    QRegion takePaintedRegion();

private:
    int depth_ = 0;
    bool syncWithServer_ = false;
    bool paintedInEvent_ = false;
    QWidget* target_ = nullptr;
    bool targetPainted_ = false;
    int firstFrameWindows_ = 0;
    QSet<QWidget*> paintedWindows_;
    std::function<void()> firstFramesDone_;
    QWidget* regionWidget_ = nullptr;
    QRegion painted_;
};

// Brackets a measured section for `valgrind --tool=callgrind --instr-atstart=no`; no effect otherwise.
void startInstrumentation();
void stopInstrumentation();

// Window client sizes in pixels for a resize run: `count` distinct sizes, each differing from the one
// before in both dimensions, spread around `width` x `height`.
std::vector<std::pair<int, int>> resizeSizes(int width, int height, int count);

// For a start-up run: prints "first_paint_us <us>" since the launcher's stamp and ends the process.
void reportFirstPaintAndExit();

// The three entries of the main window's menu bar, so that a reference window loads the same font.
void addMainWindowMenu(QMainWindow& window);

}  // namespace bench
