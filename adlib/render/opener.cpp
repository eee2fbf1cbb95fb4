#include "adlib/render/opener.h"

namespace adlib {

void registerOpenerClass() {
    ClassBuilder<YBXOpener>("YBXOpener", "NSObject")
        .method(sel::slot, [](id self) { return as<YBXOpener>(self)->slot_.lock(); })
        .method(sel::setSlot_, [](id self, id slot) { as<YBXOpener>(self)->slot_ = WeakRef<Object>(slot); })
        .method(sel::delegate, [](id self) { return as<YBXOpener>(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { as<YBXOpener>(self)->delegate_ = WeakRef<Object>(delegate); })
        .property<&YBXOpener::autoClickProtected_>(sel::autoClickProtected, sel::setAutoClickProtected_);
}

}  // namespace adlib
