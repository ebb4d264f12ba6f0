// Starts programs many times, interleaved, and summarises each one's figures:
//   launch RUNS NAME -- COMMAND ARGS... [:: NAME -- COMMAND ARGS...]...
// Each start is stamped just before the process is created (SPLITTER_BENCH_T0, CLOCK_MONOTONIC ns). A
// program prints "first_paint_us <us>"; the launcher adds its peak resident set from wait4(). Prints per
// program "NAME first_paint_us <median> <p10> <p90> <n>" and "NAME peak_rss_kib ...".
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Program {
    std::string name;
    std::vector<char*> argv;
    std::vector<double> firstPaintUs, peakRssKib;
};

long long monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

void summary(const std::string& name, const char* key, std::vector<double> v)
{
    if (v.empty()) {
        std::printf("%s %s nan nan nan 0\n", name.c_str(), key);
        return;
    }
    std::sort(v.begin(), v.end());
    const auto at = [&](double q) { return v[std::size_t(q * double(v.size() - 1) + 0.5)]; };
    std::printf("%s %s %.1f %.1f %.1f %zu\n", name.c_str(), key, at(0.5), at(0.1), at(0.9), v.size());
}

bool runOnce(Program& p)
{
    int out[2];
    if (pipe(out) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string stamp = std::to_string(monotonicNs());
    setenv("SPLITTER_BENCH_T0", stamp.c_str(), 1);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, p.argv[0], &actions, nullptr, p.argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        std::fprintf(stderr, "launch: cannot start %s: %s\n", p.argv[0], std::strerror(spawned));
        return false;
    }
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto found = text.find("first_paint_us ");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || found == std::string::npos) {
        std::fprintf(stderr, "launch: %s failed (status %d): %s\n", p.name.c_str(), status, text.c_str());
        return false;
    }
    p.firstPaintUs.push_back(std::strtod(text.c_str() + found + 15, nullptr));
    p.peakRssKib.push_back(double(usage.ru_maxrss));
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s RUNS NAME -- COMMAND ARGS... [:: NAME -- COMMAND ARGS...]...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<Program> programs;
    for (int i = 2; i < argc;) {
        Program p;
        p.name = argv[i++];
        if (i >= argc || std::strcmp(argv[i], "--") != 0) {
            std::fprintf(stderr, "launch: expected -- after %s\n", p.name.c_str());
            return 2;
        }
        for (++i; i < argc && std::strcmp(argv[i], "::") != 0; ++i)
            p.argv.push_back(argv[i]);
        ++i;
        p.argv.push_back(nullptr);
        programs.push_back(std::move(p));
    }
    int failures = 0;
    for (int r = 0; r < runs; ++r)
        for (Program& p : programs)
            failures += !runOnce(p);
    for (Program& p : programs) {
        summary(p.name, "first_paint_us", p.firstPaintUs);
        summary(p.name, "peak_rss_kib", p.peakRssKib);
    }
    return failures ? 1 : 0;
}
