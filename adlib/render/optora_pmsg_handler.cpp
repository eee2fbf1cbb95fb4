#include "adlib/render/optora_pmsg_handler.h"

#include "adlib/foundation/notification_center.h"

namespace adlib {

namespace {

Value table(id) {
    static const Value& actions = *new Value{{"untrackOptoraUnit", "didReceiveOptoraUntrackOptoraNotification:"},
                                              {"visibilityChanged", "didReceiveOptoraVisibilityChangedNotification:"}};
    return actions;
}

// The web view of a handler argument {"webView", "note"}, when it is a library web view.
Object* libraryWebViewOf(const Value& argument) {
    Object* view = argument["webView"].object();
    return view && isKindOfClass(view, "YBXWebView") ? view : nullptr;
}

void visibilityChanged(id, Value argument) {
    Object* view = libraryWebViewOf(argument);
    if (!view) return;
    auto* note = argument["note"].objectAs<YBXNotification>();
    const Value visible = note ? note->parameters()["isVisible"] : Value();
    sel::setOptoraVisibility_(view, visible.isString() && visible.string() == "1");
    Ref<Object> observer = sel::optoraObserver(view);
    if (observer && respondsToSelector(observer.get(), sel::webViewDidChangeOptoraVisibility_.name))
        sel::webViewDidChangeOptoraVisibility_(observer.get(), view);
}

void untrackOptoraUnit(id, Value argument) {
    if (Object* view = libraryWebViewOf(argument)) sel::setOptoraUnloadPingReceived_(view, true);
}

}  // namespace

void registerOptoraPMSGHandlerClass() {
    ClassBuilder<YBXPMSGHandler>("YBXOptoraPMSGHandler", "YBXPMSGHandler")
        .classMethod(sel::actionSelectorDictionary, &table)
        .method(sel::init, [](id self) { return sel::initWithActionSelectorDictionary_(self, sel::actionSelectorDictionary(object_getClass(self))); })
        .method(sel::didReceiveOptoraUntrackOptoraNotification_, &untrackOptoraUnit)
        .method(sel::didReceiveOptoraVisibilityChangedNotification_, &visibilityChanged);
}

}  // namespace adlib
