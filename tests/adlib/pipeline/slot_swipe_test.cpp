// The swipe-to-view store sheet: the creative's messages switching the pan on
// and off, the visibility event of the viewability tick, a pan on the ad
// presenting the sheet under the finger, its finish or cancel by how far and
// which way the pan went, the frames of the animation and closing the sheet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/application.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/utilities.h"
#include "adlib/render/swipe_animation.h"
#include "adlib/render/swipe_configurations.h"
#include "platform/frameworks/storekit.h"
#include "platform/network/url.h"
#include "platform/uikit/pan_gesture_recognizer.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/window.h"
#include "tests/adlib/pipeline/js_event_log.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

using testing::Event;

// The slot delegate's swipe view and root controller, and the interaction
// controller's delegate's record.
class SwipeTestDelegate : public NSObject {
public:
    Ref<Object> view;
    Ref<Object> root;
    std::vector<std::string> heard;
};

void registerSwipeDelegate() {
    if (objc_getClass("SwipeTestDelegate")) return;
    ClassBuilder<SwipeTestDelegate>("SwipeTestDelegate", "NSObject")
        .method(sel::swipeToViewControllerView, [](id self) { return as<SwipeTestDelegate>(self)->view; })
        .method(sel::rootViewController, [](id self) { return as<SwipeTestDelegate>(self)->root; })
        .method(sel::animationControllerDidFinishAnimationTransition_, [](id self, id) { as<SwipeTestDelegate>(self)->heard.push_back("finish"); })
        .method(sel::animationControllerDidCancelAnimationTransition_, [](id self, id) { as<SwipeTestDelegate>(self)->heard.push_back("cancel"); });
}

const Value kMetadata{{"campaign", Value("c7")}};

Value configurationDictionary(bool withProduct = true) {
    Value::Dictionary d{{"swipeable_rectangles", Value::array({Value{{"x", Value(0)}, {"y", Value(0)}, {"width", Value(160)}, {"height", Value(50)}}})},
            {"swipe_event_creative_metadata", kMetadata},
            {"swipe_animation_transition_duration", Value(0.25)}};
    if (withProduct) d["app_store_product_id"] = Value(42LL);
    return Value(std::move(d));
}

class SlotSwipe : public testing::SlotTest {
protected:
    explicit SlotSwipe(host::BootOptions options = testing::appOptions()) : SlotTest(std::move(options)) {
        testing::recordWebViewScripts();
        registerSwipeDelegate();
        window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
        root = newObject("UIViewController");
        sel::setRootViewController_(window.get(), root.get());
        sel::makeKeyAndVisible(window.get());
        delegate = as<SwipeTestDelegate>(newObject("SwipeTestDelegate"));
        delegate->root = root;
        // The banner at y = 100; the ad's web view fills it.
        swipeView = UIView::make("UIView", Rect(0, 100, 320, 50));
        sel::addSubview_(sel::view(root.get()).get(), swipeView.get());
        delegate->view = swipeView;
        slot = testing::makeBannerSlot(kYBXAdSizeBanner);
        sel::setSlotDelegate_(slot.get(), delegate.get());
        webView = sel::webView(slot.get());
        sel::setFrame_(webView.get(), Rect(0, 0, 320, 50));
        sel::addSubview_(swipeView.get(), webView.get());
    }
    ~SlotSwipe() override {
        // A sheet left up keeps its slot: close it, as the user would.
        if (Ref<Object> sheet = sel::swipeableStoreProductViewController(slot.get()))
            storekit::pressDone(as<SKStoreProductViewController>(sheet.get()));
        slot->strongSlotForSwipeToViewController_ = nullptr;
    }

    // The slot's current ad, with these swipe settings (nil: none).
    void showAd(const Value& settings) {
        Ref<Object> ad = newObject("YBXAd");
        if (!settings.isNil())
            sel::setSwipeToViewControllerConfigurations_(ad.get(), sel::initWithSwipeConfigurations_(alloc("YBXSwipeToViewControllerConfigurations"), settings).get());
        slot->loadingAd_ = ad;
        sel::finishedLoadingAdResponse_(slot.get(), ad.get());
    }
    Ref<Object> configurations() { return sel::swipeToViewControllerConfigurations(slot->ad_.get()); }

