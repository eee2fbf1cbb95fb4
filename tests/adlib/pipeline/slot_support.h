// Test support of the slot: a slot with recording delegates, hooks that record
// what the slot tells its neighbours (the application, the MRAID interceptor,
// the SDK-core controller, its own loadAd:headers:), and a stand-in request
// while the library has no request class.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/foundation/ad_type.h"
#include "adlib/pipeline/slot.h"
#include "platform/uikit/application.h"
#include "adlib/pipeline/slot_neighbours.h"
#include "platform/foundation/timer.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib::testing {

// What the slot's neighbours were told, in order.
struct NeighbourLog {
    int interceptorEnabled = 0;
    int interceptorDisabled = 0;
    int interceptorAllowed = 0;
    int earlyActivities = 0;
    std::vector<Object*> builtAdURLFor;
    // Each set of ad statistics handed back, as the array it came in.
    std::vector<Value> handedBack;
    // Each call of loadAd:headers: that reached a slot in a state to load.
    struct LoadedAd {
        Ref<Object> ad;
        Value headers;
        long long stateBefore = 0;
    };
    std::vector<LoadedAd> loadedAds;
    int counted() const { return interceptorEnabled - interceptorDisabled; }
};

inline NeighbourLog& neighbourLog() {
    static NeighbourLog log;
    return log;
}

namespace detail {

inline void (*previousEnable)(id) = nullptr;
inline void (*previousDisable)(id) = nullptr;
inline void (*previousAllow)(id) = nullptr;
inline void (*previousEarly)(id) = nullptr;
inline void (*previousBuild)(id, id) = nullptr;
inline void (*previousHandBack)(id, Value) = nullptr;
inline void (*previousLoadAd)(id, id, Value) = nullptr;


inline void installHooks() {
    Class* interceptor = objc_getClass("YBXMRAIDInterceptor")->metaclass();
    MSHookMessageEx(interceptor, sel::enableCanInitWithRequest,
                    +[](id self) {
                        ++neighbourLog().interceptorEnabled;
                        previousEnable(self);
                    },
                    &previousEnable);
    MSHookMessageEx(interceptor, sel::disableCanInitWithRequest,
                    +[](id self) {
                        ++neighbourLog().interceptorDisabled;
                        previousDisable(self);
                    },
                    &previousDisable);
    MSHookMessageEx(interceptor, sel::allow,
                    +[](id self) {
                        ++neighbourLog().interceptorAllowed;
                        previousAllow(self);
                    },
                    &previousAllow);
    MSHookMessageEx(objc_getClass("YBXApplication"), sel::runEarlyActivities,
                    +[](id self) {
                        ++neighbourLog().earlyActivities;
                        previousEarly(self);
                    },
                    &previousEarly);
    MSHookMessageEx(objc_getClass("YBXApplication"), sel::didNotSendAdStatistics_,
                    +[](id self, Value statistics) {
                        neighbourLog().handedBack.push_back(statistics);
                        previousHandBack(self, statistics);
                    },
                    &previousHandBack);
    MSHookMessageEx(objc_getClass("YBXSDKCoreController"), sel::buildAdURL_,
                    +[](id self, id requester) {
                        neighbourLog().builtAdURLFor.push_back(requester);
                        previousBuild(self, requester);
                    },
                    &previousBuild);
    MSHookMessageEx(objc_getClass("YBXSlot"), sel::loadAd_headers_,
                    +[](id self, id ad, Value headers) {
                        neighbourLog().loadedAds.push_back({Ref<Object>(ad), headers, sel::YBXSlot_state(self)});
                        previousLoadAd(self, ad, headers);
                    },
                    &previousLoadAd);
}

}  // namespace detail

inline void setAppActive(bool active) {
    if (active) {
        lifecycle::becomeActive();
    } else {
        // The application counts as inactive only once it has launched.
        YBXApplication::sharedApplication()->setAppFinishedLaunching();
        lifecycle::enterBackground();
    }
}

inline void addPendingAdStatistics(const Value& dictionary) {
    Ref<YBXStatisticDictionary> record = YBXStatisticDictionary::make();
    for (const auto& [key, value] : dictionary.dictionary()) record->setObject(value, key, false);
    sel::didNotSendAdStatistics_(application().get(), Value(Value::Array{Value(Ref<Object>(record.get()))}));
    neighbourLog().handedBack.pop_back();  // the test's own, not the slot's
}

// A publisher's request whose Marlex extras carry the given parameters.
inline Ref<Object> makeRequest(const Value& extras = Value()) {
    Ref<Object> request = sel::init(alloc("YBXRequest"));
    if (!extras.isNil()) {
        Ref<Object> marlex = sel::init(alloc("YBXMarlexExtras"));
        sel::setAdditionalParameters_(marlex.get(), extras);
        sel::registerAdNetworkExtras_(request.get(), marlex.get());
    }
    return request;
}

inline void installSlotNeighbours() {
    detail::installHooks();
}

