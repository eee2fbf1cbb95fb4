// YBXAdURLStash: which ad web view shows which page, so that a request the
// page makes (found by its referer) can be traced to its web view. Keys are
// canonical URLs: an address without port gets ":80" after its host and
// loses its fragment and a trailing "/", so the forms a page is known by
// meet. The stash never keeps a web view alive; a lookup hands out a strong
// reference taken under the stash's lock. Any thread (one lock, `urlStashLock`).
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/network/url.h"

namespace adlib {

struct YBXAdURLStash {
    // Null for no URL, and for a canonical form that does not parse.
    static Ref<NSURL> canonicalURLForURL(NSURL* url);
    static void add(NSURL* url, id view);
    // Removes the entry only when it is this view's (or its view is gone):
    // two views of one URL must not delete each other's entry.
    static void remove(NSURL* url, id view);
    static Ref<Object> viewForURL(NSURL* url);
    static bool hasStashedURLs();
};

void registerAdURLStashClass();

}  // namespace adlib