    bool send(const std::string& url) {
        Ref<Object> handler = sel::initWithSlot_(alloc("YBXSwipeToViewControllerPMSGHandler"), slot.get());
        Ref<NSURLRequest> request = NSURLRequest::requestWithURL(NSURL::URLWithString(url).get());
        return sel::handleRequest_webView_(handler.get(), request.get(), webView.get());
    }
    void enable(const std::string& direction = "top_to_bottom", const std::string& draggable = "0") {
        ASSERT_TRUE(send("pmsg://ad/enableSwipeToViewController?swipe_direction=" + direction + "&ad_draggable=" + draggable));
    }
    UIPanGestureRecognizer* pan() { return as<UIPanGestureRecognizer>(sel::swipeGestureRecognizer(slot.get()).get()); }
    void drive(unsigned long long state, Point at, Point velocity = {}) { gesture::drivePan(pan(), state, at, velocity); }
    bool panOnSwipeView() {
        const Value list = sel::gestureRecognizers(swipeView.get());
        return list.isArray() && !list.array().empty() && list.array()[0].object() == pan();
    }
    std::vector<Event> events() {
        platform::testing::advance(0);
        return testing::eventsIn(webView.get());
    }
    Ref<Object> sheet() { return sel::swipeableStoreProductViewController(slot.get()); }

    Ref<UIWindow> window;
    Ref<Object> root;
    Ref<SwipeTestDelegate> delegate;
    Ref<UIView> swipeView;
    Ref<YBXSlot> slot;
    Ref<Object> webView;
};

// --- the creative's messages ---------------------------------------------------------------------

TEST_F(SlotSwipe, EnableSetsDirectionAndDraggingThenDisableUndoesIt) {
    struct Case {
        const char* direction;
        const char* draggable;
        long long expectedDirection;
        bool expectedDraggable;
    };
    const Case cases[] = {
        {"top_to_bottom", "1", YBXSwipeDirectionTopToBottom, true},
        {"bottom_to_top", "0", YBXSwipeDirectionBottomToTop, false},
        {"left", "1", YBXSwipeDirectionNone, true},
        {"bottom_to_top", "yes", YBXSwipeDirectionBottomToTop, false},
    };
    showAd(configurationDictionary());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.direction) + " " + c.draggable);
        enable(c.direction, c.draggable);
        EXPECT_EQ(sel::swipeDirection(configurations().get()), c.expectedDirection);
        EXPECT_EQ(sel::isAdDraggable(configurations().get()), c.expectedDraggable);
        EXPECT_TRUE(sel::swipeToViewControllerEnabled(slot.get()));
        EXPECT_TRUE(panOnSwipeView());
        Ref<Object> animation = sel::animation(slot.get());
        EXPECT_EQ(sel::direction(animation.get()), c.expectedDirection);
        EXPECT_EQ(sel::draggableView(animation.get()).get(), c.expectedDraggable ? swipeView.get() : nullptr);
        EXPECT_DOUBLE_EQ(sel::transitionDuration(animation.get()), 0.25);
        EXPECT_EQ(sel::delegate(sel::animationController(slot.get()).get()).get(), slot.get());

        ASSERT_TRUE(send("pmsg://ad/disableSwipeToViewController"));
        EXPECT_FALSE(sel::swipeToViewControllerEnabled(slot.get()));
        EXPECT_FALSE(panOnSwipeView());
        EXPECT_EQ(sel::swipeDirection(configurations().get()), YBXSwipeDirectionNone);
        EXPECT_FALSE(sel::isAdDraggable(configurations().get()));
        // The pan no longer reaches the slot.
        EXPECT_TRUE(pan()->targets_.empty());
    }
}

TEST_F(SlotSwipe, AnAdWithoutSettingsPutsNoPanOnTheBanner) {
    showAd(Value());
    enable();
    EXPECT_FALSE(sel::swipeToViewControllerEnabled(slot.get()));
    EXPECT_FALSE(sel::gestureRecognizers(swipeView.get()).isArray());
    EXPECT_TRUE(send("pmsg://ad/disableSwipeToViewController"));
}

