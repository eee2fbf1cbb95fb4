#include "adlib/foundation/cached_file.h"

#include <array>
#include <cmath>
#include <mutex>

#include "adlib/foundation/connection_factory.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/url_utilities.h"
#include "platform/foundation/calendar.h"
#include "platform/foundation/error.h"
#include "platform/foundation/file_manager.h"
#include "platform/foundation/format.h"
#include "platform/foundation/locale.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/image.h"

namespace adlib {

namespace {

YBXCachedFile* fileOf(id self) { return as<YBXCachedFile>(self); }

std::string trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

// The device's user agent when the device record has one yet.
std::string deviceUserAgent() {
    YBXDevice* device = YBXDevice::currentDevice();
    if (!device || !respondsToSelector(device, "userAgentString")) return {};
    Value agent = invoke(device, "userAgentString", {});
    return agent.isString() ? agent.string() : std::string();
}

}  // namespace

unsigned long long YBXCachedFileHash(std::string_view text) {
    unsigned long long hash = 0xcbf29ce484222325ULL;
    for (unsigned char byte : text) {
        hash ^= byte;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

Ref<YBXCachedFile> YBXCachedFile::make(NSURL* url) {
    Ref<YBXCachedFile> file = as<YBXCachedFile>(alloc("YBXCachedFile").get());
    if (file) file->setUp(url);
    return file;
}

NSDateFormatter* YBXCachedFile::formatterForHTTPDate() {
    static NSDateFormatter* formatter = [] {
        auto* made = as<NSDateFormatter>(sel::init(alloc("NSDateFormatter")).leak());
        sel::setDateFormat_(made, "EEE, dd MMM yyyy HH:mm:ss");
        sel::setLocale_(made, NSLocale::localeWithLocaleIdentifier("en_US_POSIX").get());
        sel::setTimeZone_(made, NSTimeZone::timeZoneForSecondsFromGMT(0).get());
        return made;
    }();
    return formatter;
}

Value YBXCachedFile::headersForResponse(const NSURLResponse* response) {
    const auto* http = dynamic_cast<const NSHTTPURLResponse*>(response);
    return http ? http->allHeaderFields() : Value();
}

void YBXCachedFile::setUp(NSURL* url) {
    sourceURL_ = url;
    HTTPDestinationURL_ = url;
    cachePolicy_ = NSURLRequestUseProtocolCachePolicy;
}

void YBXCachedFile::validateWithDelegate(id delegate, NSURL* url) {
    invalidate();
    clear();
    sourceURL_ = url;
    HTTPDestinationURL_ = url;
    delegate_ = delegate;
    validate();
}

void YBXCachedFile::invalidate() {
    cleanUp();
    NSFileManager::defaultManager()->removeItemAtPath(filePath());
}

void YBXCachedFile::clear() {
    cleanUp();
    sourceURL_ = nullptr;
    filePath_.clear();
    HTTPDestinationURL_ = nullptr;
    HTTPHeaders_ = Value();
}

const std::string& YBXCachedFile::filePath() {
    if (!filePath_.empty() || !sourceURL_) return filePath_;
    Value caches = NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true);
    if (caches.array().empty()) return filePath_;
    // "." and ".." would lead out of Caches; they and no host share "@local".
    std::string host = sourceURL_->host();
    if (host.empty() || host == "." || host == "..") host = "@local";
    filePath_ = format("%@/%@/%lx", caches.array().front(), host, Value(YBXCachedFileHash(sourceURL_->absoluteString())));
    return filePath_;
}

bool YBXCachedFile::fileExists() {
    const std::string& path = filePath();
    bool folder = false;
    return !path.empty() && NSFileManager::defaultManager()->fileExistsAtPath(path, &folder) && !folder;
}

Value YBXCachedFile::fileModificationDate() {
    const std::string& path = filePath();
    if (path.empty()) return Value();
    Value date = NSFileManager::defaultManager()->attributesOfItemAtPath(path)[NSFileModificationDate];
    if (date.kind() != Value::Kind::Date) return Value();
    return sel::stringFromDate_(formatterForHTTPDate(), date);
}

Value YBXCachedFile::contentAsData() { return filePath().empty() ? Value() : dataWithContentsOfFile(filePath()); }

Value YBXCachedFile::contentAsString() {
    Value data = contentAsData();
    if (data.kind() != Value::Kind::Data) return Value();
    std::string text(data.data().begin(), data.data().end());
    // As the platform decodes: bytes that are no UTF-8 give no string.
    return isValidUTF8(text) ? Value(std::move(text)) : Value();
}

Ref<Object> YBXCachedFile::contentAsImage() {
    Value data = contentAsData();
    if (data.kind() != Value::Kind::Data) return nullptr;
    const bool doubleScale = sourceURL_ && sourceURL_->lastPathComponent().find("@2x") != std::string::npos;
    return Ref<Object>(UIImage::fromData(data.data(), doubleScale ? 2.0 : 1.0));
}

std::string YBXCachedFile::description() {
    return format("<%@: %p> HTTP code: %ld\n\turl: %@\n\tfile: %@", NSStringFromClass(object_getClass(this)),
                  this, HTTPStatusCode_, sourceURL_ ? sourceURL_->absoluteString() : std::string("(null)"),
                  filePath());
}

void YBXCachedFile::beginFetch(bool cacheBuster) {
    if (connection_ || !sourceURL_) return;
    Ref<NSURL> url = sourceURL_;
    if (cacheBuster) {
        url = ybx_appendQueryValue_forKey(url.get(), Value(format("%.0f", NSDate::date().sinceReferenceDate)), "unique");
        cachePolicy_ = NSURLRequestReloadIgnoringLocalCacheData;
        if (!url) {
            tellFailed(nullptr);
            return;
        }
    }
    Ref<NSMutableURLRequest> request =
        NSMutableURLRequest::requestWithURL(url.get(), static_cast<NSURLRequestCachePolicy>(cachePolicy_));
    request->setHTTPShouldHandleCookies(true);
    if (std::string agent = deviceUserAgent(); !agent.empty()) request->setValueForHTTPHeaderField(agent, "User-Agent");
    if (fileExists()) {
        // The file time is written without a zone; HTTP dates name theirs.
        Value date = fileModificationDate();
        if (date.isString()) request->setValueForHTTPHeaderField(date.string() + " GMT", "If-Modified-Since");
    }

    Ref<NSURLConnection> connection = as<NSURLConnection>(
        sel::connectionWithRequest_delegate_startImmediately_(sharedConnectionFactory().get(), request.get(), this, false).get());
    if (!connection) {
        tellFailed(nullptr);
        return;
    }
    connection_ = connection;
    receivedData_.clear();
    connection->scheduleInRunLoop(RunLoop::main(), NSRunLoopCommonModes);
    connection->start();
}

void YBXCachedFile::cleanUp() {
    if (Ref<NSURLConnection> connection = std::move(connection_)) connection->cancel();
    receivedData_.clear();
    receivedModificationDate_.reset();
}

Ref<NSURLRequest> YBXCachedFile::willSendRequest(NSURLConnection* connection, NSURLRequest* request, NSURLResponse* redirectResponse) {
    if (connection != connection_.get()) return nullptr;
    HTTPDestinationURL_ = request ? request->URL() : nullptr;
    if (redirectResponse) {
        HTTPHeaders_ = headersForResponse(redirectResponse);
        Ref<Object> delegate = delegate_.lock();
        if (delegate && respondsToSelector(delegate.get(), sel::cachedFile_shouldRedirectToURL_.name)) {
            Ref<NSError> error = as<NSError>(sel::cachedFile_shouldRedirectToURL_(delegate.get(), this, HTTPDestinationURL_.get()).get());
            if (error) {
                Ref<YBXCachedFile> protector(this);
                cleanUp();
                tellFailed(error.get());
                return nullptr;
            }
        }
    }
    return Ref<NSURLRequest>(request);
}

void YBXCachedFile::receivedResponse(NSURLConnection* connection, NSURLResponse* response) {
    const auto* http = dynamic_cast<const NSHTTPURLResponse*>(response);
    if (connection != connection_.get() || !http) return;
    Ref<YBXCachedFile> protector(this);
    HTTPStatusCode_ = http->statusCode();
    HTTPHeaders_ = headersForResponse(http);
    if (HTTPStatusCode_ == 200) {
        receivedModificationDate_.reset();
        if (const std::string* modified = http->valueForHTTPHeaderField("Last-Modified")) {
            std::string_view text = *modified;
            receivedModificationDate_ = trimmed(text.substr(0, text.find("GMT")));
        }
    } else if (HTTPStatusCode_ == 304) {
        // The file is current as it stands.
        cleanUp();
        tellEnded();
        return;
    } else {
        cleanUp();
        tellFailed(nullptr);
        return;
    }
    receivedData_.clear();
}

void YBXCachedFile::receivedData(NSURLConnection* connection, const Data& data) {
    if (connection != connection_.get()) return;
    receivedData_.insert(receivedData_.end(), data.begin(), data.end());
}

void YBXCachedFile::finished(NSURLConnection* connection) {
    if (connection != connection_.get()) return;
    Ref<YBXCachedFile> protector(this);
    Ref<NSError> error = saveDataToFile();
    // Clean up before telling: a delegate may start the next fetch from its callback.
    cleanUp();
    if (error)
        tellFailed(error.get());
    else
        tellEnded();
}

void YBXCachedFile::failed(NSURLConnection* connection, NSError* error) {
    if (connection != connection_.get()) return;
    Ref<YBXCachedFile> protector(this);
    Ref<NSError> held(error);
    cleanUp();
    tellFailed(held.get());
}

Ref<NSError> YBXCachedFile::saveDataToFile() {
    const std::string path = filePath();
    NSFileManager* files = NSFileManager::defaultManager();
    Value error;
    if (path.empty()) return NSError::errorWithDomain(NSCocoaErrorDomain, NSFileWriteUnknownError);
    if (!files->createDirectoryAtPath(folderOf(path), true, Value(), &error)) {
        Ref<NSError> made = as<NSError>(error.object());
        return made ? made : NSError::errorWithDomain(NSCocoaErrorDomain, NSFileWriteUnknownError);
    }
    if (!writeToFile(receivedData_, path, true))
        return NSError::errorWithDomain(NSCocoaErrorDomain, NSFileWriteUnknownError,
                                        Value(Value::Dictionary{{"NSFilePath", Value(path)},
                                                                {std::string(NSLocalizedDescriptionKey), Value("The file could not be written.")}}));
    // The server's time becomes the file's, so that the next fetch sends it back.
    if (receivedModificationDate_) {
        Value date = sel::dateFromString_(formatterForHTTPDate(), Value(*receivedModificationDate_));
        if (date.kind() == Value::Kind::Date) {
            const double whole = std::floor(date.date().sinceReferenceDate);
            files->setAttributes(Value(Value::Dictionary{{NSFileModificationDate, Value(Date{whole})}}), path);
        }
        receivedModificationDate_.reset();
    }
    return nullptr;
}

void YBXCachedFile::tellEnded() {
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::cachedFileDownloadDidEnd_.name)) sel::cachedFileDownloadDidEnd_(delegate.get(), this);
}

