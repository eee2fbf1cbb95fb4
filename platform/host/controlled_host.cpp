#include "platform/host/controlled_host.h"

#include <map>
#include <mutex>
#include <stdexcept>

#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/calendar.h"
#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/process.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/backboardservices.h"
#include "platform/host/application_classes.h"
#include "platform/host/frames.h"
#include "platform/host/loader.h"
#include "platform/host/user_actions.h"
#include "platform/mobiletimer/scheduling.h"
#include "platform/springboard/springboard.h"
#include "platform/uikit/application.h"
#include "platform/uikit/local_notification.h"

namespace platform::host {

namespace {

std::map<std::string, Command, std::less<>>& commands() {
    static auto* c = new std::map<std::string, Command, std::less<>>();
    return *c;
}

// What the host posted for the others since its last answer.
struct Outbox {
    std::mutex mutex;
    Value messages = Value(Value::Array{});
    void add(Value message) {
        std::lock_guard guard(mutex);
        messages.mutableArray().push_back(std::move(message));
    }
    Value take() {
        std::lock_guard guard(mutex);
        Value out = messages;
        messages = Value(Value::Array{});
        return out;
    }
    bool empty() {
        std::lock_guard guard(mutex);
        return messages.count() == 0;
    }
};
Outbox& outbox() {
    static auto* o = new Outbox();
    return *o;
}

Value nextDue() {
    Date when;
    return RunLoop::main().nextDue(&when) ? Value(static_cast<long long>(clock::toNanos(when))) : Value();
}

// Runs the loop up to `limit`, but stops after the first instant at which the
// host posted something for the others, so that they hear of it at that time.
void advanceUntilPosted(std::int64_t limit) {
    Date when;
    while (outbox().empty() && RunLoop::main().nextDue(&when) && clock::toNanos(when) <= limit)
        RunLoop::main().advanceTo(when);
    if (outbox().empty()) RunLoop::main().advanceTo(clock::fromNanos(limit));
}

Value answer(Value::Dictionary fields = {}) {
    fields["nextDue"] = nextDue();
    fields["messages"] = outbox().take();
    fields["now"] = Value(static_cast<long long>(clock::nowNanos()));
    return Value(std::move(fields));
}

void deliver(const Value& message) {
    const std::string& type = message["type"].string();
    if (type == "notify") {
        if (message["center"].string() == "darwin") CFNotificationCenterDeliverFromOtherProcess(message["name"].string());
        else NSDistributedNotificationCenter::defaultCenter()->deliverFromOtherProcess(message["name"].string(), message["object"],
                                                                                        message["userInfo"]);
    } else if (type == "schedule") {
        Value list = notificationsFromValue(message["notifications"]);
        RunLoop::main().post([list] { springboard::scheduleClockNotifications(list); });
    }
}

void connectToTheDevice() {
    crossProcess::setForwarder([](std::string_view center, std::string_view name, const Value& object, const Value& userInfo) {
        outbox().add(Value(Value::Dictionary{{"type", Value("notify")},
                                             {"center", Value(center)},
                                             {"name", Value(name)},
                                             {"object", portable(object)},
                                             {"userInfo", portable(userInfo)}}));
    });
    // SpringBoard takes the Clock app's schedule in its own process; the Clock
    // app's goes to SpringBoard through the device.
    if (process::isClockApp())
        mobiletimer::setScheduleHandOver([](const Value& notifications) {
            outbox().add(Value(Value::Dictionary{{"type", Value("schedule")}, {"notifications", notificationsToValue(notifications)}}));
        });
    backboardservices::setTerminationHandler([](const std::string& bundle, int reason, const Value& description) {
        outbox().add(Value(Value::Dictionary{{"type", Value("terminate")},
                                             {"bundle", Value(bundle)},
                                             {"reason", Value(reason)},
                                             {"description", description}}));
    });
}

}  // namespace

void registerCommand(std::string name, Command command) { commands()[std::move(name)] = std::move(command); }

Value runCommand(std::string_view name, const Value& arguments) {
    auto it = commands().find(name);
    if (it == commands().end()) throw std::runtime_error("no command " + std::string(name));
    Value result = it->second(arguments);
    // What the action set off for now runs before the answer, as on a device.
    RunLoop::main().runDue();
    return result;
}

Value notificationsToValue(const Value& notifications) {
    Value out = Value(Value::Array{});
    for (const Value& item : notifications.array())
        if (auto* n = dynamic_cast<UILocalNotification*>(item.object())) out.mutableArray().push_back(portable(n->propertyList()));
    return out;
}

Value notificationsFromValue(const Value& portableList) {
    Value out = Value(Value::Array{});
    for (const Value& d : portableList.array())
        if (auto n = UILocalNotification::fromPropertyList(d)) out.mutableArray().push_back(Value(n));
    return out;
}

int runControlledHost(const BootOptions& options, int in, int out, const std::function<void()>& setUp,
                      const std::function<void()>& beforeLaunch) {
    boot(options);
    connectToTheDevice();
    if (beforeLaunch) beforeLaunch();
    loadTweakLibraries();
    ApplicationClasses classes = applicationClassesFor(options.bundleIdentifier);
    UIApplicationMain(0, nullptr, classes.principalClassName, classes.delegateClassName);
    registerUserCommands();
    if (setUp) setUp();
    RunLoop::main().runDue();
    if (!writeFrame(out, answer({{"ready", Value(true)}}))) return 1;

    for (;;) {
        auto frame = readFrame(in);
        if (!frame) {
            // A host that cannot follow its controller says so and ends.
            NSLog("host: closing the connection to the device: %@", frame.error().message);
            return 2;
        }
        if (!*frame) return 0;
        const std::optional<Value>& message = *frame;
        const std::string& op = (*message)["op"].string();
        // A host that had nothing due was left behind; it catches up first.
        if (const Value& time = (*message)["time"]; !time.isNil() && time.integerValue() > clock::nowNanos())
            RunLoop::main().advanceTo(clock::fromNanos(time.integerValue()));
        Value::Dictionary reply;
        if (op == "advanceUntilPosted") {
            advanceUntilPosted((*message)["limit"].integerValue());
        } else if (op == "deliver") {
            for (const Value& m : (*message)["messages"].array()) deliver(m);
            RunLoop::main().runDue();
        } else if (op == "call") {
            try {
                reply["result"] = runCommand((*message)["command"].string(), (*message)["arguments"]);
            } catch (const std::exception& e) {
                reply["error"] = Value(std::string(e.what()));
            }
        } else if (op == "quit") {
            writeFrame(out, answer());
            return 0;
        }
        if (!writeFrame(out, answer(std::move(reply)))) return 1;
    }
    return 0;
}

}  // namespace platform::host
