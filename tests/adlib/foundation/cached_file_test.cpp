#include "adlib/foundation/cached_file.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "adlib/foundation/connection_factory.h"
#include "adlib/foundation/device.h"
#include "platform/foundation/file_manager.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "platform/uikit/image.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using Script = ScriptedTransport::Script;

constexpr const char* kURL = "http://cdn.example/scripts/toolbar.js";
constexpr const char* kServerDate = "Wed, 21 Oct 2015 07:28:00 GMT";

// Writes down every delegate call; can refuse redirects and start a new
// fetch when told that one ended.
class FileDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    Ref<NSError> redirectAnswer;
    bool revalidateOnEnd = false;
};

std::string errorText(id error) {
    auto* e = as<NSError>(error);
    return e ? e->domain() + " " + std::to_string(e->code()) : std::string("none");
}

// A factory that makes no connection.
void registerTestClasses() {
    ClassBuilder<FileDelegate>("TestCachedFileDelegate", "NSObject")
        .method(sel::cachedFileDownloadDidEnd_,
                [](id self, id file) {
                    auto* d = as<FileDelegate>(self);
                    d->calls.push_back("end");
                    if (d->revalidateOnEnd) {
                        d->revalidateOnEnd = false;
                        sel::validate(file);
                    }
                })
        .method(sel::cachedFile_downloadDidFail_, [](id self, id, id error) { as<FileDelegate>(self)->calls.push_back("fail " + errorText(error)); })
        .method(sel::cachedFile_shouldRedirectToURL_, [](id self, id, NSURL* url) {
            auto* d = as<FileDelegate>(self);
            d->calls.push_back("redirect " + url->absoluteString());
            return Ref<Object>(d->redirectAnswer);
        });
    ClassBuilder<NSObject>("TestNoConnectionFactory", "NSObject")
        .method(sel::connectionWithRequest_delegate_startImmediately_, [](id, NSURLRequest*, id, bool) { return Ref<Object>(); });
}

class CachedFiles : public ::testing::Test {
protected:
    CachedFiles() {
        registerTestClasses();
        network::setTransport(transport);
        delegate = as<FileDelegate>(newObject("TestCachedFileDelegate").get());
    }

    static Ref<NSURL> url(std::string_view text) { return NSURL::URLWithString(text); }
    Ref<YBXCachedFile> file(std::string_view text = kURL) {
        Ref<YBXCachedFile> f = as<YBXCachedFile>(sel::initWithURL_(alloc("YBXCachedFile"), url(text).get()).get());
        f->delegate_ = delegate.get();
        return f;
    }
    void answer(std::string_view text, Script script) { transport->answer(std::string(text), std::move(script)); }
    static Script page(std::string body, const char* lastModified = nullptr, long status = 200) {
        Script s = Script::body({std::move(body)}, status);
        if (lastModified) s.headers.emplace_back("Last-Modified", lastModified);
        return s;
    }
    // Runs a fetch to its end.
    void fetch(YBXCachedFile* f, bool buster = false) {
        buster ? sel::validateWithCacheBuster(f) : sel::validate(f);
        RunLoop::main().advance(1);
    }
    std::string header(std::size_t request, std::string_view name) const {
        const std::string* v = transport->requests().at(request)->valueForHTTPHeaderField(name);
        return v ? *v : "(none)";
    }
    // Writes `text` as the file's content, dated `date` (an HTTP date without its zone).
    static void seed(YBXCachedFile* f, std::string_view text, std::string_view date) {
        const std::string& path = f->filePath();
        NSFileManager::defaultManager()->createDirectoryAtPath(path.substr(0, path.rfind('/')), true, Value());
        ASSERT_TRUE(writeToFile(Data(text.begin(), text.end()), path, true));
        Value when = sel::dateFromString_(YBXCachedFile::formatterForHTTPDate(), Value(date));
        ASSERT_TRUE(NSFileManager::defaultManager()->setAttributes(Value{{NSFileModificationDate, when}}, path));
    }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    Ref<FileDelegate> delegate;
};

