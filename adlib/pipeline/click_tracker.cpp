#include "adlib/pipeline/click_tracker.h"

#include <algorithm>

#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/ad.h"
#include "platform/foundation/dispatch.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/run_loop.h"

namespace adlib {

namespace {

YBXClickTracker* trackerOf(id self) { return as<YBXClickTracker>(self); }
YBXClickTrackerCollection* collectionOf(id self) { return as<YBXClickTrackerCollection>(self); }

bool schemeBeginsWithHTTP(const NSURL* url) { return url && lowercaseString(url->scheme()).starts_with("http"); }

}  // namespace

bool YBXIsTrackableURL(const NSURL* url) {
    if (!url) return false;
    const std::string scheme = lowercaseString(url->scheme());
    return scheme == "http" || scheme == "https";
}

YBXClickTracker::~YBXClickTracker() {
    if (tracker_) {
        tracker_->delegate_ = nullptr;
        tracker_->invalidate();
    }
    endBackgroundTask();
}

void YBXClickTracker::trackURL(NSURL* url) {
    reset();
    // Only web URLs are pinged: a creative's "file:" or app link loads nothing.
    if (!YBXIsTrackableURL(url)) return;
    beginBackgroundTask();
    tracker_ = as<YBXCachedFile>(sel::initWithURL_(alloc("YBXCachedFile"), url).get());
    if (!tracker_) return;
    tracker_->delegate_ = this;
    if (!cacheEnabled_) sel::setCachePolicy_(tracker_.get(), NSURLRequestReloadIgnoringLocalCacheData);
    sel::validate(tracker_.get());
}

void YBXClickTracker::reset() {
    hasTracked_ = false;
    if (Ref<YBXCachedFile> file = std::move(tracker_)) {
        file->delegate_ = nullptr;
        file->invalidate();
    }
    endBackgroundTask();
}

void YBXClickTracker::beginBackgroundTask() {
    WeakRef<YBXClickTracker> weak(this);
    backgroundTaskID_ = UIApplication::sharedApplication()->beginBackgroundTaskWithExpirationHandler([weak] {
        if (Ref<YBXClickTracker> tracker = weak.lock()) tracker->expire();
    });
}

void YBXClickTracker::endBackgroundTask() {
    if (backgroundTaskID_ == UIBackgroundTaskInvalid) return;
    UIBackgroundTaskIdentifier task = std::exchange(backgroundTaskID_, UIBackgroundTaskInvalid);
    UIApplication::sharedApplication()->endBackgroundTask(task);
}

void YBXClickTracker::expire() {
    Ref<YBXClickTracker> protector(this);
    reset();
    // A ping that never finished has still ended: its owner may let it go.
    hasTracked_ = true;
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::tracker_didFailWithError_.name))
        sel::tracker_didFailWithError_(delegate.get(), this, nullptr);
}

Ref<NSError> YBXClickTracker::shouldRedirectToURL(YBXCachedFile* file, NSURL* url) {
    if (schemeBeginsWithHTTP(url)) return nullptr;
    // A redirect into an app or store link is never followed: the ping has done its work.
    downloadDidEnd(file);
    return NSError::errorWithDomain(std::string(kYBXErrorDomain), 0);
}

void YBXClickTracker::downloadDidEnd(YBXCachedFile* file) {
    if (hasTracked_) return;
    Ref<YBXClickTracker> protector(this);
    hasTracked_ = true;
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::tracker_didRedirect_.name))
        sel::tracker_didRedirect_(delegate.get(), this, file ? file->HTTPDestinationURL_.get() : nullptr);
    endBackgroundTask();
}

void YBXClickTracker::downloadDidFail(YBXCachedFile*, NSError* error) {
    if (hasTracked_) return;
    Ref<YBXClickTracker> protector(this);
    hasTracked_ = true;
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::tracker_didFailWithError_.name))
        sel::tracker_didFailWithError_(delegate.get(), this, error);
    endBackgroundTask();
}

YBXClickTrackerCollection::~YBXClickTrackerCollection() {
    for (const Ref<YBXClickTracker>& tracker : trackers_) tracker->reset();
}

YBXClickTrackerCollection* YBXClickTrackerCollection::sharedInstance() {
    static YBXClickTrackerCollection* shared = as<YBXClickTrackerCollection>(sel::init(alloc("YBXClickTrackerCollection")).leak());
    return shared;
}

