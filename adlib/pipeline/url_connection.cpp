#include "adlib/pipeline/url_connection.h"

#include <cassert>
#include <functional>

#include "adlib/foundation/connection_factory.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/header_parser.h"
#include "adlib/foundation/request_error.h"
#include "adlib/foundation/string_utilities.h"
#include "adlib/foundation/url_utilities.h"
#include "platform/foundation/file_manager.h"
#include "platform/foundation/format.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/run_loop.h"

namespace adlib {

namespace {

// The memory cache keeps this many responses.
constexpr long long kMemoryCacheCountLimit = 25;

YBXURLConnection* connectionOf(id self) { return as<YBXURLConnection>(self); }
YBXCachedURLResponse* cachedOf(id self) { return as<YBXCachedURLResponse>(self); }

void checkMainThread() { assert(NSThread::isMainThread() && "YBXURLConnection is used on the main thread only"); }

// The body as the delegate gets it: UTF-8 text, nil for other bytes.
Value textOf(const Data& data) {
    std::string text(data.begin(), data.end());
    return isValidUTF8(text) ? Value(std::move(text)) : Value();
}

const Data& noData() {
    static const Data* none = new Data();
    return *none;
}

}  // namespace

Ref<YBXCachedURLResponse> YBXCachedURLResponse::make(NSURLResponse* response, const Value& data, const Value& expirationDate,
                                                     NSURL* destinationURL) {
    Ref<YBXCachedURLResponse> cached = as<YBXCachedURLResponse>(alloc("YBXCachedURLResponse"));
    if (!cached || !cached->setUp(response, data, expirationDate, destinationURL)) return nullptr;
    return cached;
}

bool YBXCachedURLResponse::setUp(NSURLResponse* response, const Value& data, const Value& expirationDate, NSURL* destinationURL) {
    if (!response || data.kind() != Value::Kind::Data || expirationDate.kind() != Value::Kind::Date) return false;
    cached_ = NSCachedURLResponse::make(response, data.data());
    expirationDate_ = expirationDate.date();
    destinationURL_ = destinationURL;
    return cached_ != nullptr;
}

const Data& YBXCachedURLResponse::data() const { return cached_ ? cached_->data() : noData(); }

YBXURLConnection::~YBXURLConnection() { stop(); }

NSCache* YBXURLConnection::memoryCache() {
    // Never destroyed: loads may end while the process ends.
    static NSCache* cache = [] {
        NSCache* made = NSCache::make().leak();
        made->setCountLimit(kMemoryCacheCountLimit);
        return made;
    }();
    return cache;
}

void YBXURLConnection::clearCache() { memoryCache()->removeAllObjects(); }

std::string YBXURLConnection::cacheKeyForURL(const NSURL* url) {
    if (!url) return {};
    // One ad slot's requests share an entry whatever their other parameters.
    Value slot = ybx_parameterValueForKey(url, "slotname");
    std::string text = slot.isString() ? url->host() + url->path() + slot.string() : url->absoluteString();
    return ybx_MD5String(text).stringOr("");
}

Value YBXURLConnection::defaultCachePath() {
    Value caches = NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true);
    if (caches.array().empty() || !caches.array().front().isString()) return Value();
    return Value(caches.array().front().string() + "/Marlex");
}

Ref<NSMutableURLRequest> YBXURLConnection::requestForURL(NSURL* url, const Value& data, const Value& type) const {
    Ref<NSMutableURLRequest> request = NSMutableURLRequest::requestWithURL(url);
    if (!request) return nullptr;
    Value agent = YBXDevice::currentDevice() ? YBXDevice::currentDevice()->userAgentString() : Value();
    if (agent.isString() && !agent.string().empty()) request->setValueForHTTPHeaderField(agent.string(), "User-Agent");
    if (data.kind() == Value::Kind::Data && type.isString()) {
        request->setHTTPMethod("POST");
        request->setHTTPBody(data.data());
        request->setValueForHTTPHeaderField(format("%lu", Value(static_cast<unsigned long long>(data.data().size()))), "Content-Length");
        request->setValueForHTTPHeaderField(type.string(), "Content-Type");
    }
    return request;
}

