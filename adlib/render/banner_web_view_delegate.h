// YBXBannerWebViewDelegate: the delegate of a slot's ad web view. So far it
// keeps its slot weakly and owns the opener that the slot's clicks go
// through. Main thread.
#pragma once

#include "adlib/render/web_view_delegate.h"

namespace adlib {

class YBXBannerWebViewDelegate : public YBXWebViewDelegate {
public:
    ~YBXBannerWebViewDelegate() override;

    WeakRef<Object> slot_;
    Ref<Object> opener_;
};

void registerBannerWebViewDelegateClass();

}  // namespace adlib
