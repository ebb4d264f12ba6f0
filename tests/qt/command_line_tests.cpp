// Reading the command line before any display is opened, and choosing when to ask for the X display.
#include <QStringList>
#include <gtest/gtest.h>
#include <optional>

#include "qt/command_line.h"
#include "qt/display_check.h"

namespace {

using qthost::CommandLine;
using Request = CommandLine::Request;

CommandLine parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("/usr/bin/splitter"));
    return qthost::parseCommandLine(arguments, QStringLiteral("Panes and bars."));
}

TEST(CommandLine, HelpAndVersionInEitherSpelling)
{
    for (const char* spelling : {"-h", "--help"}) {
        const CommandLine line = parse({QString::fromLatin1(spelling)});
        EXPECT_EQ(line.request, Request::Help) << spelling;
        EXPECT_TRUE(line.helpText.startsWith("Usage: /usr/bin/splitter [options]\nPanes and bars.\n"));
        EXPECT_TRUE(line.helpText.contains("--version"));
        EXPECT_FALSE(line.helpText.contains("platform"));  // the toolkit's options stay out of the help
    }
    for (const char* spelling : {"-v", "--version", "-version"})
        EXPECT_EQ(parse({QString::fromLatin1(spelling)}).request, Request::Version) << spelling;
}

TEST(CommandLine, ToolkitOptionsPassAndThePlatformAndDisplayAreKept)
{
    const CommandLine line = parse({"-platform", "xcb", "-display", ":5", "-style=fusion", "-reverse",
                                    "--qwindowtitle", "Title", "-nograb"});
    EXPECT_EQ(line.request, Request::Run) << line.problem.toStdString();
    EXPECT_EQ(line.platform, "xcb");
    EXPECT_EQ(line.display, ":5");

    const CommandLine plain = parse({});
    EXPECT_EQ(plain.request, Request::Run);
    EXPECT_TRUE(plain.platform.isEmpty());
    EXPECT_TRUE(plain.display.isEmpty());
}

TEST(CommandLine, UnknownOptionsAndStrayArgumentsAreRefusedByName)
{
    const struct {
        const char* name;
        QStringList arguments;
        const char* problem;
    } rows[] = {
        {"unknown long option", {"--bogus"}, "Unknown option 'bogus'."},
        {"an option's name with more after it", {"--versionx"}, "Unknown option 'versionx'."},
        {"unknown one-dash option", {"-x"}, "Unknown option 'x'."},
        {"two unknown options", {"--bogus", "-y"}, "Unknown options: bogus, y."},
        {"refused even with help asked for", {"--help", "--bogus"}, "Unknown option 'bogus'."},
        {"a stray argument", {"file.txt"}, "Unexpected argument 'file.txt'."},
        {"a toolkit option without its value", {"-platform"}, "Missing value after '-platform'."},
        {"a value given to the version flag", {"--version=2"}, "Unexpected value after '--version'."},
    };
    for (const auto& row : rows) {
        const CommandLine line = parse(row.arguments);
        EXPECT_EQ(line.request, Request::Invalid) << row.name;
        EXPECT_EQ(line.problem, row.problem) << row.name;
    }
}

// Sets an environment variable for one scope, then puts back what was there.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name)
    {
        if (qEnvironmentVariableIsSet(name))
            saved_ = qgetenv(name);
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (saved_)
            qputenv(name_, *saved_);
        else
            qunsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> saved_;
};

TEST(DisplayCheck, AppliesWhenQtWillTryTheXDisplayFirst)
{
    const struct {
        const char* name;
        const char* argument;
        const char* environment;  // QT_QPA_PLATFORM
        const char* session;      // XDG_SESSION_TYPE
        const char* wayland;      // WAYLAND_DISPLAY
        bool x11;
    } rows[] = {
        {"nothing named on an X11 session", "", nullptr, "x11", nullptr, true},
        {"nothing named, no session type", "", nullptr, nullptr, nullptr, true},
        {"nothing named on a Wayland session", "", nullptr, "wayland", nullptr, false},
        {"nothing named, a Wayland compositor announced", "", nullptr, nullptr, "wayland-1", false},
        {"xcb named in the environment", "", "xcb", "wayland", "wayland-1", true},
        {"offscreen named in the environment", "", "offscreen", nullptr, nullptr, false},
        {"the argument wins over the environment", "xcb", "offscreen", nullptr, nullptr, true},
        {"the argument wins the other way", "offscreen", "xcb", nullptr, nullptr, false},
        {"xcb first in a list, with plugin options", "xcb:nograb;offscreen", nullptr, nullptr, nullptr, true},
        {"xcb only as a fallback", "wayland;xcb", nullptr, nullptr, nullptr, false},
    };
    for (const auto& row : rows) {
        ScopedEnvironment platform("QT_QPA_PLATFORM", row.environment);
        ScopedEnvironment session("XDG_SESSION_TYPE", row.session);
        ScopedEnvironment compositor("WAYLAND_DISPLAY", row.wayland);
        EXPECT_EQ(qthost::usesX11Display(QString::fromLatin1(row.argument)), row.x11) << row.name;
    }
}