Ref<YBXCachedURLResponse> YBXURLConnection::cachedResponseForURL(NSURL* url) const {
    const std::string key = cacheKeyForURL(url);
    Ref<YBXCachedURLResponse> cached(as<YBXCachedURLResponse>(memoryCache()->objectForKey(key).object()));
    if (!cached) return nullptr;
    if (cached->expirationDate() > NSDate::date()) return cached;
    memoryCache()->removeObjectForKey(key);
    return nullptr;
}

bool YBXURLConnection::tryToStoreResponseAndData() {
    const auto* http = as<NSHTTPURLResponse>(response_.get());
    // An error page with expiry headers would be served for the slot's later requests.
    if (!http || http->statusCode() < 200 || http->statusCode() > 299) return false;
    std::optional<Date> expiration = ybx_expirationDate(http);
    if (!expiration || *expiration < NSDate::date()) return false;
    Ref<YBXCachedURLResponse> cached = YBXCachedURLResponse::make(response_.get(), Value(receivedData_), Value(*expiration), destinationURL_.get());
    if (!cached) return false;
    memoryCache()->setObject(Value(cached.get()), cacheKeyForURL(sourceURL_.get()));
    return true;
}

bool YBXURLConnection::start(NSURL* url, const Value& data, const Value& type, id delegate, Ref<Object>* error) {
    checkMainThread();
    if (isInProgress_) {
        if (error) {
            Value message(format("Ignoring -- Currently loading %@", sourceURL_ ? sourceURL_->absoluteString() : std::string("(null)")));
            *error = sel::errorWithCode_customMessage_(YBXRequestErrorClass(), YBXErrorCodeNetwork, message);
        }
        return false;
    }
    Ref<YBXURLConnection> protector(this);
    delegate_ = delegate;
    sourceURL_ = url;
    destinationURL_ = url;
    if (allowCache_) {
        if (Ref<YBXCachedURLResponse> cached = cachedResponseForURL(url)) {
            serveCached(cached.get());
            return true;
        }
    }
    Ref<NSMutableURLRequest> request = requestForURL(url, data, type);
    Ref<NSURLConnection> made;
    if (request)
        made = as<NSURLConnection>(
            sel::connectionWithRequest_delegate_startImmediately_(sel::connectionFactory(this).get(), request.get(), this, false).get());
    if (!made) {
        // The connection stays idle, so that a later start can work.
        tellFailed(nullptr, -1);
        sourceURL_ = nullptr;
        destinationURL_ = nullptr;
        return false;
    }
    connection_ = made;
    ++loads_;
    receivedData_.clear();
    made->scheduleInRunLoop(RunLoop::main(), NSRunLoopCommonModes);
    made->start();
    isInProgress_ = true;
    return true;
}

void YBXURLConnection::stop() {
    if (Ref<NSURLConnection> connection = std::move(connection_)) connection->cancel();
    sourceURL_ = nullptr;
    destinationURL_ = nullptr;
    response_ = nullptr;
    receivedData_.clear();
    isInProgress_ = false;
}

void YBXURLConnection::cancel() {
    delegate_ = nullptr;
    stop();
}

void YBXURLConnection::serveCached(YBXCachedURLResponse* cached) {
    Ref<YBXCachedURLResponse> entry(cached);
    Ref<Object> delegate = delegate_.lock();
    if (!delegate) return;
    if (respondsToSelector(delegate.get(), sel::connection_loadDidReceiveCachedResponse_.name))
        sel::connection_loadDidReceiveCachedResponse_(delegate.get(), this, entry.get());
    if (respondsToSelector(delegate.get(), sel::connection_loadDidFinish_baseURL_.name))
        sel::connection_loadDidFinish_baseURL_(delegate.get(), this, textOf(entry->data()), entry->destinationURL());
}

void YBXURLConnection::tellFailed(NSError* error, long long status) {
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::connection_loadDidFail_httpStatusCode_.name))
        sel::connection_loadDidFail_httpStatusCode_(delegate.get(), this, error, status);
}

