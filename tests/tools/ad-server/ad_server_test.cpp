#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "tests/tools/ad-server/http_client.h"

extern char** environ;

namespace rousa::adserver::testing {
namespace {

using namespace std::chrono_literals;

// A bound on waiting for the server's own threads, never reached when it works.
constexpr auto kBound = 10s;

TEST_F(AdServerFixture, ServesTheSdkCorePage) {
    HttpResult page = fetch(url(kSdkCorePath));
    ASSERT_EQ(page.code, CURLE_OK);
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.header("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(page.body.find("window.KESTRA_buildAdURL = function"), std::string::npos);
    EXPECT_NE(page.body.find("window.KESTRA_getSdkConstants = function"), std::string::npos);
    EXPECT_NE(page.body.find("\"ad_url\":\"" + server.baseURL() + "/mads/gma\""), std::string::npos);
    EXPECT_EQ(page.body.find("@@"), std::string::npos);
}

struct InventoryCase {
    const char* adUnit;
    const char* contentType;
    std::map<std::string, std::string> headers;  // "@" stands for the server's base URL
    const char* inBody;
};

TEST_F(AdServerFixture, EachInventoryTypeAnswersWithItsHeaders) {
    const std::string imp = "@/ping/imp?slotname=%s&request_id=42";
    const std::string click = "@/ping/click?slotname=%s&request_id=42";
    const InventoryCase cases[] = {
        {"html-banner", "text/html; charset=utf-8",
         {{"X-Kestra-Ad-Size", "320x50"}, {"X-Kestra-Orientation", "any"}, {"X-Kestra-Refresh-Rate", "30"},
          {"X-Kestra-Tracking-Urls", imp}, {"X-Kestra-Click-Tracking-Urls", click},
          {"X-Kestra-Debug-Dialog", "html-banner 42"}},
         "Rousa test banner"},
        {"html-interstitial", "text/html; charset=utf-8",
         {{"X-Kestra-Orientation", "portrait"}, {"X-Kestra-Interstitial-Timeout", "60"},
          {"X-Kestra-Disable-Activation-And-Scroll", "1"}, {"X-Kestra-Tracking-Urls", imp},
          {"X-Kestra-Click-Tracking-Urls", click}},
         "Rousa test interstitial"},
        {"custom-rendering", "text/html; charset=utf-8",
         {{"X-Kestra-Custom-Rendering-Allowed", "1"}, {"X-Kestra-Ad-Size", "300x250"},
          {"X-Kestra-Manual-Tracking-Urls", imp + "&manual=1"}, {"X-Kestra-Click-Tracking-Urls", click}},
         "Rousa custom rendering ad"},
        {"mediation-waterfall", "application/json; charset=utf-8",
         {{"X-Kestra-Mediation", "1"}, {"X-Kestra-Refresh-Rate", "45"}}, "\"ad_networks\""},
        {"mraid-banner", "text/html; charset=utf-8",
         {{"X-Kestra-Ad-Size", "320x50"}, {"X-Kestra-Tracking-Urls", imp}, {"X-Kestra-Click-Tracking-Urls", click}},
         "<script src=\"mraid.js\"></script>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.adUnit);
        HttpResult answer = ad(c.adUnit);
        ASSERT_EQ(answer.code, CURLE_OK);
        EXPECT_EQ(answer.status, 200);
        EXPECT_EQ(answer.header("Content-Type"), c.contentType);
        size_t kestraHeaders = 0;
        for (const auto& header : answer.headers) kestraHeaders += header.first.rfind("X-Kestra-", 0) == 0;
        EXPECT_EQ(kestraHeaders, c.headers.size());
        for (auto [name, value] : c.headers) {
            if (value.rfind("@", 0) == 0) value = server.baseURL() + value.substr(1);
            if (auto at = value.find("%s"); at != std::string::npos) value.replace(at, 2, c.adUnit);
            EXPECT_EQ(answer.header(name), value) << name;
        }
        EXPECT_NE(answer.body.find(c.inBody), std::string::npos);
        EXPECT_EQ(answer.body.find("@@"), std::string::npos);
    }
}

TEST_F(AdServerFixture, MediationBodyIsAWaterfall) {
    HttpResult answer = ad("mediation-waterfall", "9");
    auto config = nlohmann::json::parse(answer.body);
    EXPECT_EQ(config["ad_type"], "banner");
    EXPECT_EQ(config["qdata"]["request_id"], "9");
    EXPECT_EQ(config["settings"]["refresh"], 45);
    EXPECT_EQ(config["settings"]["ad_network_timeout_millis"], 2500);
    ASSERT_EQ(config["ad_networks"].size(), 2u);
    EXPECT_EQ(config["ad_networks"][0]["id"], "1001");
    EXPECT_EQ(config["ad_networks"][0]["adapters"], nlohmann::json::array({"YBXMAdapterOrvaneMarlexAds"}));
    EXPECT_EQ(config["ad_networks"][0]["data"]["pubid"], "mediation-waterfall");
    EXPECT_EQ(config["ad_networks"][1]["id"], 1002);
    EXPECT_EQ(config["ad_networks"][1]["adapters"], nlohmann::json::array({"YBXMAdapterHTML"}));
}

TEST_F(AdServerFixture, RequestValuesAreEscapedWhereTheyAreFilledIn) {
    HttpResult answer = ad("html-banner", "a%22b%3Cscript%3E%26c");  // a"b<script>&c
    EXPECT_EQ(answer.header("X-Kestra-Tracking-Urls"),
              server.baseURL() + "/ping/imp?slotname=html-banner&request_id=a%22b%3Cscript%3E%26c");
    HttpResult json = ad("mediation-waterfall", "%22%7D%2C%22x%22%3A%22");  // "},"x":"
    auto config = nlohmann::json::parse(json.body, nullptr, false);
    ASSERT_TRUE(config.is_object());
    EXPECT_EQ(config["qdata"]["request_id"], "%22%7D%2C%22x%22%3A%22");
}

TEST_F(AdServerFixture, NoFillUnitAnswersAnEmptyAd) {
    HttpResult answer = ad("no-fill");
    ASSERT_EQ(answer.code, CURLE_OK);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.body, "");
    EXPECT_EQ(answer.header("X-Kestra-Refresh-Rate"), "60");
    EXPECT_FALSE(answer.hasHeader("X-Kestra-Mediation"));
}

TEST_F(AdServerFixture, UnknownAdUnitsAreRejected) {
    for (const char* query : {"", "?request_id=1", "?slotname=nothing-here", "?slotname=page-banner"}) {
        SCOPED_TRACE(query);
        HttpResult answer = fetch(url(std::string(kAdPath) + query));
        EXPECT_EQ(answer.status, 400);
        EXPECT_FALSE(answer.hasHeader("X-Kestra-Tracking-Urls"));
    }
}

TEST_F(AdServerFixture, StaticFilesStayInTheirFolder) {
    EXPECT_EQ(fetch(url("/landing.html")).status, 200);
    for (const char* path : {"/../inventory/html-banner.ad", "/mads/../../ad_server.cpp", "/nothing.html"}) {
        SCOPED_TRACE(path);
        HttpResult answer = fetch(url(path), {.pathAsIs = true});
        EXPECT_EQ(answer.status, 404);
    }
}

TEST_F(AdServerFixture, PingsAnswer200AndAreLogged) {
    for (const char* path : {"/ping/click", "/ping/imp", "/ping/nofill", "/nofill", "/imp", "/clk"}) {
        SCOPED_TRACE(path);
        HttpResult answer = fetch(url(std::string(path) + "?slotname=html-banner&request_id=3"));
        EXPECT_EQ(answer.status, 200);
        EXPECT_EQ(answer.body, "");
        auto logged = server.log().entries();
        ASSERT_FALSE(logged.empty());
        EXPECT_EQ(logged.back().path, path);
        EXPECT_EQ(logged.back().query, "slotname=html-banner&request_id=3");
    }
}

TEST_F(AdServerFixture, TheViewabilityEndpointKeepsEachReportItCanRead) {
    const std::string report = R"({"units":[{"hashCode":3,"isVisible":"1","globalVisibleBox":{"top":0,"bottom":50}}]})";
    HttpResult answer = fetch(url(std::string(kViewabilityPath) + "?report=" + percentEncoded(report)));
    EXPECT_EQ(answer.status, 200);
    ASSERT_EQ(server.viewabilityReports().size(), 1u);
    EXPECT_EQ(nlohmann::json::parse(server.viewabilityReports()[0]), nlohmann::json::parse(report));
    for (const char* bad : {"", "not%20json", "%5B1%5D", "%7B%22units%22%3A3%7D", "%7B%7D"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(fetch(url(std::string(kViewabilityPath) + "?report=" + bad)).status, 400);
    }
    EXPECT_EQ(server.viewabilityReports().size(), 1u);
    // Every load is in the request log, the refused ones too.
    size_t logged = 0;
    for (const auto& entry : server.log().entries()) logged += entry.path == kViewabilityPath;
    EXPECT_EQ(logged, 6u);
}

TEST_F(AdServerFixture, ServesTheThreeMRAIDScriptsAndLogsThem) {
    struct Case {
        const char* path;
        const char* placement;
        const char* startState;
    };
    for (const Case& c : {Case{kMRAIDBannerScriptPath, "'inline'", "'loading'"},
                          Case{kMRAIDInterstitialScriptPath, "'interstitial'", "'loading'"},
                          Case{kMRAIDExpandedBannerScriptPath, "'inline'", "'expanded'"}}) {
        SCOPED_TRACE(c.path);
        HttpResult answer = fetch(url(c.path));
        EXPECT_EQ(answer.status, 200);
        EXPECT_EQ(answer.header("Content-Type"), "application/javascript");
        EXPECT_NE(answer.body.find("window.mraid = mraid;"), std::string::npos);
        EXPECT_NE(answer.body.find(std::string("var placement = ") + c.placement + ";"), std::string::npos);
        EXPECT_NE(answer.body.find(std::string("var state = ") + c.startState + ";"), std::string::npos);
        EXPECT_EQ(answer.body.find("@@"), std::string::npos);
        EXPECT_EQ(server.log().entries().back().path, c.path);
    }
    // A creative's own "mraid.js" is no script of the server's.
    EXPECT_EQ(fetch(url("/mads/mraid.js")).status, 404);
    EXPECT_EQ(fetch(url("/mraid/v1/mraid_app_other.js")).status, 404);
}

TEST(AdServer, LogRecordsARequestWhole) {
    std::string logFile = ::testing::TempDir() + "ad-server-log-" + std::to_string(getpid()) + ".jsonl";
    std::filesystem::remove(logFile);
    AdServer server({.inventoryDir = ROUSA_AD_SERVER_INVENTORY, .logFile = logFile});
    ASSERT_TRUE(server.start()) << server.error();
    auto before = std::chrono::system_clock::now();
    HttpResult answer = fetch(server.baseURL() + "/ping/imp?a=1&b=two%20words",
                              {.method = "POST", .headers = {"X-Test: yes", "Content-Type: text/plain"}, .body = "pay\nload"});
    auto after = std::chrono::system_clock::now();
    EXPECT_EQ(answer.status, 200);

    auto logged = server.log().entries();
    ASSERT_EQ(logged.size(), 1u);
    const LoggedRequest& request = logged[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/ping/imp");
    EXPECT_EQ(request.query, "a=1&b=two%20words");
    EXPECT_EQ(request.header("x-test"), "yes");
    EXPECT_EQ(request.header("Content-Type"), "text/plain");
    EXPECT_EQ(request.header("Host"), "127.0.0.1:" + std::to_string(server.port()));
    EXPECT_EQ(request.header("REMOTE_ADDR"), "");
    EXPECT_EQ(request.body, "pay\nload");
    EXPECT_GE(request.time, before);
    EXPECT_LE(request.time, after);

    server.stop();
    std::ifstream in(logFile);
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    auto json = nlohmann::json::parse(line);
    EXPECT_EQ(json["method"], "POST");
    EXPECT_EQ(json["path"], "/ping/imp");
    EXPECT_EQ(json["query"], "a=1&b=two%20words");
    EXPECT_EQ(json["body"], "pay\nload");
    EXPECT_NE(std::find(json["headers"].begin(), json["headers"].end(), nlohmann::json::array({"X-Test", "yes"})),
              json["headers"].end());
    EXPECT_FALSE(std::getline(in, line));
    std::filesystem::remove(logFile);
}

TEST_F(AdServerFixture, StatusFaultsAnswerWithoutAnAd) {
    server.setAdUnitFault("html-banner", Fault::withStatus(503));
    server.setPathFault("/ping/imp", Fault::withStatus(500));
    HttpResult answer = ad("html-banner");
    EXPECT_EQ(answer.status, 503);
    EXPECT_FALSE(answer.hasHeader("X-Kestra-Tracking-Urls"));
    EXPECT_EQ(fetch(url("/ping/imp")).status, 500);
    EXPECT_EQ(ad("html-interstitial").status, 200);  // other units are untouched

    server.setPathFault(kAdPath, Fault::withStatus(404));
    EXPECT_EQ(ad("html-banner").status, 404);  // the path's fault wins

    server.clearFaults();
    EXPECT_EQ(ad("html-banner").status, 200);
    EXPECT_EQ(fetch(url("/ping/imp")).status, 200);
}

TEST_F(AdServerFixture, BodyFaultsSpoilTheAnswer) {
    std::string clean = ad("html-banner").body;
    ASSERT_FALSE(clean.empty());

    server.setAdUnitFault("html-banner", Fault::truncate());
    HttpResult truncated = ad("html-banner");
    EXPECT_EQ(truncated.code, CURLE_PARTIAL_FILE);
    EXPECT_EQ(truncated.body, clean.substr(0, clean.size() / 2));
    EXPECT_EQ(truncated.header("Content-Length"), std::to_string(clean.size()));

    server.setAdUnitFault("html-banner", Fault::garbage());
    HttpResult garbage = ad("html-banner");
    EXPECT_EQ(garbage.code, CURLE_OK);
    EXPECT_EQ(garbage.status, 200);
    EXPECT_EQ(garbage.body.size(), clean.size());
    EXPECT_EQ(garbage.body.find("<"), std::string::npos);
    EXPECT_EQ(garbage.header("X-Kestra-Refresh-Rate"), "30");
    EXPECT_TRUE(nlohmann::json::parse(garbage.body, nullptr, false).is_discarded());
}

TEST_F(AdServerFixture, DropClosesTheConnectionWithoutAnswer) {
    server.setPathFault("/ping/click", Fault::drop());
    HttpResult answer = fetch(url("/ping/click"));
    EXPECT_EQ(answer.code, CURLE_GOT_NOTHING);
    EXPECT_EQ(answer.status, 0);
    EXPECT_EQ(fetch(url("/ping/imp")).status, 200);  // the server goes on serving
}

TEST_F(AdServerFixture, RedirectChainEndsAtTheAnswer) {
    server.setAdUnitFault("html-banner", Fault::redirect(3));
    HttpResult first = ad("html-banner");
    EXPECT_EQ(first.status, 302);
    EXPECT_EQ(first.header("Location").rfind(server.baseURL() + "/redirect/", 0), 0u);

    HttpResult answer = fetch(url(std::string(kAdPath) + "?slotname=html-banner&request_id=8"), {.followRedirects = true});
    EXPECT_EQ(answer.code, CURLE_OK);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.redirects, 3);
    EXPECT_EQ(answer.header("X-Kestra-Ad-Size"), "320x50");
    auto logged = server.log().entries();
    ASSERT_EQ(logged.size(), 5u);  // the first lone request, then four hops
    EXPECT_EQ(logged[1].path, kAdPath);
    EXPECT_EQ(logged[2].path.rfind("/redirect/", 0), 0u);
    EXPECT_EQ(logged[3].path.rfind("/redirect/", 0), 0u);
    EXPECT_EQ(logged[4].path, kAdPath);
    EXPECT_EQ(logged[4].query, "slotname=html-banner&request_id=8");

    // The fault holds for the next request too.
    EXPECT_EQ(ad("html-banner").status, 302);
}

TEST_F(AdServerFixture, DelayHoldsTheAnswerUntilReleased) {
    server.setAdUnitFault("html-banner", Fault::delay());
    std::atomic<bool> answered = false;
    HttpResult answer;
    std::thread client([&] {
        answer = ad("html-banner");
        answered = true;
    });
    ASSERT_TRUE(server.waitForHeld(1, kBound));
    EXPECT_FALSE(answered);
    EXPECT_EQ(ad("html-interstitial").status, 200);  // others are served meanwhile
    EXPECT_FALSE(answered);
    server.releaseDelayed();
    client.join();
    EXPECT_EQ(answer.code, CURLE_OK);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.header("X-Kestra-Ad-Size"), "320x50");
    EXPECT_EQ(server.heldCount(), 0u);
}

TEST_F(AdServerFixture, DelayEndsWhenTheClientLeaves) {
    server.setPathFault("/ping/imp", Fault::delay());
    int sock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(server.port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    std::string request = "GET /ping/imp HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    ASSERT_EQ(send(sock, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
    ASSERT_TRUE(server.waitForHeld(1, kBound));
    close(sock);
    EXPECT_TRUE(server.waitForHeld(0, kBound));
}

TEST_F(AdServerFixture, StopEndsHeldRequests) {
    server.setAdUnitFault("html-banner", Fault::delay());
    HttpResult answer;
    std::thread client([&] { answer = ad("html-banner"); });
    ASSERT_TRUE(server.waitForHeld(1, kBound));
    server.stop();
    client.join();
    EXPECT_NE(answer.status, 200);
}

TEST(AdServer, StartFailsOnABrokenInventory) {
    std::string folder = ::testing::TempDir() + "ad-server-broken-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/bad.ad") << "X-Kestra-Refresh-Rate 30\n\nbody";
    AdServer server({.inventoryDir = folder});
    EXPECT_FALSE(server.start());
    EXPECT_EQ(server.error(), "bad.ad:1: not a header line");
    AdServer missing({.inventoryDir = folder + "/none"});
    EXPECT_FALSE(missing.start());
    EXPECT_EQ(missing.error(), "no inventory folder " + folder + "/none");
    std::filesystem::remove_all(folder);
}

TEST(AdServer, ANewFileIsANewAd) {
    std::string folder = ::testing::TempDir() + "ad-server-new-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    AdServer server({.inventoryDir = folder});
    ASSERT_TRUE(server.start()) << server.error();
    std::string adURL = server.baseURL() + kAdPath + "?slotname=fresh";
    EXPECT_EQ(fetch(adURL).status, 400);
    std::ofstream(folder + "/fresh.ad") << "X-Kestra-Refresh-Rate: 5\n\n<p>fresh</p>";
    HttpResult answer = fetch(adURL);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.body, "<p>fresh</p>");
    EXPECT_EQ(answer.header("Content-Type"), "text/html; charset=utf-8");
    std::filesystem::remove_all(folder);
}

// The program: a child process on a port it picked, stopped by SIGTERM.
struct Program {
    pid_t pid = -1;
    FILE* out = nullptr;

