// The program's command line, read before any display is opened: its own options, and the ones
// QApplication takes for itself, which pass untouched.
#pragma once

#include <QString>
#include <QStringList>

namespace qthost {

struct CommandLine {
    enum class Request { Run, Help, Version, Invalid };
    Request request = Request::Run;
    QString problem;   // why an invalid line was refused, in the parser's words
    QString helpText;  // usage and options, for Help
    QString platform;  // the -platform argument, when given
    QString display;   // the -display argument, when given
    QString platformPluginPath;  // the -platformpluginpath argument, when given
};

// `arguments` starts with the program's name; `description` goes under the usage line of the help.
CommandLine parseCommandLine(const QStringList& arguments, const QString& description);

}  // namespace qthost
