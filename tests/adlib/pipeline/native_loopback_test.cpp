// Native ads end to end against our ad server on 127.0.0.1, with the real
// page engine: an ad loader's hidden banner loads a creative that sends the
// ad configuration as an app event; the native ad loads its images from the
// server and reaches the publisher on the main thread; its impression and a
// click on one of its assets, run by the creative's script, reach the server.
#include <gtest/gtest.h>

#include <algorithm>

#include "adlib/pipeline/ad_loader.h"
#include "adlib/pipeline/native_ad.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/application.h"
#include "platform/uikit/selectors.h"
#include "platform/uikit/view_controller.h"
#include "tests/adlib/pipeline/loopback_support.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

// The publisher's delegate of both formats: what it heard, and on which thread.
class NativePublisher : public NSObject {
public:
    std::vector<std::string> calls;
    std::vector<Ref<Object>> ads;
    bool allOnMainThread = true;
};

void heard(id self, const char* call, id ad) {
    auto* publisher = as<NativePublisher>(self);
    publisher->calls.emplace_back(call);
    if (ad) publisher->ads.emplace_back(ad);
    publisher->allOnMainThread = publisher->allOnMainThread && NSThread::isMainThread();
}

void registerNativePublisher() {
    if (objc_getClass("LoopbackNativePublisher")) return;
    ClassBuilder<NativePublisher>("LoopbackNativePublisher", "NSObject")
        .protocol("YBXAdLoaderDelegate")
        .protocol("YBXNativeAppInstallAdLoaderDelegate")
        .protocol("YBXNativeContentAdLoaderDelegate")
        .method(sel::adLoader_didFailToReceiveAdWithError_, [](id self, id, id) { heard(self, "failed", nullptr); })
        .method(sel::adLoader_didReceiveNativeAppInstallAd_, [](id self, id, id ad) { heard(self, "app install ad", ad); })
        .method(sel::adLoader_didReceiveNativeContentAd_, [](id self, id, id ad) { heard(self, "content ad", ad); });
}

class NativeLoopback : public testing::LoopbackTest {
protected:
    void SetUp() override {
        testing::LoopbackTest::SetUp();
        if (HasFatalFailure()) return;
        registerNativePublisher();
        publisher = as<NativePublisher>(sel::init(alloc("LoopbackNativePublisher")));
        root = sel::init(alloc("UIViewController"));
    }
    void TearDown() override {
        loader = nullptr;
        publisher = nullptr;
        testing::LoopbackTest::TearDown();
    }

    // Loads one native ad of the ad unit and waits for the publisher to hear the outcome.
    void load(const char* adUnit) {
        loader = sel::initWithAdUnitID_rootViewController_adTypes_(alloc("YBXAdLoader"), Value(adUnit), root.get(),
                                                                    Value::array({Value("1"), Value("2")}));
        ASSERT_TRUE(loader);
        sel::setDelegate_(loader.get(), publisher.get());
        sel::loadRequest_(loader.get(), testing::makeRequest().get());
        ASSERT_TRUE(waitFor([&] { return !publisher->calls.empty(); })) << "no outcome";
    }

    // Requests for the path whose query holds the text.
    size_t servedWith(const std::string& path, const std::string& text) const {
        const auto entries = server.log().entries();
        return std::count_if(entries.begin(), entries.end(),
                             [&](const auto& entry) { return entry.path == path && entry.query.find(text) != std::string::npos; });
    }

    Ref<NativePublisher> publisher;
    Ref<Object> root;
    Ref<Object> loader;
};

constexpr const char* kImagePath = "/mads/static/mad/sdk/native/image.png";
constexpr const char* kIconPath = "/mads/static/mad/sdk/native/icon.png";
constexpr const char* kLogoPath = "/mads/static/mad/sdk/native/logo.png";

TEST_F(NativeLoopback, AnAppInstallAdArrivesWithItsImagesAndReportsItsImpressionAndClick) {
    load("native-app-install");
    ASSERT_EQ(publisher->calls, std::vector<std::string>{"app install ad"});
    EXPECT_TRUE(publisher->allOnMainThread);
    id ad = publisher->ads[0].get();
    EXPECT_TRUE(isKindOfClass(ad, "YBXNativeAppInstallAd"));
    EXPECT_EQ(served(kImagePath), 1u);
    EXPECT_EQ(served(kIconPath), 1u);
    EXPECT_EQ(sel::size(sel::image(ad).get()), (Size{32, 18}));
    EXPECT_EQ(sel::size(sel::icon(ad).get()), (Size{16, 16}));
    EXPECT_EQ(sel::starRating(ad).doubleValue(), 4.5);

    // The request named both formats; the hidden banner's own impression is never counted.
    EXPECT_EQ(servedWith(rousa::adserver::kAdPath, "native_templates=1%2C2"), 1u);
    EXPECT_EQ(servedWith(rousa::adserver::kAdPath, "d_imp_hdr=1"), 1u);

    // The app shows the required assets, then records the impression (twice: one ping).
    EXPECT_EQ(sel::headline(ad), Value("Rousa Alarm Pro"));
    EXPECT_EQ(sel::callToAction(ad), Value("Install"));
    EXPECT_TRUE(sel::icon(ad));
    sel::recordImpression(ad);
    sel::recordImpression(ad);
    ASSERT_TRUE(waitFor([&] { return servedWith("/ping/imp", "native=1") >= 1; }));

    // A tap on the icon runs the creative's click script: its ping, then the destination.
    sel::performClickOnAsset_(ad, Value("icon"));
    UIApplication* app = UIApplication::sharedApplication();
    ASSERT_TRUE(waitFor([&] { return servedWith("/ping/click", "asset=icon") >= 1 && !app->openedURLs_.empty(); }));
    auto* opened = dynamic_cast<NSURL*>(app->openedURLs_.front().object());
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->absoluteString(), "rousa-sample://native?slotname=native-app-install&asset=icon");
    EXPECT_EQ(servedWith("/ping/imp", "native=1"), 1u);
    EXPECT_EQ(servedWith("/ping/imp", "hidden_banner=1"), 0u);
    EXPECT_EQ(servedWith("/ping/click", "native=1"), 1u);
}

TEST_F(NativeLoopback, AContentAdArrivesWithItsImageLogoAndAttribution) {
    load("native-content");
    ASSERT_EQ(publisher->calls, std::vector<std::string>{"content ad"});
    id ad = publisher->ads[0].get();
    EXPECT_TRUE(isKindOfClass(ad, "YBXNativeContentAd"));
    EXPECT_EQ(served(kImagePath), 1u);
    EXPECT_EQ(served(kLogoPath), 1u);
    EXPECT_EQ(served(kIconPath), 1u);
    EXPECT_EQ(sel::size(sel::logo(ad).get()), (Size{12, 12}));
    EXPECT_TRUE(sel::hasAttributionInformation(ad));
    EXPECT_EQ(sel::advertiser(ad), Value("Quillory"));

    // Without its attribution icon read the impression waits.
    EXPECT_EQ(sel::headline(ad), Value("Mornings, rethought"));
    EXPECT_EQ(sel::body(ad), Value("Five alarms that wake you gently."));
    sel::recordImpression(ad);
    EXPECT_FALSE(sel::hasRecordedImpression(ad));
    EXPECT_TRUE(sel::attributionIcon(ad));
    sel::recordImpression(ad);
    EXPECT_TRUE(sel::hasRecordedImpression(ad));
    ASSERT_TRUE(waitFor([&] { return servedWith("/ping/imp", "native=1") >= 1; }));
}

}  // namespace
}  // namespace adlib
