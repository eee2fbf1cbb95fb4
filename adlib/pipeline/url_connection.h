// YBXURLConnection: one HTTP load on the main run loop (a GET, or a POST with
// a body), telling its weak delegate of every redirect and handing it the body
// as text; and the process-wide memory cache of responses (YBXCachedURLResponse)
// that a delegate may ask to be served from. A connection is idle, then in
// progress until it finishes, fails or is stopped, and may then start again.
// Main thread only; the memory cache may be read from any thread.
#pragma once

#include <functional>
#include <string>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/cache.h"
#include "platform/network/connection.h"
#include "platform/network/request.h"
#include "platform/network/response.h"

namespace adlib {

class YBXCachedURLResponse : public NSObject {
public:
    // Null when the response, the data or the expiration date is missing.
    static Ref<YBXCachedURLResponse> make(NSURLResponse* response, const Value& data, const Value& expirationDate, NSURL* destinationURL);

    NSURLResponse* response() const { return cached_ ? cached_->response() : nullptr; }
    const Data& data() const;
    Date expirationDate() const { return expirationDate_; }
    NSURL* destinationURL() const { return destinationURL_.get(); }

private:
    bool setUp(NSURLResponse* response, const Value& data, const Value& expirationDate, NSURL* destinationURL);
    friend void registerURLConnectionClasses();
    Ref<NSCachedURLResponse> cached_;
    Date expirationDate_;
    Ref<NSURL> destinationURL_;
};

class YBXURLConnection : public NSObject {
public:
    ~YBXURLConnection() override;

    // `data` bytes or nil, `type` a string or nil; `error` may be null.
    bool start(NSURL* url, const Value& data, const Value& type, id delegate, Ref<Object>* error);
    void stop();
    void cancel();

    Ref<NSMutableURLRequest> requestForURL(NSURL* url, const Value& data, const Value& type) const;
    // The unexpired entry for the URL; an expired one is removed.
    Ref<YBXCachedURLResponse> cachedResponseForURL(NSURL* url) const;
    bool tryToStoreResponseAndData();

    static NSCache* memoryCache();
    static void clearCache();
    static std::string cacheKeyForURL(const NSURL* url);
    // The app's Caches folder with "Marlex" appended; nil without one.
    static Value defaultCachePath();

    // The platform connection's delegate calls.
    Ref<NSURLRequest> willSendRequest(NSURLConnection* connection, NSURLRequest* request, NSURLResponse* redirectResponse);
    void receivedResponse(NSURLConnection* connection, NSURLResponse* response);
    void receivedData(NSURLConnection* connection, const Data& data);
    void finished(NSURLConnection* connection);
    void failed(NSURLConnection* connection, NSError* error);

    bool isInProgress_ = false;
    bool allowCache_ = false;
    Ref<NSURL> sourceURL_;
    Ref<NSURL> destinationURL_;
    WeakRef<Object> delegate_;
    Ref<NSURLConnection> connection_;
    Ref<NSURLResponse> response_;
    Data receivedData_;

private:
    // Serves the entry: the cached-response call, then the finish. The
    // delegate is read once, so the pair goes to one delegate.
    void serveCached(YBXCachedURLResponse* cached);
    void tellFailed(NSError* error, long long status);
    // Ends the load around the delegate's last call.
    void endLoad(const std::function<void()>& tell);

    unsigned long long loads_ = 0;  // loads started, to see a restart from a callback
};

void registerURLConnectionClasses();

}  // namespace adlib
