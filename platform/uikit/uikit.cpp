#include "platform/uikit/uikit.h"

#include "platform/uikit/internal.h"

namespace platform::uikit {

void registerClasses() {
    // Superclasses first.
    detail::registerColor();
    detail::registerFont();
    detail::registerLayer();
    detail::registerResponder();
    detail::registerView();
    detail::registerAnimations();
    detail::registerWindow();
    detail::registerLabel();
    detail::registerControl();
    detail::registerButton();
    detail::registerImage();
    detail::registerImageView();
    detail::registerScreen();
    detail::registerDevice();
    detail::registerApplication();
    detail::registerViewController();
    detail::registerViewControllerTransitions();
    detail::registerLocalNotification();
    detail::registerTouch();
    detail::registerGestureRecognizer();
    detail::registerLongPressGestureRecognizer();
    detail::registerTapGestureRecognizer();
    detail::registerPanGestureRecognizer();
    detail::registerVisualEffects();
    detail::registerVisualEffectView();
    detail::registerTableView();
    detail::registerValueControls();
    detail::registerTextField();
    detail::registerNavigation();
    detail::registerNavigationController();
    detail::registerLayoutConstraints();
    detail::registerAlertSheets();
    detail::registerToolbar();
    detail::registerActivityIndicator();
    detail::registerSegmentedControl();
    detail::registerPasteboard();
}

}  // namespace platform::uikit
