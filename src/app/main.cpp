// The program entry: shows the main window, or, on a machine without a display, draws all four windows to
// PNG files and ends.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "app/program.h"
#include "qt/command_line.h"
#include "qt/display_check.h"
#include "qt/qt_host.h"

namespace {

bool hasEnv(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

QString description()
{
    return QStringLiteral(
        "Opens a window divided into two coloured panes by a draggable bar; its menu opens windows\n"
        "with three, four and five panes. Qt's own options (-platform, -display, -style, ...) apply too.\n\n"
        "Without a display (no DISPLAY or WAYLAND_DISPLAY, and QT_QPA_PLATFORM unset) the four windows\n"
        "are drawn to PNG files in $SPLITTER_SCREENSHOT_DIR, or ./splitter-screens, instead.");
}

QStringList argumentList(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
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
    for (std::size_t i = 0; i < app::kWindowCount; ++i)
        program.open(i);
    QCoreApplication::processEvents();
    int status = 0;
    for (const rt::Form* form : program.windows()) {
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
    const QStringList arguments = argumentList(argc, argv);
    const QString programName = arguments.value(0, QStringLiteral("splitter"));
    const qthost::CommandLine line = qthost::parseCommandLine(arguments, description());
    switch (line.request) {
    case qthost::CommandLine::Request::Help:
        std::printf("%s", qPrintable(line.helpText));
        return 0;
    case qthost::CommandLine::Request::Version:
        std::printf("splitter %.*s\n", static_cast<int>(app::kVersion.size()), app::kVersion.data());
        return 0;
    case qthost::CommandLine::Request::Invalid:
        std::fprintf(stderr, "splitter: %s\nTry '%s --help' for more information.\n", qPrintable(line.problem),
                     qPrintable(programName));
        return 2;
    case qthost::CommandLine::Request::Run:
        break;
    }

    const bool headless = !hasEnv("DISPLAY") && !hasEnv("WAYLAND_DISPLAY") && !hasEnv("QT_QPA_PLATFORM") &&
                          line.platform.isEmpty() && line.display.isEmpty();
    if (headless) {
        std::fprintf(stderr, "splitter: no display found: rendering the windows to PNG files instead\n");
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (const QString problem = qthost::platformProblem(line.platform, line.display, line.platformPluginPath);
               !problem.isEmpty()) {
        // Qt would end the program with abort() and a page of text; one line and status 1 say it.
        std::fprintf(stderr, "splitter: %s\n", qPrintable(problem));
        return 1;
    }

    QApplication application(argc, argv);
    qthost::setUpApplication(app::kIdentity);
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
