#include "adlib/pipeline/ad_fetcher.h"

#include <array>

#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "adlib/foundation/string_utilities.h"
#include "platform/foundation/format.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/operation_queue.h"
#include "platform/foundation/user_defaults.h"
#include "platform/network/response.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXAdFetcher* fetcherOf(id self) { return as<YBXAdFetcher>(self); }

constexpr std::string_view kWhiteSpace = " \t\r\n";

// A header's truth value: a text beginning with 1, t or y (after white
// space, sign and zeros) or a non-zero number; absent is false.
bool truthOf(const Value& headers, std::string_view name) { return YBXHeaderValue(headers, name).boolValue(); }

// A header's text; nil when absent or not a text.
Value textOf(const Value& headers, std::string_view name) {
    Value value = YBXHeaderValue(headers, name);
    return value.isString() ? value : Value();
}

bool isPresent(const Value& value) { return value.isNumber() || (value.isString() && !value.string().empty()); }

// The header's pieces between white space that make URLs; nil when none does.
Value URLListOf(const Value& headers, std::string_view name) {
    Value text = textOf(headers, name);
    if (text.isNil()) return Value();
    std::string_view rest = text.string();
    Value::Array urls;
    while (!rest.empty()) {
        std::size_t start = rest.find_first_not_of(kWhiteSpace);
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        std::size_t end = std::min(rest.find_first_of(kWhiteSpace), rest.size());
        Ref<NSURL> url = NSURL::URLWithString(rest.substr(0, end));
        if (url && !url->absoluteString().empty()) urls.emplace_back(url);
        rest.remove_prefix(end);
    }
    return urls.empty() ? Value() : Value(std::move(urls));
}

long long orientationOf(const Value& text) {
    if (text == Value("any")) return 1;
    if (text == Value("portrait")) return 2;
    if (text == Value("landscape")) return 3;
    return 0;
}

NSHTTPURLResponse* HTTPResponseOf(id response) {
    if (auto* http = as<NSHTTPURLResponse>(response)) return http;
    // A cached response reads its platform response through.
    if (response && respondsToSelector(response, sel::response.name)) return as<NSHTTPURLResponse>(sel::response(response).get());
    return nullptr;
}

// Every set of the user defaults is written to disk: a value that is there
// already is not written again.
void storeInDefaults(const Value& value, std::string_view key) {
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    const Value stored = defaults->objectForKey(key);
    if (stored.kind() == value.kind() && stored == value) return;
    defaults->setObject(value, key);
}

Ref<NSError> requestError(long long code, id request, long long status = 0) {
    return as<NSError>(sel::errorWithCode_request_HTTPStatusCode_(YBXRequestErrorClass(), code, request, status));
}

}  // namespace

Value YBXHeaderValue(const Value& headers, std::string_view name) {
    const Value& exact = headers[name];
    if (!exact.isNil()) return exact;
    const std::string wanted = lowercaseString(name);
    for (const auto& [key, value] : headers.dictionary())
        if (lowercaseString(key) == wanted) return value;
    return Value();
}

YBXAdFetcher::~YBXAdFetcher() { cancel(); }

void YBXAdFetcher::setUp() {
    timer_ = YBXTiming::make(Value(format("%@ (%p)", NSStringFromClass(object_getClass(this)), this)));
    adConnection_ = sel::init(alloc("YBXURLConnection"));
}

bool YBXAdFetcher::fetchRemainingContent(YBXAd* ad, const Value& headers, id delegate, id request, Ref<Object>* error) {
    if (hasStartedFetch_) {
        if (error)
            *error = sel::errorWithCode_customMessage_(YBXRequestErrorClass(), YBXErrorCodeNetwork,
                                                       Value("Could not start fetch. This object has already been used to fetch."));
        return false;
    }
    hasStartedFetch_ = true;
    timer_->start();
    ad_ = ad;
    delegate_ = delegate;
    request_ = request;
    Ref<NSURL> url;
    if (ad && (!ad->adHTML_.isString() || ad->adHTML_.string().empty())) url = ad->adURL_;
    return startFetch(url.get(), headers, error);
}

