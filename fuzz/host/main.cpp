// splitter-host-fuzz: a seeded random walk through the real Qt host (offscreen unless QT_QPA_PLATFORM
// says otherwise), checking every invariant of qtreplay::HostChecker after every event. Sessions run
// until the program ends or for a few hundred events, then a fresh one starts.
//
//   splitter-host-fuzz [--seed S] [--seconds T] [--events N] [--scale F] [--failures DIR]
//   splitter-host-fuzz --replay FILE [--scale F]
//
// --scale sets the device pixel ratio (QT_SCALE_FACTOR, before the application starts). The walk stops
// after T seconds (default 60) or N events, whichever comes first. A session that breaks an invariant is
// cut down to the fewest events that still break it, written to DIR (default: the current directory) as
// host-failure-<hash>.replay, and the walk goes on with a fresh session; one script per broken invariant.
// --replay plays a script and prints what it breaks.
//
// Exit status: 0 nothing broken, 1 something was, 2 bad arguments or an unreadable script.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "qt/qt_host.h"
#include "replay/qt/host_checker.h"
#include "walk.h"

namespace {

using replay::Event;
using replay::Failure;

constexpr int kSessionLength = 400;

struct Options {
    std::uint64_t seed = 0;
    bool seedGiven = false;
    double seconds = 60;
    long long events = -1;
    std::string scale;
    std::string failures = ".";
    std::string replay;
};

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        char* end = nullptr;
        if (arg == "--seed") {
            o.seed = std::strtoull(value, &end, 10);
            o.seedGiven = true;
        } else if (arg == "--seconds") {
            o.seconds = std::strtod(value, &end);
        } else if (arg == "--events") {
            o.events = std::strtoll(value, &end, 10);
        } else if (arg == "--scale") {
            o.scale = value;
            std::strtod(value, &end);
        } else if (arg == "--failures") {
            o.failures = value;
            continue;
        } else if (arg == "--replay") {
            o.replay = value;
            continue;
        } else {
            return false;
        }
        if (!end || *end != '\0' || end == value)
            return false;
    }
    return true;
}

bool breaks(const std::vector<Event>& events, const std::string& invariant)
{
    for (const Failure& f : qtreplay::playOnHost(events))
        if (f.invariant == invariant)
            return true;
    return false;
}

// Leaves out ever smaller runs of events while the same invariant still breaks, within a budget of
// replays.
std::vector<Event> minimize(std::vector<Event> events, const std::string& invariant)
{
    int budget = 300;
    for (std::size_t chunk = events.size() / 2; chunk >= 1 && budget > 0; chunk /= 2) {
        for (std::size_t at = 0; at + chunk <= events.size() && budget > 0; --budget) {
            std::vector<Event> shorter = events;
            shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(at),
                          shorter.begin() + static_cast<std::ptrdiff_t>(at + chunk));
            if (breaks(shorter, invariant))
                events = std::move(shorter);
            else
                at += chunk;
        }
    }
    return events;
}

// Writes the session as a script, cut down first when a fresh session breaks the same invariant.
std::string writeFinding(const Options& o, std::vector<Event> events, const Failure& failure)
{
    const bool reproduces = breaks(events, failure.invariant);
    if (reproduces)
        events = minimize(std::move(events), failure.invariant);
    const std::string script = replay::formatScript(events);
    std::string text = "# Found by the host fuzzer";
    if (!o.scale.empty())
        text += " at scale " + o.scale;
    text += ". Broken:\n";
    if (!reproduces)
        text += "#   " + failure.describe() + " (not on replay in a fresh session)\n";
    for (const Failure& f : qtreplay::playOnHost(events, true))
        text += "#   " + f.describe() + "\n";
    text += script;
    char name[64];
    std::snprintf(name, sizeof name, "host-failure-%016zx.replay", std::hash<std::string>{}(script));
    const std::string path = o.failures + "/" + name;
    std::ofstream(path) << text;
    std::fputs(text.c_str(), stderr);
    return path;
}

int replayScript(const Options& o)
{
    std::ifstream in(o.replay, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        std::fprintf(stderr, "splitter-host-fuzz: cannot read %s\n", o.replay.c_str());
        return 2;
    }
    const replay::ParsedScript script = replay::parseScript(text);
    if (script.error) {
        std::fprintf(stderr, "%s:%d: %s\n", o.replay.c_str(), script.error->line, script.error->message.c_str());
        return 2;
    }
    const std::vector<Failure> failures = qtreplay::playOnHost(script.events, true);
    for (const Failure& f : failures)
        std::printf("%s:%s\n", o.replay.c_str(), f.describe().c_str());
    return failures.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: %s [--seed S] [--seconds T] [--events N] [--scale F] [--failures DIR]\n"
                             "       %s --replay FILE [--scale F]\n",
                     argv[0], argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!o.scale.empty())
        qputenv("QT_SCALE_FACTOR", o.scale.c_str());
    QApplication application(argc, argv);
    qthost::setUpApplication(app::kIdentity);
    if (!o.replay.empty())
        return replayScript(o);
    if (!o.seedGiven)
        o.seed = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());

    hostfuzz::Walk walk(o.seed);
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    long long played = 0, sessions = 0, findings = 0;
    qtreplay::HostChecker::Coverage total;
    std::map<std::string, std::string> found;  // invariant -> script written
    while (elapsed() < o.seconds && (o.events < 0 || played < o.events)) {
        ++sessions;
        std::vector<Event> events;
        std::optional<Failure> finding;  // the first break of an invariant not seen before
        {
            qtreplay::HostSession session;
            qtreplay::HostChecker checker(session);
            while (events.size() < kSessionLength && elapsed() < o.seconds && (o.events < 0 || played < o.events)) {
                Event e = walk.next(session);
                e.line = static_cast<int>(events.size()) + 1;
                events.push_back(e);
                ++played;
                const std::vector<Failure> failures = checker.play(e);
                if (!failures.empty()) {
                    ++findings;
                    std::fprintf(stderr, "splitter-host-fuzz: %s\n", failures.front().describe().c_str());
                    if (!found.count(failures.front().invariant)) {
                        found[failures.front().invariant] = "";
                        finding = failures.front();
                    }
                    break;
                }
                if (session.quitRequests() > 0)
                    break;  // the program has ended
            }
            total.runtimeMouseEvents += checker.coverage().runtimeMouseEvents;
            total.dragsEnded += checker.coverage().dragsEnded;
            total.screensCompared += checker.coverage().screensCompared;
        }
        if (finding) {
            found[finding->invariant] = writeFinding(o, events, *finding);
            std::fprintf(stderr, "splitter-host-fuzz: wrote %s\n", found[finding->invariant].c_str());
        }
    }
    const double seconds = elapsed();
    std::printf("splitter-host-fuzz: scale %s, seed %llu: %lld events in %lld sessions, %.0f s, %.0f events/s; "
                "%lld findings",
                o.scale.empty() ? "1" : o.scale.c_str(), static_cast<unsigned long long>(o.seed), played, sessions,
                seconds, seconds > 0 ? double(played) / seconds : 0.0, findings);
    std::printf("\n  runtime mouse events %lld, drags ended %lld, screens compared %lld", total.runtimeMouseEvents,
                total.dragsEnded, total.screensCompared);
    for (const auto& [invariant, path] : found)
        std::printf("\n  broke \"%s\": %s", invariant.c_str(), path.c_str());
    std::printf("\n");
    return findings == 0 ? 0 : 1;
}
