// Our ad server's three MRAID scripts in the real engine: each `mraid` call
// becomes the "pmsg" navigation the library's handlers read, one per turn so
// that none is lost, and the library's events set the state, the
// visibility, the screen size and the features, and reach the listeners.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"
#include "platform/webkit/real_page_engine.h"
#include "tests/platform/webkit/navigation_host.h"
#include "tests/tools/ad-server/http_client.h"

namespace platform::webkit {
namespace {

using rousa::adserver::testing::fetch;
using rousa::adserver::testing::HttpResult;

using testing::NavigationHost;

struct Kind {
    const char* path;
    const char* placement;
    const char* startState;
    const char* readyState;
};

class MRAIDScript : public rousa::adserver::testing::AdServerFixture, public ::testing::WithParamInterface<Kind> {
protected:
    void SetUp() override {
        AdServerFixture::SetUp();
        HttpResult script = fetch(url(GetParam().path));
        ASSERT_EQ(script.status, 200);
        // An earlier receiver, which the script must keep informed.
        const std::string page = "<html><head><script>var earlier = [];"
                                 "window.KESTRA_ReceiveMessage = function (name) { earlier.push(name); };</script>"
                                 "<script>" + script.body + "</script>"
                                 "<script>var heard = [];"
                                 "['ready', 'stateChange', 'viewableChange', 'sizeChange', 'error'].forEach(function (e) {"
                                 "  mraid.addEventListener(e, function () { heard.push(e + '(' + Array.prototype.slice.call(arguments).join(',') + ')'); });"
                                 "});</script></head><body></body></html>";
        engine.loadDocument(page, NSURL::URLWithString("http://ads.test/mads/gma?slotname=m").get());
        RunLoop::main().advance(0);
        ASSERT_EQ(host.finished, 1);
    }
    std::string eval(const std::string& script) {
        ScriptResult result = engine.evaluateScript(script);
        EXPECT_FALSE(result.error) << script << ": " << result.errorMessage;
        return result.text;
    }
    // The navigations a script's calls start, over the turns they take.
    std::vector<std::string> sent(const std::string& script) {
        host.navigations.clear();
        eval(script);
        for (int turn = 0; turn < 20; ++turn) RunLoop::main().advance(0);
        return host.navigations;
    }
    std::string heard() { return eval("var h = heard.join(' '); heard = []; h"); }

