// What the sources of platform/uikit share among themselves; not for the
// system's code. Each class's source registers its class from one of the
// register functions, which registerClasses() calls in superclass order.
#pragma once

#include <vector>

#include "platform/runtime/runtime.h"

namespace platform {
class UIView;
class UIWindow;
class UIViewController;
class UIEvent;
class CALayer;
class CGContext;
}  // namespace platform

namespace platform::uikit::detail {

void registerColor();
void registerFont();
void registerLayer();
void registerResponder();
void registerView();
void registerAnimations();
void registerWindow();
void registerLabel();
void registerControl();
void registerButton();
void registerImage();
void registerImageView();
void registerScreen();
void registerDevice();
void registerApplication();
void registerViewController();
void registerLocalNotification();
void registerTouch();
void registerGestureRecognizer();
void registerLongPressGestureRecognizer();
void registerTapGestureRecognizer();
void registerPanGestureRecognizer();
void registerViewControllerTransitions();
void registerVisualEffects();
void registerVisualEffectView();

// The visual effects and their view exist from iOS 8 on.
bool hasVisualEffects();
void registerTableView();
void registerValueControls();
void registerTextField();
void registerNavigation();
void registerNavigationController();
void registerLayoutConstraints();
void registerAlertSheets();
void registerToolbar();
void registerActivityIndicator();
void registerPasteboard();
void registerSegmentedControl();

// The view tree is main-thread only; debug builds check it where work enters.
void checkMainThread();

// The view and its subviews, depth first, parents before children.
std::vector<Ref<UIView>> subtree(UIView* root);
// Marks the view for the next layout pass and schedules the pass.
void markNeedsLayout(UIView* view);
// A layout pass over a view that holds constraints places their views, after its layoutSubviews.
void solveConstraints(UIView* view);

// Appearance callbacks around a change of window membership or visibility:
// the controllers whose views are in the tree, their will-callbacks before the
// change (to appear when the tree ends up in a visible window), their
// did-callbacks after it.
std::vector<Ref<UIViewController>> controllersIn(UIView* root);
void beginAppearance(const std::vector<Ref<UIViewController>>& controllers, bool inVisibleWindow);
void endAppearance(const std::vector<Ref<UIViewController>>& controllers);

// A window's destructor: the list forgets it and the key window is handed back.
void windowGone(const UIWindow* window);

// CALayer's renderInContext: (graphics.cpp).
void renderLayer(CALayer* layer, CGContext* context);

// UIWindow's sendEvent: hands the event's touches to their views.
void deliverTouches(UIWindow* window, UIEvent* event);

}  // namespace platform::uikit::detail