bool YBXAdFetcher::startFetch(NSURL* url, const Value& headers, Ref<Object>* error) {
    Ref<YBXAdFetcher> protector(this);
    Ref<Object> connectionError;
    bool started = true;
    if (url) {
        started = sel::startWithURL_forDelegate_error_(adConnection_.get(), url, this, &connectionError);
        if (!started) {
            if (error)
                *error = sel::errorWithCode_customMessage_(YBXRequestErrorClass(), YBXErrorCodeNetwork, Value("Failed to start ad connection."));
            adConnectionHasCompleted_ = true;
        }
    } else {
        adConnectionHasCompleted_ = true;
    }
    if (ad_) ad_->responseType_ = YBXAdResponseTypeHTML;
    if (!headers.isNil()) processHTTPHeaders(headers);
    if (connectionError) {
        resourceFailedToLoad(as<NSError>(connectionError.get()));
    } else if (adConnectionHasCompleted_) {
        // The delegate hears of an ad that needed no load after this call has returned.
        WeakRef<YBXAdFetcher> weak(this);
        NSOperationQueue::mainQueue()->addOperationWithBlock([weak] {
            if (Ref<YBXAdFetcher> fetcher = weak.lock()) fetcher->completedURLConnection();
        });
    }
    // A failure already reported is no successful start.
    return started && !connectionError && !hasNotifiedDelegate_;
}

void YBXAdFetcher::cancel() {
    delegate_ = nullptr;
    sel::cancel(adConnection_.get());
    adConnectionHasCompleted_ = true;
}

void YBXAdFetcher::completedURLConnection() {
    if (!adConnectionHasCompleted_ || hasNotifiedDelegate_) return;
    Ref<YBXAdFetcher> protector(this);
    timer_->end();
    hasNotifiedDelegate_ = true;
    const unsigned long long type = ad_ ? ad_->responseType_ : YBXAdResponseTypeInvalid;
    if (type != YBXAdResponseTypeInvalid && ad_->adHTML_.isString() && !ad_->adHTML_.string().empty())
        tellFetched();
    else
        tellFailed(as<NSError>(sel::errorWithCode_(YBXRequestErrorClass(), type != YBXAdResponseTypeInvalid ? YBXErrorCodeNoFill : YBXErrorCodeInternal).get()));
}

void YBXAdFetcher::resourceFailedToLoad(NSError* error) {
    if (hasNotifiedDelegate_) return;
    Ref<YBXAdFetcher> protector(this);
    hasNotifiedDelegate_ = true;
    tellFailed(error);
    cancel();
}

void YBXAdFetcher::tellFetched() {
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::adFetcher_didFetchAd_.name)) sel::adFetcher_didFetchAd_(delegate.get(), this, ad_.get());
}

void YBXAdFetcher::tellFailed(NSError* error) {
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::adFetcher_didFailToFetchAdWithError_.name))
        sel::adFetcher_didFailToFetchAdWithError_(delegate.get(), this, error);
}

unsigned long long YBXAdFetcher::responseTypeFromHeaders(const Value& headers, Ref<Object>* error) const {
    const Value contentType = textOf(headers, "Content-Type");
    const bool json = contentType.isString() && lowercaseString(contentType.string()).starts_with("application/json");
    for (auto [name, type] : {std::pair{"X-Kestra-Mediation", YBXAdResponseTypeMediation}, std::pair{"X-Kestra-Native", YBXAdResponseTypeNative}}) {
        if (!truthOf(headers, name)) continue;
        if (json) return type;
        if (error) *error = requestError(YBXErrorCodeServer, request_.get());
        return YBXAdResponseTypeInvalid;
    }
    return truthOf(headers, "X-Kestra-Custom-Rendering-Allowed") ? YBXAdResponseTypeCustomRendering : YBXAdResponseTypeHTML;
}