Ref<NSURLRequest> YBXURLConnection::willSendRequest(NSURLConnection* connection, NSURLRequest* request, NSURLResponse* redirectResponse) {
    if (connection != connection_.get() || !redirectResponse) return Ref<NSURLRequest>(request);
    Ref<YBXURLConnection> protector(this);
    Ref<NSURL> target(request ? request->URL() : nullptr);
    Ref<Object> delegate = delegate_.lock();
    Ref<NSError> refusal;
    if (delegate && respondsToSelector(delegate.get(), sel::connection_shouldRedirectToURL_.name))
        refusal = as<NSError>(sel::connection_shouldRedirectToURL_(delegate.get(), this, target.get()));
    if (refusal) {
        // Nothing is told after the failure: the load has ended.
        stop();
        tellFailed(refusal.get(), -1);
        return nullptr;
    }
    destinationURL_ = target;
    if (delegate && respondsToSelector(delegate.get(), sel::connection_loadDidReceiveRedirectResponse_.name))
        sel::connection_loadDidReceiveRedirectResponse_(delegate.get(), this, redirectResponse);
    if (connection != connection_.get()) return nullptr;  // the delegate stopped the load
    return Ref<NSURLRequest>(request);
}

void YBXURLConnection::receivedResponse(NSURLConnection* connection, NSURLResponse* response) {
    if (connection != connection_.get()) return;
    Ref<YBXURLConnection> protector(this);
    response_ = response;
    receivedData_.clear();
    Ref<Object> delegate = delegate_.lock();
    if (!delegate || !respondsToSelector(delegate.get(), sel::connection_loadShouldUseCachedResponse_.name)) return;
    if (!sel::connection_loadShouldUseCachedResponse_(delegate.get(), this, response)) return;
    allowCache_ = true;
    if (Ref<YBXCachedURLResponse> cached = cachedResponseForURL(sourceURL_.get())) endLoad([&] { serveCached(cached.get()); });
}

void YBXURLConnection::receivedData(NSURLConnection* connection, const Data& data) {
    if (connection != connection_.get()) return;
    receivedData_.insert(receivedData_.end(), data.begin(), data.end());
}

void YBXURLConnection::finished(NSURLConnection* connection) {
    if (connection != connection_.get()) return;
    Ref<YBXURLConnection> protector(this);
    if (allowCache_) tryToStoreResponseAndData();
    Value text = textOf(receivedData_);
    Ref<NSURL> base = destinationURL_;
    endLoad([&] {
        Ref<Object> delegate = delegate_.lock();
        if (delegate && respondsToSelector(delegate.get(), sel::connection_loadDidFinish_baseURL_.name))
            sel::connection_loadDidFinish_baseURL_(delegate.get(), this, text, base.get());
    });
}

void YBXURLConnection::failed(NSURLConnection* connection, NSError* error) {
    if (connection != connection_.get()) return;
    Ref<YBXURLConnection> protector(this);
    Ref<NSError> held(error);
    const auto* http = as<NSHTTPURLResponse>(response_.get());
    const long long status = http ? http->statusCode() : -1;
    endLoad([&] { tellFailed(held.get(), status); });
}

void YBXURLConnection::endLoad(const std::function<void()>& tell) {
    // Idle while the delegate hears the end, which may start the next load;
    // the response stays readable until then.
    connection_ = nullptr;
    isInProgress_ = false;
    const unsigned long long load = loads_;
    tell();
    if (load == loads_) stop();
}