    explicit Program(std::vector<std::string> args) {
        args.insert(args.begin(), ROUSA_AD_SERVER_PROGRAM);
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        out = fdopen(pipeFds[0], "r");
    }
    std::string line() {
        char buffer[512];
        return out && fgets(buffer, sizeof buffer, out) ? std::string(buffer) : std::string();
    }
    int wait() {
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ~Program() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (out) fclose(out);
    }
};

TEST(AdServerProgram, ServesOnThePortItPrintsUntilTerminated) {
    std::string logFile = ::testing::TempDir() + "ad-server-program-" + std::to_string(getpid()) + ".jsonl";
    std::filesystem::remove(logFile);
    Program program({"--port", "0", "--inventory", ROUSA_AD_SERVER_INVENTORY, "--log", logFile, "--fault",
                     "unit:html-interstitial=status:502"});
    std::string line = program.line();
    const std::string prefix = "ad-server: listening on http://127.0.0.1:";
    ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
    std::string base = line.substr(prefix.size() - std::string("http://127.0.0.1:").size());
    base.erase(base.find_last_not_of("\n") + 1);

    EXPECT_EQ(fetch(base + kSdkCorePath).status, 200);
    EXPECT_EQ(fetch(base + kAdPath + "?slotname=html-banner").status, 200);
    EXPECT_EQ(fetch(base + kAdPath + "?slotname=html-interstitial").status, 502);
    kill(program.pid, SIGTERM);
    EXPECT_EQ(program.wait(), 0);

    std::ifstream in(logFile);
    int lines = 0;
    for (std::string text; std::getline(in, text);) ++lines;
    EXPECT_EQ(lines, 3);
    std::filesystem::remove(logFile);
}

TEST(AdServerProgram, RejectsBadCommandLines) {
    const std::vector<std::vector<std::string>> cases = {
        {"--port", "0"},
        {"--port", "x", "--inventory", ROUSA_AD_SERVER_INVENTORY},
        {"--port", "70000", "--inventory", ROUSA_AD_SERVER_INVENTORY},
        {"--inventory", ROUSA_AD_SERVER_INVENTORY, "--fault", "unit:a=explode"},
        {"--inventory", ROUSA_AD_SERVER_INVENTORY, "--fault", "host:a=drop"},
        {"--inventory", ROUSA_AD_SERVER_INVENTORY, "--fault", "path:/a=status:99"},
        {"--inventory", ROUSA_AD_SERVER_INVENTORY, "--fault", "path:/a=redirect:0"},
        {"--inventory", ROUSA_AD_SERVER_INVENTORY, "--fault", "path:/a=delay:-1"},
        {"--inventory"},
        {"--verbose", "1", "--inventory", ROUSA_AD_SERVER_INVENTORY},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        Program program(args);
        EXPECT_EQ(program.line().rfind("ad-server: ", 0), 0u);
        EXPECT_EQ(program.wait(), 2);
    }
}

TEST(AdServerFault, ParsesTheCommandLineForms) {
    Fault fault;
    ASSERT_TRUE(parseFault("delay:2.5", fault));
    EXPECT_EQ(fault.kind, FaultKind::Delay);
    EXPECT_EQ(fault.seconds, 2.5);
    ASSERT_TRUE(parseFault("status:404", fault));
    EXPECT_EQ(fault.kind, FaultKind::Status);
    EXPECT_EQ(fault.status, 404);
    ASSERT_TRUE(parseFault("redirect:4", fault));
    EXPECT_EQ(fault.kind, FaultKind::Redirect);
    EXPECT_EQ(fault.hops, 4);
    ASSERT_TRUE(parseFault("drop", fault));
    EXPECT_EQ(fault.kind, FaultKind::Drop);
    for (const char* bad : {"", "delay", "delay:", "status:20x", "drop:1", "truncate:2", "redirect:21"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseFault(bad, fault));
    }
}

}  // namespace
}  // namespace rousa::adserver::testing