TEST_F(CachedFiles, TheFileLivesUnderCachesByHostAndAStableHash) {
    EXPECT_EQ(YBXCachedFileHash(""), 0xcbf29ce484222325ULL);
    EXPECT_EQ(YBXCachedFileHash("a"), 0xaf63dc4c8601ec8cULL);
    EXPECT_EQ(format("%lx", Value(YBXCachedFileHash("a"))), "af63dc4c8601ec8c");
    const std::string caches = NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true).array().at(0).string();
    struct Case {
        const char* url;
        const char* folder;
    } cases[] = {
        {kURL, "cdn.example"},
        {"file:///var/mobile/x.png", "@local"},
        {"http://../x.js", "@local"},
        {"http://./x.js", "@local"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        Ref<NSURL> u = url(c.url);
        ASSERT_TRUE(u);
        Ref<YBXCachedFile> f = file(c.url);
        EXPECT_EQ(sel::filePath(f.get()).string(), format("%@/%@/%lx", caches, c.folder, Value(YBXCachedFileHash(u->absoluteString()))));
    }
}

TEST_F(CachedFiles, ASuccessfulFetchSavesTheBodyAndTheServersTime) {
    answer(kURL, page("var toolbar = 1;", kServerDate));
    answer("http://cdn.example/undated.js", page("undated"));
    Ref<YBXCachedFile> dated = file();
    EXPECT_FALSE(dated->fileExists());
    fetch(dated.get());
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"end"});
    EXPECT_EQ(sel::contentAsString(dated.get()), Value("var toolbar = 1;"));
    EXPECT_EQ(sel::fileModificationDate(dated.get()), Value("Wed, 21 Oct 2015 07:28:00"));
    EXPECT_EQ(sel::HTTPStatusCode(dated.get()), 200);
    EXPECT_EQ(sel::HTTPHeaders(dated.get())["Last-Modified"], Value(kServerDate));
    EXPECT_FALSE(dated->isFetching());
    // The first fetch had no file to revalidate; cookies are handled.
    EXPECT_EQ(header(0, "If-Modified-Since"), "(none)");
    EXPECT_TRUE(transport->requests().at(0)->HTTPShouldHandleCookies());
    EXPECT_EQ(transport->requests().at(0)->cachePolicy(), NSURLRequestUseProtocolCachePolicy);

    delegate->calls.clear();
    Ref<YBXCachedFile> undated = file("http://cdn.example/undated.js");
    fetch(undated.get());
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"end"});
    EXPECT_EQ(sel::contentAsString(undated.get()), Value("undated"));
    Value when = sel::fileModificationDate(undated.get());
    ASSERT_TRUE(when.isString());
    EXPECT_NE(when.string(), "Wed, 21 Oct 2015 07:28:00");
}

TEST_F(CachedFiles, ASecondFetchRevalidatesWithTheFileTimeAsAnHTTPDate) {
    Ref<YBXCachedFile> f = file();
    answer(kURL, page("first", kServerDate));
    fetch(f.get());
    answer(kURL, page("", nullptr, 304));
    delegate->calls.clear();
    fetch(f.get());
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"end"});
    ASSERT_EQ(transport->requests().size(), 2u);
    EXPECT_EQ(header(1, "If-Modified-Since"), kServerDate);
    // A 304 leaves the file as it was.
    EXPECT_EQ(sel::contentAsString(f.get()), Value("first"));
    EXPECT_EQ(sel::fileModificationDate(f.get()), Value("Wed, 21 Oct 2015 07:28:00"));
    EXPECT_EQ(sel::HTTPStatusCode(f.get()), 304);
}