void YBXCachedFile::tellFailed(NSError* error) {
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::cachedFile_downloadDidFail_.name))
        sel::cachedFile_downloadDidFail_(delegate.get(), this, error);
}

void registerCachedFileClass() {
    ClassBuilder<YBXCachedFile>("YBXCachedFile", "NSObject")
        .method(sel::initWithURL_,
                [](id self, NSURL* url) {
                    fileOf(self)->setUp(url);
                    return Ref<Object>(self);
                })
        .method(sel::validate, [](id self) { fileOf(self)->validate(); })
        .method(sel::validateWithCacheBuster, [](id self) { fileOf(self)->validateWithCacheBuster(); })
        .method(sel::validateWithDelegate_URL_, [](id self, id delegate, NSURL* url) { fileOf(self)->validateWithDelegate(delegate, url); })
        .method(sel::cancel, [](id self) { fileOf(self)->cancel(); })
        .method(sel::invalidate, [](id self) { fileOf(self)->invalidate(); })
        .method(sel::clear, [](id self) { fileOf(self)->clear(); })
        .method(sel::fileExists, [](id self) { return fileOf(self)->fileExists(); })
        .method(sel::fileModificationDate, [](id self) { return fileOf(self)->fileModificationDate(); })
        .method(sel::contentAsData, [](id self) { return fileOf(self)->contentAsData(); })
        .method(sel::contentAsString, [](id self) { return fileOf(self)->contentAsString(); })
        .method(sel::contentAsImage, [](id self) { return fileOf(self)->contentAsImage(); })
        .method(sel::description, [](id self) { return Value(fileOf(self)->description()); })
        .method(sel::delegate, [](id self) { return fileOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { fileOf(self)->delegate_ = delegate; })
        .method(sel::sourceURL, [](id self) { return Ref<Object>(fileOf(self)->sourceURL_); })
        .method(sel::HTTPDestinationURL, [](id self) { return Ref<Object>(fileOf(self)->HTTPDestinationURL_); })
        .method(sel::HTTPStatusCode, [](id self) { return fileOf(self)->HTTPStatusCode_; })
        .method(sel::HTTPHeaders, [](id self) { return fileOf(self)->HTTPHeaders_; })
        .method(sel::cachePolicy, [](id self) { return fileOf(self)->cachePolicy_; })
        .method(sel::setCachePolicy_, [](id self, unsigned long long policy) { fileOf(self)->cachePolicy_ = policy; })
        .method(sel::filePath, [](id self) { return Value(fileOf(self)->filePath()); })
        .classMethod(sel::formatterForHTTPDate, [](id) { return Ref<Object>(YBXCachedFile::formatterForHTTPDate()); })
        .classMethod(sel::headersForResponse_, [](id, id response) { return YBXCachedFile::headersForResponse(as<NSURLResponse>(response)); })
        .method(sel::connection_willSendRequest_redirectResponse_,
                [](id self, id connection, id request, id redirect) {
                    return Ref<Object>(
                        fileOf(self)->willSendRequest(as<NSURLConnection>(connection), as<NSURLRequest>(request), as<NSURLResponse>(redirect)));
                })
        .method(sel::connection_didReceiveResponse_,
                [](id self, id connection, id response) {
                    fileOf(self)->receivedResponse(as<NSURLConnection>(connection), as<NSURLResponse>(response));
                })
        .method(sel::connection_didReceiveData_,
                [](id self, id connection, Value data) {
                    if (data.kind() == Value::Kind::Data) fileOf(self)->receivedData(as<NSURLConnection>(connection), data.data());
                })
        .method(sel::connectionDidFinishLoading_, [](id self, id connection) { fileOf(self)->finished(as<NSURLConnection>(connection)); })
        .method(sel::connection_didFailWithError_,
                [](id self, id connection, id error) { fileOf(self)->failed(as<NSURLConnection>(connection), as<NSError>(error)); });
}

}  // namespace adlib
