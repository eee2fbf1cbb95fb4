// The publisher toolbar on the scripted page engine: its layout, the script
// page it builds from the downloaded script, the start call with the ad and
// any stored credentials, the messages of its pages (only the script's own
// page may send them), the sign-in page's title and a failed download.
#include <gtest/gtest.h>

#include "adlib/foundation/configuration.h"
#include "adlib/render/publisher_toolbar_controller.h"
#include "platform/foundation/json.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/network/transport.h"
#include "platform/uikit/navigation.h"
#include "platform/uikit/toolbar.h"
#include "platform/webkit/scripted_page_engine.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using Script = ScriptedTransport::Script;

std::vector<Object*>& relinquished() {
    static std::vector<Object*> controllers;
    return controllers;
}
void (*previousRelinquish)(id) = nullptr;

class PublisherToolbar : public ::testing::Test {
protected:
    PublisherToolbar() {
        network::setTransport(transport);
        MSHookMessageEx(objc_getClass("YBXViewController"), sel::relinquishScreen,
                        +[](id self) { relinquished().push_back(self); }, &previousRelinquish);
        scriptURL = YBXAdServerBaseURL() + kYBXToolbarScriptPath;
    }

    // The toolbar shown over a 320 x 480 view, its script downloaded and its page loaded.
    Ref<YBXPublisherToolbarController> open(Value adContent = Value("<b>ad</b>"), Value adUnitID = Value("unit-1")) {
        transport->answer(scriptURL, Script::body({"TOOLBAR_SCRIPT"}));
        Ref<YBXPublisherToolbarController> toolbar =
            as<YBXPublisherToolbarController>(sel::initWithAdContent_adUnitID_(alloc("YBXPublisherToolbarController"), adContent, adUnitID));
        sel::setFrame_(sel::view(toolbar.get()).get(), Rect(0, 0, 320, 480));
        sel::viewWillAppear_(toolbar.get(), false);
        RunLoop::main().advance(1);
        return toolbar;
    }
    // The argument of the last call of `function` evaluated in a page, parsed as JSON.
    static Value lastCallOf(const std::string& function) {
        const auto& evaluated = webkit::ScriptedPages::shared().evaluated();
        for (auto it = evaluated.rbegin(); it != evaluated.rend(); ++it) {
            if (!it->starts_with(function + "(") || !it->ends_with(");")) continue;
            return NSJSONSerialization::JSONObjectWithText(it->substr(function.size() + 1, it->size() - function.size() - 3), 0);
        }
        return Value();
    }
    static bool send(YBXPublisherToolbarController* toolbar, UIWebView* from, const std::string& url) {
        Ref<NSURLRequest> request = NSURLRequest::requestWithURL(NSURL::URLWithString(url).get());
        return sel::webView_shouldStartLoadWithRequest_navigationType_(toolbar, from, request.get(), 0);
    }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    std::string scriptURL;
};

TEST_F(PublisherToolbar, LaysOutItsPagesSpinnerAndDoneBar) {
    Ref<YBXPublisherToolbarController> toolbar = open();
    UIView* view = as<UIView>(sel::view(toolbar.get()).get());
    UIWebView* page = toolbar->jsWebView_.get();
    EXPECT_EQ(sel::frame(page), Rect(0, 0, 320, 450));
    EXPECT_TRUE(sel::isHidden(page));
    EXPECT_EQ(sel::delegate(page).get(), toolbar.get());
    EXPECT_EQ(sel::center(toolbar->spinnyWheel_.get()), Point(160, 240));
    EXPECT_TRUE(sel::isAnimating(toolbar->spinnyWheel_.get()));
    EXPECT_EQ(sel::activityIndicatorViewStyle(toolbar->spinnyWheel_.get()), UIActivityIndicatorViewStyleGray);

    UIToolbar* bar = nullptr;
    for (const Ref<UIView>& subview : view->subviewList())
        if (auto* found = dynamic_cast<UIToolbar*>(subview.get())) bar = found;
    ASSERT_TRUE(bar);
    EXPECT_EQ(sel::frame(bar), Rect(0, 450, 320, 30));
    Value items = sel::items(bar);
    ASSERT_EQ(items.array().size(), 1u);
    auto* done = as<UIBarButtonItem>(items.array()[0].object());
    EXPECT_EQ(done->systemItem_, UIBarButtonSystemItemDone);
    EXPECT_EQ(done->style_, UIBarButtonItemStyleDone);
    EXPECT_EQ(done->accessibilityLabel_, Value("Done"));
    done->press();
    EXPECT_EQ(relinquished(), std::vector<Object*>{toolbar.get()});
}

