// The MRAID script interceptor: which loads it claims, which script it
// chooses for which web view, and the serving on the load's own thread over
// the scripted transport (threaded: the ThreadSanitizer build runs it too).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/configuration.h"
#include "adlib/render/ad_url_stash.h"
#include "adlib/render/mraid_interceptor.h"
#include "adlib/render/web_view.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/connection.h"
#include "platform/network/transport.h"
#include "platform/network/url_protocol.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

constexpr const char* kPage = "http://ads.test/mads/gma?slotname=m&request_id=1";

std::vector<Object*>& willLoad() {
    static std::vector<Object*> slots;
    return slots;
}
void (*previousWillLoad)(id) = nullptr;

Ref<NSMutableURLRequest> scriptRequest(std::string_view url, std::optional<std::string> referer = std::string(kPage)) {
    Ref<NSMutableURLRequest> request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString(url).get());
    if (referer) request->setValueForHTTPHeaderField(*referer, "Referer");
    return request;
}

class Interceptor : public ::testing::Test {
protected:
    Interceptor() {
        testing::installSlotNeighbours();
        MSHookMessageEx(objc_getClass("YBXSlot"), sel::willLoadMRAIDAd, +[](id self) {
            willLoad().push_back(self);
            previousWillLoad(self);
        }, &previousWillLoad);
        network::setTransport(transport);
        YBXMRAIDInterceptor::resetCanInitWithRequestCounter();
        YBXMRAIDInterceptor::enableCanInitWithRequest();
    }
    // A slot whose web view shows the page.
    Ref<YBXSlot> showing(Ref<YBXSlot> slot, const char* page = kPage) {
        id view = sel::webView(slot.get()).get();
        sel::setURL_forView_(view, NSURL::URLWithString(page).get(), view);
        return slot;
    }
    // Loads the request through URL loading: the interceptor's own thread, when it claims it.
    struct Answer {
        bool ended = false;
        Ref<NSURLResponse> response;
        std::string body;
        Ref<NSError> error;
    };
    std::shared_ptr<Answer> load(NSURLRequest* request) {
        auto answer = std::make_shared<Answer>();
        NSURLConnection::sendAsynchronousRequest(request, nullptr, [answer](Ref<NSURLResponse> r, std::optional<Data> body, Ref<NSError> e) {
            answer->ended = true;
            answer->response = r;
            if (body) answer->body.assign(body->begin(), body->end());
            answer->error = e;
        });
        return answer;
    }
    void waitFor(const std::shared_ptr<Answer>& answer) {
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return answer->ended; }, 10.0));
        // The load's thread has let everything go before the test looks further.
        ASSERT_TRUE(RunLoop::main().runUntil([] { return network::runningProtocolLoads() == 0; }, 10.0));
    }

    testing::AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
};

TEST_F(Interceptor, ClaimTable) {
    Ref<YBXSlot> slot = showing(testing::makeBannerSlot(kYBXAdSizeBanner));
    const std::string banner = YBXMRAIDInterceptor::bannerImplementationPath().string();
    struct Case {
        const char* name;
        std::function<void()> arrange;
        Ref<NSMutableURLRequest> request;
        bool claimed;
    };
    std::vector<Case> cases = {
        {"a creative's mraid.js", [] {}, scriptRequest("http://cdn.test/js/mraid.js"), true},
        {"relative to the page", [] {}, scriptRequest("http://ads.test/mads/mraid.js"), true},
        {"flag off", [] { YBXMRAIDInterceptor::disallow(); }, scriptRequest("http://cdn.test/mraid.js"), false},
        {"counter 0", [] { YBXMRAIDInterceptor::resetCanInitWithRequestCounter(); }, scriptRequest("http://cdn.test/mraid.js"), false},
        {"empty stash", [&] { sel::setURL_forView_(sel::webView(slot.get()).get(), nullptr, sel::webView(slot.get()).get()); },
         scriptRequest("http://cdn.test/mraid.js"), false},
        {"a location itself", [] {}, scriptRequest(banner), false},
        {"MRAID.js", [] {}, scriptRequest("http://cdn.test/MRAID.js"), false},
        {"another script", [] {}, scriptRequest("http://cdn.test/mraid.json"), false},
        {"unknown referer", [] {}, scriptRequest("http://cdn.test/mraid.js", std::string("http://elsewhere.test/page")), false},
        {"no referer", [] {}, scriptRequest("http://cdn.test/mraid.js", std::nullopt), false},
        {"empty referer", [] {}, scriptRequest("http://cdn.test/mraid.js", std::string()), false},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        YBXMRAIDInterceptor::allow();
        YBXMRAIDInterceptor::resetCanInitWithRequestCounter();
        YBXMRAIDInterceptor::enableCanInitWithRequest();
        showing(slot);
        c.arrange();
        EXPECT_EQ(sel::canInitWithRequest_(objc_getClass("YBXMRAIDInterceptor"), c.request.get()), c.claimed);
        EXPECT_EQ(network::protocolLoaderFor(c.request.get()) != nullptr, c.claimed);
    }
}

