// YBXClickTrackerCollection: the process's one owner of fire-and-forget pings
// (clicks, impressions, mediation and purchase reports). Each URL gets a
// YBXClickTracker, which loads it through a YBXCachedFile inside a background
// task of the application and is kept until its ping has ended. The set of
// trackers is touched on the main thread only: a ping asked for on another
// thread is started on the main queue.
#pragma once

#include <vector>

#include "adlib/foundation/cached_file.h"
#include "adlib/foundation/selectors.h"
#include "platform/uikit/application.h"

namespace adlib {

class YBXClickTracker : public NSObject {
public:
    ~YBXClickTracker() override;

    void trackURL(NSURL* url);
    void reset();
    void beginBackgroundTask();
    void endBackgroundTask();

    // YBXCachedFileDelegate
    Ref<NSError> shouldRedirectToURL(YBXCachedFile* file, NSURL* url);
    void downloadDidEnd(YBXCachedFile* file);
    void downloadDidFail(YBXCachedFile* file, NSError* error);

    UIBackgroundTaskIdentifier backgroundTaskID_ = UIBackgroundTaskInvalid;
    Ref<YBXCachedFile> tracker_;
    bool hasTracked_ = false;
    bool cacheEnabled_ = true;
    WeakRef<Object> delegate_;

private:
    // The background time ran out: the ping is dropped and counts as ended.
    void expire();
};

class YBXClickTrackerCollection : public NSObject {
public:
    ~YBXClickTrackerCollection() override;

    static YBXClickTrackerCollection* sharedInstance();

    void trackURLs(const Value& urls, bool cacheEnabled);
    void trackURL(NSURL* url, bool cacheEnabled);
    // Drops every tracker whose ping has ended.
    void cleanupTrackers();
    // Posts cleanupTrackers to the main queue.
    void scheduleCleanup();

    std::vector<Ref<YBXClickTracker>> trackers_;
};

// Whether pings may load the URL: only web URLs are tracked.
bool YBXIsTrackableURL(const NSURL* url);

void registerClickTrackerClasses();

}  // namespace adlib