TEST_F(PublisherToolbar, ItsPageRunsTheScriptAndStartsWithTheAdAndStoredCredentials) {
    struct Case {
        const char* name;
        Value stored;
        bool sendsCredentials;
    } cases[] = {
        {"nothing stored", Value(), false},
        {"an empty dictionary stored", Value(Value::Dictionary{}), false},
        {"credentials stored", Value(Value::Dictionary{{"publisher", Value("p")}}), true},
    };
    const std::string awkward = "<a href='x'>it's\u2028new</a>";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NSUserDefaults::standardUserDefaults()->setObject(c.stored, kYBXToolbarCredentialsKey);
        Ref<YBXPublisherToolbarController> toolbar = open(Value(awkward), Value("unit-1"));
        EXPECT_EQ(webkit::ScriptedPages::shared().documents().back(), "about:blank");
        Value init = lastCallOf(kYBXToolbarInitializeFunction);
        ASSERT_TRUE(init.isDictionary());
        EXPECT_EQ(init["adUnitID"], Value("unit-1"));
        EXPECT_EQ(init["adContent"], Value(awkward));
        EXPECT_EQ(init.dictionary().count("credentials"), c.sendsCredentials ? 1u : 0u);
        if (c.sendsCredentials) {
            EXPECT_EQ(init["credentials"], c.stored);
        }
    }
    // Neither ad nor ad unit: an empty start.
    Ref<YBXPublisherToolbarController> bare = open(Value(), Value());
    EXPECT_EQ(lastCallOf(kYBXToolbarInitializeFunction), Value(Value::Dictionary{{"credentials", Value(Value::Dictionary{{"publisher", Value("p")}})}}));
}

TEST_F(PublisherToolbar, CallsTakeTheirArgumentWrappedPlainOrNone) {
    Ref<YBXPublisherToolbarController> toolbar = open();
    struct Case {
        Value argument;
        bool wrapped;
        std::string evaluated;
    } cases[] = {
        {Value("it's"), true, "f('it\\'s');"},
        {Value("{\"a\":1}"), false, "f({\"a\":1});"},
        {Value(), true, "f();"},
    };
    for (const Case& c : cases) {
        sel::callJavaScriptMethod_withArgument_wrappedAsString_(toolbar.get(), Value("f"), c.argument, c.wrapped);
        EXPECT_EQ(webkit::ScriptedPages::shared().evaluated().back(), c.evaluated);
    }
}

