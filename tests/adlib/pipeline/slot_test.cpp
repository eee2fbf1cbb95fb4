#include "adlib/pipeline/slot.h"

#include <gtest/gtest.h>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/ad.h"
#include "adlib/render/opener.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"
#include "platform/uikit/application.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

using testing::makeDelegate;
using testing::makeRequest;
using testing::makeSlot;
using testing::neighbourLog;
using testing::SlotTest;

// Puts a fresh slot into a state the way requests do: through requesting (2).
void bringTo(YBXSlot* slot, long long state) {
    if (state == 0) return;
    if (state != YBXSlotStateInvalidated) slot->setState(YBXSlotStateRequestingAdURL);
    if (state != YBXSlotStateRequestingAdURL) slot->setState(state);
}

bool countedIn(long long state) { return state >= YBXSlotStateRequestingAdURL && state <= YBXSlotStateRendering; }

using SlotStates = SlotTest;

TEST_F(SlotStates, SetStateStoresAndCountsEachRequestOnce) {
    for (long long current = 0; current <= 8; ++current) {
        for (long long next = 0; next <= 8; ++next) {
            SCOPED_TRACE(::testing::Message() << current << " -> " << next);
            Ref<YBXSlot> slot = makeSlot();
            bringTo(slot.get(), current);
            ASSERT_EQ(sel::YBXSlot_state(slot.get()), current);
            const int before = neighbourLog().counted();
            sel::YBXSlot_setState_(slot.get(), next);

            const bool ignored = current == 8 || next == current;
            EXPECT_EQ(sel::YBXSlot_state(slot.get()), ignored ? current : next);
            int change = 0;
            if (!ignored && next == 2 && !countedIn(current)) change = 1;
            if (!ignored && (next == 1 || next == 6 || next == 7 || next == 8) && countedIn(current)) change = -1;
            EXPECT_EQ(neighbourLog().counted() - before, change);
            slot->cancelPendingActions();
        }
    }
    EXPECT_EQ(neighbourLog().counted(), 0);
}

