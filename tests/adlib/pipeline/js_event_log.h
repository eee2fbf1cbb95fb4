// Test support: every script run in a library web view, and the library's
// events among them ("KESTRA_ReceiveMessage('name', {json});") parsed back.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "adlib/foundation/notification_center.h"
#include "platform/foundation/json.h"
#include "platform/webkit/selectors.h"

namespace adlib::testing {

// Every script run in a library web view, with the view.
inline std::vector<std::pair<Object*, std::string>>& scripts() {
    static std::vector<std::pair<Object*, std::string>> log;
    return log;
}

inline Value (*previousEvaluate)(id, Value) = nullptr;

// Starts recording the scripts of every YBXWebView.
inline void recordWebViewScripts() {
    MSHookMessageEx(objc_getClass("YBXWebView"), sel::stringByEvaluatingJavaScriptFromString_, +[](id self, Value script) {
        scripts().emplace_back(self, script.stringOr(""));
        return previousEvaluate(self, script);
    }, &previousEvaluate);
}

struct Event {
    std::string name;
    Value data;  // nil: none
    friend bool operator==(const Event&, const Event&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const Event& e) { return out << e.name << " " << e.data.description(); }

// The library's events sent into one view.
inline std::vector<Event> eventsIn(Object* view) {
    std::vector<Event> events;
    const std::string prefix = std::string(kYBXJSReceiveMessageFunction) + "('";
    for (const auto& [target, script] : scripts()) {
        if (target != view || script.rfind(prefix, 0) != 0) continue;
        const std::size_t nameEnd = script.find('\'', prefix.size());
        Event event{script.substr(prefix.size(), nameEnd - prefix.size()), Value()};
        const std::size_t comma = script.find(", ", nameEnd);
        if (comma != std::string::npos) {
            const std::size_t end = script.rfind(");");
            event.data = NSJSONSerialization::JSONObjectWithText(script.substr(comma + 2, end - comma - 2), 0);
        }
        events.push_back(std::move(event));
    }
    return events;
}

}  // namespace adlib::testing