void registerURLConnectionClasses() {
    ClassBuilder<YBXCachedURLResponse>("YBXCachedURLResponse", "NSObject")
        .method(sel::initWithResponse_data_expirationDate_destinationURL_,
                [](id self, id response, Value data, Value expirationDate, NSURL* destinationURL) -> Ref<Object> {
                    if (!cachedOf(self)->setUp(as<NSURLResponse>(response), data, expirationDate, destinationURL)) return nullptr;
                    return Ref<Object>(self);
                })
        .method(sel::response, [](id self) { return Ref<Object>(cachedOf(self)->response()); })
        .method(sel::data, [](id self) { return cachedOf(self)->response() ? Value(cachedOf(self)->data()) : Value(); })
        .method(sel::expirationDate, [](id self) { return cachedOf(self)->response() ? Value(cachedOf(self)->expirationDate()) : Value(); })
        .method(sel::destinationURL, [](id self) { return Ref<Object>(cachedOf(self)->destinationURL()); });

    ClassBuilder<YBXURLConnection>("YBXURLConnection", "NSObject")
        .protocol("NSURLConnectionDelegate")
        .method(sel::startWithURL_withData_andType_forDelegate_error_,
                [](id self, NSURL* url, Value data, Value type, id delegate, Ref<Object>* error) {
                    return connectionOf(self)->start(url, data, type, delegate, error);
                })
        .method(sel::startWithURL_withData_andType_forDelegate_,
                [](id self, NSURL* url, Value data, Value type, id delegate) {
                    return sel::startWithURL_withData_andType_forDelegate_error_(self, url, data, type, delegate, nullptr);
                })
        .method(sel::startWithURL_forDelegate_error_,
                [](id self, NSURL* url, id delegate, Ref<Object>* error) {
                    return sel::startWithURL_withData_andType_forDelegate_error_(self, url, Value(), Value(), delegate, error);
                })
        .method(sel::startWithURL_forDelegate_,
                [](id self, NSURL* url, id delegate) {
                    return sel::startWithURL_withData_andType_forDelegate_error_(self, url, Value(), Value(), delegate, nullptr);
                })
        .method(sel::stop, [](id self) { connectionOf(self)->stop(); })
        .method(sel::cancel, [](id self) { connectionOf(self)->cancel(); })
        .method(sel::requestForURL_withData_andType_,
                [](id self, NSURL* url, Value data, Value type) { return Ref<Object>(connectionOf(self)->requestForURL(url, data, type)); })
        .method(sel::cachedResponseForURL_, [](id self, NSURL* url) { return Ref<Object>(connectionOf(self)->cachedResponseForURL(url)); })
        .method(sel::tryToStoreResponseAndData, [](id self) { return connectionOf(self)->tryToStoreResponseAndData(); })
        .method(sel::connectionFactory, [](id) { return sharedConnectionFactory(); })
        .method(sel::isInProgress, [](id self) { return connectionOf(self)->isInProgress_; })
        .method(sel::allowCache, [](id self) { return connectionOf(self)->allowCache_; })
        .method(sel::setAllowCache_, [](id self, bool allow) { connectionOf(self)->allowCache_ = allow; })
        .method(sel::sourceURL, [](id self) { return Ref<Object>(connectionOf(self)->sourceURL_); })
        .method(sel::destinationURL, [](id self) { return Ref<Object>(connectionOf(self)->destinationURL_); })
        .method(sel::delegate, [](id self) { return connectionOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { connectionOf(self)->delegate_ = delegate; })
        .method(sel::connection, [](id self) { return Ref<Object>(connectionOf(self)->connection_); })
        .method(sel::response, [](id self) { return Ref<Object>(connectionOf(self)->response_); })
        .method(sel::receivedData, [](id self) { return connectionOf(self)->connection_ ? Value(connectionOf(self)->receivedData_) : Value(); })
        .classMethod(sel::memoryCache, [](id) { return Ref<Object>(YBXURLConnection::memoryCache()); })
        .classMethod(sel::clearCache, [](id) { YBXURLConnection::clearCache(); })
        .classMethod(sel::cacheKeyForURL_, [](id, NSURL* url) { return YBXURLConnection::cacheKeyForURL(url); })
        .classMethod(sel::defaultCachePath, [](id) { return YBXURLConnection::defaultCachePath(); })
        .method(sel::connection_willSendRequest_redirectResponse_,
                [](id self, id connection, id request, id redirect) {
                    return Ref<Object>(connectionOf(self)->willSendRequest(as<NSURLConnection>(connection), as<NSURLRequest>(request),
                                                                           as<NSURLResponse>(redirect)));
                })
        .method(sel::connection_didReceiveResponse_,
                [](id self, id connection, id response) {
                    connectionOf(self)->receivedResponse(as<NSURLConnection>(connection), as<NSURLResponse>(response));
                })
        .method(sel::connection_didReceiveData_,
                [](id self, id connection, Value data) {
                    if (data.kind() == Value::Kind::Data) connectionOf(self)->receivedData(as<NSURLConnection>(connection), data.data());
                })
        .method(sel::connectionDidFinishLoading_, [](id self, id connection) { connectionOf(self)->finished(as<NSURLConnection>(connection)); })
        .method(sel::connection_didFailWithError_,
                [](id self, id connection, id error) { connectionOf(self)->failed(as<NSURLConnection>(connection), as<NSError>(error)); });
}

}  // namespace adlib