TEST_F(SlotSwipe, ADelegateWithoutTheSwipeViewEnablesNothing) {
    showAd(configurationDictionary());
    sel::setSlotDelegate_(slot.get(), testing::makeDelegate().get());
    enable();
    EXPECT_FALSE(sel::swipeToViewControllerEnabled(slot.get()));
    EXPECT_FALSE(sel::gestureRecognizers(swipeView.get()).isArray());
}

class SlotSwipeOnIOS6 : public SlotSwipe {
protected:
    SlotSwipeOnIOS6() : SlotSwipe(testing::appOptions("6.1")) {}
};

TEST_F(SlotSwipeOnIOS6, NothingExistsAndTheMessagesDoNothingVisible) {
    showAd(configurationDictionary());
    EXPECT_FALSE(configurations());
    EXPECT_FALSE(sel::init(alloc("YBXViewControllerFullScreenSwipeAnimation")));
    EXPECT_FALSE(sel::init(alloc("YBXPercentDrivenUserInteractionAnimationController")));
    enable();
    EXPECT_FALSE(sel::swipeToViewControllerEnabled(slot.get()));
    EXPECT_FALSE(sel::canEnableSwipeToViewController(slot.get()));
    EXPECT_TRUE(events().empty());
}

// --- where the ad is ---------------------------------------------------------------------------------

TEST_F(SlotSwipe, TheCreativeHearsWhereItIsOnlyWhenThatChangesAndNoSheetIsUp) {
    showAd(configurationDictionary());
    YBXDevice* device = YBXDevice::currentDevice();
    auto visible = [&](Rect creative, const char* scrollable) {
        return Event{"onAdVisible", Value{{"creativeFrame", MakeDictionaryFromRect(creative)},
                                          {"deviceFrame", MakeDictionaryFromRect(device->standardizedApplicationFrame())},
                                          {"deviceOrientation", Value("portrait")},
                                          {"anySuperViewScrollable", Value(scrollable)}}};
    };
    EXPECT_TRUE(sel::canEnableSwipeToViewController(slot.get()));
    EXPECT_FALSE(sel::canEnableSwipeToViewController(slot.get()));  // the same again: nothing
    EXPECT_EQ(events(), std::vector<Event>{visible(Rect(0, 100, 320, 50), "0")});

    // Moved under a scroll view: heard once more.
    Ref<Object> scroll = UIView::make("UIScrollView", Rect(0, 200, 320, 300));
    sel::addSubview_(sel::view(root.get()).get(), scroll.get());
    sel::addSubview_(scroll.get(), webView.get());
    sel::canEnableSwipeToViewController(slot.get());
    EXPECT_EQ(events(), (std::vector<Event>{visible(Rect(0, 100, 320, 50), "0"), visible(Rect(0, 200, 320, 50), "1")}));

    // A sheet is up: not a word, whatever moves.
    testing::scripts().clear();
    slot->strongSlotForSwipeToViewController_ = Ref<Object>(slot.get());
    sel::setFrame_(webView.get(), Rect(0, 10, 320, 50));
    EXPECT_FALSE(sel::canEnableSwipeToViewController(slot.get()));
    EXPECT_TRUE(events().empty());
    slot->strongSlotForSwipeToViewController_ = nullptr;
}

TEST_F(SlotSwipe, AnAdWithoutSettingsHearsNoVisibility) {
    showAd(Value());
    EXPECT_FALSE(sel::canEnableSwipeToViewController(slot.get()));
    EXPECT_TRUE(events().empty());
}

// --- the pan -----------------------------------------------------------------------------------------------

TEST_F(SlotSwipe, APanOutsideEveryRectangleIsCancelledAndTheNextTouchStillWorks) {
    showAd(configurationDictionary());
    enable();
    drive(UIGestureRecognizerStateBegan, {250, 120});  // x 250: right of the marked half
    EXPECT_TRUE(pan()->enabled_);
    EXPECT_EQ(pan()->state_, UIGestureRecognizerStatePossible);
    EXPECT_FALSE(sel::presentedViewController(root.get()));
    EXPECT_FALSE(sel::strongSlotForSwipeToViewController(slot.get()));
    // Its later moves drive nothing.
    drive(UIGestureRecognizerStateChanged, {250, 300});
    drive(UIGestureRecognizerStateEnded, {250, 400}, {0, 500});
    EXPECT_TRUE(events().empty());

    drive(UIGestureRecognizerStateBegan, {100, 120});
    EXPECT_TRUE(sel::presentedViewController(root.get()));
}