TEST(DisplayCheck, TheDisplayArgumentWinsOverTheEnvironment)
{
    ScopedEnvironment display("DISPLAY", ":7");
    EXPECT_EQ(qthost::x11DisplayName(""), ":7");
    EXPECT_EQ(qthost::x11DisplayName(":3"), ":3");
    ScopedEnvironment none("DISPLAY", nullptr);
    EXPECT_EQ(qthost::x11DisplayName(""), "");
}

TEST(DisplayCheck, ADisplayWithNoServerCannotBeOpened)
{
    EXPECT_FALSE(qthost::canOpenX11Display(":987"));  // assumes no X server runs as display 987
    EXPECT_FALSE(qthost::canOpenX11Display("no-such-host.invalid:0"));
}

TEST(DisplayCheck, ThePlatformsAreThoseQtHasPluginsFor)
{
    const QStringList platforms = qthost::availablePlatforms({});
    // The program needs these three: X11, Wayland, and offscreen for drawing without a display.
    for (const char* name : {"xcb", "wayland", "offscreen"})
        EXPECT_TRUE(platforms.contains(QLatin1String(name))) << name << " in " << platforms.join(", ").toStdString();
    EXPECT_FALSE(platforms.contains(QLatin1String("bogus")));
    EXPECT_EQ(qthost::namedPlatforms("wayland:opt ; xcb;;"), QStringList({"wayland", "xcb"}));
}

// Qt would end the program with abort() in each of these; the check says why in one line instead.
TEST(DisplayCheck, WhenNoPlatformCanStartItSaysWhyInOneLine)
{
    ScopedEnvironment platform("QT_QPA_PLATFORM", nullptr);
    ScopedEnvironment session("XDG_SESSION_TYPE", nullptr);
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", "/nonexistent-runtime-dir");
    ScopedEnvironment socket("WAYLAND_SOCKET", nullptr);
    const struct {
        const char* name;
        const char* argument;  // -platform
        const char* display;   // DISPLAY, null: unset
        const char* wayland;   // WAYLAND_DISPLAY, null: unset
        const char* problem;   // empty: a platform starts; otherwise what the line starts with
    } rows[] = {
        {"an unknown platform", "bogus", ":987", nullptr, "no platform is named bogus (the platforms are: "},
        {"unknown ones only", "bogus;nothing", nullptr, nullptr, "no platform is named bogus; no platform is named nothing"},
        {"an unknown one before one that starts", "bogus;offscreen", nullptr, nullptr, ""},
        {"offscreen needs no display", "offscreen", nullptr, nullptr, ""},
        {"a compositor that is not there, no X display", "", nullptr, "wayland-dead",
         "cannot open the Wayland display wayland-dead; cannot open the display (DISPLAY is not set)"},
        {"... with DISPLAY empty", "", "", "wayland-dead", "cannot open the Wayland display wayland-dead; cannot open the display (DISPLAY is empty)"},
        {"... with an X display that is not there", "", ":987", "wayland-dead",
         "cannot open the Wayland display wayland-dead; cannot open the display :987"},
        {"Wayland named, its compositor not there", "wayland", ":987", "/nonexistent/wayland-9",
         "cannot open the Wayland display /nonexistent/wayland-9"},
        {"an X display that is not there", "xcb", ":987", nullptr, "cannot open the display :987"},
        {"X11 named with DISPLAY empty", "xcb", "", "", "cannot open the display (DISPLAY is empty)"},
    };
    for (const auto& row : rows) {
        ScopedEnvironment display("DISPLAY", row.display);
        ScopedEnvironment compositor("WAYLAND_DISPLAY", row.wayland);
        const QString problem = qthost::platformProblem(QString::fromLatin1(row.argument), {}, {});
        if (*row.problem == '\0')
            EXPECT_TRUE(problem.isEmpty()) << row.name << ": " << problem.toStdString();
        else
            EXPECT_TRUE(problem.startsWith(QLatin1String(row.problem))) << row.name << ": " << problem.toStdString();
        EXPECT_FALSE(problem.contains('\n')) << row.name;
    }
}

}  // namespace
