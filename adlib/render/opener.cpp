#include "adlib/render/opener.h"

namespace adlib {

namespace {

YBXOpener* openerOf(id self) { return as<YBXOpener>(self); }

}  // namespace

void registerOpenerClass() {
    ClassBuilder<YBXOpener>("YBXOpener", "NSObject")
        .method(sel::slot, [](id self) { return openerOf(self)->slot_.lock(); })
        .method(sel::setSlot_, [](id self, id slot) { openerOf(self)->slot_ = WeakRef<Object>(slot); })
        .method(sel::delegate, [](id self) { return openerOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { openerOf(self)->delegate_ = WeakRef<Object>(delegate); })
        .method(sel::viewController, [](id self) { return openerOf(self)->viewController_.lock(); })
        .method(sel::setViewController_, [](id self, id controller) { openerOf(self)->viewController_ = WeakRef<Object>(controller); })
        .method(sel::webView, [](id self) { return openerOf(self)->webView_.lock(); })
        .method(sel::setWebView_, [](id self, id view) { openerOf(self)->webView_ = WeakRef<Object>(view); })
        .method(sel::referringURL, [](id self) -> Ref<Object> { return openerOf(self)->referringURL_; })
        .method(sel::setReferringURL_, [](id self, NSURL* url) { openerOf(self)->referringURL_ = Ref<NSURL>(url); })
        .method(sel::navigationURL, [](id self) { return openerOf(self)->navigationURL_; })
        .method(sel::setNavigationURL_, [](id self, Value url) { openerOf(self)->navigationURL_ = url.isString() ? url : Value(); })
        .property<&YBXOpener::autoClickProtected_>(sel::autoClickProtected, sel::setAutoClickProtected_)
        // The destinations themselves come with the opener's own work.
        .method(sel::openApp_, [](id, NSURL*) {})
        .method(sel::openEmailComposer_, [](id, NSURL*) {})
        .method(sel::openSmsComposer_, [](id, NSURL*) {})
        .method(sel::openBrowserToURL_supportedOrientations_, [](id, NSURL*, long long) {})
        .method(sel::openPublisherToolbar_withAdContent_, [](id, Value, Value) {});
}

}  // namespace adlib