TEST_F(SlotStates, EverySequenceLeavesTheInterceptorCounterWhereItStarted) {
    struct Case {
        const char* name;
        void (*run)(YBXSlot*);
    };
    const Case cases[] = {
        {"refresh",
         [](YBXSlot* s) {
             for (int round = 0; round < 2; ++round)
                 for (long long state : {2, 3, 0, 4, 5, 6}) s->setState(state);
         }},
        {"retry",
         [](YBXSlot* s) {
             for (long long state : {2, 3, 0, 4, 7, 2, 7}) s->setState(state);
         }},
        {"cancel mid-request",
         [](YBXSlot* s) {
             for (long long state : {2, 3, 0, 4}) s->setState(state);
             sel::cancelPendingActions(s);
             EXPECT_EQ(s->state_, 0);
         }},
        {"invalidation",
         [](YBXSlot* s) {
             for (long long state : {2, 3, 0, 4, 5}) s->setState(state);
             sel::cancelPendingAndFutureActions(s);
             EXPECT_EQ(s->state_, 8);
         }},
        {"failure without request",
         [](YBXSlot* s) { sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_(s, nullptr, false, false); }},
        {"teardown mid-request", [](YBXSlot* s) { s->setState(2); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = neighbourLog().counted();
        {
            Ref<YBXSlot> slot = makeSlot();
            c.run(slot.get());
            if (std::string(c.name) != "teardown mid-request") {
                EXPECT_EQ(neighbourLog().counted(), before);
            }
        }
        EXPECT_EQ(neighbourLog().counted(), before);
    }
}

TEST_F(SlotStates, AnInvalidatedSlotStaysInvalidatedAndMakesNoRequest) {
    Ref<YBXSlot> slot = makeSlot();
    sel::cancelPendingAndFutureActions(slot.get());
    for (long long state = 0; state <= 8; ++state) sel::YBXSlot_setState_(slot.get(), state);
    EXPECT_EQ(sel::YBXSlot_state(slot.get()), 8);
    EXPECT_FALSE(sel::shouldMakeRequest_(slot.get(), nullptr));
    EXPECT_FALSE(sel::isReloadable(slot.get()));
    sel::loadRequest_(slot.get(), makeRequest().get());
    EXPECT_TRUE(neighbourLog().builtAdURLFor.empty());
}

TEST_F(SlotStates, CreationWiresTheWebViewItsDelegateTheGlueAndTheClassSetUpOnce) {
    Ref<YBXSlot> first = makeSlot(Rect{{0, 0}, {300, 250}});
    Ref<YBXSlot> second = makeSlot();
    EXPECT_EQ(neighbourLog().earlyActivities, 1);
    EXPECT_EQ(first->state_, 0);
    EXPECT_TRUE(sel::isReloadable(first.get()));
    EXPECT_EQ(sel::adResponseDelegate(first.get()).get(), first.get());
    EXPECT_TRUE(sel::isInterstitial(sel::adType(first.get()).get()));
    ASSERT_TRUE(first->webView_);
    EXPECT_EQ(sel::frame(first->webView_.get()), (Rect{{0, 0}, {300, 250}}));
    EXPECT_EQ(sel::delegate(first->webView_.get()).get(), first->webViewDelegate_.get());
    EXPECT_EQ(sel::slot(first->webViewDelegate_.get()).get(), first.get());
    Ref<Object> opener = sel::opener(first->webViewDelegate_.get());
    EXPECT_EQ(sel::slot(opener.get()).get(), first.get());
    EXPECT_EQ(sel::slot(first->adMediationGlue_.get()).get(), first.get());
    EXPECT_EQ(sel::description(first.get()).string().rfind("<YBXSlot: 0x", 0), 0u);

    // Teardown lets go of everything that pointed back at the slot.
    Ref<Object> glue = first->adMediationGlue_;
    Ref<Object> webView = first->webView_;
    sel::setDelegate_(opener.get(), second.get());
    first = nullptr;
    EXPECT_FALSE(sel::slot(glue.get()));
    EXPECT_FALSE(sel::delegate(webView.get()));
    EXPECT_FALSE(sel::delegate(opener.get()));
}

// --- refusals ---------------------------------------------------------------------------------

TEST_F(SlotStates, ShouldMakeRequestOnlyWhenIdleOrDoneAndTheAppIsActive) {
    for (bool active : {true, false}) {
        for (long long state = 0; state <= 8; ++state) {
            SCOPED_TRACE(::testing::Message() << "state " << state << (active ? " active" : " inactive"));
            testing::setAppActive(active);
            Ref<YBXSlot> slot = makeSlot();
            Ref<testing::SlotTestDelegate> delegate = makeDelegate();
            sel::setAdEventDelegate_(slot.get(), delegate.get());
            bringTo(slot.get(), state);
            const bool expected = active && (state == 0 || state == 1 || state == 6 || state == 7);
            EXPECT_EQ(sel::shouldMakeRequest_(slot.get(), nullptr), expected);
            EXPECT_EQ(sel::isMakingRequest(slot.get()), !(state == 0 || state == 1 || state == 6 || state == 7));

            // A refused request is silent: no state change, no callback, no page.
            const size_t asked = neighbourLog().builtAdURLFor.size();
            sel::loadRequest_(slot.get(), makeRequest().get());
            if (!expected) {
                EXPECT_EQ(slot->state_, state);
                EXPECT_TRUE(delegate->calls.empty());
                EXPECT_EQ(neighbourLog().builtAdURLFor.size(), asked);
            } else {
                EXPECT_EQ(slot->state_, 2);
                EXPECT_EQ(neighbourLog().builtAdURLFor.size(), asked + 1);
            }
            slot->cancelPendingActions();
        }
    }
}

class UnsupportedOS : public testing::SlotTest {
protected:
    UnsupportedOS() : SlotTest(testing::appOptions("4.3")) {}
};

TEST_F(UnsupportedOS, RequestsAreRefusedSilently) {
    Ref<YBXSlot> slot = makeSlot();
    Ref<testing::SlotTestDelegate> delegate = makeDelegate();
    sel::setAdEventDelegate_(slot.get(), delegate.get());
    EXPECT_FALSE(sel::shouldMakeRequest_(slot.get(), nullptr));
    sel::loadRequest_(slot.get(), makeRequest().get());
    EXPECT_EQ(slot->state_, 0);
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_TRUE(neighbourLog().builtAdURLFor.empty());
}

// --- the request road ---------------------------------------------------------------------------

using SlotRoad = SlotTest;

TEST_F(SlotRoad, AnAdInTheExtrasIsLoadedDirectly) {
    struct Case {
        const char* name;
        bool interstitial;
        Value orientation;
        long long expectedOrientation;
        const char* expectedClass;
    };
    const Case cases[] = {
        {"banner, landscape", false, Value("l"), 3, "YBXAdBanner"},
        {"banner, portrait", false, Value("p"), 2, "YBXAdBanner"},
        {"banner, other orientation", false, Value("x"), 1, "YBXAdBanner"},
        {"interstitial, no orientation", true, Value(), 1, "YBXAdInterstitial"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        neighbourLog().loadedAds.clear();
        Ref<YBXSlot> slot = c.interstitial ? makeSlot() : testing::makeBannerSlot(kYBXAdSizeBanner);
        Value::Dictionary extras{{"_ad", Value(Value::Dictionary{{"ad_url", Value("http://127.0.0.1:1/ad")}})},
                                 {"_adHeaders", Value(Value::Dictionary{{"X-Kestra-Response-Type", Value("html")}})}};
        if (!c.orientation.isNil()) extras["_orientation"] = c.orientation;
        const size_t asked = neighbourLog().builtAdURLFor.size();
        sel::loadRequest_(slot.get(), makeRequest(Value(extras)).get());

        ASSERT_EQ(neighbourLog().loadedAds.size(), 1u);
        const auto& loaded = neighbourLog().loadedAds[0];
        EXPECT_EQ(object_getClass(loaded.ad.get())->name(), c.expectedClass);
        EXPECT_EQ(loaded.headers, Value(Value::Dictionary{{"X-Kestra-Response-Type", Value("html")}}));
        EXPECT_EQ(loaded.stateBefore, 2);
        EXPECT_EQ(sel::supportedOrientations(loaded.ad.get()), c.expectedOrientation);
        EXPECT_EQ(slot->state_, 4);
        EXPECT_EQ(slot->loadingAd_.get(), loaded.ad.get());
        EXPECT_EQ(neighbourLog().builtAdURLFor.size(), asked);  // the page is never asked
        slot->cancelPendingActions();
    }
}

TEST_F(SlotRoad, ARequestURLInTheExtrasIsFetchedDirectly) {
    Ref<YBXSlot> slot = makeSlot();
    Ref<NSURL> url = NSURL::URLWithString("http://127.0.0.1:1/direct");
    const int allowed = neighbourLog().interceptorAllowed;
    sel::loadRequest_(slot.get(), makeRequest(Value(Value::Dictionary{{"_requestUrl", Value(url)}, {"_orientation", Value("p")}})).get());
    ASSERT_EQ(neighbourLog().loadedAds.size(), 1u);
    const auto& loaded = neighbourLog().loadedAds[0];
    EXPECT_EQ(object_getClass(loaded.ad.get())->name(), "YBXAd");
    EXPECT_TRUE(url->isEqual(as<NSURL>(sel::adURL(loaded.ad.get()).get())));
    EXPECT_TRUE(loaded.headers.isNil());
    EXPECT_EQ(sel::supportedOrientations(loaded.ad.get()), 2);
    EXPECT_EQ(neighbourLog().interceptorAllowed, allowed + 1);
    EXPECT_TRUE(neighbourLog().builtAdURLFor.empty());
}

TEST_F(SlotRoad, OtherwiseThePageBuildsTheAdURL) {
    for (bool nilRequest : {false, true}) {
        SCOPED_TRACE(nilRequest ? "nil request" : "request without extras");
        neighbourLog().builtAdURLFor.clear();
        Ref<YBXSlot> slot = makeSlot();
        // A text is no URL and a text is no ad.
        Ref<Object> request = nilRequest ? nullptr : makeRequest(Value(Value::Dictionary{{"_ad", Value("{}")}, {"_requestUrl", Value("http://x/")}}));
        sel::loadRequest_(slot.get(), request.get());
        ASSERT_EQ(neighbourLog().builtAdURLFor.size(), 1u);
        EXPECT_EQ(neighbourLog().builtAdURLFor[0], slot.get());
        EXPECT_EQ(slot->state_, 2);
        EXPECT_TRUE(sel::request(slot.get()));
        if (!nilRequest) {
            EXPECT_EQ(sel::request(slot.get()).get(), request.get());
        }
        EXPECT_FALSE(sel::hasAutoRefreshed(slot.get()));
        EXPECT_TRUE(neighbourLog().loadedAds.empty());
        slot->cancelPendingActions();
    }
}

// --- refresh ------------------------------------------------------------------------------------

using SlotRefresh = SlotTest;

bool hasTimer(YBXSlot* slot) { return slot->reloadTimer_ && slot->reloadTimer_->isValid(); }

TEST_F(SlotRefresh, ScheduleReloadTimerOnlyForReloadableBannersNotMadeByMediation) {
    struct Case {
        double interval;
        bool reloadable, createdOnMediation, interstitial;
        bool timer;
        double storedInterval;
    };
    const Case cases[] = {
        {30, true, false, false, true, 30},   {0, true, false, false, false, 0},   {-5, true, false, false, false, 0},
        {30, false, false, false, false, 0},  {30, true, true, false, false, 0},   {30, true, false, true, false, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.interval << (c.reloadable ? " reloadable" : "") << (c.createdOnMediation ? " mediation" : "")
                                          << (c.interstitial ? " interstitial" : ""));
        Ref<YBXSlot> slot = c.interstitial ? makeSlot() : testing::makeBannerSlot(kYBXAdSizeBanner);
        Ref<testing::SlotTestDelegate> delegate = makeDelegate();
        delegate->createdOnMediation = c.createdOnMediation;
        sel::setSlotDelegate_(slot.get(), delegate.get());
        sel::setReloadable_(slot.get(), c.reloadable);
        sel::scheduleReloadTimer_(slot.get(), c.interval);
        EXPECT_EQ(hasTimer(slot.get()), c.timer);
        EXPECT_EQ(sel::reloadInterval(slot.get()), c.storedInterval);

        platform::testing::advance(31);
        const bool asked = !delegate->calls.empty() && delegate->calls[0] == "slotShouldReloadCurrentRequest:";
        EXPECT_EQ(asked, c.timer);
        if (c.timer) {
            EXPECT_EQ(slot->state_, 2);
        }
        slot->cancelPendingActions();
    }
}

TEST_F(SlotRefresh, AFiringThatStartsNoRequestIsSkippedNotEnded) {
    struct Case {
        const char* name;
        bool silent;
        bool answer;
        bool busy;
    };
    const Case cases[] = {
        {"answered YES", false, true, false},
        {"answered NO", false, false, false},
        {"not implemented", true, false, false},
        {"busy", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXSlot> slot = testing::makeBannerSlot(kYBXAdSizeBanner);
        Ref<testing::SlotTestDelegate> delegate = makeDelegate(c.silent);
        delegate->shouldReload = c.answer;
        sel::setSlotDelegate_(slot.get(), delegate.get());
        if (c.busy) slot->setState(YBXSlotStateFetching);
        sel::scheduleReloadTimer_(slot.get(), 10);
        platform::testing::advance(9);
        EXPECT_EQ(slot->state_, c.busy ? 4 : 0);
        platform::testing::advance(1.5);
        if (c.answer && !c.busy) {
            EXPECT_EQ(slot->state_, 2);
            EXPECT_TRUE(sel::hasAutoRefreshed(slot.get()));
            EXPECT_FALSE(hasTimer(slot.get()));  // the request's end schedules the next one
        } else {
            EXPECT_EQ(slot->state_, c.busy ? 4 : 0);
            EXPECT_TRUE(hasTimer(slot.get()));
            EXPECT_EQ(sel::reloadInterval(slot.get()), 10);
        }
        slot->cancelPendingActions();
    }
}

TEST_F(SlotRefresh, TheTimerDoesNotKeepTheSlotAlive) {
    WeakRef<Object> weak;
    {
        Ref<YBXSlot> slot = testing::makeBannerSlot(kYBXAdSizeBanner);
        weak = WeakRef<Object>(slot.get());
        sel::scheduleReloadTimer_(slot.get(), 5);
    }
    EXPECT_FALSE(weak.lock());
    platform::testing::advance(6);
}

TEST_F(SlotRefresh, TheFourNotificationsStopAndRestartTheTimer) {
    Ref<YBXSlot> slot = testing::makeBannerSlot(kYBXAdSizeBanner);
    sel::scheduleReloadTimer_(slot.get(), 20);
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    struct Step {
        std::string name;
        bool timer;
    };
    const Step steps[] = {
        {UIApplicationWillResignActiveNotification, false},
        {UIApplicationDidBecomeActiveNotification, true},
        {"kAdModalViewControllerWillPresentFullScreen", false},
        {"kAdModalViewControllerDidDismissFullScreen", true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        // Any object: the slot observes every sender.
        center->postNotificationName(step.name, Value(alloc("NSObject")));
        EXPECT_EQ(hasTimer(slot.get()), step.timer);
        EXPECT_EQ(sel::reloadInterval(slot.get()), 20);
    }
}

// --- failures -------------------------------------------------------------------------------------

using SlotFailure = SlotTest;

TEST_F(SlotFailure, ANilErrorIsCodeElevenAndTheFlagsAreHonoured) {
    struct Case {
        bool reload, cancel;
        long long finalState;
        bool timer;
    };
    const Case cases[] = {{false, false, 7, false}, {true, false, 7, true}, {false, true, 0, false}, {true, true, 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "reload " << c.reload << " cancel " << c.cancel);
        Ref<YBXSlot> slot = testing::makeBannerSlot(kYBXAdSizeBanner);
        Ref<testing::SlotTestDelegate> delegate = makeDelegate();
        sel::setAdEventDelegate_(slot.get(), delegate.get());
        sel::scheduleReloadTimer_(slot.get(), 15);
        sel::deactivateReloadTimer(slot.get());
        sel::loadRequest_(slot.get(), makeRequest().get());
        sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_(slot.get(), nullptr, c.reload, c.cancel);
        EXPECT_EQ(slot->state_, c.finalState);
        EXPECT_EQ(hasTimer(slot.get()), c.timer);
        EXPECT_FALSE(sel::loadingAd(slot.get()));
        ASSERT_EQ(delegate->errors.size(), 1u);
        EXPECT_EQ(sel::code(delegate->errors[0].get()), YBXErrorCodeInternal);
        EXPECT_EQ(sel::domain(delegate->errors[0].get()), std::string(kYBXErrorDomain));
    }
}

TEST_F(SlotFailure, TheSDKCorePageFailingIsStateOneAndRefreshGoesOn) {
    Ref<YBXSlot> slot = testing::makeBannerSlot(kYBXAdSizeBanner);
    Ref<testing::SlotTestDelegate> delegate = makeDelegate();
    sel::setAdEventDelegate_(slot.get(), delegate.get());
    sel::scheduleReloadTimer_(slot.get(), 15);
    sel::deactivateReloadTimer(slot.get());
    sel::loadRequest_(slot.get(), makeRequest().get());
    sel::failedJavaScriptFile(slot.get());
    EXPECT_EQ(slot->state_, 1);
    EXPECT_TRUE(hasTimer(slot.get()));
    ASSERT_EQ(delegate->errors.size(), 1u);
    EXPECT_EQ(sel::code(delegate->errors[0].get()), YBXErrorCodeNetwork);
    EXPECT_EQ(neighbourLog().counted(), 0);
}

TEST_F(SlotFailure, PendingAdStatisticsTravelWithExactlyOneRequest) {
    Ref<YBXSlot> slot = makeSlot();
    testing::addPendingAdStatistics(Value(Value::Dictionary{{"pcc", Value(1LL)}}));
    sel::loadRequest_(slot.get(), makeRequest().get());
    Value first = sel::requestParameters(slot.get());
    ASSERT_EQ(first["quality_signals"]["ads"].array().size(), 1u);

    // The request fails: the set goes back once, and teardown sends nothing more.
    sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_(slot.get(), nullptr, false, true);
    EXPECT_EQ(neighbourLog().handedBack.size(), 1u);

    // The next request takes it again, once.
    sel::loadRequest_(slot.get(), makeRequest().get());
    Value second = sel::requestParameters(slot.get());
    EXPECT_EQ(second["quality_signals"]["ads"], first["quality_signals"]["ads"]);
    Value third = sel::requestParameters(slot.get());
    EXPECT_EQ(third["quality_signals"]["ads"], first["quality_signals"]["ads"]);  // still one set, not two
    EXPECT_EQ(third["quality_signals"]["ads"].array().size(), 1u);

    // A cancelled request hands its set back too.
    sel::cancelPendingActions(slot.get());
    EXPECT_EQ(neighbourLog().handedBack.size(), 3u);
    slot = nullptr;
    EXPECT_EQ(neighbourLog().handedBack.size(), 3u);
}

TEST_F(SlotFailure, AValidAdKeepsItsStatisticsSent) {
    {
        Ref<YBXSlot> slot = makeSlot();
        testing::addPendingAdStatistics(Value(Value::Dictionary{{"pcc", Value(2LL)}}));
        sel::loadRequest_(slot.get(), makeRequest().get());
        sel::requestParameters(slot.get());
        sel::didReceiveValidAd(slot.get());
        EXPECT_EQ(slot->state_, 6);
    }
    EXPECT_TRUE(neighbourLog().handedBack.empty());
}

// --- relays -----------------------------------------------------------------------------------

TEST_F(SlotStates, RelaysAskTheDelegateFirst) {
    Ref<YBXSlot> slot = makeSlot();
    for (bool silent : {false, true}) {
        Ref<testing::SlotTestDelegate> delegate = makeDelegate(silent);
        sel::setAdEventDelegate_(slot.get(), delegate.get());
        sel::adWillPresentScreen(slot.get());
        sel::adWillDismissScreen(slot.get());
        sel::adDidDismissScreen(slot.get());
        sel::adWillLeaveApplication(slot.get());
        sel::adFinishedLoadingContent(slot.get());
        sel::adFailedToReceiveContentWithError_(slot.get(), nullptr);
        const std::vector<std::string> expected = {"slotWillPresentScreen:",        "slotWillDismissScreen:",
                                                   "slotDidDismissScreen:",         "slotWillLeaveApplication:",
                                                   "slotFinishedLoadingAdContent:", "slot:didFailToLoadAdContentWithError:"};
        EXPECT_EQ(delegate->calls, silent ? std::vector<std::string>{} : expected);
    }
}

TEST_F(SlotStates, InAppPurchasesGoToTheDelegateOrAreLogged) {
    Ref<YBXSlot> slot = makeSlot();
    EXPECT_FALSE(sel::inAppPurchaseDelegate(slot.get()));
    Ref<testing::SlotTestDelegate> delegate = makeDelegate();
    sel::setSlotDelegate_(slot.get(), delegate.get());
    EXPECT_FALSE(sel::inAppPurchaseDelegate(slot.get()));
    Ref<Object> purchaseDelegate = alloc("NSObject");
    delegate->purchaseDelegate = purchaseDelegate;
    EXPECT_EQ(sel::inAppPurchaseDelegate(slot.get()).get(), purchaseDelegate.get());
    // A delegate that does not take purchases is not told.
    sel::didReceiveInAppPurchase_(slot.get(), alloc("NSObject").get());
}

TEST_F(SlotStates, MediationSeamsAnswerNothingYet) {
    Ref<YBXSlot> slot = makeSlot();
    EXPECT_FALSE(sel::mediatedInterstitial(slot.get()));
    EXPECT_FALSE(sel::isMediating(slot.get()));
    EXPECT_TRUE(sel::adNetworkClassName(slot.get()).isNil());
    EXPECT_FALSE(sel::changeAdTypeTo_(slot->adMediationGlue_.get(), sel::adType(slot.get()).get()));
    // The glue makes its manager with itself as the manager's delegate.
    Ref<Object> manager = sel::mediationManager(slot->adMediationGlue_.get());
    ASSERT_TRUE(manager);
    EXPECT_EQ(sel::delegate(manager.get()).get(), slot->adMediationGlue_.get());
    sel::presentMediatedInterstitialFromRootViewController_(slot.get(), nullptr);
    sel::didReceiveValidAd(slot.get());
    EXPECT_EQ(sel::adNetworkClassName(slot.get()), Value("YBXMAdapterOrvaneMarlexAds"));
}

// --- click decoration -----------------------------------------------------------------------------

using SlotClicks = SlotTest;

TEST_F(SlotClicks, OnlyAdServerURLsWithAnAdInfoGetTheClickSignal) {
    struct Case {
        const char* name;
        const char* url;
        const char* domains;  // "as_domains", or nullptr for none
        bool decorated;
    };
    const Case cases[] = {
        {"creative message", "pmsg://open?url=x&ai=abc", nullptr, false},
        {"blank page", "about:blank", nullptr, false},
        {"empty query", "http://127.0.0.1:47800/aclk?", nullptr, false},
        {"no query", "http://127.0.0.1:47800/aclk", nullptr, false},
        {"built-in host with ai", "http://127.0.0.1:47800/aclk?ai=abc&x=1", nullptr, true},
        {"built-in host without ai", "http://127.0.0.1:47800/aclk?x=1", nullptr, false},
        {"built-in host with empty ai", "http://127.0.0.1:47800/aclk?ai=&x=1", nullptr, false},
        {"foreign host", "http://example.com/aclk?ai=abc", nullptr, false},
        {"listed domain", "http://orvane.com/aclk?ai=abc", "orvane.com", true},
        {"listed subdomain, other case", "http://Ads.Orvane.COM/aclk?ai=abc", " other.net , orvane.com,", true},
        {"look-alike host", "http://evilorvane.com/aclk?ai=abc", "orvane.com", false},
        {"listed domains replace the built-in ones", "http://127.0.0.1:47800/aclk?ai=abc", "orvane.com", false},
        {"empty list falls back", "http://127.0.0.1:47800/aclk?ai=abc", "", true},
        {"list of empty entries only", "http://127.0.0.1:47800/aclk?ai=abc", " , ", true},
    };
    Ref<YBXSlot> slot = makeSlot();
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.domains) defaults->setObject(Value(c.domains), "as_domains");
        else defaults->removeObjectForKey("as_domains");
        Ref<NSURL> url = NSURL::URLWithString(c.url);
        ASSERT_TRUE(url);
        Ref<NSURL> out = as<NSURL>(sel::spamClickURLWithURL_(slot.get(), url.get()));
        ASSERT_TRUE(out);
        if (!c.decorated) {
            EXPECT_EQ(out->absoluteString(), url->absoluteString());
        } else {
            // The signal is one bare key: no "=" after the original query.
            const std::string& text = out->absoluteString();
            ASSERT_GT(text.size(), url->absoluteString().size() + 1);
            EXPECT_EQ(text.rfind(url->absoluteString() + "&", 0), 0u);
            EXPECT_EQ(text.find('=', url->absoluteString().size()), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace adlib
