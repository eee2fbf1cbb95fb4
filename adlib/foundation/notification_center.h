// Creative messages and the library's own notification centre. A creative
// talks to the library by navigating to "pmsg" URLs (YBXNotification parses
// one); YBXNotificationCenter posts them as in-process notifications and
// hands library events back to a page as one JavaScript call. The centre is
// one process-wide object; posting is safe from any thread, JavaScript runs
// on the main thread.
#pragma once

#include <string>
#include <string_view>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/notification_center.h"
#include "platform/network/url.h"

namespace adlib {

namespace sel {
inline constexpr Sel<Ref<Object>(id)> defaultCenter{"defaultCenter"};
inline constexpr Sel<bool(id, NSURL*)> isNotificationURL_{"isNotificationURL:"};
inline constexpr Sel<Ref<Object>(id, Value, Value)> initWithName_parameters_{"initWithName:parameters:"};
inline constexpr Sel<Ref<Object>(id, NSURL*)> initWithNotificationURL_{"initWithNotificationURL:"};
inline constexpr Sel<void(id, NSURL*, Value)> postNotificationFromURL_object_{"postNotificationFromURL:object:"};
inline constexpr Sel<void(id, NSURL*, Value, double)> postNotificationFromURL_object_withDelay_{"postNotificationFromURL:object:withDelay:"};
inline constexpr Sel<std::string(id, std::string, Value)> JSCommandForNotificationName_userInfo_{"JSCommandForNotificationName:userInfo:"};
inline constexpr Sel<void(id, std::string, Value, id)> postJSNotification_userInfo_webView_{"postJSNotification:userInfo:webView:"};
}  // namespace sel

// The script function of a creative that receives library events.
inline constexpr const char* kYBXJSReceiveMessageFunction = "KESTRA_ReceiveMessage";

class YBXNotification : public NSObject {
public:
    static bool isNotificationURL(const NSURL* url);
    // Null for an empty name.
    static Ref<YBXNotification> make(std::string_view name, const Value& parameters);
    // Null unless the URL is a message URL whose path names a message.
    static Ref<YBXNotification> fromURL(const NSURL* url);

    const std::string& name() const { return name_; }
    const Value& parameters() const { return parameters_; }
    std::string description() const;
    // The initialiser's work: false for an empty name.
    bool setUp(std::string_view name, const Value& parameters);

    std::string name_;
    Value parameters_ = Value::Dictionary{};
};

class YBXNotificationCenter : public NSNotificationCenter {
public:
    static YBXNotificationCenter* defaultCenter();

    // On the calling thread; a URL that is no message posts nothing.
    void postNotificationFromURL(NSURL* url, const Value& object);
    // Later, always on the main thread, never inside the call.
    void postNotificationFromURL(NSURL* url, const Value& object, double delay);
    static std::string JSCommandForNotificationName(std::string_view name, const Value& userInfo);
    // The command is made now; it runs in the web view on the main queue, in call order.
    static void postJSNotification(std::string_view name, const Value& userInfo, id webView);
};

void registerNotificationClasses();

}  // namespace adlib
