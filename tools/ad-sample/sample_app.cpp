#include "tools/ad-sample/sample_app.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/library.h"
#include "adlib/foundation/selectors.h"
#include "platform/foundation/calendar.h"
#include "platform/foundation/dispatch.h"
#include "platform/foundation/error.h"
#include "platform/foundation/format.h"
#include "platform/foundation/json.h"
#include "platform/foundation/run_loop.h"
#include "platform/host/controlled_host.h"
#include "platform/host/user_actions.h"
#include "platform/network/curl_transport.h"
#include "platform/network/reachability.h"
#include "platform/uikit/application.h"
#include "platform/uikit/button.h"
#include "platform/uikit/image.h"
#include "platform/uikit/image_view.h"
#include "platform/uikit/label.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/selectors.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/view_controller.h"
#include "platform/uikit/window.h"
#include "platform/webkit/real_page_engine.h"
#include "platform/webkit/selectors.h"
#include "platform/webkit/web_view.h"

namespace rousa::sample {

using namespace platform;

namespace {

// The library's public selectors beside the platform's.
namespace sel = adlib::sel;

inline constexpr Sel<void(id, id)> loadBannerTapped_{"loadBannerTapped:"};
inline constexpr Sel<void(id, id)> loadInterstitialTapped_{"loadInterstitialTapped:"};
inline constexpr Sel<void(id, id)> showInterstitialTapped_{"showInterstitialTapped:"};
inline constexpr Sel<void(id, id)> loadAppInstallAdTapped_{"loadAppInstallAdTapped:"};
inline constexpr Sel<void(id, id)> loadContentAdTapped_{"loadContentAdTapped:"};
inline constexpr Sel<void(id, id)> nativeActionTapped_{"nativeActionTapped:"};

constexpr const char* kLoadBanner = "Load banner";
constexpr const char* kLoadInterstitial = "Load interstitial";
constexpr const char* kShowInterstitial = "Show interstitial";
constexpr const char* kLoadAppInstallAd = "Load app-install ad";
constexpr const char* kLoadContentAd = "Load content ad";
constexpr double kScreenWidth = 320;
constexpr double kBannerTop = 20;
constexpr double kButtonsTop = 80;
constexpr double kButtonSpacing = 40;
constexpr double kNativeTop = 284;
constexpr double kNativeHeight = 80;
constexpr double kListTop = 452;
constexpr double kLineHeight = 18;
constexpr size_t kLinesShown = 6;

// What the library told the app: one delegate of both ads, each callback with
// the app's local time.
class SampleDelegate : public NSObject {
public:
    struct Callback {
        Date time;
        std::string name;
    };
    std::vector<Callback> callbacks;
};

// A native ad of one format: its loader, the ad last delivered and the view
// the app laid it out in.
struct NativePlace {
    const char* format;   // "app-install" or "content"
    const char* adType;   // the loader's type text
    double top;
    std::string unit;
    Ref<Object> loader;
    Ref<Object> ad;
    Ref<UIView> view;
};

// The screen: the banner, the buttons, the native ads, the list of callbacks.
class SampleViewController : public UIViewController {
public:
    Ref<Object> banner;
    Ref<Object> interstitial;
    Ref<SampleDelegate> delegate;
    Ref<UIView> list;
    std::string bannerUnit;
    std::string interstitialUnit;
    NativePlace appInstall{"app-install", "2", kNativeTop};
    NativePlace content{"content", "1", kNativeTop + kNativeHeight + 4};
};

// The app's one screen, reached from its window as the simulator's finger would.
SampleViewController* screenController() {
    for (const auto& w : UIWindow::allWindows())
        if (auto* c = dynamic_cast<SampleViewController*>(sel::rootViewController(w.get()).get())) return c;
    return nullptr;
}

std::string timeText(Date d) {
    static Ref<NSCalendar>& calendar = *new Ref<NSCalendar>(NSCalendar::calendarWithIdentifier("gregorian"));
    auto c = calendar->components(d);
    return format("%02ld:%02ld:%02ld", static_cast<long>(c->hour), static_cast<long>(c->minute), static_cast<long>(c->second));
}

// Shows the latest callbacks, newest last.
void showCallbacks(SampleViewController* c) {
    for (const auto& sub : c->list->subviewList()) sel::removeFromSuperview(sub.get());
    const auto& all = c->delegate->callbacks;
    size_t first = all.size() > kLinesShown ? all.size() - kLinesShown : 0;
    for (size_t i = first; i < all.size(); ++i) {
        auto label = UIView::make<UILabel>("UILabel", Rect(10, kLineHeight * static_cast<double>(i - first), kScreenWidth - 20, kLineHeight));
        sel::setText_(label.get(), Value(timeText(all[i].time) + " " + all[i].name));
        sel::addSubview_(c->list.get(), label.get());
    }
}

void heard(id self, std::string name) {
    auto* d = as<SampleDelegate>(self);
    d->callbacks.push_back({clock::now(), std::move(name)});
    if (SampleViewController* c = screenController(); c && c->delegate.get() == d) showCallbacks(c);
}

std::string withError(const char* name, id error) { return format("%s (code %lld)", name, sel::code(error)); }

// --- native ads, laid out by the app from their assets ----------------------------------------------

void addLabel(UIView* to, const Value& text, Rect frame) {
    if (!text.isString() || text.string().empty()) return;
    auto label = UIView::make<UILabel>("UILabel", frame);
    sel::setText_(label.get(), text);
    sel::addSubview_(to, label.get());
}

void addImage(UIView* to, const Ref<Object>& image, Rect frame) {
    if (!image) return;
    Ref<Object> view = sel::initWithImage_(alloc("UIImageView"), image.get());
    sel::setFrame_(view.get(), frame);
    sel::addSubview_(to, view.get());
}

// The call to action, a button that clicks the ad.
void addAction(UIView* to, id target, const Value& title, Rect frame) {
    if (!title.isString() || title.string().empty()) return;
    auto b = UIButton::buttonWithType(UIButtonTypeSystem);
    sel::setFrame_(b.get(), frame);
    sel::setTitle_forState_(b.get(), title, UIControlStateNormal);
    sel::addTarget_action_forControlEvents_(b.get(), target, nativeActionTapped_, UIControlEventTouchUpInside);
    sel::addSubview_(to, b.get());
}

// Icon, headline and body, rating, store and price, the image, the call to action.
void layOutAppInstallAd(UIView* v, id ad, id target) {
    addImage(v, sel::icon(ad), Rect(10, 2, 32, 32));
    addLabel(v, sel::headline(ad), Rect(50, 0, 260, kLineHeight));
    addLabel(v, sel::body(ad), Rect(50, kLineHeight, 260, kLineHeight));
    if (double stars = sel::starRating(ad).doubleValue(); stars > 0) addLabel(v, Value(format("%g stars", stars)), Rect(50, 36, 70, kLineHeight));
    addLabel(v, sel::store(ad), Rect(120, 36, 80, kLineHeight));
    addLabel(v, sel::price(ad), Rect(200, 36, 40, kLineHeight));
    addImage(v, sel::image(ad), Rect(10, 40, 32, 18));
    if (sel::hasAttributionInformation(ad)) {
        addLabel(v, sel::attributionText(ad), Rect(50, 58, 30, kLineHeight));
        addImage(v, sel::attributionIcon(ad), Rect(80, 60, 14, 14));
    }
    addAction(v, target, sel::callToAction(ad), Rect(240, 44, 70, 32));
}

// Logo, headline and body, advertiser and attribution, the image, the call to action.
void layOutContentAd(UIView* v, id ad, id target) {
    addImage(v, sel::logo(ad), Rect(10, 2, 32, 32));
    addLabel(v, sel::headline(ad), Rect(50, 0, 260, kLineHeight));
    addLabel(v, sel::body(ad), Rect(50, kLineHeight, 260, kLineHeight));
    addLabel(v, sel::advertiser(ad), Rect(50, 36, 100, kLineHeight));
    if (sel::hasAttributionInformation(ad)) {
        addLabel(v, sel::attributionText(ad), Rect(150, 36, 30, kLineHeight));
        addImage(v, sel::attributionIcon(ad), Rect(180, 38, 14, 14));
    }
    addImage(v, sel::image(ad), Rect(10, 40, 32, 18));
    addAction(v, target, sel::callToAction(ad), Rect(210, 44, 100, 32));
}

// Shows the ad in its place (replacing the one before) and, now that its
// assets are on the screen, records its impression.
void showNativeAd(SampleViewController* c, NativePlace& place, id ad) {
    if (place.view) sel::removeFromSuperview(place.view.get());
    place.ad = Ref<Object>(ad);
    sel::setDelegate_(ad, c->delegate.get());
    place.view = UIView::make<UIView>("UIView", Rect(0, place.top, kScreenWidth, kNativeHeight));
    if (&place == &c->appInstall) layOutAppInstallAd(place.view.get(), ad, c);
    else layOutContentAd(place.view.get(), ad, c);
    sel::addSubview_(sel::view(c).get(), place.view.get());
    sel::recordImpression(ad);
}

void receivedNativeAd(id self, const char* name, bool appInstall, id ad) {
    heard(self, name);
    if (SampleViewController* c = screenController()) showNativeAd(c, appInstall ? c->appInstall : c->content, ad);
}

void registerDelegate() {
    ClassBuilder<SampleDelegate>("AdSampleDelegate", "NSObject")
        .protocol("YBXAdLoaderDelegate")
        .protocol("YBXNativeAppInstallAdLoaderDelegate")
        .protocol("YBXNativeContentAdLoaderDelegate")
        .protocol("YBXNativeAdDelegate")
        .method(sel::adViewDidReceiveAd_, [](id self, id) { heard(self, "adViewDidReceiveAd:"); })
        .method(sel::adView_didFailToReceiveAdWithError_,
                [](id self, id, id error) { heard(self, withError("adView:didFailToReceiveAdWithError:", error)); })
        .method(sel::adViewWillPresentScreen_, [](id self, id) { heard(self, "adViewWillPresentScreen:"); })
        .method(sel::adViewWillDismissScreen_, [](id self, id) { heard(self, "adViewWillDismissScreen:"); })
        .method(sel::adViewDidDismissScreen_, [](id self, id) { heard(self, "adViewDidDismissScreen:"); })
        .method(sel::adViewWillLeaveApplication_, [](id self, id) { heard(self, "adViewWillLeaveApplication:"); })
        .method(sel::interstitialDidReceiveAd_, [](id self, id) { heard(self, "interstitialDidReceiveAd:"); })
        .method(sel::interstitial_didFailToReceiveAdWithError_,
                [](id self, id, id error) { heard(self, withError("interstitial:didFailToReceiveAdWithError:", error)); })
        .method(sel::interstitialWillPresentScreen_, [](id self, id) { heard(self, "interstitialWillPresentScreen:"); })
        .method(sel::interstitialWillDismissScreen_, [](id self, id) { heard(self, "interstitialWillDismissScreen:"); })
        .method(sel::interstitialDidDismissScreen_, [](id self, id) { heard(self, "interstitialDidDismissScreen:"); })
        .method(sel::interstitialWillLeaveApplication_, [](id self, id) { heard(self, "interstitialWillLeaveApplication:"); })
        .method(sel::adLoader_didReceiveNativeAppInstallAd_,
                [](id self, id, id ad) { receivedNativeAd(self, "adLoader:didReceiveNativeAppInstallAd:", true, ad); })
        .method(sel::adLoader_didReceiveNativeContentAd_,
                [](id self, id, id ad) { receivedNativeAd(self, "adLoader:didReceiveNativeContentAd:", false, ad); })
        .method(sel::adLoader_didFailToReceiveAdWithError_,
                [](id self, id, id error) { heard(self, withError("adLoader:didFailToReceiveAdWithError:", error)); })
        .method(sel::nativeAdWillPresentScreen_, [](id self, id) { heard(self, "nativeAdWillPresentScreen:"); })
        .method(sel::nativeAdWillDismissScreen_, [](id self, id) { heard(self, "nativeAdWillDismissScreen:"); })
        .method(sel::nativeAdDidDismissScreen_, [](id self, id) { heard(self, "nativeAdDidDismissScreen:"); })
        .method(sel::nativeAdWillLeaveApplication_, [](id self, id) { heard(self, "nativeAdWillLeaveApplication:"); });
}

Ref<UIButton> button(id target, const char* title, double y, SEL action) {
    auto b = UIButton::buttonWithType(UIButtonTypeSystem);
    sel::setFrame_(b.get(), Rect(20, y, kScreenWidth - 40, 36));
    sel::setTitle_forState_(b.get(), Value(title), UIControlStateNormal);
    sel::addTarget_action_forControlEvents_(b.get(), target, action, UIControlEventTouchUpInside);
    return b;
}

Ref<Object> newRequest() { return sel::init(alloc("YBXRequest")); }

void loadScreen(id self) {
    auto* c = as<SampleViewController>(self);
    Rect bounds = UIScreen::mainScreen()->bounds();
    auto root = UIView::make<UIView>("UIView", bounds);
    sel::setAutoresizingMask_(root.get(), UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    c->delegate = as<SampleDelegate>(newObject("AdSampleDelegate"));

    // A smart banner takes the screen's width, in portrait and in landscape.
    c->banner = sel::initWithAdSize_(alloc("YBXBannerView"), adlib::kYBXAdSizeSmartBannerPortrait);
    Rect frame = sel::frame(c->banner.get());
    sel::setFrame_(c->banner.get(), Rect(0, kBannerTop, frame.width(), frame.height()));
    sel::setRootViewController_(c->banner.get(), self);
    sel::setDelegate_(c->banner.get(), c->delegate.get());
    sel::addSubview_(root.get(), c->banner.get());

    const std::pair<const char*, SEL> buttons[] = {{kLoadBanner, loadBannerTapped_},
                                                   {kLoadInterstitial, loadInterstitialTapped_},
                                                   {kShowInterstitial, showInterstitialTapped_},
                                                   {kLoadAppInstallAd, loadAppInstallAdTapped_},
                                                   {kLoadContentAd, loadContentAdTapped_}};
    double y = kButtonsTop;
    for (const auto& [title, action] : buttons) {
        sel::addSubview_(root.get(), button(self, title, y, action).get());
        y += kButtonSpacing;
    }
    c->list = UIView::make<UIView>("UIView", Rect(0, kListTop, bounds.width(), bounds.height() - kListTop));
    sel::addSubview_(root.get(), c->list.get());
    sel::setView_(self, root.get());
}

// Each load of a format takes a loader of its own for the ad unit asked.
void loadNativeAd(SampleViewController* c, NativePlace& place) {
    place.loader = sel::initWithAdUnitID_rootViewController_adTypes_(alloc("YBXAdLoader"), Value(place.unit), c,
                                                                      Value::array({Value(place.adType)}));
    if (!place.loader) return;
    sel::setDelegate_(place.loader.get(), c->delegate.get());
    adlib::sel::loadRequest_(place.loader.get(), newRequest().get());
}

void registerScreen() {
    ClassBuilder<SampleViewController>("AdSampleViewController", "UIViewController")
        .method(sel::loadView, &loadScreen)
        .method(loadBannerTapped_,
                [](id self, id) {
                    auto* c = as<SampleViewController>(self);
                    sel::setAdUnitID_(c->banner.get(), Value(c->bannerUnit));
                    adlib::sel::loadRequest_(c->banner.get(), newRequest().get());
                })
        .method(loadInterstitialTapped_,
                [](id self, id) {
                    // An interstitial is shown once: each load takes a new one.
                    auto* c = as<SampleViewController>(self);
                    c->interstitial = newObject("YBXInterstitial");
                    sel::setDelegate_(c->interstitial.get(), c->delegate.get());
                    sel::setAdUnitID_(c->interstitial.get(), Value(c->interstitialUnit));
                    adlib::sel::loadRequest_(c->interstitial.get(), newRequest().get());
                })
        .method(showInterstitialTapped_,
                [](id self, id) {
                    auto* c = as<SampleViewController>(self);
                    if (c->interstitial && sel::isReady(c->interstitial.get()))
                        sel::presentFromRootViewController_(c->interstitial.get(), self);
                })
        // A smart banner's size follows the orientation: the app tells the banner as the interface turns.
        .method(sel::willRotateToInterfaceOrientation_duration_,
                [](id self, long long orientation, double) {
                    const bool landscape = orientation == UIInterfaceOrientationLandscapeLeft || orientation == UIInterfaceOrientationLandscapeRight;
                    adlib::sel::setAdSize_(as<SampleViewController>(self)->banner.get(),
                                           landscape ? adlib::kYBXAdSizeSmartBannerLandscape : adlib::kYBXAdSizeSmartBannerPortrait);
                })
        .method(loadAppInstallAdTapped_, [](id self, id) { loadNativeAd(as<SampleViewController>(self), as<SampleViewController>(self)->appInstall); })
        .method(loadContentAdTapped_, [](id self, id) { loadNativeAd(as<SampleViewController>(self), as<SampleViewController>(self)->content); })
        .method(nativeActionTapped_, [](id self, id sender) {
            auto* c = as<SampleViewController>(self);
            auto* button = dynamic_cast<UIView*>(sender);
            for (NativePlace* place : {&c->appInstall, &c->content})
                if (button && place->view && place->ad && button->isDescendantOf(place->view.get()))
                    sel::performClickOnAsset_(place->ad.get(), Value("callToAction"));
        });
}

class SampleAppDelegate : public NSObject {
public:
    Ref<UIWindow> window;
};

void registerAppDelegate() {
    ClassBuilder<SampleAppDelegate>("AdSampleAppDelegate", "NSObject")
        .method(sel::application_didFinishLaunchingWithOptions_, [](id self, id, Value) {
            auto* d = as<SampleAppDelegate>(self);
            d->window = UIView::make<UIWindow>("UIWindow", UIScreen::mainScreen()->bounds());
            Ref<Object> screen = sel::init(alloc("AdSampleViewController"));
            sel::setRootViewController_(d->window.get(), screen.get());
            sel::makeKeyAndVisible(d->window.get());
            return true;
        });
}

// The real transport, counting the loads it starts, so that the simulator
// knows when the app's loads have ended. While the device has no network a
// load fails as the platform's does, on the next turn of the main loop.
class WatchedTransport : public Transport {
public:
    LoadId start(NSURLRequest* request, std::shared_ptr<TransportClient> client) override {
        ++started;
        if (network::connectivity() != network::Connectivity::none) return curl.start(request, std::move(client));
        const LoadId offline = kOffline | ++offlineLoads;
        RunLoop::main().post([this, offline, client = std::move(client)] {
            if (cancelledOffline.erase(offline) == 0) client->transportFailed(NSURLErrorNotConnectedToInternet);
        });
        return offline;
    }
    void cancel(LoadId load) override {
        if (load & kOffline) cancelledOffline.insert(load);
        else curl.cancel(load);
    }

    CurlTransport curl;
    std::atomic<unsigned long long> started = 0;

private:
    static constexpr LoadId kOffline = LoadId{1} << 63;
    // Main thread only, as start and cancel are.
    LoadId offlineLoads = 0;
    std::set<LoadId> cancelledOffline;
};

WatchedTransport*& watched() {
    static WatchedTransport* t = nullptr;
    return t;
}

// --- what the simulator does and reads ---------------------------------------------------------

SampleViewController& requireScreen() {
    SampleViewController* c = screenController();
    if (!c) throw std::runtime_error("the app shows no screen");
    sel::view(c);
    return *c;
}

// The web views of the ads on screen, front first.
void webViewsIn(UIView* v, std::vector<Ref<UIWebView>>& out) {
    if (v->hidden_ || v->alpha_ < kHitTestMinimumAlpha) return;
    std::vector<Ref<UIView>> subs = v->subviewList();
    for (auto it = subs.rbegin(); it != subs.rend(); ++it) webViewsIn(it->get(), out);
    if (auto* w = dynamic_cast<UIWebView*>(v); w && v->frameValue().width() > 0 && v->frameValue().height() > 0) out.emplace_back(w);
}

Ref<UIWebView> adInFront() {
    std::vector<Ref<UIWebView>> found;
    // What is presented over the screen is in front of it, the last presented first.
    std::vector<Ref<Object>> presented;
    if (SampleViewController* c = screenController())
        for (Ref<Object> p = sel::presentedViewController(c); p; p = sel::presentedViewController(p.get())) presented.insert(presented.begin(), p);
    for (const auto& p : presented)
        if (auto* v = dynamic_cast<UIView*>(sel::view(p.get()).get())) webViewsIn(v, found);
    for (const auto& w : UIWindow::visibleWindowsFrontToBack()) webViewsIn(w.get(), found);
    return found.empty() ? nullptr : found.front();
}

// The text an element shows, without its scripts and styles, white space
// folded; the script defines textOf for the tap that follows.
constexpr const char* kTextOf =
    "function textOf(e) { var t = ''; var k = e.childNodes; for (var i = 0; i < k.length; i++) {"
    " var n = k[i]; if (n.nodeType === 3) t += ' ' + n.nodeValue;"
    " else if (n.nodeType === 1 && n.tagName !== 'SCRIPT' && n.tagName !== 'STYLE') t += ' ' + textOf(n); }"
    " return t.replace(/\\s+/g, ' ').replace(/^ | $/g, ''); }";

std::string shownText(UIWebView* w) {
    Value text = sel::stringByEvaluatingJavaScriptFromString_(w, Value(std::string("(function () {") + kTextOf +
                                                                       " return document.body ? textOf(document.body) : ''; })()"));
    return text.stringOr("");
}

// `["text"]`, for splicing into a script.
std::string jsonArrayOf(const std::string& text) {
    const Data json = NSJSONSerialization::dataWithJSONObject(Value::array({Value(text)}), 0).data();
    return std::string(json.begin(), json.end());
}

// A finger on the ad, then a click on its element showing `text` (the
// innermost one), or on its first link.
std::string tapAd(const std::string& text) {
    Ref<UIWebView> ad = adInFront();
    if (!ad) return "no ad on the screen";
    if (!touch::tap(ad.get())) return "the ad takes no touch";
    const std::string find = text.empty()
        ? "var found = document.querySelector('a');"
        : "var want = " + jsonArrayOf(text) + "[0], found = null;"
          "(function walk(e) { var k = e.children; for (var i = 0; i < k.length; i++) walk(k[i]);"
          " if (!found && textOf(e) === want) found = e; })(document.body);";
    Value clicked = sel::stringByEvaluatingJavaScriptFromString_(
        ad.get(), Value(std::string("(function () {") + kTextOf + find + " if (!found) return 'no'; found.click(); return 'yes'; })()"));
    if (clicked != Value("yes")) return text.empty() ? "the ad has no link" : "the ad shows no \"" + text + "\"";
    return "";
}

std::string tapButton(const char* title) { return host::tapItemShowing(title); }

Value state() {
    SampleViewController& c = requireScreen();
    Value::Array callbacks;
    for (const auto& cb : c.delegate->callbacks)
        callbacks.push_back(Value(Value::Dictionary{{"time", Value(cb.time)}, {"name", Value(cb.name)}}));
    Value::Dictionary out{{"callbacks", Value(std::move(callbacks))}};
    if (Ref<UIWebView> ad = adInFront()) {
        out["ad"] = Value(shownText(ad.get()));
        Rect frame = ad->frameValue();
        out["adSize"] = Value(format("%gx%g", frame.width(), frame.height()));
    }
    Value::Array opened;
    for (const Value& url : UIApplication::sharedApplication()->openedURLs_)
        if (auto* u = dynamic_cast<NSURL*>(url.object())) opened.push_back(Value(u->absoluteString()));
    out["opened"] = Value(std::move(opened));
    // What is presented over the screen, by its class: the browser, a sheet, the interstitial.
    Value::Array presented;
    for (Ref<Object> p = sel::presentedViewController(&c); p; p = sel::presentedViewController(p.get()))
        presented.push_back(Value(object_getClass(p.get())->name()));
    out["presented"] = Value(std::move(presented));
    // What each native ad's view shows: its texts in reading order, its images by their size.
    Value::Dictionary natives;
    for (const NativePlace* place : {&c.appInstall, &c.content}) {
        if (!place->view) continue;
        Value::Array texts, images;
        for (const auto& sub : place->view->subviewList()) {
            if (auto* label = dynamic_cast<UILabel*>(sub.get())) texts.push_back(label->text_);
            else if (dynamic_cast<UIButton*>(sub.get())) texts.push_back(sel::currentTitle(sub.get()));
            else if (auto* image = dynamic_cast<UIImageView*>(sub.get())) {
                Size size = sel::size(image->image_.get());
                images.push_back(Value(format("%gx%g", size.width, size.height)));
            }
        }
        natives[place->format] = Value(Value::Dictionary{{"texts", Value(std::move(texts))}, {"images", Value(std::move(images))}});
    }
    out["natives"] = Value(std::move(natives));
    Rect bannerFrame = sel::frame(c.banner.get());
    out["banner"] = Value(format("%gx%g", bannerFrame.width(), bannerFrame.height()));
    // Not the app's business, but what the simulator prints: the state of the banner's slot.
    if (Ref<Object> slot = sel::slot(c.banner.get())) out["slotState"] = Value(sel::YBXSlot_state(slot.get()));
    return Value(std::move(out));
}

// Runs the app's main loop until its loads have ended (but for `held` ones
// the server keeps waiting), the queues are idle and nothing new started for
// a moment; false when that took longer than `realTimeout`. The virtual
// clock does not move meanwhile.
Value settle(long long held, double realTimeout) {
    WatchedTransport* t = watched();
    if (!t) return Value(true);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(realTimeout);
    auto remaining = [&] { return std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count(); };
    auto idle = [&] { return t->curl.activeLoads() <= static_cast<size_t>(held) && dispatch::outstandingBlocks() == 0; };
    while (remaining() > 0) {
        if (!RunLoop::main().runUntil(idle, remaining())) return Value(false);
        const unsigned long long before = t->started;
        RunLoop::main().runUntil([] { return false; }, 0.03);
        if (t->started == before && idle()) return Value(true);
    }
    return Value(false);
}

}  // namespace

void registerSampleApp() {
    adlib::registerClasses();
    registerDelegate();
    registerScreen();
    registerAppDelegate();
    auto transport = std::make_shared<WatchedTransport>();
    watched() = transport.get();
    network::setTransport(transport);
    webkit::RealPageEngine::install();
}

void registerSampleCommands() {
    host::registerCommand("ad-load-banner", [](const Value& a) {
        requireScreen().bannerUnit = a["unit"].string();
        return Value(tapButton(kLoadBanner));
    });
    host::registerCommand("ad-load-interstitial", [](const Value& a) {
        requireScreen().interstitialUnit = a["unit"].string();
        return Value(tapButton(kLoadInterstitial));
    });
    host::registerCommand("ad-load-native", [](const Value& a) {
        SampleViewController& c = requireScreen();
        const bool appInstall = a["format"].string() == c.appInstall.format;
        (appInstall ? c.appInstall : c.content).unit = a["unit"].string();
        return Value(tapButton(appInstall ? kLoadAppInstallAd : kLoadContentAd));
    });
    host::registerCommand("ad-show-interstitial", [](const Value&) { return Value(tapButton(kShowInterstitial)); });
    host::registerCommand("ad-tap", [](const Value& a) { return Value(tapAd(a["text"].stringOr(""))); });
    host::registerCommand("ad-rotate", [](const Value& a) {
        uikit::rotateDevice(a["landscape"].boolValue() ? UIInterfaceOrientationLandscapeLeft : UIInterfaceOrientationPortrait);
        return Value("");
    });
    host::registerCommand("ad-background", [](const Value&) {
        lifecycle::enterBackground();
        return Value("");
    });
    host::registerCommand("ad-foreground", [](const Value&) {
        lifecycle::becomeActive();
        return Value("");
    });
    host::registerCommand("ad-network", [](const Value& a) {
        network::setConnectivity(a["online"].boolValue() ? network::Connectivity::wifi : network::Connectivity::none);
        return Value("");
    });
    host::registerCommand("ad-state", [](const Value&) { return state(); });
    host::registerCommand("ad-settle", [](const Value& a) { return settle(a["held"].integerValue(), a["timeout"].doubleValue(1.0)); });
}

}  // namespace rousa::sample
