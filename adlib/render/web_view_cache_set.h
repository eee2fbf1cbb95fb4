// YBXWebViewCacheSet: the cache of inner web views that YBXWebView draws on.
// A returned view is blanked first, on the main queue, at most three at
// once; only a view whose page came out empty is kept. Storage is the base
// class's (bounded, any thread); the blanking is main-thread only.
#pragma once

#include <vector>

#include "adlib/foundation/cache_set.h"
#include "platform/network/request.h"

namespace adlib {

inline constexpr std::size_t kYBXMaxWebViewsBlankedAtOnce = 3;

class YBXWebViewCacheSet : public YBXCacheSet {
public:
    ~YBXWebViewCacheSet() override;

    void returnWebView(id view);
    void clearWebView(id view);
    bool shouldStartLoad(NSURLRequest* request) const;
    void blankingEnded(id view, bool loaded);

    std::vector<Ref<Object>> clearingWebViews_;  // main thread
};

void registerWebViewCacheSetClass();

}  // namespace adlib
