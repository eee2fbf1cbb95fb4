#include "adlib/render/pmsg_handler.h"

#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/utilities.h"
#include "platform/network/url.h"

namespace adlib {

bool YBXPMSGHandler::handleRequest(NSURLRequest* request, id webView) {
    NSURL* url = request ? request->URL() : nullptr;
    Ref<YBXNotification> note = YBXNotification::fromURL(url);
    if (!note) return false;
    const Value& action = actionSelectors_[note->name()];
    if (!action.isString() || action.string().empty()) return false;
    Value::Dictionary argument;
    if (webView) argument["webView"] = Value(webView);
    argument["note"] = Value(note.get());
    Ref<YBXPMSGHandler> protector(this);
    return InvokeSelectorWithObject(this, sel_registerName(action.string()), Value(std::move(argument)));
}

void registerPMSGHandlerClass() {
    ClassBuilder<YBXPMSGHandler>("YBXPMSGHandler", "NSObject")
        .method(sel::initWithActionSelectorDictionary_,
                [](id self, Value table) {
                    as<YBXPMSGHandler>(self)->actionSelectors_ = table.isDictionary() ? table : Value(Value::Dictionary{});
                    return Ref<Object>(self);
                })
        .method(sel::actionSelectors, [](id self) { return as<YBXPMSGHandler>(self)->actionSelectors_; })
        .method(sel::handleRequest_webView_,
                [](id self, id request, id webView) { return as<YBXPMSGHandler>(self)->handleRequest(as<NSURLRequest>(request), webView); });
}

}  // namespace adlib