void YBXClickTrackerCollection::trackURLs(const Value& urls, bool cacheEnabled) {
    for (const Value& element : urls.array()) {
        Ref<NSURL> url = element.isString() ? YBXURLFromValue(element) : Ref<NSURL>(element.objectAs<NSURL>());
        if (url) trackURL(url.get(), cacheEnabled);
    }
}

void YBXClickTrackerCollection::trackURL(NSURL* url, bool cacheEnabled) {
    if (!YBXIsTrackableURL(url)) return;
    if (!NSThread::isMainThread()) {
        Ref<YBXClickTrackerCollection> self(this);
        Ref<NSURL> held(url);
        dispatch_async(dispatch_get_main_queue(), [self, held, cacheEnabled] { self->trackURL(held.get(), cacheEnabled); });
        return;
    }
    Ref<YBXClickTracker> tracker = as<YBXClickTracker>(sel::init(alloc("YBXClickTracker")).get());
    if (!tracker) return;
    tracker->delegate_ = this;
    tracker->cacheEnabled_ = cacheEnabled;
    trackers_.push_back(tracker);
    tracker->trackURL(url);
}

void YBXClickTrackerCollection::cleanupTrackers() {
    std::erase_if(trackers_, [](const Ref<YBXClickTracker>& tracker) {
        if (!tracker->hasTracked_) return false;
        tracker->delegate_ = nullptr;
        return true;
    });
}

void YBXClickTrackerCollection::scheduleCleanup() {
    Ref<YBXClickTrackerCollection> self(this);
    dispatch_async(dispatch_get_main_queue(), [self] { self->cleanupTrackers(); });
}

void registerClickTrackerClasses() {
    ClassBuilder<YBXClickTracker>("YBXClickTracker", "NSObject")
        .protocol("YBXCachedFileDelegate")
        .method(sel::trackURL_, [](id self, NSURL* url) { trackerOf(self)->trackURL(url); })
        .method(sel::reset, [](id self) { trackerOf(self)->reset(); })
        .method(sel::beginBackgroundTask, [](id self) { trackerOf(self)->beginBackgroundTask(); })
        .method(sel::endBackgroundTask, [](id self) { trackerOf(self)->endBackgroundTask(); })
        .method(sel::delegate, [](id self) { return trackerOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { trackerOf(self)->delegate_ = delegate; })
        .property<&YBXClickTracker::hasTracked_>(sel::hasTracked, sel::setHasTracked_)
        .property<&YBXClickTracker::cacheEnabled_>(sel::cacheEnabled, sel::setCacheEnabled_)
        .getter<&YBXClickTracker::backgroundTaskID_>(sel::backgroundTaskID)
        .method(sel::cachedFile_shouldRedirectToURL_,
                [](id self, id file, NSURL* url) { return Ref<Object>(trackerOf(self)->shouldRedirectToURL(as<YBXCachedFile>(file), url)); })
        .method(sel::cachedFileDownloadDidEnd_, [](id self, id file) { trackerOf(self)->downloadDidEnd(as<YBXCachedFile>(file)); })
        .method(sel::cachedFile_downloadDidFail_,
                [](id self, id file, id error) { trackerOf(self)->downloadDidFail(as<YBXCachedFile>(file), as<NSError>(error)); });

    ClassBuilder<YBXClickTrackerCollection>("YBXClickTrackerCollection", "NSObject")
        .protocol("YBXClickTrackerDelegate")
        .classMethod(sel::sharedInstance, [](id) { return Ref<Object>(YBXClickTrackerCollection::sharedInstance()); })
        .method(sel::trackURLs_cacheEnabled_, [](id self, Value urls, bool cacheEnabled) { collectionOf(self)->trackURLs(urls, cacheEnabled); })
        .method(sel::trackURL_cacheEnabled_, [](id self, NSURL* url, bool cacheEnabled) { collectionOf(self)->trackURL(url, cacheEnabled); })
        .method(sel::trackURL_, [](id self, NSURL* url) { collectionOf(self)->trackURL(url, true); })
        .method(sel::tracker_didRedirect_, [](id self, id, NSURL*) { collectionOf(self)->scheduleCleanup(); })
        .method(sel::tracker_didFailWithError_, [](id self, id, id) { collectionOf(self)->scheduleCleanup(); })
        .method(sel::cleanupTrackers, [](id self) { collectionOf(self)->cleanupTrackers(); })
        .method(sel::trackers, [](id self) {
            Value::Array trackers;
            for (const Ref<YBXClickTracker>& tracker : collectionOf(self)->trackers_) trackers.emplace_back(tracker);
            return Value(std::move(trackers));
        });
}

}  // namespace adlib