TEST_F(PublisherToolbar, OnlyTheScriptsPageSendsMessagesAndEveryMessageIsRefused) {
    Ref<YBXPublisherToolbarController> toolbar = open();
    transport->answer("http://signin.test/form", Script::body({"<form></form>"}));
    UIWebView* page = toolbar->jsWebView_.get();
    EXPECT_TRUE(send(toolbar.get(), page, "http://ads.test/anything"));
    EXPECT_FALSE(send(toolbar.get(), page, "pmsg://toolbar/log?string=hello"));
    EXPECT_FALSE(toolbar->oauthWebView_);

    // Sign-in: its page is made on first use and shown in place of the script's.
    EXPECT_FALSE(send(toolbar.get(), page, "pmsg://toolbar/loadAuthenticationUri?authenticationUri=http%3A%2F%2Fsignin.test%2Fform"));
    ASSERT_TRUE(toolbar->oauthWebView_);
    UIWebView* signIn = toolbar->oauthWebView_.get();
    EXPECT_EQ(sel::frame(signIn), Rect(0, 0, 320, 450));
    EXPECT_FALSE(sel::isHidden(signIn));
    EXPECT_TRUE(sel::isHidden(page));
    RunLoop::main().advance(1);
    EXPECT_EQ(webkit::ScriptedPages::shared().documents().back(), "http://signin.test/form");

    // The sign-in page is someone else's: its messages are refused and ignored.
    EXPECT_FALSE(send(toolbar.get(), signIn, "pmsg://toolbar/storeCredentials?publisher=intruder"));
    EXPECT_FALSE(send(toolbar.get(), signIn, "pmsg://toolbar/showJavaScriptWebView"));
    EXPECT_FALSE(YBXHasToolbarCredentials());
    EXPECT_TRUE(sel::isHidden(page));

    EXPECT_FALSE(send(toolbar.get(), page, "pmsg://toolbar/storeCredentials?publisher=p&token=t"));
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->objectForKey(kYBXToolbarCredentialsKey),
              Value(Value::Dictionary{{"publisher", Value("p")}, {"token", Value("t")}}));
    EXPECT_FALSE(send(toolbar.get(), page, "pmsg://toolbar/showJavaScriptWebView"));
    EXPECT_FALSE(sel::isHidden(page));
    EXPECT_FALSE(sel::isAnimating(toolbar->spinnyWheel_.get()));
    EXPECT_FALSE(send(toolbar.get(), page, "pmsg://toolbar/clearCredentials"));
    EXPECT_FALSE(YBXHasToolbarCredentials());
}

TEST_F(PublisherToolbar, ASignInPageTitledSuccessIsDecoded) {
    Ref<YBXPublisherToolbarController> toolbar = open(Value("<i>ad</i>"));
    send(toolbar.get(), toolbar->jsWebView_.get(), "pmsg://toolbar/loadAuthenticationUri?authenticationUri=http%3A%2F%2Fsignin.test%2Fform");
    RunLoop::main().advance(1);
    UIWebView* signIn = toolbar->oauthWebView_.get();
    sel::stopAnimating(toolbar->spinnyWheel_.get());

    webkit::ScriptedPages::shared().whenEvaluated("document.title", webkit::PageScript().answering("Sign in"));
    sel::webViewDidFinishLoad_(toolbar.get(), signIn);
    EXPECT_FALSE(sel::isHidden(signIn));
    EXPECT_TRUE(lastCallOf(kYBXToolbarDecodeImpressionFunction).isNil());

    webkit::ScriptedPages::shared().whenEvaluated("document.title", webkit::PageScript().answering("Success publisher=p"));
    sel::webViewDidFinishLoad_(toolbar.get(), signIn);
    EXPECT_TRUE(sel::isHidden(signIn));
    EXPECT_TRUE(sel::isAnimating(toolbar->spinnyWheel_.get()));
    EXPECT_EQ(lastCallOf(kYBXToolbarDecodeImpressionFunction),
              Value(Value::Dictionary{{"adContent", Value("<i>ad</i>")}, {"authenticationPageTitle", Value("Success publisher=p")}}));
}

TEST_F(PublisherToolbar, AScriptThatCannotBeDownloadedClosesThePage) {
    transport->answer(scriptURL, Script::failure(-1004));
    Ref<YBXPublisherToolbarController> toolbar =
        as<YBXPublisherToolbarController>(sel::initWithAdContent_adUnitID_(alloc("YBXPublisherToolbarController"), Value("ad"), Value("u")));
    sel::viewWillAppear_(toolbar.get(), false);
    RunLoop::main().advance(1);
    EXPECT_EQ(relinquished(), std::vector<Object*>{toolbar.get()});
    EXPECT_TRUE(lastCallOf(kYBXToolbarInitializeFunction).isNil());
}

}  // namespace
}  // namespace adlib
