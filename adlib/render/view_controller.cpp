#include "adlib/render/view_controller.h"

#include "adlib/foundation/application.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/statistic_dictionary.h"
#include "adlib/pipeline/slot_neighbours.h"
#include "adlib/render/web_app_web_view_delegate.h"
#include "adlib/render/browser_view_controller.h"
#include "adlib/render/web_app_view_controller.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/operation_queue.h"
#include "platform/foundation/timer.h"
#include "platform/uikit/application.h"
#include "platform/uikit/color.h"
#include "platform/uikit/screen.h"

namespace adlib {

namespace {

YBXViewController* controllerOf(id self) { return as<YBXViewController>(self); }

Class* controllerClass() { return objc_getClass("YBXViewController"); }

UIApplication* app() { return UIApplication::sharedApplication(); }

constexpr const char* kLandingPageLoadDismiss = "tlanding_page_load_dismiss";

bool isFullScreenStyle(id self) { return sel::modalPresentationStyle(self) == 0; }

}  // namespace

unsigned long long YBXInterfaceOrientationMask(long long code) {
    switch (code) {
        case YBXOrientationPortrait: return 1ull << UIInterfaceOrientationPortrait;
        case YBXOrientationLandscape: return (1ull << UIInterfaceOrientationLandscapeLeft) | (1ull << UIInterfaceOrientationLandscapeRight);
        default: return 30;
    }
}

bool YBXOrientationCodeAllows(long long code, long long o) {
    switch (code) {
        case YBXOrientationPortrait: return o == UIInterfaceOrientationPortrait;
        case YBXOrientationLandscape: return o == UIInterfaceOrientationLandscapeLeft || o == UIInterfaceOrientationLandscapeRight;
        default: return true;
    }
}

YBXViewController* asYBXViewController(id object) { return isKindOfClass(object, "YBXViewController") ? as<YBXViewController>(object) : nullptr; }

YBXViewController::~YBXViewController() {
    NSNotificationCenter::defaultCenter()->removeObserver(this);
    if (isFirstYBXViewController_)
        if (Ref<Object> slot = slot_.lock()) sel::adDidDismissScreen(slot.get());
}

void YBXViewController::presentFromViewController(id controller) {
    if (!controller) {
        pubLog(kYBXNoViewControllerMessage);
        return;
    }
    Ref<YBXViewController> protector(this);
    sel::setUserInteractionEnabled_(sel::view(this).get(), false);
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    center->removeObserver(this, UIApplicationWillEnterForegroundNotification, Value());
    center->addObserver(this, sel::appDidEnterForeground_, UIApplicationWillEnterForegroundNotification, Value());
    retainCycle_ = Ref<Object>(this);
    wasPresentedFromViewController_ = true;
    onScreen_ = true;
    parent_ = WeakRef<Object>(controller);
    center->postNotificationName(kYBXWillPresentFullScreen, Value(Ref<Object>(this)));
    Ref<Object> slot = slot_.lock();
    isFirstYBXViewController_ = !asYBXViewController(controller);
    if (isFirstYBXViewController_) {
        interactingWithParent_ = true;
        sel::adWillPresentScreen(slot.get());
        sel::hideStatusBar(this);
        publisherIdleTimerDisabled_ = sel::isIdleTimerDisabled(app());
        sel::setIdleTimerDisabled_(app(), true);
        sel::presentFrom_(this, controller);
        performSelectorAfterDelay(this, sel_registerName(sel::viewDidAppearFallback.name), Value(), kYBXAppearanceFallbackDelay);
    } else {
        interactingWithParent_ = false;
        sel::presentFrom_(this, controller);
    }
}

void YBXViewController::viewDidAppear(bool animated) {
    Ref<Object> view = sel::view(this);
    if (!sel::isUserInteractionEnabled(view.get())) {
        sel::viewDidAppear_.super(controllerClass(), this, animated);
        sel::setUserInteractionEnabled_(view.get(), true);
        if (isFirstYBXViewController_) interactingWithParent_ = false;
    }
    viewDidAppear_ = true;
}

void YBXViewController::viewDidDisappear(bool animated) {
    sel::viewDidDisappear_.super(controllerClass(), this, animated);
    auto* statistics = as<YBXStatisticDictionary>(adStatisticsOf(slot_.lock().get()).get());
    if (statistics) {
        const Value now(nowMilliseconds());
        statistics->setObject(now, kLandingPageLoadDismiss, true);
        const Value clicked = statistics->objectForKey(kYBXAdStatClickTime);
        if (!clicked.isNil()) statistics->addObjectToArray(Value::array({clicked, now}), kYBXAdStatClickReturns, true);
    }
    if (isFirstYBXViewController_) interactingWithParent_ = false;
    viewDidAppear_ = false;
}

void YBXViewController::relinquishScreen() {
    if (!onScreen_) return;
    onScreen_ = false;
    // Nothing else may hold this controller (a transparent interstitial): it
    // must outlive its own closing.
    Ref<YBXViewController> protector(this);
    cancelPreviousPerformRequestsWithTarget(this, sel_registerName(sel::viewDidAppearFallback.name), Value());
    sel::setUserInteractionEnabled_(sel::view(this).get(), false);
    if (wasPresentedFromViewController_) {
        retainCycle_ = nullptr;
        wasPresentedFromViewController_ = false;
    }
    if (isFirstYBXViewController_) {
        interactingWithParent_ = true;
        sel::adWillDismissScreen(slot_.lock().get());
        sel::restoreStatusBar(this);
        sel::setIdleTimerDisabled_(app(), publisherIdleTimerDisabled_);
    } else {
        interactingWithParent_ = false;
    }
    sel::dismiss(this);
    NSNotificationCenter::defaultCenter()->postNotificationName(kYBXDidDismissFullScreen, Value(Ref<Object>(this)));
}

void YBXViewController::appDidEnterForeground() {
    // A closed controller that is still held has nothing left to close or hide.
    if (!onScreen_) return;
    if (!sel::shouldDismissOnAppClose(this)) {
        sel::ensureStatusBarHidden(this);
        return;
    }
    Ref<Object> parent = parent_.lock();
    if (!isFirstYBXViewController_ && asYBXViewController(parent.get()) && sel::shouldDismissOnAppClose(parent.get())) {
        // The parent closes the whole stack; this one only stops keeping itself.
        retainCycle_ = nullptr;
        return;
    }
    Ref<YBXViewController> self(this);
    NSOperationQueue::mainQueue()->addOperationWithBlock([self] { sel::relinquishScreen(self.get()); });
}

void YBXViewController::hideStatusBar(bool remember) {
    if (!isFullScreenStyle(this)) return;
    const bool hidden = sel::isStatusBarHidden(app());
    if (remember) statusBarWasHidden_ = hidden;
    if (!hidden) sel::setStatusBarHidden_(app(), true);
}

void YBXViewController::restoreStatusBar() {
    if (!statusBarWasHidden_ && isFullScreenStyle(this)) sel::setStatusBarHidden_(app(), false);
}

void registerViewControllerClasses() {
    ClassBuilder<YBXViewController>("YBXViewController", "UIViewController")
        .method(sel::init,
                [](id self) {
                    Ref<Object> made = sel::init.super(controllerClass(), self);
                    if (YBXViewController* c = controllerOf(made.get())) c->supportedOrientations_ = YBXOrientationAll;
                    return made;
                })
        .method(sel::viewDidLoad,
                [](id self) {
                    sel::viewDidLoad.super(controllerClass(), self);
                    Ref<Object> view = sel::view(self);
                    sel::setAutoresizingMask_(view.get(), UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
                    sel::setOpaque_(view.get(), true);
                    sel::setBackgroundColor_(view.get(), sel::blackColor(objc_getClass("UIColor")).get());
                    sel::setClipsToBounds_(view.get(), true);
                })
        .method(sel::prefersStatusBarHidden, [](id) { return true; })
        .method(sel::shouldAutorotate, [](id) { return true; })
        .method(sel::supportedInterfaceOrientations,
                [](id self) { return YBXInterfaceOrientationMask(controllerOf(self)->supportedOrientations_); })
        .method(sel::shouldAutorotateToInterfaceOrientation_,
                [](id self, long long o) { return YBXOrientationCodeAllows(controllerOf(self)->supportedOrientations_, o); })
        .method(sel::supportedOrientations, [](id self) { return controllerOf(self)->supportedOrientations_; })
        .method(sel::setSupportedOrientations_,
                [](id self, long long code) {
                    if (code != 0) controllerOf(self)->supportedOrientations_ = code;
                })
        .method(sel::slot, [](id self) { return controllerOf(self)->slot_.lock(); })
        .method(sel::setSlot_, [](id self, id slot) { controllerOf(self)->slot_ = WeakRef<Object>(slot); })
        .getter<&YBXViewController::viewDidAppear_>(sel::viewDidAppear)
        .getter<&YBXViewController::interactingWithParent_>(sel::interactingWithParent)
        .getter<&YBXViewController::isFirstYBXViewController_>(sel::isFirstYBXViewController)
        .method(sel::parent, [](id self) { return controllerOf(self)->parent_.lock(); })
        .method(sel::retainCycle, [](id self) { return controllerOf(self)->retainCycle_; })
        .method(sel::presentFromViewController_, [](id self, id controller) { controllerOf(self)->presentFromViewController(controller); })
        .method(sel::presentFrom_,
                [](id self, id host) { sel::presentViewController_animated_completion_(host, self, true, Block()); })
        .method(sel::dismiss,
                [](id self) {
                    if (Ref<Object> parent = controllerOf(self)->parent_.lock())
                        sel::dismissViewControllerAnimated_completion_(parent.get(), true, Block());
                })
        .method(sel::viewDidAppear_, [](id self, bool animated) { controllerOf(self)->viewDidAppear(animated); })
        .method(sel::viewDidAppearFallback, [](id self) { sel::viewDidAppear_(self, true); })
        .method(sel::viewDidDisappear_, [](id self, bool animated) { controllerOf(self)->viewDidDisappear(animated); })
        .method(sel::relinquishScreen, [](id self) { controllerOf(self)->relinquishScreen(); })
        .method(sel::shouldDismissOnAppClose, [](id) { return true; })
        .method(sel::appDidEnterForeground_, [](id self, id) { controllerOf(self)->appDidEnterForeground(); })
        .method(sel::hideStatusBar, [](id self) { controllerOf(self)->hideStatusBar(true); })
        .method(sel::ensureStatusBarHidden, [](id self) { controllerOf(self)->hideStatusBar(false); })
        .method(sel::restoreStatusBar, [](id self) { controllerOf(self)->restoreStatusBar(); });
    registerWebAppViewControllerClass();
    registerBrowserViewControllerClass();
}

}  // namespace adlib