TEST_F(Interceptor, TheClassSetsItselfUpAtItsFirstUse) {
    // The first use registers and allows; the counter still starts at 0.
    YBXMRAIDInterceptor::resetCanInitWithRequestCounter();
    EXPECT_TRUE(YBXMRAIDInterceptor::isAllowed());
    EXPECT_FALSE(YBXMRAIDInterceptor::canInitWithRequestIsEnabled());
    EXPECT_EQ(YBXMRAIDInterceptor::bannerImplementationPath(), Value(YBXAdServerBaseURL() + kYBXMRAIDBannerPath));
    // The set of locations follows the setters.
    YBXMRAIDInterceptor::setBannerImplementationPath(Value("http://media.test/b.js"));
    EXPECT_TRUE(YBXMRAIDInterceptor::urlIsAnImplementationPath(NSURL::URLWithString("http://media.test/b.js").get()));
    EXPECT_FALSE(YBXMRAIDInterceptor::urlIsAnImplementationPath(NSURL::URLWithString(YBXAdServerBaseURL() + kYBXMRAIDBannerPath).get()));
    EXPECT_TRUE(YBXMRAIDInterceptor::urlIsAnImplementationPath(NSURL::URLWithString(YBXAdServerBaseURL() + kYBXMRAIDInterstitialPath).get()));
}

TEST_F(Interceptor, TheScriptFollowsTheDelegateKindAndTheAdType) {
    Ref<YBXSlot> banner = showing(testing::makeBannerSlot(kYBXAdSizeBanner), "http://ads.test/banner");
    Ref<YBXSlot> interstitial = showing(testing::makeSlot(), "http://ads.test/interstitial");
    // A web view of the library's with a delegate of another kind: an expanded ad.
    Ref<YBXWebView> expanded = UIView::make<YBXWebView>("YBXWebView", Rect(0, 0, 320, 480));
    Ref<Object> webAppDelegate = newObject("YBXWebViewDelegate");
    sel::setDelegate_(expanded.get(), webAppDelegate.get());
    sel::setURL_forView_(expanded.get(), NSURL::URLWithString("http://ads.test/expanded").get(), expanded.get());
    struct Case {
        const char* referer;
        Value location;
        Object* toldSlot;
    };
    for (const Case& c : {Case{"http://ads.test/banner", YBXMRAIDInterceptor::bannerImplementationPath(), banner.get()},
                          Case{"http://ads.test:80/interstitial", YBXMRAIDInterceptor::interstitialImplementationPath(), interstitial.get()},
                          Case{"http://ads.test/expanded", YBXMRAIDInterceptor::expandedBannerImplementationPath(), nullptr},
                          Case{"", Value(), nullptr}}) {
        SCOPED_TRACE(c.referer);
        willLoad().clear();
        Ref<Object> protocol = sel::initWithRequest_cachedResponse_client_(
            alloc("YBXMRAIDInterceptor"), scriptRequest("http://cdn.test/mraid.js", std::string(c.referer)).get(), nullptr, nullptr);
        ASSERT_TRUE(protocol);
        EXPECT_EQ(sel::mraidLocationToLoad(protocol.get()), c.location);
        EXPECT_EQ(willLoad(), c.toldSlot ? std::vector<Object*>{c.toldSlot} : std::vector<Object*>{});
    }
}

