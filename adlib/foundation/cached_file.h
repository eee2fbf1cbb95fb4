// YBXCachedFile: one remote resource kept as a file under the app's Caches
// folder and revalidated with a conditional GET. At most one fetch runs at a
// time; its outcome goes to the weak delegate exactly once. Main thread only:
// the fetch is scheduled on the main run loop.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/date_formatter.h"
#include "platform/network/connection.h"
#include "platform/network/response.h"
#include "platform/network/url.h"

namespace adlib {

namespace sel {
// YBXCachedFileDelegate, every method optional.
inline constexpr Sel<void(id, id)> cachedFileDownloadDidEnd_{"cachedFileDownloadDidEnd:"};
inline constexpr Sel<void(id, id, id)> cachedFile_downloadDidFail_{"cachedFile:downloadDidFail:"};
// (file, new URL) an error stops the fetch, nil lets it go on.
inline constexpr Sel<Ref<Object>(id, id, NSURL*)> cachedFile_shouldRedirectToURL_{"cachedFile:shouldRedirectToURL:"};

inline constexpr Sel<Ref<Object>(id, NSURL*)> initWithURL_{"initWithURL:"};
inline constexpr Sel<void(id)> validate{"validate"};
inline constexpr Sel<void(id)> validateWithCacheBuster{"validateWithCacheBuster"};
inline constexpr Sel<void(id, id, NSURL*)> validateWithDelegate_URL_{"validateWithDelegate:URL:"};
inline constexpr Sel<void(id)> invalidate{"invalidate"};
inline constexpr Sel<void(id)> clear{"clear"};
inline constexpr Sel<bool(id)> fileExists{"fileExists"};
inline constexpr Sel<Value(id)> fileModificationDate{"fileModificationDate"};
inline constexpr Sel<Value(id)> contentAsData{"contentAsData"};
inline constexpr Sel<Value(id)> contentAsString{"contentAsString"};
inline constexpr Sel<Ref<Object>(id)> contentAsImage{"contentAsImage"};
inline constexpr Sel<Ref<Object>(id)> HTTPDestinationURL{"HTTPDestinationURL"};
inline constexpr Sel<long long(id)> HTTPStatusCode{"HTTPStatusCode"};
inline constexpr Sel<Value(id)> HTTPHeaders{"HTTPHeaders"};
inline constexpr Sel<unsigned long long(id)> cachePolicy{"cachePolicy"};
inline constexpr Sel<void(id, unsigned long long)> setCachePolicy_{"setCachePolicy:"};
inline constexpr Sel<Value(id)> filePath{"filePath"};
inline constexpr Sel<Ref<Object>(id)> formatterForHTTPDate{"formatterForHTTPDate"};
inline constexpr Sel<Value(id, id)> headersForResponse_{"headersForResponse:"};
}  // namespace sel

class YBXCachedFile : public NSObject {
public:
    static Ref<YBXCachedFile> make(NSURL* url);

    // "EEE, dd MMM yyyy HH:mm:ss" in en_US_POSIX and GMT, made once.
    static NSDateFormatter* formatterForHTTPDate();
    // Every header field of an HTTP response; nil for any other response.
    static Value headersForResponse(const NSURLResponse* response);

    void setUp(NSURL* url);
    void validate() { beginFetch(false); }
    void validateWithCacheBuster() { beginFetch(true); }
    void validateWithDelegate(id delegate, NSURL* url);
    void cancel() { cleanUp(); }
    void invalidate();
    void clear();

    const std::string& filePath();
    bool fileExists();
    // The file's modification time in the HTTP date form; nil when it cannot be read.
    Value fileModificationDate();
    Value contentAsData();
    Value contentAsString();
    Ref<Object> contentAsImage();
    std::string description();
    bool isFetching() const { return connection_ != nullptr; }

    // The connection's delegate calls.
    Ref<NSURLRequest> willSendRequest(NSURLConnection* connection, NSURLRequest* request, NSURLResponse* redirectResponse);
    void receivedResponse(NSURLConnection* connection, NSURLResponse* response);
    void receivedData(NSURLConnection* connection, const Data& data);
    void finished(NSURLConnection* connection);
    void failed(NSURLConnection* connection, NSError* error);

    WeakRef<Object> delegate_;
    Ref<NSURL> sourceURL_;
    unsigned long long cachePolicy_ = NSURLRequestUseProtocolCachePolicy;
    std::string filePath_;
    Ref<NSURL> HTTPDestinationURL_;
    long long HTTPStatusCode_ = 0;
    Value HTTPHeaders_;
    Ref<NSURLConnection> connection_;
    Data receivedData_;
    std::optional<std::string> receivedModificationDate_;

private:
    void beginFetch(bool cacheBuster);
    // Ends a fetch: nothing more arrives from its connection.
    void cleanUp();
    // Writes the received body; the write's error, or null.
    Ref<NSError> saveDataToFile();
    void tellEnded();
    void tellFailed(NSError* error);
};

// FNV-1a over every byte: the same name for one URL in every build.
unsigned long long YBXCachedFileHash(std::string_view text);

void registerCachedFileClass();

}  // namespace adlib
