#include "adlib/render/banner_web_view_delegate.h"

namespace adlib {

namespace {

YBXBannerWebViewDelegate* delegateOf(id self) { return as<YBXBannerWebViewDelegate>(self); }

Ref<Object> initWithSlot(id self, id slot) {
    Ref<Object> made = sel::init(self);
    YBXBannerWebViewDelegate* delegate = delegateOf(made.get());
    if (!delegate) return made;
    delegate->slot_ = WeakRef<Object>(slot);
    delegate->opener_ = sel::init(alloc("YBXOpener"));
    sel::setSlot_(delegate->opener_.get(), slot);
    return made;
}

}  // namespace

YBXBannerWebViewDelegate::~YBXBannerWebViewDelegate() {
    // The opener may outlive its web view's delegate; it no longer belongs to the slot.
    sel::setSlot_(opener_.get(), nullptr);
}

void registerBannerWebViewDelegateClass() {
    ClassBuilder<YBXBannerWebViewDelegate>("YBXBannerWebViewDelegate", "YBXWebViewDelegate")
        .method(sel::initWithSlot_, &initWithSlot)
        .method(sel::slot, [](id self) { return delegateOf(self)->slot_.lock(); })
        .method(sel::opener, [](id self) { return delegateOf(self)->opener_; });
}

}  // namespace adlib