TEST_F(SlotSwipe, APanInsideHoldsTheSlotAndPresentsTheSheetForTheProduct) {
    showAd(configurationDictionary());
    enable();
    drive(UIGestureRecognizerStateBegan, {100, 120});
    EXPECT_EQ(sel::strongSlotForSwipeToViewController(slot.get()).get(), slot.get());
    auto* shown = as<SKStoreProductViewController>(sheet().get());
    ASSERT_TRUE(shown);
    EXPECT_EQ(sel::presentedViewController(root.get()).get(), shown);
    EXPECT_EQ(shown->loadedItemIdentifiers_, std::vector<Value>{Value(42LL)});
    EXPECT_EQ(shown->delegate_.lock().get(), slot.get());
    EXPECT_EQ(sel::transitioningDelegate(shown).get(), sel::animationController(slot.get()).get());
    EXPECT_DOUBLE_EQ(sel::startY(sel::animation(slot.get()).get()), 120);
    EXPECT_TRUE(sel::presenting(sel::animation(slot.get()).get()));
    // Let go of the test's reference: the slot keeps itself.
    WeakRef<YBXSlot> weak(slot.get());
    drive(UIGestureRecognizerStateCancelled, {100, 130});
    EXPECT_TRUE(pan()->enabled_);
    EXPECT_EQ(events(), std::vector<Event>({Event{"onSwipeableViewControllerPresentationCanceled", kMetadata}}));
    EXPECT_FALSE(sel::strongSlotForSwipeToViewController(slot.get()));
}

TEST_F(SlotSwipe, ASheetInTheCacheIsTakenInsteadOfANewOne) {
    showAd(configurationDictionary());
    enable();
    Ref<Object> cached = newObject("SKStoreProductViewController");
    YBXApplication::sharedApplication()->finishedUsingStoreProductViewController(cached.get(), Value(42LL));
    drive(UIGestureRecognizerStateBegan, {100, 120});
    EXPECT_EQ(sheet().get(), cached.get());
    EXPECT_TRUE(as<SKStoreProductViewController>(cached.get())->loadedItemIdentifiers_.empty());
}

TEST_F(SlotSwipe, APanWithoutProductOrRootShowsNothingAndTellsNothing) {
    for (bool withRoot : {true, false}) {
        SCOPED_TRACE(withRoot ? "no product" : "no root controller");
        showAd(configurationDictionary(!withRoot));
        delegate->root = withRoot ? root : nullptr;
        enable();
        drive(UIGestureRecognizerStateBegan, {100, 120});
        drive(UIGestureRecognizerStateChanged, {100, 300});
        drive(UIGestureRecognizerStateEnded, {100, 400}, {0, 800});
        EXPECT_FALSE(sel::presentedViewController(root.get()));
        EXPECT_FALSE(sel::strongSlotForSwipeToViewController(slot.get()));
        EXPECT_TRUE(events().empty());
    }
}

