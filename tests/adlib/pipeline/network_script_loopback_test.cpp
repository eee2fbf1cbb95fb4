// Ad-network script ads end to end: the SDK-core page of our ad server hands
// over an ad whose HTML is a network's script. One draws a moment after its
// page loaded and becomes the banner's ad with its impression; the other
// navigates to its passback URL, so the request fails and the banner asks
// again at its refresh.
#include <gtest/gtest.h>

#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/slot.h"
#include "adlib/render/ad_network_javascript_web_view_delegate.h"
#include "platform/foundation/format.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/pipeline/loopback_support.h"

namespace adlib {
namespace {

class NetworkScriptLoopback : public testing::LoopbackTest {
protected:
    void load(const char* adUnit) {
        delegate = testing::makeDelegate();
        slot = testing::makeBannerSlot(kYBXAdSizeBanner);
        sel::setSlotDelegate_(slot.get(), delegate.get());
        sel::setAdEventDelegate_(slot.get(), delegate.get());
        sel::setAdUnitID_(slot.get(), Value(adUnit));
        // The refresh interval of an ad shown before; the page's ads bring none.
        sel::scheduleReloadTimer_(slot.get(), 20);
        sel::deactivateReloadTimer(slot.get());
        sel::loadRequest_(slot.get(), testing::makeRequest().get());
    }
    std::string firstError() const {
        if (delegate->errors.empty()) return "none";
        auto* e = as<NSError>(delegate->errors[0].get());
        return format("%ld %@", e->code(), e->localizedDescription());
    }

    Ref<testing::SlotTestDelegate> delegate;
    Ref<YBXSlot> slot;
};

constexpr const char* kImpression = "/ping/imp";

TEST_F(NetworkScriptLoopback, AScriptThatDrawsBecomesTheAdWithItsImpression) {
    load("network-script-banner");
    ASSERT_TRUE(waitAdvancing([&] { return slot->state_ == YBXSlotStateValidAd && served(kImpression) == 1; }))
        << "state " << slot->state_ << ", " << firstError();
    EXPECT_TRUE(isKindOfClass(slot->webViewDelegate_.get(), "YBXAdNetworkJavasSciptWebViewDelegate"));
    EXPECT_EQ(sel::stringByEvaluatingJavaScriptFromString_(slot->webView_.get(), Value("document.getElementById('ad').textContent")),
              Value("Rousa network script"));
    EXPECT_TRUE(delegate->errors.empty());
    EXPECT_EQ(served("/passback"), 0u);
}

TEST_F(NetworkScriptLoopback, AScriptThatPassesBackFailsAndTheBannerAsksAgain) {
    load("network-script-passback");
    ASSERT_TRUE(waitAdvancing([&] { return !delegate->errors.empty(); })) << "state " << slot->state_;
    EXPECT_EQ(firstError(), "1 Passback URL received.");
    EXPECT_TRUE(sel::wasPassbackReceived(slot->webViewDelegate_.get()));
    EXPECT_EQ(served("/passback"), 0u);
    EXPECT_EQ(served(kImpression), 0u);
    ASSERT_TRUE(slot->reloadTimer_ && slot->reloadTimer_->isValid());
    // The refresh asks the SDK-core page again, which hands over the same ad.
    const size_t before = testing::neighbourLog().builtAdURLFor.size();
    ASSERT_TRUE(waitAdvancing([&] { return testing::neighbourLog().builtAdURLFor.size() > before; }, 1.0, 60));
}

}  // namespace
}  // namespace adlib
