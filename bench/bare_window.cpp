// The bare Qt window that the program is measured against: a QMainWindow whose central widget fills
// itself with the window background, optionally under a menu bar with the main window's three entries.
//   bare_window --startup [--size WxH] [--no-menu]   prints "first_paint_us <us>" at the first frame
//   bare_window --resize N [--size WxH] [--no-menu] [--callgrind]
//                                                     prints "resize_us <median> <p10> <p90> <n>"
#include <QMainWindow>
#include <QLayout>
#include <QPainter>
#include <QPaintEvent>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "qt_measure.h"

namespace {

class Client : public QWidget {
public:
    Client()
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), palette().color(QPalette::Active, QPalette::Button));
    }
};

// Gives the window this client size below its menu bar.
void setClientSize(QMainWindow& window, QWidget& client, int width, int height)
{
    const int menuHeight = window.menuWidget() ? window.menuWidget()->heightForWidth(width) : 0;
    window.resize(width, height + std::max(0, menuHeight));
    if (!window.isVisible() && window.layout())
        window.layout()->activate();
    if (client.size() != QSize(width, height))
        window.resize(width + window.width() - client.width(), height + window.height() - client.height());
}

}  // namespace

int main(int argc, char* argv[])
{
    bool startup = false, menu = true, callgrind = false;
    int resizes = 0, width = 343, height = 281;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--startup"))
            startup = true;
        else if (!std::strcmp(argv[i], "--resize") && i + 1 < argc)
            resizes = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--size") && i + 1 < argc)
            std::sscanf(argv[++i], "%dx%d", &width, &height);
        else if (!std::strcmp(argv[i], "--no-menu"))
            menu = false;
        else if (!std::strcmp(argv[i], "--callgrind"))
            callgrind = true;
    }

    bench::MeasuringApplication application(argc, argv);
    if (startup)
        application.onFirstFrames(1, bench::reportFirstPaintAndExit);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    if (menu)
        bench::addMainWindowMenu(window);
    auto* client = new Client;
    window.setCentralWidget(client);
    setClientSize(window, *client, width, height);
    window.show();
    if (startup)
        return QApplication::exec();

    if (!application.processUntilPainted(client, 500)) {
        std::fprintf(stderr, "bare_window: the window was never painted\n");
        return 1;
    }
    std::vector<double> samples;
    samples.reserve(std::size_t(resizes));
    int failures = 0;
    if (callgrind)
        bench::startInstrumentation();
    for (const auto& [w, h] : bench::resizeSizes(width, height, resizes)) {
        const std::int64_t t0 = bench::monotonicNs();
        setClientSize(window, *client, w, h);
        failures += !application.processUntilPainted(client);
        samples.push_back(double(bench::monotonicNs() - t0) / 1000.0);
    }
    if (callgrind)
        bench::stopInstrumentation();
    if (failures)
        std::fprintf(stderr, "bare_window: %d resizes were not painted\n", failures);
    bench::printSummary("resize_us", samples);
    return 0;
}
