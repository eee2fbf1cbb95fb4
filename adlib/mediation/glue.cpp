#include "adlib/mediation/glue.h"

namespace adlib {

namespace {

YBXMToYBXGlue* glueOf(id self) { return as<YBXMToYBXGlue>(self); }

}  // namespace

void registerGlueClass() {
    ClassBuilder<YBXMToYBXGlue>("YBXMToYBXGlue", "NSObject")
        .method(sel::slot, [](id self) { return glueOf(self)->slot_.lock(); })
        .method(sel::setSlot_, [](id self, id slot) { glueOf(self)->slot_ = WeakRef<Object>(slot); })
        .method(sel::mediatedInterstitial, [](id self) { return glueOf(self)->mediatedInterstitial_.lock(); })
        .method(sel::mediationManager, [](id self) { return glueOf(self)->mediationManager_; })
        .method(sel::mediationConfig, [](id self) { return glueOf(self)->mediationConfig_; })
        .method(sel::requestAdWithType_mediationConfig_, [](id self, id, id config) { glueOf(self)->mediationConfig_ = Ref<Object>(config); })
        // No manager changes a shown network's size yet.
        .method(sel::changeAdTypeTo_, [](id, id) { return false; })
        .method(sel::presentInterstitialFromRootViewController_,
                [](id self, id controller) { sel::presentInterstitialFromRootViewController_(glueOf(self)->mediationManager_.get(), controller); })
        .method(sel::cancel, [](id self) { sel::cancel(glueOf(self)->mediationManager_.get()); });
}

}  // namespace adlib