TEST_F(CachedFiles, EveryEndOfAFetchIsReportedOnce) {
    struct Case {
        const char* name;
        Script script;
        std::vector<std::string> calls;
        const char* content;  // of the older file afterwards
    } cases[] = {
        {"404 keeps the older file", page("gone", nullptr, 404), {"fail none"}, "older"},
        {"500 keeps the older file", page("oops", nullptr, 500), {"fail none"}, "older"},
        {"a failed load reports its error", Script::failure(NSURLErrorTimedOut), {"fail NSURLErrorDomain -1001"}, "older"},
        {"a reset after the first piece", [] {
             Script s = Script::body({"par", "tial"});
             s.failCode = NSURLErrorNetworkConnectionLost;
             s.failAfterFirstChunk = true;
             return s;
         }(), {"fail NSURLErrorDomain -1005"}, "older"},
        {"200 replaces it", page("newer", kServerDate), {"end"}, "newer"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        delegate->calls.clear();
        Ref<YBXCachedFile> f = file();
        seed(f.get(), "older", "Mon, 05 Jan 2026 05:00:00");
        answer(kURL, c.script);
        fetch(f.get());
        RunLoop::main().advance(5);
        EXPECT_EQ(delegate->calls, c.calls);
        EXPECT_EQ(sel::contentAsString(f.get()), Value(c.content));
        EXPECT_FALSE(f->isFetching());
    }
}

TEST_F(CachedFiles, ARefusedRedirectEndsTheFetchWithTheDelegatesError) {
    answer(kURL, Script::redirect("http://other.example/moved.js"));
    answer("http://other.example/moved.js", page("moved"));
    delegate->redirectAnswer = NSError::errorWithDomain("TestDomain", 7);
    Ref<YBXCachedFile> f = file();
    fetch(f.get());
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"redirect http://other.example/moved.js", "fail TestDomain 7"}));
    EXPECT_EQ(sel::absoluteString(sel::HTTPDestinationURL(f.get())), "http://other.example/moved.js");
    EXPECT_EQ(sel::HTTPHeaders(f.get())["Location"], Value("http://other.example/moved.js"));
    EXPECT_EQ(transport->requests().size(), 1u);
    EXPECT_FALSE(f->fileExists());

    // Allowed, the redirect is followed and the destination kept.
    delegate->calls.clear();
    delegate->redirectAnswer = nullptr;
    fetch(f.get());
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"redirect http://other.example/moved.js", "end"}));
    EXPECT_EQ(sel::contentAsString(f.get()), Value("moved"));
    EXPECT_EQ(sel::absoluteString(sel::HTTPDestinationURL(f.get())), "http://other.example/moved.js");
}

TEST_F(CachedFiles, AWriteErrorIsReported) {
    Ref<YBXCachedFile> f = file();
    // A folder where the file belongs: the write cannot replace it.
    ASSERT_TRUE(NSFileManager::defaultManager()->createDirectoryAtPath(f->filePath(), true, Value()));
    answer(kURL, page("body"));
    fetch(f.get());
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fail NSCocoaErrorDomain 512"});
    EXPECT_FALSE(f->isFetching());
}

TEST_F(CachedFiles, AFactoryThatMakesNoConnectionFailsAtOnce) {
    Ref<Object> original = sel::sharedFactory(objc_getClass("YBXMNSURLConnectionFactory"));
    ASSERT_TRUE(original);
    EXPECT_EQ(sel::sharedFactory(objc_getClass("YBXMNSURLConnectionFactory")).get(), original.get());
    sel::setSharedFactory_(objc_getClass("YBXMNSURLConnectionFactory"), newObject("TestNoConnectionFactory").get());
    Ref<YBXCachedFile> f = file();
    answer(kURL, page("body"));
    sel::validate(f.get());
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fail none"});
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls.size(), 1u);
    EXPECT_TRUE(transport->requests().empty());
    EXPECT_FALSE(f->isFetching());
}

