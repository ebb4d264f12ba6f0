// Reading the command line before any display is opened.
#include <QStringList>
#include <gtest/gtest.h>

#include "qt/command_line.h"

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

}  // namespace
