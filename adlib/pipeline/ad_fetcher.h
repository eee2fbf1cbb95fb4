// YBXAdFetcher: loads the content of one ad over a YBXURLConnection and reads
// the ad server's X-Kestra- response headers into the YBXAd (response type,
// tracking URLs, refresh rate, orientation, viewability and swipe settings).
// Used once: its delegate, the slot, hears exactly one outcome unless the
// fetcher is cancelled first. Main thread: the connection delivers on the
// main run loop.
#pragma once

#include "adlib/foundation/timing.h"
#include "adlib/pipeline/ad.h"

namespace adlib {

class YBXAdFetcher : public NSObject {
public:
    ~YBXAdFetcher() override;

    void setUp();
    bool fetchRemainingContent(YBXAd* ad, const Value& headers, id delegate, id request, Ref<Object>* error);
    bool startFetch(NSURL* url, const Value& headers, Ref<Object>* error);
    void cancel();
    void completedURLConnection();
    void resourceFailedToLoad(NSError* error);
    void processHTTPHeaders(const Value& headers);
    unsigned long long responseTypeFromHeaders(const Value& headers, Ref<Object>* error) const;

    // YBXURLConnectionDelegate
    void receivedHeadersOf(id response);
    bool shouldUseCachedResponse(id response);
    void loadDidFinish(id connection, const Value& body, NSURL* baseURL);
    void loadDidFail(NSError* error, long long status);

    bool hasStartedFetch_ = false;
    bool hasNotifiedDelegate_ = false;
    bool adConnectionHasCompleted_ = false;
    Ref<YBXAd> ad_;
    Ref<Object> request_;
    WeakRef<Object> delegate_;
    Ref<YBXTiming> timer_;
    Ref<Object> adConnection_;

private:
    void tellFetched();
    void tellFailed(NSError* error);
};

// The value of a header, its name compared without regard to case; nil when absent.
Value YBXHeaderValue(const Value& headers, std::string_view name);

void registerAdFetcherClass();

}  // namespace adlib