TEST_F(CachedFiles, TheSharedFactoryMakesConnectionsStartedOrNot) {
    Ref<Object> factory = sel::sharedFactory(objc_getClass("YBXMNSURLConnectionFactory"));
    answer(kURL, page("body"));
    Ref<NSURLRequest> request = NSURLRequest::requestWithURL(url(kURL).get());
    Ref<Object> waiting = sel::connectionWithRequest_delegate_startImmediately_(factory.get(), request.get(), nullptr, false);
    ASSERT_TRUE(as<NSURLConnection>(waiting.get()));
    RunLoop::main().advance(1);
    EXPECT_TRUE(transport->requests().empty());
    Ref<Object> started = sel::connectionWithRequest_delegate_(factory.get(), request.get(), nullptr);
    ASSERT_TRUE(as<NSURLConnection>(started.get()));
    RunLoop::main().advance(1);
    EXPECT_EQ(transport->requests().size(), 1u);
}

TEST_F(CachedFiles, TheDevicesUserAgentGoesWithTheFetch) {
    answer(kURL, page("body"));
    Ref<YBXCachedFile> f = file();
    fetch(f.get());
    EXPECT_EQ(header(0, "User-Agent"), "(none)");

    // The device record learns the agent from the ad web views.
    YBXDevice* device = YBXDevice::currentDevice();
    if (respondsToSelector(device, "setUserAgentString:")) {
        const std::array<Value, 1> args{Value("TestAgent/1.0")};
        invoke(device, "setUserAgentString:", args);
    } else {
        constexpr Sel<Value(id)> userAgentString{"userAgentString"};
        class_addMethod(objc_getClass("YBXDevice"), userAgentString, [](id) { return Value("TestAgent/1.0"); });
    }
    fetch(f.get());
    ASSERT_EQ(transport->requests().size(), 2u);
    EXPECT_EQ(header(1, "User-Agent"), "TestAgent/1.0");
}

TEST_F(CachedFiles, OneFetchAtATimeAndCacheBustingOnceTheClockHasMoved) {
    answer(kURL, page("body"));
    Ref<YBXCachedFile> f = file();
    sel::validate(f.get());
    sel::validate(f.get());
    sel::validateWithCacheBuster(f.get());
    RunLoop::main().advance(1);
    ASSERT_EQ(transport->requests().size(), 1u);
    EXPECT_EQ(transport->requests()[0]->URL()->absoluteString(), kURL);
    EXPECT_EQ(sel::cachePolicy(f.get()), 0u);

    for (const char* body : {"a", "b"}) {
        (void)body;
        sel::validateWithCacheBuster(f.get());
        RunLoop::main().advance(1);
    }
    ASSERT_EQ(transport->requests().size(), 3u);
    const std::string first = transport->requests()[1]->URL()->absoluteString();
    const std::string second = transport->requests()[2]->URL()->absoluteString();
    EXPECT_EQ(first.rfind(std::string(kURL) + "?unique=", 0), 0u) << first;
    EXPECT_NE(first, second);
    EXPECT_EQ(transport->requests()[2]->cachePolicy(), NSURLRequestReloadIgnoringLocalCacheData);
    // The policy stays for later fetches without the buster.
    fetch(f.get());
    EXPECT_EQ(transport->requests()[3]->URL()->absoluteString(), kURL);
    EXPECT_EQ(transport->requests()[3]->cachePolicy(), NSURLRequestReloadIgnoringLocalCacheData);
    EXPECT_EQ(sel::cachePolicy(f.get()), 1u);
}

TEST_F(CachedFiles, ADelegateMayRevalidateFromItsCallback) {
    answer(kURL, page("body", kServerDate));
    Ref<YBXCachedFile> f = file();
    delegate->revalidateOnEnd = true;
    fetch(f.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"end", "end"}));
    ASSERT_EQ(transport->requests().size(), 2u);
    // The second fetch already sees the server's time on the file.
    EXPECT_EQ(header(1, "If-Modified-Since"), kServerDate);
}

