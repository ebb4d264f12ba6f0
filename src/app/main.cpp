// The program entry: shows the main window, or, on a machine without a display, draws all four windows to
// PNG files and ends.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/program.h"
#include "qt/qt_host.h"

namespace {

bool hasEnv(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

void printHelp(const char* program)
{
    std::printf("Usage: %s [--help] [--version]\n"
                "Opens a window divided into two coloured panes by a draggable bar; its menu opens windows\n"
                "with three, four and five panes.\n\n"
                "Without a display (no DISPLAY or WAYLAND_DISPLAY, and QT_QPA_PLATFORM unset) the four windows\n"
                "are drawn to PNG files in $SPLITTER_SCREENSHOT_DIR, or ./splitter-screens, instead.\n",
                program);
}

// Draws every window, as laid out at its defined size, into `directory`. Returns the exit status.
int renderScreens(app::Program& program, qthost::QtHost& host)
{
    const QString directory = hasEnv("SPLITTER_SCREENSHOT_DIR") ? qEnvironmentVariable("SPLITTER_SCREENSHOT_DIR")
                                                                : QStringLiteral("splitter-screens");
    if (!QDir().mkpath(directory)) {
        std::fprintf(stderr, "splitter: cannot create the directory %s\n", qPrintable(directory));
        return 1;
    }
    program.start();
    program.SanbunMenu_Click();
    program.YonbunMenu_Click();
    program.RokuBunMenu_Click();
    QCoreApplication::processEvents();
    const rt::Form* forms[] = {&program.splitterForm(), program.splitter3(), program.splitter4(), program.splitter5()};
    int status = 0;
    for (const rt::Form* form : forms) {
        if (!form)
            continue;
        const QString path = QDir(directory).filePath(
            QString::fromUtf8(form->name().data(), static_cast<qsizetype>(form->name().size())) + ".png");
        const QImage image = host.grabWindow(*form);
        if (image.isNull() || !image.save(path, "PNG")) {
            std::fprintf(stderr, "splitter: cannot write %s\n", qPrintable(path));
            status = 1;
            continue;
        }
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
    }
    return status;
}

}  // namespace

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printHelp(argv[0]);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("splitter %.*s\n", static_cast<int>(app::kProject.version.size()), app::kProject.version.data());
            return 0;
        }
    }

    const bool headless = !hasEnv("DISPLAY") && !hasEnv("WAYLAND_DISPLAY") && !hasEnv("QT_QPA_PLATFORM");
    if (headless) {
        std::fprintf(stderr, "splitter: no display found: rendering the windows to PNG files instead\n");
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication application(argc, argv);
    qthost::setUpApplication();
    qthost::QtHost host;
    app::Program program(host.runtime());
    if (headless)
        return renderScreens(program, host);
    program.start();
    const int status = QApplication::exec();
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // Qt 6.4's Wayland plugin can hang for good while it disconnects from the compositor (its event
        // thread waits for a read that never comes), which would leave a windowless process behind.
        // Every window is closed and nothing is left to save: end here, before that teardown.
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
