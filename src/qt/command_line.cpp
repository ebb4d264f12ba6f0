#include "qt/command_line.h"

#include <QCommandLineParser>

namespace qthost {
namespace {

// The options QGuiApplication, QApplication and the X11 platform take out of the arguments themselves.
// They are known here only so that they are not refused; they stay out of the help.
void addToolkitOptions(QCommandLineParser& parser)
{
    const char* const withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                     "qwindowicon", "qwindowtitle", "session", "style", "stylesheet",
                                     "qmljsdebugger", "display", "name", "visual", "geometry", "icon", "title"};
    const char* const flags[] = {"reverse", "widgetcount", "testability", "nograb", "dograb"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments, const QString& description)
{
    QCommandLineParser parser;
    // Qt's own options are written with one dash (-platform xcb).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(description);
    // Not addHelpOption(): its --help-all would need the application object this runs without.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    addToolkitOptions(parser);

    CommandLine line;
    if (!parser.parse(arguments)) {
        line.request = CommandLine::Request::Invalid;
        line.problem = parser.errorText();
        return line;
    }
    if (!parser.positionalArguments().isEmpty()) {
        line.request = CommandLine::Request::Invalid;
        line.problem = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return line;
    }
    if (parser.isSet(help)) {
        line.request = CommandLine::Request::Help;
        // The parser names the program after the application object, which may not exist yet: the usage
        // line is written here.
        const QString text = parser.helpText();
        line.helpText = QStringLiteral("Usage: %1 [options]").arg(arguments.value(0)) + text.mid(text.indexOf('\n'));
        return line;
    }
    if (parser.isSet(version)) {
        line.request = CommandLine::Request::Version;
        return line;
    }
    line.platform = parser.value(QStringLiteral("platform"));
    line.display = parser.value(QStringLiteral("display"));
    line.platformPluginPath = parser.value(QStringLiteral("platformpluginpath"));
    return line;
}

}  // namespace qthost
