#include "adlib/render/bad_ad_util.h"

namespace adlib {

void registerBadAdUtilClass() {
    ClassBuilder<NSObject>("YBXBadAdUtil", "NSObject")
        .classMethod(sel::sharedInstance,
                     [](id) {
                         static Ref<Object> shared = sel::init(alloc("YBXBadAdUtil"));
                         return shared;
                     })
        .method(sel::reportBadAd_, [](id, Value) {});
}

}  // namespace adlib
