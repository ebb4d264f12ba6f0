// A reference beside the bare window: five sunken coloured panes in nested QSplitters, shaped like
// Splitter5 (a left column with an upper pair and a lower pane, a right column of two panes).
//   qsplitter_window --startup [--no-menu]             prints "first_paint_us <us>"
//   qsplitter_window --resize N [--no-menu] [--callgrind]
//   qsplitter_window --drag DRAGS MOVES [--opaque] [--callgrind]
//                     drags the outer handle; without --opaque QSplitter shows a rubber band while dragging
#include <QFrame>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSplitter>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/allocation_counter.h"
#include "qt_measure.h"

namespace {

QFrame* pane(QRgb colour)
{
    auto* frame = new QFrame;
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(2);
    frame->setAutoFillBackground(true);
    QPalette p = frame->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(colour));
    frame->setPalette(p);
    return frame;
}

void send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

int main(int argc, char* argv[])
{
    bool startup = false, menu = true, callgrind = false, opaque = false;
    int resizes = 0, drags = 0, moves = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--startup"))
            startup = true;
        else if (!std::strcmp(argv[i], "--resize") && i + 1 < argc)
            resizes = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--drag") && i + 2 < argc) {
            drags = std::atoi(argv[++i]);
            moves = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--no-menu"))
            menu = false;
        else if (!std::strcmp(argv[i], "--opaque"))
            opaque = true;
        else if (!std::strcmp(argv[i], "--callgrind"))
            callgrind = true;
    }

    bench::MeasuringApplication application(argc, argv);
    if (startup)
        application.onFirstFrames(1, bench::reportFirstPaintAndExit);

    QMainWindow window;
    if (menu)
        bench::addMainWindowMenu(window);
    auto* root = new QSplitter(Qt::Horizontal);
    auto* left = new QSplitter(Qt::Vertical);
    auto* upper = new QSplitter(Qt::Horizontal);
    auto* right = new QSplitter(Qt::Vertical);
    upper->addWidget(pane(0xFFC0C0));
    upper->addWidget(pane(0xE0E0E0));
    left->addWidget(upper);
    left->addWidget(pane(0xFFC080));
    right->addWidget(pane(0x0000FF));
    right->addWidget(pane(0xFF0000));
    root->addWidget(left);
    root->addWidget(right);
    for (QSplitter* s : {root, left, upper, right})
        s->setOpaqueResize(opaque);
    window.setCentralWidget(root);
    window.resize(594, 558 + (menu ? window.menuBar()->sizeHint().height() : 0));
    window.show();
    if (startup)
        return QApplication::exec();

    if (!application.processUntilPainted(&window, 500)) {
        std::fprintf(stderr, "qsplitter_window: the window was never painted\n");
        return 1;
    }
    if (resizes > 0) {
        std::vector<double> samples;
        int failures = 0;
        if (callgrind)
            bench::startInstrumentation();
        const int chrome = window.height() - root->height();
        for (const auto& [w, h] : bench::resizeSizes(594, 558, resizes)) {
            const std::int64_t t0 = bench::monotonicNs();
            window.resize(w, h + chrome);
            failures += !application.processUntilPainted(root);
            samples.push_back(double(bench::monotonicNs() - t0) / 1000.0);
        }
        if (callgrind)
            bench::stopInstrumentation();
        if (failures)
            std::fprintf(stderr, "qsplitter_window: %d resizes were not painted\n", failures);
        bench::printSummary("resize_us", samples);
        return 0;
    }

    QSplitterHandle* handle = root->handle(1);
    std::vector<double> moveUs, releaseUs, moveAllocs;
    int unpainted = 0;
    const QPointF home = root->mapFromGlobal(handle->mapToGlobal(QPointF(handle->width() / 2.0, 200)));
    for (int d = 0; d < drags; ++d) {
        const QPointF grab(handle->width() / 2.0, 200);
        send(handle, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
        application.processUntilPainted(&window);
        QPointF at = grab;
        for (int m = 0; m < moves; ++m) {
            const int phase = m % 200;
            const double offset = 3.0 * (phase < 100 ? phase - 50 : 150 - phase);
            // Positions on the splitter, given to the handle in its own coordinates.
            at = handle->mapFromGlobal(root->mapToGlobal(QPointF(home.x() + (d % 2 ? -offset : offset), home.y())));
            QMouseEvent move(QEvent::MouseMove, at, handle->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            const unsigned long a0 = testing_support::allocationCount();
            if (callgrind)
                bench::startInstrumentation();
            const std::int64_t t0 = bench::monotonicNs();
            QApplication::sendEvent(handle, &move);
            unpainted += !application.processUntilPainted(&window);
            const std::int64_t t1 = bench::monotonicNs();
            if (callgrind)
                bench::stopInstrumentation();
            moveUs.push_back(double(t1 - t0) / 1000.0);
            moveAllocs.push_back(double(testing_support::allocationCount() - a0));
        }
        const std::int64_t t0 = bench::monotonicNs();
        send(handle, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        unpainted += !application.processUntilPainted(&window);
        releaseUs.push_back(double(bench::monotonicNs() - t0) / 1000.0);
    }
    if (unpainted)
        std::fprintf(stderr, "qsplitter_window: %d drag events were not followed by a paint\n", unpainted);
    bench::printSummary("drag_move_us", moveUs);
    bench::printSummary("drag_release_us", releaseUs);
    bench::printSummary("drag_move_allocs", moveAllocs);
    return 0;
}
