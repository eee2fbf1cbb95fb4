#include "tweak/engine/activator_actions.h"

#include "engine_fixture.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/activator.h"
#include "tweak/engine/installer.h"

namespace rousa {
namespace {

class Heard : public NSObject {
public:
    std::vector<std::string> names;
};
inline constexpr Sel<void(id, id)> heard_{"heard:"};

TEST(ActivatorActions, SpringBoardsListenersPostTheirNotifications) {
    platform::testing::TestEnvironment env(testing::bootFor(host::kSpringBoard, "9.3"));
    startTweakLibrary();
    EXPECT_EQ(callLog::lines("LAActivator registerListener:forName:"),
              (std::vector<std::string>{"LAActivator registerListener:forName: net.quillory.Rousa2.stop-alarm",
                                        "LAActivator registerListener:forName: net.quillory.Rousa2.snooze-alarm",
                                        "LAActivator registerListener:forName: net.quillory.Rousa2.turnon-alarms",
                                        "LAActivator registerListener:forName: net.quillory.Rousa2.turnoff-alarms"}));
    ClassBuilder<Heard>("Heard", "NSObject").method(heard_, [](id self, id n) { as<Heard>(self)->names.push_back(as<NSNotification>(n)->name()); });
    auto heard = alloc("Heard");
    for (const auto& action : kActivatorActions)
        NSDistributedNotificationCenter::defaultCenter()->addObserver(heard, heard_, action.notification, Value());
    for (const auto& action : kActivatorActions) EXPECT_TRUE(activator::sendEvent(action.listenerName));
    RunLoop::main().runDue();
    EXPECT_EQ(as<Heard>(heard)->names, (std::vector<std::string>{"net.quillory.stopAlarm", "net.quillory.snoozeAlarm",
                                                                  "net.quillory.turnOnAlarms", "net.quillory.turnOffAlarms"}));
    // The listeners are shared instances of classes that adopt LAListener.
    Class* stop = objc_getClass("StopAlarm");
    EXPECT_EQ(sel::sharedListener(stop).get(), sel::sharedListener(stop).get());
    EXPECT_TRUE(conformsToProtocol(sel::sharedListener(stop), "LAListener"));
}

TEST(ActivatorActions, NoListenersOutsideSpringBoardOrWithoutActivator) {
    for (auto options : {testing::bootFor(host::kClockApp, "9.3"), [] {
             auto o = testing::bootFor(host::kSpringBoard, "9.3");
             o.missingLibraries = {kActivatorPath};
             return o;
         }()}) {
        std::string got = platform::testing::runInChild(options, [] {
            startTweakLibrary();
            return std::to_string(callLog::count("LAActivator", "registerListener:forName:"));
        });
        EXPECT_EQ(got, "0");
    }
}

}  // namespace
}  // namespace rousa