TEST_F(Interceptor, ServesTheScriptFromItsLocationOnTheLoadsThread) {
    Ref<YBXSlot> slot = showing(testing::makeBannerSlot(kYBXAdSizeBanner));
    const std::string location = YBXMRAIDInterceptor::bannerImplementationPath().string();
    transport->answer(location, ScriptedTransport::Script::body({"window.mraid = {};"}));
    auto answer = load(scriptRequest("http://cdn.test/mraid.js").get());
    waitFor(answer);
    ASSERT_FALSE(answer->error);
    EXPECT_EQ(answer->body, "window.mraid = {};");
    ASSERT_TRUE(answer->response);
    EXPECT_EQ(answer->response->URL()->absoluteString(), location);
    EXPECT_EQ(answer->response->MIMEType(), "application/javascript");
    EXPECT_EQ(answer->response->expectedContentLength(), 18);
    EXPECT_EQ(willLoad(), std::vector<Object*>{slot.get()});
    // The fetch went to the network as it is: no referer, so never claimed again.
    EXPECT_EQ(transport->log(), std::vector<std::string>{"GET " + location});
    EXPECT_FALSE(transport->requests()[0]->valueForHTTPHeaderField("Referer"));
}

TEST_F(Interceptor, AFailedFetchFailsTheLoad) {
    Ref<YBXSlot> slot = showing(testing::makeBannerSlot(kYBXAdSizeBanner));
    const std::string location = YBXMRAIDInterceptor::bannerImplementationPath().string();
    struct Case {
        const char* name;
        ScriptedTransport::Script script;
        long long code;
    };
    for (const Case& c : {Case{"transport error", ScriptedTransport::Script::failure(NSURLErrorCannotConnectToHost), NSURLErrorCannotConnectToHost},
                          Case{"status 404", ScriptedTransport::Script::body({"missing"}, 404), NSURLErrorBadServerResponse},
                          Case{"status 500", ScriptedTransport::Script::body({}, 500), NSURLErrorBadServerResponse}}) {
        SCOPED_TRACE(c.name);
        transport->answer(location, c.script);
        auto answer = load(scriptRequest("http://cdn.test/mraid.js").get());
        waitFor(answer);
        ASSERT_TRUE(answer->error);
        EXPECT_EQ(answer->error->domain(), NSURLErrorDomain);
        EXPECT_EQ(answer->error->code(), c.code);
        EXPECT_TRUE(answer->body.empty());
    }
}

TEST_F(Interceptor, TheMainThreadDestroyingTheWebViewLeavesNoLocation) {
    Ref<YBXSlot> slot = showing(testing::makeBannerSlot(kYBXAdSizeBanner));
    transport->answer(YBXMRAIDInterceptor::bannerImplementationPath().string(), ScriptedTransport::Script::body({"served"}));
    auto answer = load(scriptRequest("http://cdn.test/mraid.js").get());
    // Claimed on the main thread; the load's own thread is on its way.
    ASSERT_TRUE(RunLoop::main().runUntil([] { return network::runningProtocolLoads() > 0; }, 10.0));
    slot = nullptr;  // the slot, its web view and the stash entry go
    waitFor(answer);
    // Served before the view went, or refused after: never a load left hanging.
    if (answer->error) {
        EXPECT_EQ(answer->error->domain(), NSCocoaErrorDomain);
        EXPECT_EQ(answer->error->code(), kYBXMRAIDNoLocationErrorCode);
        EXPECT_TRUE(answer->error->userInfo().isNil());
    } else {
        EXPECT_EQ(answer->body, "served");
    }
    EXPECT_FALSE(YBXAdURLStash::hasStashedURLs());
}

}  // namespace
}  // namespace adlib
