#include "tweak/screens/window_view.h"

#include <cmath>
#include <numbers>

#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/application.h"
#include "platform/uikit/color.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/window.h"
#include "tweak/screens/properties.h"

namespace rousa {

double UIInterfaceOrientationAngleOfOrientation(long long orientation) {
    switch (orientation) {
        case 2: return std::numbers::pi;
        case 3: return std::numbers::pi / 2;
        case 4: return -std::numbers::pi / 2;
        default: return 0;
    }
}

double UIInterfaceOrientationAngleBetween(long long a, long long b) {
    return UIInterfaceOrientationAngleOfOrientation(a) - UIInterfaceOrientationAngleOfOrientation(b);
}

bool UIInterfaceOrientationsIsForSameAxis(long long a, long long b) {
    auto landscape = [](long long o) { return o == 3 || o == 4; };
    auto portrait = [](long long o) { return o == 1 || o == 2; };
    return (landscape(a) && landscape(b)) || (portrait(a) && portrait(b));
}

unsigned long long TQInterfaceOrientationMaskFromOrientation(long long orientation) { return 1ULL << orientation; }

namespace {

RS2GWindowView* windowView(id self) { return as<RS2GWindowView>(self); }

// The window views on a window, in the order they were put there.
std::vector<Ref<RS2GWindowView>>& activeViews() {
    static auto* views = new std::vector<Ref<RS2GWindowView>>();
    return *views;
}

Ref<Object> application() { return Ref<Object>(UIApplication::sharedApplication()); }

void setUp(id self) {
    windowView(self)->supportedInterfaceOrientations = 30;
    auto* center = NSNotificationCenter::defaultCenter();
    center->addObserver(self, sel::statusBarFrameOrOrientationChanged_, UIApplicationDidChangeStatusBarOrientationNotification, Value());
    center->addObserver(self, sel::statusBarFrameOrOrientationChanged_, UIApplicationDidChangeStatusBarFrameNotification, Value());
}

void rotateTo(id self, long long orientation) {
    AffineTransform t = AffineTransform::makeRotation(UIInterfaceOrientationAngleOfOrientation(orientation));
    Class* windowViewClass = objc_getClass("RS2GWindowView");
    double h = sel::getStatusBarHeight(windowViewClass);
    Rect frame = sel::rectInWindowBounds_statusBarOrientation_statusBarHeight_(windowViewClass, sel::bounds(sel::window(self)),
                                                                                 sel::statusBarOrientation(application()), h);
    sel::setIfNotEqualTransform_frame_(self, t, frame);
}

void placementTest(id self) {
    Ref<Object> window = sel::window(self);
    Ref<Object> superview = sel::superview(self);
    if (superview.get() != window.get()) raise("NSInternalInconsistencyException", "TQWindowView should only be added directly on UIWindow");
    Value subviews = sel::subviews(window);
    if (subviews.at(0).object() == self)
        raise("NSInternalInconsistencyException",
              "TQWindowView is not meant to be first subview on window since UIWindow automatically rotates the first view for you.");
}

void didMoveToWindow(id self) {
    sel::didMoveToWindow.super(objc_getClass("RS2GWindowView"), self);
    auto* v = windowView(self);
    Ref<RS2GWindowView> keep(v);
    auto& active = activeViews();
    if (sel::window(self)) {
        placementTest(self);
        if (v->onDidMoveToWindow) v->onDidMoveToWindow();
        active.push_back(keep);
        sel::rotateAccordingToStatusBarOrientationAndSupportedOrientations(self);
        return;
    }
    if (v->onDidMoveOutOfWindow) v->onDidMoveOutOfWindow();
    // Kept until the end of this pass of the run loop, as an autoreleased object would be.
    RunLoop::main().post([keep] {});
    std::erase_if(active, [&](const Ref<RS2GWindowView>& x) { return x.get() == v; });
}

void slideDown(id self, Block done) {
    Ref<Object> view(self);
    sel::setBackgroundColor_(view, UIColor::white(0.0, 0.8));
    sel::setOpaque_(view, true);
    double height = sel::bounds(view).height();
    UIView::animateWithDuration(
        0.4,
        [view, height] {
            Value subviews = sel::subviews(view);
            for (const Value& s : subviews.array()) {
                Rect f = sel::frame(s.object());
                sel::setFrame_(s.object(), Rect(f.x(), f.y() + height, f.width(), f.height()));
            }
            sel::setBackgroundColor_(view, UIColor::white(0.0, 0.0));
            sel::setOpaque_(view, false);
        },
        [view, done](bool) {
            sel::removeFromSuperview(view);
            if (done) done();
        });
}

}  // namespace

RS2GWindowView::~RS2GWindowView() { NSNotificationCenter::defaultCenter()->removeObserver(this); }

void registerWindowViewClasses() {
    ClassBuilder<TQWindowViewHelper>("TQWindowViewHelper", "NSObject");
    ClassBuilder<RS2GWindowView>("RS2GWindowView", "UIView")
        .method(sel::initWithFrame_,
                [](id self, Rect frame) {
                    Ref<Object> made = sel::initWithFrame_.super(objc_getClass("RS2GWindowView"), self, frame);
                    if (!made) return made;
                    setUp(made);
                    sel::setOpaque_(made, false);
                    sel::setBackgroundColor_(made, sel::clearColor(objc_getClass("UIColor")));
                    return made;
                })
        // A view from an archive gets the same set-up, so it follows the status bar too.
        .method(sel::initWithCoder_,
                [](id self, id coder) {
                    Ref<Object> made = sel::initWithCoder_.super(objc_getClass("RS2GWindowView"), self, coder);
                    if (made) setUp(made);
                    return made;
                })
        .method(sel::controller, &getObjectProperty<RS2GWindowView, &RS2GWindowView::controller>)
        .method(sel::setController_, &setObjectProperty<RS2GWindowView, &RS2GWindowView::controller>)
        .property<&RS2GWindowView::onDidMoveToWindow>(sel::onDidMoveToWindow, sel::setOnDidMoveToWindow_)
        .property<&RS2GWindowView::onDidMoveOutOfWindow>(sel::onDidMoveOutOfWindow, sel::setOnDidMoveOutOfWindow_)
        .property<&RS2GWindowView::onlySubviewsCapturesTouch>(sel::onlySubviewsCapturesTouch, sel::setOnlySubviewsCapturesTouch_)
        .method(sel::initAndAddToWindow_,
                [](id self, id window) {
                    Ref<Object> made = sel::initWithFrame_(self, Rect());
                    sel::addSubview_(window, made);
                    return made;
                })
        .method(sel::initAndAddToKeyWindow,
                [](id self) { return sel::initAndAddToWindow_(self, Ref<Object>(UIWindow::keyWindow().get())); })
        .method(sel::supportedInterfaceOrientations, [](id self) { return windowView(self)->supportedInterfaceOrientations; })
        .method(sel::setSupportedInterfaceOrientations_,
                [](id self, unsigned long long mask) {
                    windowView(self)->supportedInterfaceOrientations = mask;
                    if (sel::window(self)) sel::rotateAccordingToStatusBarOrientationAndSupportedOrientations(self);
                })
        .method(sel::statusBarFrameOrOrientationChanged_,
                [](id self, id) { sel::rotateAccordingToStatusBarOrientationAndSupportedOrientations(self); })
        .method(sel::rotateAccordingToStatusBarOrientationAndSupportedOrientations,
                [](id self) {
                    NSLog("*** ALERT: Roating");
                    rotateTo(self, sel::desiredOrientation(self));
                })
        .method(sel::rotateManuallyToOrientation_, &rotateTo)
        .method(sel::desiredOrientation,
                [](id self) -> long long {
                    unsigned long long mask = windowView(self)->supportedInterfaceOrientations;
                    long long current = sel::statusBarOrientation(application());
                    if (mask & TQInterfaceOrientationMaskFromOrientation(current)) return current;
                    if (mask & 2) return 1;
                    if (mask & 16) return 4;
                    if (mask & 8) return 3;
                    return 2;
                })
        .method(sel::setIfNotEqualTransform_frame_,
                [](id self, AffineTransform t, Rect frame) {
                    if (!(sel::transform(self) == t)) sel::setTransform_(self, t);
                    if (!(sel::frame(self) == frame)) sel::setFrame_(self, frame);
                })
        .classMethod(sel::getStatusBarHeight,
                     [](id) {
                         Rect bar = sel::statusBarFrame(application());
                         long long o = sel::statusBarOrientation(application());
                         return o == 3 || o == 4 ? bar.width() : bar.height();
                     })
        .classMethod(sel::rectInWindowBounds_statusBarOrientation_statusBarHeight_,
                     [](id, Rect rect, long long orientation, double h) {
                         // Only systems before iOS 7 draw windows under the status bar.
                         static const bool beforeIOS7 = stringDoubleValue(UIDevice::currentDevice()->systemVersion()) < 7.0;
                         if (!beforeIOS7) return rect;
                         if (orientation == 4) rect.origin.x += h;
                         if (orientation == 1) rect.origin.y += h;
                         if (orientation == 3 || orientation == 4) rect.size.width -= h;
                         if (orientation == 1 || orientation == 2) rect.size.height -= h;
                         return rect;
                     })
        .classMethod(sel::allActiveWindowViews,
                     [](id) {
                         Value list = Value(Value::Array{});
                         for (const auto& v : activeViews()) list.mutableArray().push_back(Value(v));
                         return list;
                     })
        .classMethod(sel::firstActiveWindowViewPassingTest_,
                     [](id, std::function<bool(id)> test) -> Ref<Object> {
                         for (auto views = activeViews(); const auto& v : views)
                             if (test(v)) return v;
                         return nullptr;
                     })
        .classMethod(sel::activeWindowViewForController_,
                     [](id cls, id controller) {
                         Ref<Object> controllerView = sel::view(controller);
                         return sel::firstActiveWindowViewPassingTest_(cls, [&](id v) {
                             return windowView(v)->controller.lock().get() == controller ||
                                    (controllerView && sel::isDescendantOfView_(v, controllerView));
                         });
                     })
        .classMethod(sel::activeWindowViewContainingView_,
                     [](id cls, id view) { return sel::firstActiveWindowViewPassingTest_(cls, [&](id v) { return sel::isDescendantOfView_(view, v); }); })
        .method(sel::didMoveToWindow, &didMoveToWindow)
        .method(sel::hitTest_withEvent_,
                [](id self, Point p, id event) {
                    Ref<Object> hit = sel::hitTest_withEvent_.super(objc_getClass("RS2GWindowView"), self, p, event);
                    if (hit.get() == self && windowView(self)->onlySubviewsCapturesTouch) return Ref<Object>();
                    return hit;
                })
        .method(sel::addSubViewAndKeepSamePosition_,
                [](id self, id view) {
                    Ref<Object> superview = sel::superview(view);
                    if (!superview)
                        raise("NSInternalInconsistencyException",
                              format("When calling %s we are expecting the view to be moved is already in a view hierarchy.",
                                     "addSubViewAndKeepSamePosition:"));
                    sel::setFrame_(view, sel::convertRect_fromView_(self, sel::bounds(view), view));
                    sel::addSubview_(self, view);
                })
        .method(sel::addSubviewAndFillBounds_,
                [](id self, id view) {
                    sel::setFrame_(view, sel::bounds(self));
                    sel::addSubview_(self, view);
                })
        .method(sel::addSubviewAndFillBounds_withSlideUpAnimationOnDone_,
                [](id self, id view, Block done) {
                    Rect b = sel::bounds(self);
                    sel::setFrame_(view, Rect(b.x(), b.y() + b.height(), b.width(), b.height()));
                    sel::addSubview_(self, view);
                    Ref<Object> me(self), moved(view);
                    UIView::animateWithDuration(
                        0.4,
                        [me, moved, b] {
                            sel::setFrame_(moved, b);
                            sel::setBackgroundColor_(me, UIColor::white(0.0, 0.8));
                            sel::setOpaque_(me, true);
                        },
                        [done](bool) {
                            if (done) done();
                        });
                })
        .method(sel::fadeOutAndRemoveFromSuperview_,
                [](id self, Block done) {
                    Ref<Object> me(self);
                    UIView::animateWithDuration(0.4, [me] { sel::setAlpha_(me, 0.0); },
                                                [me, done](bool) {
                                                    sel::removeFromSuperview(me);
                                                    if (done) done();
                                                });
                })
        .method(sel::slideDownSubviewsAndRemoveFromSuperview_, &slideDown)
        .method(sel::bringToFront, [](id self) { sel::bringSubviewToFront_(sel::superview(self), self); })
        .method(sel::isInFront, [](id self) {
            Value subviews = sel::subviews(sel::superview(self));
            return subviews.count() > 0 && subviews.at(subviews.count() - 1).object() == self;
        });
}

}  // namespace rousa
