// The program as a user runs it: what it prints and the status it ends with.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Outcome {
    int status = -1;
    std::string output;
};

Outcome simulate(const std::string& arguments) {
    const std::filesystem::path out = std::filesystem::temp_directory_path() / ("rousa2-sim-test-" + std::to_string(::getpid()) + ".out");
    const std::string command = std::string(ROUSA_SIM_PROGRAM) + " " + arguments + " > " + out.string() + " 2>&1";
    Outcome run;
    int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    run.output = text.str();
    std::filesystem::remove(out);
    return run;
}

std::string scenario(const char* name) { return std::string(ROUSA_TEST_SCENARIOS) + "/" + name; }

TEST(Simulator, AWrongScenarioIsReportedByLineAndStartsNothing) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() / ("rousa2-sim-root-" + std::to_string(::getpid()));
    Outcome run = simulate(scenario("bad.scenario") + " --root " + root.string());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.output, scenario("bad.scenario") + ":4: expected a time HH:MM or HH:MM:SS, not \"25:00\"\n");
    EXPECT_FALSE(std::filesystem::exists(root));
}

TEST(Simulator, AnUnmetExpectationStopsThePlayAtItsLine) {
    Outcome run = simulate(scenario("unmet.scenario"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("06:00:00  clock: add alarm 07:00 \"Wake\"\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("scheduled: \"Wake\" at 07:00:00"), std::string::npos) << run.output;
    const std::string last = scenario("unmet.scenario") + ":4: expected the alarm to ring\n";
    ASSERT_GE(run.output.size(), last.size());
    EXPECT_EQ(run.output.substr(run.output.size() - last.size()), last) << run.output;
    EXPECT_EQ(run.output.find("tap \"Snooze\""), std::string::npos) << "no step after the failed one";
}

// A native ad's view is checked for each text named, and the failure says what it shows.
TEST(Simulator, ANativeAdThatShowsOtherTextsStopsThePlay) {
    Outcome run = simulate(scenario("unmet-native.scenario"));
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("callback at 06:00:00: adLoader:didReceiveNativeContentAd:\n"), std::string::npos) << run.output;
    const std::string last = scenario("unmet-native.scenario") +
                             ":3: expected the content ad to show \"Install\", it shows \"Mornings, rethought\" \"Five alarms that wake you "
                             "gently.\" \"Quillory\" \"Ad\" \"Read more\"\n";
    ASSERT_GE(run.output.size(), last.size());
    EXPECT_EQ(run.output.substr(run.output.size() - last.size()), last) << run.output;
}

TEST(Simulator, WithoutAScenarioItPlaysTheDefaultOne) {
    Outcome run = simulate("");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("expect window \"Wake up\" with question"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("all 15 steps done"), std::string::npos) << run.output;
}

TEST(Simulator, ScenariosOfWhatUsersFoundPlayToTheirEnd) {
    Outcome run = simulate(scenario("users.scenario"));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("00:01:30  springboard: expect ringing"), std::string::npos) << run.output;
}

TEST(Simulator, OnAKeptDeviceRootAnAlarmSetInOneRunRingsInTheNext) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() / ("rousa2-sim-kept-" + std::to_string(::getpid()));
    Outcome set = simulate(scenario("set-alarm.scenario") + " --root " + root.string());
    EXPECT_EQ(set.status, 0) << set.output;
    Outcome rung = simulate(scenario("keep-schedule.scenario") + " --root " + root.string());
    EXPECT_EQ(rung.status, 0) << rung.output;
    std::filesystem::remove_all(root);
}

// A scenario's number out of range is its error: status 2, never a crash.
TEST(Simulator, ABadNumberIsAScenarioError) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / ("rousa2-sim-bad-" + std::to_string(::getpid()) + ".scenario");
    for (const char* line : {"ios 99999999999", "wait 1e300s", "wait nans", "long-press row 1e300", "wait 9e18s\nwait 9e18s"}) {
        SCOPED_TRACE(line);
        std::ofstream(file) << line << "\n";
        Outcome run = simulate(file.string());
        EXPECT_EQ(run.status, 2) << run.output;
        EXPECT_EQ(run.output.rfind(file.string() + ":1: ", 0), 0u) << run.output;
    }
    std::filesystem::remove(file);
}

TEST(Simulator, AMissingFileOrAnUnknownOptionIsACommandLineError) {
    Outcome missing = simulate("/nonexistent/x.scenario");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.output, "/nonexistent/x.scenario: cannot read the scenario\n");
    Outcome option = simulate("--fast");
    EXPECT_EQ(option.status, 2);
    EXPECT_NE(option.output.find("usage: rousa2-sim"), std::string::npos);
}

}  // namespace