void YBXAdFetcher::processHTTPHeaders(const Value& headers) {
    if (!headers.isDictionary() || !ad_) return;
    Ref<YBXAdFetcher> protector(this);
    Ref<YBXAd> ad = ad_;
    Ref<Object> typeError;
    ad->responseType_ = responseTypeFromHeaders(headers, &typeError);
    if (ad->responseType_ == YBXAdResponseTypeInvalid) resourceFailedToLoad(as<NSError>(typeError.get()));

    YBXAd::addURLs(ad->clickURLs_, URLListOf(headers, "X-Kestra-Click-Tracking-Urls"));
    YBXAd::addURLs(ad->impressionURLs_, URLListOf(headers, "X-Kestra-Tracking-Urls"));
    YBXAd::addURLs(ad->manualImpressionURLs_, URLListOf(headers, "X-Kestra-Manual-Tracking-Urls"));

    const Value optora = textOf(headers, "X-Kestra-Optora");
    ad->optoraConfigurations_ = optora.isString() ? readJsonIntoDictionary(optora.string()) : Value();

    if (long long orientation = orientationOf(YBXHeaderValue(headers, "X-Kestra-Orientation")); orientation != 0)
        ad->supportedOrientations_ = orientation;

    if (const Value timeout = YBXHeaderValue(headers, "X-Kestra-Interstitial-Timeout"); isPresent(timeout))
        storeInDefaults(Value(timeout.doubleValue()), "applicationTimeout");

    if (const Value rate = YBXHeaderValue(headers, "X-Kestra-Refresh-Rate"); isPresent(rate) && rate.doubleValue() >= 0)
        ad->reloadInterval_ = rate.doubleValue();

    ad->debugDialog_ = YBXHeaderValue(headers, "X-Kestra-Debug-Dialog");
    ad->customAdSizeString_ = YBXHeaderValue(headers, "X-Kestra-Ad-Size");
    ad->scrollEnabled_ = !truthOf(headers, "X-Kestra-Disable-Activation-And-Scroll");

    if (const Value https = YBXHeaderValue(headers, "X-Kestra-Use-HTTPS"); !https.isNil())
        storeInDefaults(Value(https.boolValue()), "orvane_ybx_use_https");
    else if (NSUserDefaults::standardUserDefaults()->objectForKey("orvane_ybx_use_https").isNil())
        storeInDefaults(Value(false), "orvane_ybx_use_https");

    const Value swipe = textOf(headers, "X-Kestra-Swipe-To-View-Controller");
    Ref<NSError> decodeError;
    const Value decoded = swipe.isString() ? ybx_decodedJSONObjectError(swipe.string(), &decodeError) : Value();
    // Text that does not decode leaves the configuration as it was.
    if (!decodeError)
        ad->swipeToViewControllerConfigurations_ =
            decoded.isDictionary() ? sel::initWithSwipeConfigurations_(alloc("YBXSwipeToViewControllerConfigurations"), decoded) : nullptr;
}

void YBXAdFetcher::receivedHeadersOf(id response) {
    if (NSHTTPURLResponse* http = HTTPResponseOf(response)) processHTTPHeaders(http->allHeaderFields());
}

bool YBXAdFetcher::shouldUseCachedResponse(id response) {
    receivedHeadersOf(response);
    // Only mediation responses are kept in and served from the memory cache.
    return ad_ && ad_->responseType_ == YBXAdResponseTypeMediation;
}

void YBXAdFetcher::loadDidFinish(id connection, const Value& body, NSURL* baseURL) {
    Ref<YBXAdFetcher> protector(this);
    // The connection finishes on every status: an error page is no ad.
    if (connection && respondsToSelector(connection, sel::response.name))
        if (auto* http = as<NSHTTPURLResponse>(sel::response(connection).get()); http && (http->statusCode() < 200 || http->statusCode() > 299)) {
            loadDidFail(nullptr, http->statusCode());
            return;
        }
    if (ad_) {
        ad_->adHTML_ = body.isString() ? body : Value();
        ad_->adBaseURL_ = baseURL;
    }
    adConnectionHasCompleted_ = true;
    completedURLConnection();
}

