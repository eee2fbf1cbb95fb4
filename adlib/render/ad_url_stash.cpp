#include "adlib/render/ad_url_stash.h"

#include <map>
#include <mutex>
#include <string>

#include "platform/foundation/lock.h"

namespace adlib {

namespace {

struct Stash {
    Ref<NSLock> urlStashLock = NSLock::make();
    std::map<std::string, WeakRef<Object>> views;  // canonical URL text -> web view
};

Stash& stash() {
    static Stash* shared = new Stash();  // kept for the process: protocol threads may outlive main's exit
    return *shared;
}

std::string keyFor(NSURL* url) {
    Ref<NSURL> canonical = YBXAdURLStash::canonicalURLForURL(url);
    return canonical ? canonical->absoluteString() : std::string();
}

}  // namespace

Ref<NSURL> YBXAdURLStash::canonicalURLForURL(NSURL* url) {
    if (!url) return nullptr;
    if (url->port() || url->host().empty()) return Ref<NSURL>(url);
    std::string text = url->absoluteString();
    // Only the authority's host gets the port: the same text later in the path or query stays as it is.
    const std::size_t authority = text.find("//");
    const std::size_t at = text.find(url->host(), authority == std::string::npos ? 0 : authority + 2);
    if (at != std::string::npos) text.insert(at + url->host().size(), ":80");
    if (const std::size_t hash = text.rfind('#'); hash != std::string::npos) text.erase(hash);
    if (!text.empty() && text.back() == '/') text.pop_back();
    return NSURL::URLWithString(text);
}

void YBXAdURLStash::add(NSURL* url, id view) {
    const std::string key = keyFor(url);
    if (key.empty() || !view) return;
    std::lock_guard lock(*stash().urlStashLock);
    stash().views[key] = WeakRef<Object>(view);
}

void YBXAdURLStash::remove(NSURL* url, id view) {
    const std::string key = keyFor(url);
    if (key.empty()) return;
    std::lock_guard lock(*stash().urlStashLock);
    auto found = stash().views.find(key);
    if (found == stash().views.end()) return;
    // A view on its way out can no longer be locked: an entry whose view is gone goes too.
    Ref<Object> owner = found->second.lock();
    if (!owner || owner.get() == view) stash().views.erase(found);
}

Ref<Object> YBXAdURLStash::viewForURL(NSURL* url) {
    const std::string key = keyFor(url);
    if (key.empty()) return nullptr;
    std::lock_guard lock(*stash().urlStashLock);
    auto found = stash().views.find(key);
    return found == stash().views.end() ? nullptr : found->second.lock();
}

bool YBXAdURLStash::hasStashedURLs() {
    std::lock_guard lock(*stash().urlStashLock);
    return !stash().views.empty();
}

void registerAdURLStashClass() {
    ClassBuilder<NSObject>("YBXAdURLStash", "NSObject")
        .classMethod(sel::add_forView_, [](id, NSURL* url, id view) { YBXAdURLStash::add(url, view); })
        .classMethod(sel::remove_forView_, [](id, NSURL* url, id view) { YBXAdURLStash::remove(url, view); })
        .classMethod(sel::viewForURL_, [](id, NSURL* url) { return YBXAdURLStash::viewForURL(url); })
        .classMethod(sel::hasStashedURLs, [](id) { return YBXAdURLStash::hasStashedURLs(); })
        .classMethod(sel::canonicalURLForURL_, [](id, NSURL* url) -> Ref<Object> { return YBXAdURLStash::canonicalURLForURL(url); });
}

}  // namespace adlib