TEST_F(SlotSwipe, AFinishedSwipeShowsTheSheetAndClosingItGivesItBack) {
    showAd(configurationDictionary());
    enable("top_to_bottom", "1");
    drive(UIGestureRecognizerStateBegan, {100, 120});
    drive(UIGestureRecognizerStateChanged, {100, 344});
    EXPECT_DOUBLE_EQ(sel::percentComplete(sel::animationController(slot.get()).get()), 0.5);
    drive(UIGestureRecognizerStateEnded, {100, 400}, {0, 300});
    EXPECT_EQ(events(), std::vector<Event>({Event{"onSwipeableViewControllerPresentationFinished", kMetadata}}));
    platform::testing::advance(0.3);
    Ref<Object> shown = sheet();
    Ref<Object> sheetView = sel::view(shown.get());
    EXPECT_EQ(sel::window(sheetView.get()).get(), window.get());
    EXPECT_EQ(sel::frame(sheetView.get()), Rect(0, 0, 320, 568));
    EXPECT_FALSE(sel::window(sel::view(root.get()).get()));

    // The slot is held while the sheet is up.
    WeakRef<YBXSlot> weak(slot.get());
    Ref<YBXSlot> own = std::move(slot);
    own = nullptr;
    ASSERT_FALSE(weak.expired());
    slot = weak.lock();

    testing::scripts().clear();
    storekit::pressDone(as<SKStoreProductViewController>(shown.get()));
    EXPECT_EQ(events(), std::vector<Event>({Event{"onSwipeToViewControllerDismissed", kMetadata}}));
    EXPECT_FALSE(sheet());
    EXPECT_FALSE(sel::strongSlotForSwipeToViewController(slot.get()));
    platform::testing::advance(0.3);
    EXPECT_FALSE(sel::presentedViewController(root.get()));
    EXPECT_EQ(sel::window(sel::view(root.get()).get()).get(), window.get());
    EXPECT_FALSE(sel::window(sheetView.get()));
    // Back above the banner, where it came from, and in the cache for the next swipe.
    EXPECT_EQ(sel::frame(sheetView.get()), Rect(0, 100 - 568, 320, 568));
    EXPECT_EQ(YBXApplication::sharedApplication()->cachedStoreProductViewControllerForProductID(Value(42LL)).get(), shown.get());
}

TEST_F(SlotSwipe, ABottomToTopSwipeReleasedMovingDownIsCancelled) {
    showAd(configurationDictionary());
    enable("bottom_to_top");
    drive(UIGestureRecognizerStateBegan, {100, 120});
    drive(UIGestureRecognizerStateChanged, {100, 60});
    drive(UIGestureRecognizerStateEnded, {100, 70}, {0, 40});
    EXPECT_EQ(events(), std::vector<Event>({Event{"onSwipeableViewControllerPresentationCanceled", kMetadata}}));
    EXPECT_FALSE(sel::strongSlotForSwipeToViewController(slot.get()));
    platform::testing::advance(0.3);
    EXPECT_FALSE(sel::presentedViewController(root.get()));
    EXPECT_EQ(sel::window(sel::view(root.get()).get()).get(), window.get());
    EXPECT_FALSE(sel::window(sel::view(sheet().get()).get()));
}

TEST_F(SlotSwipe, ARequestResetSwitchesThePanOffAndGivesTheSheetBack) {
    showAd(configurationDictionary());
    enable();
    sel::loadStoreProductViewController(slot.get());
    Ref<Object> loaded = sheet();
    sel::resetRequestState(slot.get());
    EXPECT_FALSE(sel::swipeToViewControllerEnabled(slot.get()));
    EXPECT_FALSE(sheet());
    EXPECT_EQ(YBXApplication::sharedApplication()->cachedStoreProductViewControllerForProductID(Value(42LL)).get(), loaded.get());
}

// --- the interaction controller and the animation ----------------------------------------------------

class SwipeInteraction : public ::testing::Test {
protected:
    SwipeInteraction() {
        registerSwipeDelegate();
        delegate = as<SwipeTestDelegate>(newObject("SwipeTestDelegate"));
        sel::setTransitionAnimation_(controller.get(), animation.get());
        sel::setDelegate_(controller.get(), delegate.get());
        sel::addSubview_(window.get(), view.get());
        sel::addGestureRecognizer_(view.get(), recognizer.get());
        // As the slot hands it its pans.
        sel::addTarget_action_(recognizer.get(), controller.get(), sel_registerName(sel::handlePanGesture_.name));
        sel::makeKeyAndVisible(window.get());
    }
    YBXViewControllerFullScreenSwipeAnimation* swipe() { return as<YBXViewControllerFullScreenSwipeAnimation>(animation.get()); }

    testing::AdLibEnvironment env;
    Ref<UIWindow> window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
    Ref<UIView> view = UIView::make("UIView", Rect(0, 100, 320, 50));
    Ref<Object> recognizer = newObject("UIPanGestureRecognizer");
    Ref<Object> animation = newObject("YBXViewControllerFullScreenSwipeAnimation");
    Ref<Object> controller = newObject("YBXPercentDrivenUserInteractionAnimationController");
    Ref<SwipeTestDelegate> delegate;
};

