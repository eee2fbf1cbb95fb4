// YBXAdURLStash: which ad web view shows which page, so that a request the
// page makes (found by its referer) can be traced to its web view. Keys are
// canonical URLs: an address without port gets ":80" after its host and
// loses its fragment and a trailing "/", so the forms a page is known by
// meet. The stash never keeps a web view alive. Any thread (one lock).
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/network/url.h"

namespace adlib {

struct YBXAdURLStash {
    static Ref<NSURL> canonicalURLForURL(NSURL* url);
    static void add(NSURL* url, id view);
    static void remove(NSURL* url);
    static Ref<Object> viewForURL(NSURL* url);
    static bool hasStashedURLs();
};

void registerAdURLStashClass();

}  // namespace adlib