    testing::TestEnvironment env;
    NavigationHost host{{320, 50}};
    RealPageEngine engine{host};
};

TEST_P(MRAIDScript, StartsInItsStateAndPlacement) {
    EXPECT_EQ(eval("mraid.getVersion()"), "2.0");
    EXPECT_EQ(eval("mraid.getState()"), GetParam().startState);
    EXPECT_EQ(eval("mraid.getPlacementType()"), GetParam().placement);
    EXPECT_EQ(eval("String(mraid.isViewable())"), "false");
    EXPECT_EQ(eval("String(mraid.supports('sms'))"), "false");
}

TEST_P(MRAIDScript, CallsBecomeMessagesOnePerNavigation) {
    struct Case {
        const char* call;
        std::vector<std::string> urls;
    };
    const std::vector<Case> cases = {
        {"mraid.open('http://shop.test/a?b=1')", {"pmsg://mraid/open?a=browser&u=http%3A%2F%2Fshop.test%2Fa%3Fb%3D1"}},
        {"mraid.playVideo('http://v.test/v.mp4')", {"pmsg://mraid/open?a=video&u=http%3A%2F%2Fv.test%2Fv.mp4"}},
        {"mraid.expand()", {"pmsg://mraid/open?a=expand&custom_close=0"}},
        {"mraid.useCustomClose(true); mraid.expand('http://ads.test/big')",
         {"pmsg://mraid/customClose?custom_close=1", "pmsg://mraid/open?a=webapp&u=http%3A%2F%2Fads.test%2Fbig&custom_close=1"}},
        {"mraid.close()", {"pmsg://mraid/close"}},
        {"mraid.setResizeProperties({width: 300, height: 250, offsetX: 0, offsetY: 10, customClosePosition: 'center', allowOffscreen: false});"
         "mraid.resize()",
         {"pmsg://mraid/mraid?a=resize&width=300&height=250&offsetX=0&offsetY=10&customClosePosition=center&allowOffscreen=false"}},
        {"mraid.storePicture('http://ads.test/p.png')", {"pmsg://mraid/mraid?a=storePicture&iurl=http%3A%2F%2Fads.test%2Fp.png"}},
        {"mraid.createCalendarEvent({start: '2026-12-24T18:00:00+01:00', end: '2026-12-24T20:00:00+01:00', summary: 'Eve',"
         " description: 'Dinner', location: 'Home'})",
         {"pmsg://mraid/mraid?a=createCalendarEvent&start=2026-12-24T18%3A00%3A00%2B01%3A00&end=2026-12-24T20%3A00%3A00%2B01%3A00"
          "&summary=Eve&description=Dinner&location=Home"}},
        {"mraid.open('http://a.test/1'); mraid.open('http://a.test/2'); mraid.close()",
         {"pmsg://mraid/open?a=browser&u=http%3A%2F%2Fa.test%2F1", "pmsg://mraid/open?a=browser&u=http%3A%2F%2Fa.test%2F2",
          "pmsg://mraid/close"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(sent(c.call), c.urls);
    }
    // Calls that cannot be made send nothing and tell the error listeners.
    heard();
    EXPECT_TRUE(sent("mraid.open(); mraid.storePicture('')").empty());
    EXPECT_EQ(heard(), "error(a URL is needed,open) error(a URL is needed,storePicture)");
}

TEST_P(MRAIDScript, EventsSetTheStateAndReachTheListeners) {
    struct Case {
        const char* message;
        const char* state;
        const char* viewable;
        const char* heard;
    };
    const std::string ready = GetParam().readyState;
    const bool changesAtReady = ready != GetParam().startState;
    const std::string readyHeard = (changesAtReady ? "stateChange(" + ready + ") " : std::string()) + "ready()";
    const std::vector<Case> cases = {
        {"KESTRA_ReceiveMessage('onDeviceFeaturesReceived', {\"sms\":true,\"tel\":false,\"calendar\":false,\"storePicture\":true,"
         "\"inlineVideo\":true});",
         GetParam().startState, "false", ""},
        {"KESTRA_ReceiveMessage('onReadyEventReceived');", ready.c_str(), "false", readyHeard.c_str()},
        {"KESTRA_ReceiveMessage('onAdVisibilityChanged', {\"visible\":\"1\"});", ready.c_str(), "true", "viewableChange(true)"},
        {"KESTRA_ReceiveMessage('onAdVisibilityChanged', {\"visible\":\"1\"});", ready.c_str(), "true", ""},
        {"KESTRA_ReceiveMessage('onScreenInfoChanged', {\"width\":320,\"height\":568,\"isOrientationLandscape\":\"0\"});", ready.c_str(),
         "true", "sizeChange(320,568)"},
        {"KESTRA_ReceiveMessage('onAdVisibilityChanged', {\"visible\":\"0\"});", ready.c_str(), "false", "viewableChange(false)"},
        {"KESTRA_ReceiveMessage('expanding', {\"version\":\"7.0\"});", "expanded", "false", changesAtReady ? "stateChange(expanded)" : ""},
        {"KESTRA_ReceiveMessage('collapsed', {\"version\":\"7.0\"});", "default", "false", "stateChange(default)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        eval(c.message);
        EXPECT_EQ(eval("mraid.getState()"), c.state);
        EXPECT_EQ(eval("String(mraid.isViewable())"), c.viewable);
        EXPECT_EQ(heard(), c.heard);
    }
    EXPECT_EQ(eval("String(mraid.supports('sms')) + String(mraid.supports('tel')) + String(mraid.supports('calendar')) + "
                   "String(mraid.supports('storePicture'))"),
              "truefalsefalsetrue");
    EXPECT_EQ(eval("var s = mraid.getScreenSize(); s.width + 'x' + s.height"), "320x568");
    // The earlier receiver heard every message too.
    EXPECT_EQ(eval("earlier.join(',')"),
              "onDeviceFeaturesReceived,onReadyEventReceived,onAdVisibilityChanged,onAdVisibilityChanged,onScreenInfoChanged,"
              "onAdVisibilityChanged,expanding,collapsed");
}

INSTANTIATE_TEST_SUITE_P(Kinds, MRAIDScript,
                         ::testing::Values(Kind{rousa::adserver::kMRAIDBannerScriptPath, "inline", "loading", "default"},
                                           Kind{rousa::adserver::kMRAIDInterstitialScriptPath, "interstitial", "loading", "default"},
                                           Kind{rousa::adserver::kMRAIDExpandedBannerScriptPath, "inline", "expanded", "expanded"}));

}  // namespace
}  // namespace platform::webkit
