// splitter-replay: plays an event script on the windows without a screen, checking the invariants after
// every event, and prints where every control of every loaded window ends up.
//
//   splitter-replay FILE             play FILE (a script), print bounds and any broken invariant
//   splitter-replay --decode FILE    print the script that fuzzer input FILE stands for
//   splitter-replay --encode FILE    write fuzzer input bytes for script FILE to standard output
//
// Exit status: 0 all invariants held, 1 some did not, 2 the file could not be read or parsed.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "input/fuzz_input.h"
#include "replay/invariants.h"
#include "replay/script.h"
#include "replay/session.h"

namespace {

bool readFile(const char* path, std::string& contents)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void printBounds(const replay::Session& session)
{
    for (replay::Window w = 0; w < replay::kWindowCount; ++w) {
        const forms::PaneWindow* form = session.window(w);
        if (!form || !form->loaded())
            continue;
        std::printf("%s client %.9g %.9g\n", form->name().data(), double(form->ScaleWidth()),
                    double(form->ScaleHeight()));
        for (const auto& c : form->controls())
            std::printf("%s.%s %.9g %.9g %.9g %.9g%s\n", form->name().data(), c->name().c_str(), double(c->Left()),
                        double(c->Top()), double(c->Width()), double(c->Height()), c->Visible() ? "" : " hidden");
    }
}

constexpr const char* kUsage =
    "Usage: splitter-replay FILE | --decode FILE | --encode FILE\n"
    "Plays an event script on the windows without a screen, checks the layout after every event and\n"
    "prints where every control of every open window ends up.\n"
    "  FILE             play the script FILE\n"
    "  --decode FILE    print the script that fuzzer input FILE stands for\n"
    "  --encode FILE    write the fuzzer input bytes for script FILE to standard output\n"
    "  -h, --help       print this and exit\n"
    "Exit status: 0 every check held, 1 some did not, 2 the file could not be read or parsed.\n";

bool isHelp(const char* arg) { return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0; }

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 2 && isHelp(argv[1])) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const bool decode = argc == 3 && std::strcmp(argv[1], "--decode") == 0;
    const bool encode = argc == 3 && std::strcmp(argv[1], "--encode") == 0;
    // Any other option is a mistake, not a file name: a file whose name starts with "-" is given as ./-name.
    if (argc >= 2 && argv[1][0] == '-' && !decode && !encode) {
        std::fprintf(stderr, "splitter-replay: unknown option: %s\n%s", argv[1], kUsage);
        return 2;
    }
    if (argc != 2 && !decode && !encode) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const char* path = argv[argc - 1];
    std::string contents;
    if (!readFile(path, contents)) {
        std::fprintf(stderr, "splitter-replay: cannot read %s: %s\n", path, std::strerror(errno));
        return 2;
    }
    if (decode) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(contents.data());
        std::vector<replay::Event> events = replay::decodeEvents({bytes, contents.size()});
        std::fputs(replay::formatScript(events).c_str(), stdout);
        return 0;
    }
    const replay::ParsedScript script = replay::parseScript(contents);
    if (script.error) {
        std::fprintf(stderr, "%s:%d: %s\n", path, script.error->line, script.error->message.c_str());
        return 2;
    }
    if (encode) {
        const std::vector<std::uint8_t> bytes = replay::encodeEvents(script.events);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        return 0;
    }
    replay::Session session;
    session.host().runtime().setErrorOutput([](const std::string& line) { std::printf("# %s\n", line.c_str()); });
    const std::vector<replay::Failure> failures = replay::playChecked(session, script.events, true);
    printBounds(session);
    for (const replay::Failure& f : failures)
        std::printf("%s:%s\n", path, f.describe().c_str());
    return failures.empty() ? 0 : 1;
}