TEST_F(CachedFiles, ValidatingWithADelegateStartsAfresh) {
    Ref<YBXCachedFile> f = file("http://cdn.example/old.js");
    seed(f.get(), "old", "Mon, 05 Jan 2026 05:00:00");
    const std::string oldPath = f->filePath();
    answer(kURL, page("new"));
    Ref<FileDelegate> other = as<FileDelegate>(newObject("TestCachedFileDelegate").get());
    sel::validateWithDelegate_URL_(f.get(), other.get(), url(kURL).get());
    RunLoop::main().advance(1);
    EXPECT_FALSE(NSFileManager::defaultManager()->fileExistsAtPath(oldPath));
    EXPECT_EQ(other->calls, std::vector<std::string>{"end"});
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_EQ(sel::contentAsString(f.get()), Value("new"));
    EXPECT_NE(f->filePath(), oldPath);

    sel::invalidate(f.get());
    EXPECT_FALSE(f->fileExists());
    EXPECT_EQ(sel::fileModificationDate(f.get()), Value());
    sel::clear(f.get());
    EXPECT_FALSE(sel::sourceURL(f.get()));
    EXPECT_EQ(sel::filePath(f.get()), Value(""));
}

TEST_F(CachedFiles, CancelStopsTheFetchSilently) {
    Script slow = page("body");
    slow.delay = 2;
    answer(kURL, slow);
    Ref<YBXCachedFile> f = file();
    sel::validate(f.get());
    EXPECT_TRUE(f->isFetching());
    sel::cancel(f.get());
    RunLoop::main().advance(5);
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_FALSE(f->fileExists());
    EXPECT_EQ(transport->activeLoads(), 0u);
}

TEST_F(CachedFiles, ContentAccessorsReadTheFileAndImagesTakeTheScaleFromTheName) {
    // A PNG's signature and header: 4 by 2 pixels.
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x04\0\0\0\x02\x08\x06\0\0\0\0\0\0\0", 33);
    struct Case {
        const char* url;
        double scale;
        Size size;
    } cases[] = {
        {"http://cdn.example/close@2x.png", 2, {2, 1}},
        {"http://cdn.example/close.png", 1, {4, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        Ref<YBXCachedFile> f = file(c.url);
        seed(f.get(), png, "Mon, 05 Jan 2026 05:00:00");
        Ref<UIImage> image = as<UIImage>(sel::contentAsImage(f.get()).get());
        ASSERT_TRUE(image);
        EXPECT_EQ(image->scale_, c.scale);
        EXPECT_EQ(image->size_, c.size);
        EXPECT_EQ(sel::contentAsData(f.get()), Value(Data(png.begin(), png.end())));
        // The bytes are no UTF-8 text.
        EXPECT_TRUE(sel::contentAsString(f.get()).isNil());
    }
    EXPECT_FALSE(sel::contentAsImage(file("http://cdn.example/missing.png").get()));
}

TEST_F(CachedFiles, DescriptionAndClassOperations) {
    Ref<YBXCachedFile> f = file();
    const std::string text = sel::description(f.get()).string();
    EXPECT_EQ(text.rfind("<YBXCachedFile: 0x", 0), 0u) << text;
    EXPECT_NE(text.find("> HTTP code: 0\n\turl: " + std::string(kURL) + "\n\tfile: " + f->filePath()), std::string::npos) << text;

    Class* cls = objc_getClass("YBXCachedFile");
    EXPECT_EQ(sel::formatterForHTTPDate(cls).get(), sel::formatterForHTTPDate(cls).get());
    EXPECT_EQ(sel::stringFromDate_(YBXCachedFile::formatterForHTTPDate(), Value(Date::fromUnix(1445412480))),
              Value("Wed, 21 Oct 2015 07:28:00"));
    HeaderFields fields;
    const std::string type = "text/plain";
    fields.set("Content-Type", &type);
    Ref<NSHTTPURLResponse> http = NSHTTPURLResponse::make(url(kURL).get(), 200, fields);
    EXPECT_EQ(sel::headersForResponse_(cls, http.get()), Value(Value{{"Content-Type", "text/plain"}}));
    Ref<NSURLResponse> plain = NSURLResponse::make(url(kURL).get(), "text/plain", 4, "utf-8");
    EXPECT_EQ(sel::headersForResponse_(cls, plain.get()), Value());
}

}  // namespace
}  // namespace adlib
