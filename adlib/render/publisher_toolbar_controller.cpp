#include "adlib/render/publisher_toolbar_controller.h"

namespace adlib {

namespace {

YBXPublisherToolbarController* toolbarOf(id self) { return as<YBXPublisherToolbarController>(self); }

Value textOf(const Value& value) { return value.isString() ? value : Value(); }

}  // namespace

void registerPublisherToolbarControllerClass() {
    ClassBuilder<YBXPublisherToolbarController>("YBXPublisherToolbarController", "YBXViewController")
        .method(sel::initWithAdContent_adUnitID_,
                [](id self, Value content, Value adUnitID) {
                    Ref<Object> made = sel::init(self);
                    if (YBXPublisherToolbarController* toolbar = toolbarOf(made.get())) {
                        toolbar->adContent_ = textOf(content);
                        toolbar->adUnitID_ = textOf(adUnitID);
                    }
                    return made;
                })
        .getter<&YBXPublisherToolbarController::adContent_>(sel::adContent)
        .getter<&YBXPublisherToolbarController::adUnitID_>(sel::adUnitID);
}

}  // namespace adlib
