// YBXWebAppViewController: the full-screen controller of an interstitial, of a
// web app a creative opens (from a URL or from HTML) and of an expanded
// banner, whose own web view it borrows and gives back when it closes. It
// owns the close button, whose look and place follow MRAID and the creative's
// wish for a custom close. The transparent interstitial is its variant laid
// over the key window instead of presented, turned by hand with the status
// bar. Main thread only.
#pragma once

#include "adlib/render/view_controller.h"
#include "platform/network/url.h"

namespace adlib {

inline constexpr const char* kYBXCloseButtonLabel = "Close Advertisement";
// Animations of the transparent interstitial and the MRAID close button.
inline constexpr double kYBXTransparentInterstitialAnimationDuration = 0.4;
inline constexpr double kYBXFadeDuration = 0.2;

class YBXWebAppViewController : public YBXViewController {
public:
    ~YBXWebAppViewController() override;

    void setUp(id webView);
    void load(NSURL* url);
    void loadHTML(const Value& html, NSURL* baseURL);
    void updateCloseButtonVisibilityAndImage();
    Rect closeButtonFrameForContentFrame(Rect frame);
    bool shouldDismissOnAppClose();
    void relinquishScreen();
    void configureView();
    void composeTransparentInterstitial();
    void updateTransparentInterstitialOrientation();
    void animateTransparentInterstitialPresentation();
    void dismiss();
    bool isMRAIDSlot();

    Ref<Object> webView_;
    Ref<Object> webViewDelegate_;
    Ref<Object> closeButton_;
    Ref<Object> contentView_;
    Ref<Object> renderedBanner_;
    Ref<Object> hostViewController_;
    WeakRef<Object> interstitial_;
    bool useCustomClose_ = false;
    bool transparentInterstitial_ = false;
    bool displayingAsTransparentInterstitial_ = false;
    bool isExpandable_ = false;
    bool isCollapsing_ = false;
    bool viewHasAppeared_ = false;
    Ref<NSURL> URLToLoad_;
    Value HTMLToLoad_;
    Ref<NSURL> HTMLBaseURLToLoad_;
    // Where the close button was configured to stand (the view, or the
    // transparent interstitial's content view), for its return.
    WeakRef<Object> closeButtonHome_;
};

// (size, frame): the rectangle of that size centred in the frame.
Rect YBXFrameOfSizeCenteredInFrame(Size size, Rect frame);
// The content rotation of the transparent interstitial for a status-bar orientation.
AffineTransform YBXTransformForOrientation(long long orientation);
// Where the transparent interstitial's content starts its slide-in from, off screen.
Point YBXSlideInOffset(long long orientation, Rect applicationFrame);

void registerWebAppViewControllerClass();

}  // namespace adlib
