// The built program run as a person runs it: what it prints, its exit status, and what it leaves behind.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    bool crashed = true;
    QString out, err;
};

// Runs the program with the environment changed by `set` (name to value; an empty value unsets it).
Outcome runProgram(const QStringList& arguments, const QList<QPair<QString, QString>>& set)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : set) {
        if (value.isEmpty())
            environment.remove(name);
        else
            environment.insert(name, value);
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(SPLITTER_PROGRAM), arguments);
    Outcome run;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.status = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// No display at all: the program would draw its windows into `screens`.
QList<QPair<QString, QString>> withoutDisplay(const QString& screens)
{
    return {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}, {"SPLITTER_SCREENSHOT_DIR", screens}};
}

TEST(Program, UnknownOptionsAreNamedAndEndWithStatusTwoBeforeAnythingIsDrawn)
{
    QTemporaryDir temporary;
    const QString screens = temporary.filePath("screens");
    for (const QStringList& arguments : {QStringList{"--bogus"}, QStringList{"--versionx"},
                                         QStringList{"-platform", "offscreen", "--bogus"}, QStringList{"stray"}}) {
        const QString name = arguments.join(' ');
        const Outcome run = runProgram(arguments, withoutDisplay(screens));
        ASSERT_FALSE(run.crashed) << name.toStdString();
        EXPECT_EQ(run.status, 2) << name.toStdString();
        const QString unknown = arguments.last().mid(arguments.last().lastIndexOf('-') + 1);
        EXPECT_TRUE(run.err.startsWith("splitter: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("'" + unknown + "'")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(" --help' for more information.")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_FALSE(QDir(screens).exists()) << "drew its windows for " << name.toStdString();
    }
}

TEST(Program, HelpAndVersionNeedNoDisplay)
{
    const QList<QPair<QString, QString>> brokenDisplay = {{"DISPLAY", ":987"}, {"QT_QPA_PLATFORM", ""}};
    const Outcome version = runProgram({"--version"}, brokenDisplay);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "splitter 1.00\n");
    EXPECT_TRUE(version.err.isEmpty()) << version.err.toStdString();

    const Outcome help = runProgram({"--help"}, brokenDisplay);
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: ")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("-v, --version")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("SPLITTER_SCREENSHOT_DIR")) << help.out.toStdString();
}

// These assume that no X server runs as display 987 on the test machine.
TEST(Program, ADisplayThatCannotBeOpenedIsNamedOnOneLineAndEndsWithStatusOne)
{
    const struct {
        const char* name;
        QStringList arguments;
        QList<QPair<QString, QString>> environment;
        const char* message;
    } rows[] = {
        {"DISPLAY names it", {}, {{"DISPLAY", ":987"}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}, {"XDG_SESSION_TYPE", ""}},
         "splitter: cannot open the display :987\n"},
        {"the X11 platform asked for by name", {}, {{"DISPLAY", ":987"}, {"QT_QPA_PLATFORM", "xcb"}},
         "splitter: cannot open the display :987\n"},
        {"-display names it", {"-display", ":987"}, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}},
         "splitter: cannot open the display :987\n"},
        {"none is set", {"-platform", "xcb"}, {{"DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}},
         "splitter: cannot open the display (DISPLAY is not set)\n"},
    };
    for (const auto& row : rows) {
        const Outcome run = runProgram(row.arguments, row.environment);
        EXPECT_FALSE(run.crashed) << row.name;
        EXPECT_EQ(run.status, 1) << row.name;
        EXPECT_EQ(run.err, row.message) << row.name;
        EXPECT_TRUE(run.out.isEmpty()) << row.name;
    }
}

}  // namespace