TEST_F(SwipeInteraction, ProgressFollowsTheFingerWithinZeroAndOne) {
    struct Case {
        long long direction;
        double startY, y, progress;
    };
    const double H = UIScreen::mainScreen()->bounds().height();
    const Case cases[] = {
        {YBXSwipeDirectionTopToBottom, 100, 100, 0},   {YBXSwipeDirectionTopToBottom, 100, 100 + (H - 100) / 4, 0.25},
        {YBXSwipeDirectionTopToBottom, 100, H, 1},     {YBXSwipeDirectionTopToBottom, 100, 50, 0},
        {YBXSwipeDirectionTopToBottom, H, H, 0},       {YBXSwipeDirectionBottomToTop, 400, 100, 0.75},
        {YBXSwipeDirectionBottomToTop, 400, 0, 1},     {YBXSwipeDirectionBottomToTop, 400, 500, 0},
        {YBXSwipeDirectionBottomToTop, 0, 0, 0},       {YBXSwipeDirectionBottomToTop, 0, -20, 0},
    };
    auto* interaction = as<YBXPercentDrivenUserInteractionAnimationController>(controller.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.direction) + " from " + std::to_string(c.startY) + " at " + std::to_string(c.y));
        swipe()->direction_ = c.direction;
        swipe()->startY_ = c.startY;
        EXPECT_DOUBLE_EQ(interaction->progressAt(c.y), c.progress);
        gesture::drivePan(as<UIPanGestureRecognizer>(recognizer.get()), UIGestureRecognizerStateChanged, {10, c.y});
        EXPECT_DOUBLE_EQ(sel::percentComplete(controller.get()), c.progress);
    }
}

