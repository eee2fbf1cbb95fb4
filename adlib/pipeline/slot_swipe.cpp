// YBXSlot(SwipeToViewController): while the creative has switched it on, a
// vertical pan that starts on one of the ad's marked areas pulls the App Store
// sheet over the screen under the finger; the viewability tick tells the
// creative where the ad is. The slot keeps itself alive while a sheet is up.
// Main thread only.
#include <cassert>

#include "adlib/foundation/device.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/utilities.h"
#include "adlib/pipeline/slot.h"
#include "adlib/pipeline/slot_neighbours.h"
#include "adlib/render/swipe_configurations.h"
#include "platform/frameworks/storekit.h"
#include "platform/uikit/gesture_recognizer.h"
#include "platform/uikit/view_controller_transitioning.h"

namespace adlib {

namespace {

YBXSlot* slotOf(id self) { return as<YBXSlot>(self); }

void checkMainThread() { assert(NSThread::isMainThread() && "YBXSlot is used on the main thread only"); }

bool anySuperviewIsScrollView(id view) {
    static Class* scrollViewClass = objc_getClass("UIScrollView");
    for (Ref<Object> up = sel::superview(view); up; up = sel::superview(up.get()))
        if (isKindOfClass(up.get(), scrollViewClass)) return true;
    return false;
}

// The delegate's swipe view when it answers both the view and the root controller.
Ref<Object> swipeViewOf(id delegate) {
    if (!delegate || !respondsToSelector(delegate, sel::swipeToViewControllerView.name) ||
        !respondsToSelector(delegate, sel::rootViewController.name))
        return nullptr;
    return sel::swipeToViewControllerView(delegate);
}

}  // namespace

Ref<Object> YBXSlot::swipeConfigurations() const {
    // The creative talks while its page loads, before its ad becomes current.
    id ad = loadingAd_ ? loadingAd_.get() : ad_.get();
    return ad ? sel::swipeToViewControllerConfigurations(ad) : nullptr;
}

bool YBXSlot::canEnableSwipeToViewController() {
    checkMainThread();
    if (!ad_ || !sel::swipeToViewControllerConfigurations(ad_.get()) || strongSlotForSwipeToViewController_) return false;
    id view = webView_.get();
    YBXDevice* device = YBXDevice::currentDevice();
    const Value parameters{
        {"creativeFrame", MakeDictionaryFromRect(view ? sel::convertRect_toView_(view, sel::bounds(view), nullptr) : Rect{})},
        {"deviceFrame", MakeDictionaryFromRect(device->standardizedApplicationFrame())},
        {"deviceOrientation", Value(device->isOrientationLandscape() ? "landscape" : "portrait")},
        {"anySuperViewScrollable", Value(view && anySuperviewIsScrollView(view) ? "1" : "0")}};
    if (parameters == savedParamsForCheckingSwipeToViewController_) return false;
    savedParamsForCheckingSwipeToViewController_ = parameters;
    YBXNotificationCenter::postJSNotification("onAdVisible", parameters, view);
    return true;
}

bool YBXSlot::setUpAnimationController() {
    if (swipeToViewControllerAnimationControllerInitialized_) return true;
    Ref<Object> configurations = swipeConfigurations();
    Ref<Object> animation = sel::init(alloc("YBXViewControllerFullScreenSwipeAnimation"));
    Ref<Object> controller = sel::init(alloc("YBXPercentDrivenUserInteractionAnimationController"));
    if (!animation || !controller) return false;
    sel::setTransitionDuration_(animation.get(), sel::swipeAnimationTransitionDuration(configurations.get()));
    sel::setTransitionAnimation_(controller.get(), animation.get());
    animation_ = animation;
    animationController_ = controller;
    swipeGestureRecognizer_ = sel::init(alloc("UIPanGestureRecognizer"));
    swipeToViewControllerAnimationControllerInitialized_ = true;
    return true;
}

void YBXSlot::enableSwipeToViewController() {
    checkMainThread();
    // Without settings a recognizer on the banner would only take the creative's own pans.
    Ref<Object> configurations = swipeConfigurations();
    if (!configurations) return;
    Ref<Object> view = swipeViewOf(slotDelegate_.lock().get());
    if (!view || !setUpAnimationController()) return;
    id recognizer = swipeGestureRecognizer_.get();
    sel::addGestureRecognizer_(view.get(), recognizer);
    swipeToViewControllerEnabled_ = true;
    sel::setDelegate_(animationController_.get(), this);
    sel::addTarget_action_(recognizer, this, sel_registerName(sel::handlePanGesture_.name));
    sel::setDirection_(animation_.get(), sel::swipeDirection(configurations.get()));
    sel::setDraggableView_(animation_.get(), sel::isAdDraggable(configurations.get()) ? view.get() : nullptr);
}

void YBXSlot::disableSwipeToViewController() {
    checkMainThread();
    if (!swipeToViewControllerEnabled_) return;
    savedParamsForCheckingSwipeToViewController_ = Value();
    swipeToViewControllerEnabled_ = false;
    id recognizer = swipeGestureRecognizer_.get();
    sel::removeTarget_action_(recognizer, this, sel_registerName(sel::handlePanGesture_.name));
    if (Ref<Object> view = swipeViewOf(slotDelegate_.lock().get())) sel::removeGestureRecognizer_(view.get(), recognizer);
}

bool YBXSlot::shouldProcessTouch(Point point, id view) {
    Ref<Object> configurations = swipeConfigurations();
    if (!view || !configurations) return false;
    const Point inView = sel::convertPoint_fromView_(view, point, nullptr);
    for (const Value& rectangle : sel::swipeableRectangles(configurations.get()).array())
        if (rectangle.rect().contains(inView)) return true;
    return false;
}

void YBXSlot::handlePanGesture(id recognizer) {
    checkMainThread();
    Ref<YBXSlot> protector(this);
    const unsigned long long state = sel::state(recognizer);
    if (state == UIGestureRecognizerStateBegan) {
        const Point touch = sel::locationOfTouch_inView_(recognizer, 0, nullptr);
        Ref<Object> delegate = slotDelegate_.lock();
        if (!shouldProcessTouch(touch, swipeViewOf(delegate.get()).get())) {
            sel::setEnabled_(recognizer, false);
            return;
        }
        sel::setStartY_(animation_.get(), touch.y);
        Ref<Object> root = sel::rootViewController(delegate.get());
        const Value productID = sel::swipeableInAppStoreProductID(swipeConfigurations().get());
        // Without a sheet to show the pan drives nothing: the creative hears of no sheet.
        if (!root || productID.isNil()) return;
        strongSlotForSwipeToViewController_ = Ref<Object>(this);
        loadStoreProductViewController();
        swipePresentationUnderway_ = true;
        sel::presentViewController_animated_completion_(root.get(), swipeableStoreProductViewController_.get(), true, Block());
    } else if (state == UIGestureRecognizerStateCancelled) {
        sel::setEnabled_(recognizer, true);
    }
    // Only a pan whose beginning started a presentation drives one; a
    // presentation on its way is called off with the pan that drove it.
    if (swipePresentationUnderway_) sel::handlePanGesture_(animationController_.get(), recognizer);
}

void YBXSlot::loadStoreProductViewController() {
    const Value productID = sel::swipeableInAppStoreProductID(swipeConfigurations().get());
    YBXApplication* application = YBXApplication::sharedApplication();
    Ref<Object> sheet = application ? application->cachedStoreProductViewControllerForProductID(productID) : nullptr;
    if (!sheet) {
        sheet = sel::init(alloc("SKStoreProductViewController"));
        sel::loadProductWithParameters_completionBlock_(sheet.get(), Value{{SKStoreProductParameterITunesItemIdentifier, productID}},
                                                        SKStoreProductLoadCompletion());
    }
    sel::setDelegate_(sheet.get(), this);
    sel::setTransitioningDelegate_(sheet.get(), animationController_.get());
    sel::setModalPresentationStyle_(sheet.get(), 0);  // full screen
    swipeableStoreProductViewController_ = sheet;
}

void YBXSlot::productViewControllerDidFinish(id sheet) {
    checkMainThread();
    Ref<YBXSlot> protector(this);
    Ref<Object> held(sheet);
    sel::dismissViewControllerAnimated_completion_(sheet, true, Block());
    Ref<Object> configurations = swipeConfigurations();
    YBXNotificationCenter::postJSNotification("onSwipeToViewControllerDismissed", sel::swipeEventCreativeMetadata(configurations.get()),
                                              webView_.get());
    if (YBXApplication* application = YBXApplication::sharedApplication())
        application->finishedUsingStoreProductViewController(sheet, sel::swipeableInAppStoreProductID(configurations.get()));
    swipeableStoreProductViewController_ = nullptr;
    strongSlotForSwipeToViewController_ = nullptr;
}

void YBXSlot::returnSwipeableStoreProductViewController() {
    if (!swipeableStoreProductViewController_) return;
    const Value productID = sel::swipeableInAppStoreProductID(swipeConfigurations().get());
    YBXApplication* application = YBXApplication::sharedApplication();
    if (application && !productID.isNil())
        application->finishedUsingStoreProductViewController(swipeableStoreProductViewController_.get(), productID);
    swipeableStoreProductViewController_ = nullptr;
}

void YBXSlot::animationControllerDidFinishAnimationTransition() {
    swipePresentationUnderway_ = false;
    YBXNotificationCenter::postJSNotification("onSwipeableViewControllerPresentationFinished",
                                              sel::swipeEventCreativeMetadata(swipeConfigurations().get()), webView_.get());
}

void YBXSlot::animationControllerDidCancelAnimationTransition() {
    Ref<YBXSlot> protector(this);
    swipePresentationUnderway_ = false;
    YBXNotificationCenter::postJSNotification("onSwipeableViewControllerPresentationCanceled",
                                              sel::swipeEventCreativeMetadata(swipeConfigurations().get()), webView_.get());
    strongSlotForSwipeToViewController_ = nullptr;
}

void registerSlotSwipeCategory(Class* slotClass) {
    ClassBuilder<YBXSlot>(slotClass)
        .protocol("SKStoreProductViewControllerDelegate")
        .method(sel::canEnableSwipeToViewController, [](id self) { return slotOf(self)->canEnableSwipeToViewController(); })
        .method(sel::enableSwipeToViewController, [](id self) { slotOf(self)->enableSwipeToViewController(); })
        .method(sel::disableSwipeToViewController, [](id self) { slotOf(self)->disableSwipeToViewController(); })
        .method(sel::setUpAnimationController, [](id self) { slotOf(self)->setUpAnimationController(); })
        .method(sel::handlePanGesture_, [](id self, id recognizer) { slotOf(self)->handlePanGesture(recognizer); })
        .method(sel::loadStoreProductViewController, [](id self) { slotOf(self)->loadStoreProductViewController(); })
        .method(sel::shouldProcessTouch_inView_, [](id self, Point point, id view) { return slotOf(self)->shouldProcessTouch(point, view); })
        .method(sel::productViewControllerDidFinish_, [](id self, id sheet) { slotOf(self)->productViewControllerDidFinish(sheet); })
        .method(sel::animationControllerDidFinishAnimationTransition_,
                [](id self, id) { slotOf(self)->animationControllerDidFinishAnimationTransition(); })
        .method(sel::animationControllerDidCancelAnimationTransition_,
                [](id self, id) { slotOf(self)->animationControllerDidCancelAnimationTransition(); })
        .getter<&YBXSlot::swipeToViewControllerEnabled_>(sel::swipeToViewControllerEnabled)
        .getter<&YBXSlot::swipeToViewControllerAnimationControllerInitialized_>(sel::swipeToViewControllerAnimationControllerInitialized)
        .method(sel::animation, [](id self) { return slotOf(self)->animation_; })
        .method(sel::animationController, [](id self) { return slotOf(self)->animationController_; })
        .method(sel::swipeGestureRecognizer, [](id self) { return slotOf(self)->swipeGestureRecognizer_; })
        .method(sel::swipeableStoreProductViewController, [](id self) { return slotOf(self)->swipeableStoreProductViewController_; })
        .method(sel::strongSlotForSwipeToViewController, [](id self) { return slotOf(self)->strongSlotForSwipeToViewController_; })
        .getter<&YBXSlot::savedParamsForCheckingSwipeToViewController_>(sel::savedParamsForCheckingSwipeToViewController);
}

}  // namespace adlib
