// Every script the fuzzer or a person found broke an invariant, replayed: each must now hold throughout.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "replay/invariants.h"
#include "support/defined_limits.h"

namespace {

void expectScriptHolds(const std::string& file)
{
    const std::string path = std::string(SPLITTER_SOURCE_DIR) + "/" + file;
    std::ifstream in(path);
    ASSERT_TRUE(in) << "cannot read " << path;
    std::stringstream text;
    text << in.rdbuf();
    const replay::ParsedScript script = replay::parseScript(text.str());
    ASSERT_FALSE(script.error) << path << ":" << script.error->line << ": " << script.error->message;
    replay::Session session;
    session.host().runtime().setErrorOutput([](const std::string&) {});
    const auto limits = testing_support::definedLimitControls();
    for (const replay::Failure& f : replay::playChecked(session, script.events, true, &limits))
        ADD_FAILURE() << path << ":" << f.describe();
}

// The fuzzer's seeds: the worked cases.
TEST(SeedScripts, MainWindow) { expectScriptHolds("fuzz/seeds/main_window.replay"); }
TEST(SeedScripts, Splitter3Extremes) { expectScriptHolds("fuzz/seeds/splitter3_extremes.replay"); }
TEST(SeedScripts, Splitter4Drags) { expectScriptHolds("fuzz/seeds/splitter4_drags.replay"); }
TEST(SeedScripts, Splitter5Drags) { expectScriptHolds("fuzz/seeds/splitter5_drags.replay"); }
TEST(SeedScripts, Splitter5Resizes) { expectScriptHolds("fuzz/seeds/splitter5_resizes.replay"); }

}  // namespace