// A delegate of every slot protocol that records what it hears; its answers
// are fields. "SlotTestSilentDelegate" is the same object implementing nothing.
class SlotTestDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    std::vector<Ref<Object>> errors;
    bool shouldReload = true;
    bool createdOnMediation = false;
    Value validSizes;
    Rect frame{{1, 2}, {320, 50}};
    Rect bounds{{0, 0}, {320, 50}};
    Value position;
    Ref<Object> purchaseDelegate;
    // What "SlotTestRenderingDelegate" answers to slot:shouldUseCustomRenderingForAd:.
    bool rendersItself = false;
    // Each size given to setAdSize:andReload: and to slot:willResizeToAdSize:.
    std::vector<YBXAdSize> sizesSet;
    std::vector<YBXAdSize> resizes;
    std::vector<Ref<Object>> adViews;
};

// The delegate records each call by its selector's name.
inline void registerDelegateClasses() {
    if (objc_getClass("SlotTestDelegate")) return;
    ClassBuilder<SlotTestDelegate>("SlotTestSilentDelegate", "NSObject");
    ClassBuilder<SlotTestDelegate>("SlotTestDelegate", "SlotTestSilentDelegate")
        .method(sel::slotShouldReloadCurrentRequest_,
                [](id self, id) {
                    as<SlotTestDelegate>(self)->calls.emplace_back("slotShouldReloadCurrentRequest:");
                    return as<SlotTestDelegate>(self)->shouldReload;
                })
        .method(sel::createdOnMediationRequest, [](id self) { return as<SlotTestDelegate>(self)->createdOnMediation; })
        .method(sel::validAdSizes, [](id self) { return as<SlotTestDelegate>(self)->validSizes; })
        .method(sel::frame, [](id self) { return as<SlotTestDelegate>(self)->frame; })
        .method(sel::bounds, [](id self) { return as<SlotTestDelegate>(self)->bounds; })
        .method(sel::coordinatesOfContentInScreen_, [](id self, id) { return as<SlotTestDelegate>(self)->position; })
        .method(sel::inAppPurchaseDelegate, [](id self) { return as<SlotTestDelegate>(self)->purchaseDelegate; })
        .method(sel::slot_didReceiveAdView_,
                [](id self, id, id view) {
                    as<SlotTestDelegate>(self)->calls.emplace_back("slot:didReceiveAdView:");
                    as<SlotTestDelegate>(self)->adViews.emplace_back(view);
                })
        .method(sel::setAdSize_andReload_,
                [](id self, YBXAdSize size, bool) { as<SlotTestDelegate>(self)->sizesSet.push_back(size); })
        .method(sel::slot_willResizeToAdSize_, [](id self, id, YBXAdSize size) { as<SlotTestDelegate>(self)->resizes.push_back(size); })
        .method(sel::slotFinishedLoadingAdContent_, [](id self, id) { as<SlotTestDelegate>(self)->calls.emplace_back("slotFinishedLoadingAdContent:"); })
        .method(sel::slot_didFailToLoadAdContentWithError_,
                [](id self, id, id error) {
                    as<SlotTestDelegate>(self)->calls.emplace_back("slot:didFailToLoadAdContentWithError:");
                    as<SlotTestDelegate>(self)->errors.emplace_back(error);
                })
        .method(sel::slotWillPresentScreen_, [](id self, id) { as<SlotTestDelegate>(self)->calls.emplace_back("slotWillPresentScreen:"); })
        .method(sel::slotWillDismissScreen_, [](id self, id) { as<SlotTestDelegate>(self)->calls.emplace_back("slotWillDismissScreen:"); })
        .method(sel::slotDidDismissScreen_, [](id self, id) { as<SlotTestDelegate>(self)->calls.emplace_back("slotDidDismissScreen:"); })
        .method(sel::slotWillLeaveApplication_, [](id self, id) { as<SlotTestDelegate>(self)->calls.emplace_back("slotWillLeaveApplication:"); });
    ClassBuilder<SlotTestDelegate>("SlotTestRenderingDelegate", "SlotTestDelegate")
        .method(sel::slot_shouldUseCustomRenderingForAd_, [](id self, id, id) { return as<SlotTestDelegate>(self)->rendersItself; });
}

inline Ref<SlotTestDelegate> makeDelegate(bool silent = false) {
    registerDelegateClasses();
    return as<SlotTestDelegate>(sel::init(alloc(silent ? "SlotTestSilentDelegate" : "SlotTestDelegate")));
}

// A recording delegate that also answers slot:shouldUseCustomRenderingForAd:.
inline Ref<SlotTestDelegate> makeRenderingDelegate(bool rendersItself) {
    registerDelegateClasses();
    Ref<SlotTestDelegate> delegate = as<SlotTestDelegate>(sel::init(alloc("SlotTestRenderingDelegate")));
    delegate->rendersItself = rendersItself;
    return delegate;
}

inline Ref<YBXSlot> makeSlot(Rect frame = Rect{{0, 0}, {320, 50}}) { return as<YBXSlot>(sel::initWithFrame_(alloc("YBXSlot"), frame)); }

inline Ref<YBXSlot> makeBannerSlot(YBXAdSize size) {
    Ref<YBXSlot> slot = makeSlot();
    sel::setAdType_andReloadRequest_(slot.get(), sel::bannerAdTypeForSize_(objc_getClass("YBXAdType"), size).get(), false);
    return slot;
}

// The fixture: a booted publisher app with the stand-ins installed.
class SlotTest : public ::testing::Test {
protected:
    explicit SlotTest(host::BootOptions options = appOptions()) : env_(std::move(options)) { installSlotNeighbours(); }
    AdLibEnvironment env_;
};

}  // namespace adlib::testing
