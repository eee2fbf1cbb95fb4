#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/bundle.h"
#include "platform/foundation/file_manager.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"
#include "platform/runtime/call_log.h"
#include "platform/uikit/application.h"
#include "platform/uikit/selectors.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

host::BootOptions appOptions() {
    host::BootOptions options;
    options.bundleIdentifier = host::kPublisherApp;
    return options;
}

TEST(AppHost, TheSandboxAndInfoPlistResolveUnderTheDeviceRoot) {
    testing::TestEnvironment env(appOptions());
    std::string home = NSHomeDirectory();
    EXPECT_EQ(home, "/var/mobile/Containers/Data/Application/net.quillory.AdSample");
    std::string documents = NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true).array().at(0).string();
    std::string caches = NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true).array().at(0).string();
    EXPECT_EQ(documents, home + "/Documents");
    EXPECT_EQ(caches, home + "/Library/Caches");
    for (const std::string& folder : {documents, caches, home + "/Library/Preferences"}) {
        EXPECT_TRUE(fs::isDirectory(folder)) << folder;
        EXPECT_EQ(fs::resolve(folder), env.root() + folder);
    }
    EXPECT_EQ(NSUserDefaults::standardDomainPath(), home + "/Library/Preferences/net.quillory.AdSample.plist");
    NSUserDefaults::standardUserDefaults()->setBool(true, "launched");
    EXPECT_TRUE(fs::exists(NSUserDefaults::standardDomainPath()));
    NSBundle* bundle = NSBundle::mainBundle();
    EXPECT_EQ(bundle->bundleIdentifier(), Value("net.quillory.AdSample"));
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("CFBundleVersion"), Value("1.0"));
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("DTSDKName"), Value("iphoneos9.3"));
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("DTPlatformName"), Value("iphoneos"));
}

TEST(AppHost, TheSystemHostsKeepTheMobileHome) {
    testing::TestEnvironment env;
    EXPECT_EQ(NSHomeDirectory(), "/var/mobile");
}

// Records each delegate call and each notification, in the order they came.
class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override {
        ClassBuilder<NSObject>::inheritingType("LifecycleDelegate", "NSObject")
            .method(sel::applicationWillResignActive_, [](id, id) { callLog::record("order", "applicationWillResignActive:"); })
            .method(sel::applicationDidEnterBackground_, [](id, id) { callLog::record("order", "applicationDidEnterBackground:"); })
            .method(sel::applicationWillEnterForeground_, [](id, id) { callLog::record("order", "applicationWillEnterForeground:"); })
            .method(sel::applicationDidBecomeActive_, [](id, id) { callLog::record("order", "applicationDidBecomeActive:"); });
        for (const char* name : {UIApplicationDidFinishLaunchingNotification, UIApplicationDidBecomeActiveNotification,
                                 UIApplicationWillResignActiveNotification, UIApplicationDidEnterBackgroundNotification,
                                 UIApplicationWillEnterForegroundNotification, UIApplicationWillTerminateNotification,
                                 UIApplicationDidReceiveMemoryWarningNotification})
            tokens.push_back(NSNotificationCenter::defaultCenter()->addObserverForName(
                name, Value(), [](NSNotification* n) { callLog::record("order", n->name()); }));
        UIApplicationMain(0, nullptr, Value(), Value("LifecycleDelegate"));
    }
    static std::vector<std::string> take() {
        auto lines = callLog::lines("order");
        callLog::clear();
        return lines;
    }
    long long state() const { return UIApplication::sharedApplication()->applicationState_; }

    testing::TestEnvironment env{appOptions()};
    std::vector<Ref<Object>> tokens;
};

TEST_F(Lifecycle, NotificationsArriveInThePlatformsOrder) {
    EXPECT_EQ(take(), (std::vector<std::string>{"order UIApplicationDidFinishLaunchingNotification", "order applicationDidBecomeActive:",
                                                "order UIApplicationDidBecomeActiveNotification"}));
    EXPECT_EQ(state(), UIApplicationStateActive);
    lifecycle::enterBackground();
    EXPECT_EQ(state(), UIApplicationStateBackground);
    EXPECT_EQ(take(), (std::vector<std::string>{"order applicationWillResignActive:", "order UIApplicationWillResignActiveNotification",
                                                "order applicationDidEnterBackground:",
                                                "order UIApplicationDidEnterBackgroundNotification"}));
    lifecycle::enterBackground();  // already there
    EXPECT_TRUE(take().empty());
    lifecycle::becomeActive();
    EXPECT_EQ(state(), UIApplicationStateActive);
    EXPECT_EQ(take(), (std::vector<std::string>{"order applicationWillEnterForeground:",
                                                "order UIApplicationWillEnterForegroundNotification",
                                                "order applicationDidBecomeActive:", "order UIApplicationDidBecomeActiveNotification"}));
    lifecycle::resignActive();
    EXPECT_EQ(state(), UIApplicationStateInactive);
    lifecycle::receiveMemoryWarning();
    lifecycle::terminate();
    EXPECT_EQ(take(), (std::vector<std::string>{"order applicationWillResignActive:", "order UIApplicationWillResignActiveNotification",
                                                "order UIApplicationDidReceiveMemoryWarningNotification",
                                                "order UIApplicationWillTerminateNotification"}));
}

TEST(BackgroundTasks, BeginAndEndPairUpAndExpiryRunsEachHandlerOnce) {
    testing::TestEnvironment env(appOptions());
    auto* app = UIApplication::sharedApplication();
    int expiredA = 0, expiredB = 0, expiredC = 0;
    UIBackgroundTaskIdentifier a = app->beginBackgroundTaskWithExpirationHandler([&] { ++expiredA; });
    UIBackgroundTaskIdentifier b = 0;
    b = app->beginBackgroundTaskWithExpirationHandler([&] {
        ++expiredB;
        app->endBackgroundTask(b);
    });
    UIBackgroundTaskIdentifier c = app->beginBackgroundTaskWithExpirationHandler([&] { ++expiredC; });
    EXPECT_NE(a, UIBackgroundTaskInvalid);
    EXPECT_NE(a, b);
    EXPECT_EQ(app->outstandingBackgroundTaskCount(), 3u);
    app->endBackgroundTask(c);
    app->endBackgroundTask(c);  // twice: nothing more
    app->endBackgroundTask(UIBackgroundTaskInvalid);
    EXPECT_EQ(app->outstandingBackgroundTaskCount(), 2u);
    app->expireBackgroundTasks();
    EXPECT_EQ(expiredA, 1);
    EXPECT_EQ(expiredB, 1);
    EXPECT_EQ(expiredC, 0);
    EXPECT_EQ(app->outstandingBackgroundTaskCount(), 1u);  // a did not end its task
    app->endBackgroundTask(a);
    EXPECT_EQ(app->outstandingBackgroundTaskCount(), 0u);
}

TEST(BackgroundTasks, ThreadsBeginAndEndTheirOwn) {
    testing::TestEnvironment env(appOptions());
    auto* app = UIApplication::sharedApplication();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([app] {
            for (int i = 0; i < 50; ++i) {
                auto task = app->beginBackgroundTaskWithExpirationHandler([] {});
                if (i % 2 == 0) app->endBackgroundTask(task);
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(app->outstandingBackgroundTaskCount(), 100u);
}

}  // namespace
}  // namespace platform