void YBXAdFetcher::loadDidFail(NSError*, long long status) {
    Ref<YBXAdFetcher> protector(this);
    if (ad_) {
        ad_->adHTML_ = Value();
        ad_->adBaseURL_ = nullptr;
    }
    Ref<NSError> error;
    if (status == 400) {
        pubLog("Server rejected ad parameters. Typically this is because the ad unit ID is incorrect.");
        error = as<NSError>(sel::errorWithCode_request_(YBXRequestErrorClass(), YBXErrorCodeInvalidRequest, request_.get()));
    } else {
        error = requestError(status < 401 ? YBXErrorCodeNetwork : YBXErrorCodeServer, request_.get(), status);
    }
    resourceFailedToLoad(error.get());
}

void registerAdFetcherClass() {
    ClassBuilder<YBXAdFetcher>("YBXAdFetcher", "NSObject")
        .protocol("YBXURLConnectionDelegate")
        .method(sel::init,
                [](id self) {
                    fetcherOf(self)->setUp();
                    return Ref<Object>(self);
                })
        .method(sel::fetchRemainingContentForAd_headers_delegate_request_error_,
                [](id self, id ad, Value headers, id delegate, id request, Ref<Object>* error) {
                    return fetcherOf(self)->fetchRemainingContent(as<YBXAd>(ad), headers, delegate, request, error);
                })
        .method(sel::startFetchWithAdURL_headers_error_,
                [](id self, NSURL* url, Value headers, Ref<Object>* error) { return fetcherOf(self)->startFetch(url, headers, error); })
        .method(sel::cancel, [](id self) { fetcherOf(self)->cancel(); })
        .method(sel::completedURLConnection, [](id self) { fetcherOf(self)->completedURLConnection(); })
        .method(sel::markFetchStart, [](id self) { fetcherOf(self)->timer_->start(); })
        .method(sel::markFetchComplete, [](id self) { fetcherOf(self)->timer_->end(); })
        .method(sel::resourceFailedToLoadWithError_, [](id self, id error) { fetcherOf(self)->resourceFailedToLoad(as<NSError>(error)); })
        .method(sel::processHTTPHeaders_, [](id self, Value headers) { fetcherOf(self)->processHTTPHeaders(headers); })
        .method(sel::adResponseTypeFromHeaders_requestError_,
                [](id self, Value headers, Ref<Object>* error) { return fetcherOf(self)->responseTypeFromHeaders(headers, error); })
        .getter<&YBXAdFetcher::hasStartedFetch_>(sel::hasStartedFetch)
        .getter<&YBXAdFetcher::hasNotifiedDelegate_>(sel::hasNotifiedDelegate)
        .getter<&YBXAdFetcher::adConnectionHasCompleted_>(sel::adConnectionHasCompleted)
        .method(sel::ad, [](id self) { return Ref<Object>(fetcherOf(self)->ad_); })
        .method(sel::request, [](id self) { return fetcherOf(self)->request_; })
        .method(sel::delegate, [](id self) { return fetcherOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { fetcherOf(self)->delegate_ = delegate; })
        .method(sel::timer, [](id self) { return Ref<Object>(fetcherOf(self)->timer_.get()); })
        .method(sel::adConnection, [](id self) { return fetcherOf(self)->adConnection_; })
        .method(sel::connection_shouldRedirectToURL_, [](id, id, NSURL*) { return Ref<Object>(); })
        .method(sel::connection_loadDidReceiveRedirectResponse_, [](id self, id, id response) { fetcherOf(self)->receivedHeadersOf(response); })
        .method(sel::connection_loadShouldUseCachedResponse_, [](id self, id, id response) { return fetcherOf(self)->shouldUseCachedResponse(response); })
        .method(sel::connection_loadDidReceiveCachedResponse_, [](id self, id, id cached) { fetcherOf(self)->receivedHeadersOf(cached); })
        .method(sel::connection_loadDidFinish_baseURL_,
                [](id self, id connection, Value body, NSURL* baseURL) { fetcherOf(self)->loadDidFinish(connection, body, baseURL); })
        .method(sel::connection_loadDidFail_httpStatusCode_,
                [](id self, id, id error, long long status) { fetcherOf(self)->loadDidFail(as<NSError>(error), status); });
}

}  // namespace adlib
