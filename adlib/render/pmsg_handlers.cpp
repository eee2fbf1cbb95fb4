#include "adlib/render/pmsg_handlers.h"

namespace adlib {

namespace {

YBXBoundPMSGHandler* handlerOf(id self) { return as<YBXBoundPMSGHandler>(self); }

// The class's table, handed to the base initialiser.
Ref<Object> initWithClassTable(id self) {
    return sel::initWithActionSelectorDictionary_(self, sel::actionSelectorDictionary(object_getClass(self)));
}

ClassBuilder<YBXBoundPMSGHandler> handlerClass(const char* name) {
    ClassBuilder<YBXBoundPMSGHandler> builder(name, "YBXPMSGHandler");
    builder.classMethod(sel::actionSelectorDictionary, [](id) { return Value(Value::Dictionary{}); });
    return builder;
}

}  // namespace

void registerPMSGHandlerClasses() {
    for (const char* name : {"YBXDefaultPMSGHandler", "YBXOptoraPMSGHandler", "YBXWebAppPMSGHandler"})
        handlerClass(name).method(sel::init, [](id self) { return initWithClassTable(self); });
    for (const char* name : {"YBXOpenerPMSGHandler"})
        handlerClass(name)
            .method(sel::initWithOpener_,
                    [](id self, id opener) {
                        Ref<Object> made = initWithClassTable(self);
                        if (YBXBoundPMSGHandler* handler = handlerOf(made.get())) handler->opener_ = WeakRef<Object>(opener);
                        return made;
                    })
            .method(sel::opener, [](id self) { return handlerOf(self)->opener_.lock(); });
    for (const char* name : {"YBXAppEventPMSGHandler", "YBXSwipeToViewControllerPMSGHandler"})
        handlerClass(name)
            .method(sel::initWithSlot_,
                    [](id self, id slot) {
                        Ref<Object> made = initWithClassTable(self);
                        if (YBXBoundPMSGHandler* handler = handlerOf(made.get())) handler->slot_ = WeakRef<Object>(slot);
                        return made;
                    })
            .method(sel::slot, [](id self) { return handlerOf(self)->slot_.lock(); });
}

}  // namespace adlib