TEST_F(SwipeInteraction, AReleaseFinishesOnlyWhenTheFingerStillMovesTheSwipesWay) {
    struct Case {
        long long direction;
        bool presenting;
        double velocity;
        const char* heard;
    };
    const Case cases[] = {
        {YBXSwipeDirectionTopToBottom, true, 200, "finish"},  {YBXSwipeDirectionTopToBottom, true, -200, "cancel"},
        {YBXSwipeDirectionTopToBottom, true, 0, "cancel"},    {YBXSwipeDirectionTopToBottom, false, 200, "cancel"},
        {YBXSwipeDirectionTopToBottom, false, -200, "finish"}, {YBXSwipeDirectionBottomToTop, true, -200, "finish"},
        {YBXSwipeDirectionBottomToTop, true, 200, "cancel"},  {YBXSwipeDirectionBottomToTop, false, 200, "finish"},
        {YBXSwipeDirectionBottomToTop, false, -200, "cancel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.direction) + (c.presenting ? " presenting " : " dismissing ") + std::to_string(c.velocity));
        swipe()->direction_ = c.direction;
        if (c.presenting)
            sel::willAnimatePresentation(animation.get());
        else
            sel::willAnimateDismissal(animation.get());
        delegate->heard.clear();
        gesture::drivePan(as<UIPanGestureRecognizer>(recognizer.get()), UIGestureRecognizerStateEnded, {10, 300}, {0, c.velocity});
        EXPECT_EQ(delegate->heard, std::vector<std::string>{c.heard});
    }
    // A pan the system cancels takes the transition with it.
    delegate->heard.clear();
    gesture::drivePan(as<UIPanGestureRecognizer>(recognizer.get()), UIGestureRecognizerStateBegan, {10, 300});
    EXPECT_TRUE(delegate->heard.empty());
    gesture::drivePan(as<UIPanGestureRecognizer>(recognizer.get()), UIGestureRecognizerStateCancelled, {10, 300});
    EXPECT_EQ(delegate->heard, std::vector<std::string>{"cancel"});
}

TEST_F(SwipeInteraction, ItHandsOutItsAnimationAndItselfAsTransitioningDelegate) {
    Ref<Object> presented = sel::animationControllerForPresentedController_presentingController_sourceController_(controller.get(), nullptr, nullptr, nullptr);
    EXPECT_EQ(presented.get(), animation.get());
    EXPECT_TRUE(swipe()->presenting_);
    EXPECT_EQ(sel::interactionControllerForPresentation_(controller.get(), animation.get()).get(), controller.get());
    EXPECT_EQ(sel::animationControllerForDismissedController_(controller.get(), nullptr).get(), animation.get());
    EXPECT_FALSE(swipe()->presenting_);
    EXPECT_FALSE(respondsToSelector(controller.get(), sel::interactionControllerForDismissal_.name));
}

TEST_F(SwipeInteraction, FramesForBothDirectionsWithAndWithoutTheAdDraggedAlong) {
    struct Case {
        const char* name;
        long long direction;
        bool draggable;
        bool stretched;  // the ad's picture would change size on the way
        double sheetY;
        bool shown;
        Rect screenshotEnd;
    };
    // The ad at (0, 100, 320, 50) of a 320 x 568 container; the swipe began at y 120.
    const Case cases[] = {
        {"top to bottom, dragged", YBXSwipeDirectionTopToBottom, true, false, 100 - 568, true, Rect(0, 568, 320, 50)},
        {"bottom to top, dragged", YBXSwipeDirectionBottomToTop, true, false, 150, true, Rect(0, -50, 320, 50)},
        {"top to bottom, alone", YBXSwipeDirectionTopToBottom, false, false, 120 - 568, false, Rect()},
        {"bottom to top, alone", YBXSwipeDirectionBottomToTop, false, false, 120, false, Rect()},
        {"top to bottom, stretched", YBXSwipeDirectionTopToBottom, true, true, 120 - 568, false, Rect()},
        {"bottom to top, stretched", YBXSwipeDirectionBottomToTop, true, true, 120, false, Rect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<UIView> container = UIView::make("UIView", Rect(0, 0, 320, 568));
        Ref<UIView> ad = UIView::make("UIView", Rect(0, 100, 320, 50));
        sel::addSubview_(container.get(), ad.get());
        if (c.stretched) sel::setTransform_(ad.get(), AffineTransform::makeScale(1, 2));
        Ref<Object> sheet = newObject("UIViewController");
        swipe()->direction_ = c.direction;
        swipe()->startY_ = 120;
        sel::setDraggableView_(animation.get(), c.draggable ? ad.get() : nullptr);

        Ref<YBXAnimationContext> presenting = swipe()->presentationContext(container.get(), sheet.get());
        EXPECT_EQ(presenting->animatedViewController_.get(), sheet.get());
        EXPECT_EQ(presenting->animatedViewStartFrame_, Rect(0, c.sheetY, 320, 568));
        EXPECT_EQ(presenting->animatedViewEndFrame_, Rect(0, 0, 320, 568));
        EXPECT_EQ(sel::animatedViewFrameBeforeAnimation(animation.get()), Rect(0, c.sheetY, 320, 568));
        EXPECT_EQ(sel::draggableViewShownOnPresentation(animation.get()), c.shown);
        EXPECT_EQ(static_cast<bool>(presenting->draggableViewScreenshot_), c.shown);
        EXPECT_EQ(presenting->draggableViewStartFrame_, c.shown ? sel::frame(ad.get()) : Rect());
        EXPECT_EQ(presenting->draggableViewEndFrame_, c.screenshotEnd);
        EXPECT_EQ(sel::draggableViewEndFrameAfterAnimation(animation.get()), c.screenshotEnd);

        // Dismissal goes back to the saved frames from where the sheet is.
        sel::setFrame_(sel::view(sheet.get()).get(), Rect(0, 0, 320, 568));
        Ref<YBXAnimationContext> dismissing = swipe()->dismissalContext(container.get(), sheet.get());
        EXPECT_EQ(dismissing->animatedViewStartFrame_, Rect(0, 0, 320, 568));
        EXPECT_EQ(dismissing->animatedViewEndFrame_, Rect(0, c.sheetY, 320, 568));
        EXPECT_EQ(static_cast<bool>(dismissing->draggableViewScreenshot_), c.shown);
        EXPECT_EQ(dismissing->draggableViewStartFrame_, c.screenshotEnd);
        EXPECT_EQ(dismissing->draggableViewEndFrame_, c.shown ? sel::frame(ad.get()) : Rect());
    }
}

}  // namespace
}  // namespace adlib
