// libFuzzer target: input bytes become a session of events over all four windows (see
// input/fuzz_input.h); every invariant is checked after every event. On a broken invariant the events so
// far are written as a replay script, failure-<hash>.replay in $SPLITTER_FUZZ_FAILURES (default: the
// current directory), and the run aborts so that libFuzzer keeps the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "input/fuzz_input.h"
#include "replay/invariants.h"
#include "replay/script.h"
#include "replay/session.h"

namespace {

unsigned long long eventsPlayed = 0;
unsigned long long inputsPlayed = 0;

void printTotals() { std::fprintf(stderr, "splitter-fuzz: %llu events in %llu inputs\n", eventsPlayed, inputsPlayed); }

void writeFailure(std::vector<replay::Event>& events, const std::vector<replay::Failure>& failures)
{
    std::string text = "# Found by the fuzzer. Broken:\n";
    const std::string script = replay::formatScript(events);
    for (const replay::Failure& f : failures)
        text += "#   " + f.describe() + "\n";
    text += script;
    const char* dir = std::getenv("SPLITTER_FUZZ_FAILURES");
    char name[64];
    std::snprintf(name, sizeof name, "failure-%016zx.replay", std::hash<std::string>{}(script));
    const std::string path = std::string(dir && *dir ? dir : ".") + "/" + name;
    if (FILE* out = std::fopen(path.c_str(), "w")) {
        std::fputs(text.c_str(), out);
        std::fclose(out);
        std::fprintf(stderr, "splitter-fuzz: wrote %s\n", path.c_str());
    }
    std::fputs(text.c_str(), stderr);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::atexit(printTotals);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    replay::Session session;
    session.host().runtime().setErrorOutput([](const std::string&) {});
    replay::InvariantChecker checker(session);
    replay::EventDecoder decoder({data, size});
    std::vector<replay::Event> events;
    ++inputsPlayed;
    while (std::optional<replay::Event> e = decoder.next(session)) {
        events.push_back(*e);
        ++eventsPlayed;
        checker.before(*e);
        session.apply(*e);
        const std::vector<replay::Failure> failures = checker.after(*e);
        if (!failures.empty()) {
            writeFailure(events, failures);
            std::abort();
        }
    }
    return 0;
}
