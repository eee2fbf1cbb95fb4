// The selectors of UIKit's core and QuartzCore's layer, each declared once with
// its signature (see platform/README.md). ':' is written '_'. Blocks are
// std::function parameters: such selectors are sent typed, never dynamically.
#pragma once

#include <functional>

#include "platform/foundation/selectors.h"
#include "platform/runtime/nsobject.h"
#include "platform/uikit/geometry.h"

namespace platform {

// A block without arguments (animations, presentation completions).
using Block = std::function<void()>;
// An animation's completion: finished is NO when a later animation took over.
using FinishedBlock = std::function<void(bool finished)>;

namespace sel {

// --- UIResponder -----------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id)> nextResponder{"nextResponder"};
// The touches are an array (NSSet) of UITouch objects.
inline constexpr Sel<void(id, Value, id)> touchesBegan_withEvent_{"touchesBegan:withEvent:"};
inline constexpr Sel<void(id, Value, id)> touchesMoved_withEvent_{"touchesMoved:withEvent:"};
inline constexpr Sel<void(id, Value, id)> touchesEnded_withEvent_{"touchesEnded:withEvent:"};
inline constexpr Sel<void(id, Value, id)> touchesCancelled_withEvent_{"touchesCancelled:withEvent:"};
inline constexpr Sel<bool(id)> canBecomeFirstResponder{"canBecomeFirstResponder"};
inline constexpr Sel<bool(id)> becomeFirstResponder{"becomeFirstResponder"};
inline constexpr Sel<bool(id)> resignFirstResponder{"resignFirstResponder"};
inline constexpr Sel<bool(id)> isFirstResponder{"isFirstResponder"};

// --- UIView: geometry ------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, Rect)> initWithFrame_{"initWithFrame:"};
inline constexpr Sel<Rect(id)> frame{"frame"};
inline constexpr Sel<void(id, Rect)> setFrame_{"setFrame:"};
inline constexpr Sel<Rect(id)> bounds{"bounds"};
inline constexpr Sel<void(id, Rect)> setBounds_{"setBounds:"};
inline constexpr Sel<Point(id)> center{"center"};
inline constexpr Sel<void(id, Point)> setCenter_{"setCenter:"};
inline constexpr Sel<AffineTransform(id)> transform{"transform"};
inline constexpr Sel<void(id, AffineTransform)> setTransform_{"setTransform:"};
inline constexpr Sel<unsigned long long(id)> autoresizingMask{"autoresizingMask"};
inline constexpr Sel<void(id, unsigned long long)> setAutoresizingMask_{"setAutoresizingMask:"};
inline constexpr Sel<bool(id)> autoresizesSubviews{"autoresizesSubviews"};
inline constexpr Sel<void(id, bool)> setAutoresizesSubviews_{"setAutoresizesSubviews:"};
inline constexpr Sel<Point(id, Point, id)> convertPoint_toView_{"convertPoint:toView:"};
inline constexpr Sel<Point(id, Point, id)> convertPoint_fromView_{"convertPoint:fromView:"};
inline constexpr Sel<Rect(id, Rect, id)> convertRect_toView_{"convertRect:toView:"};
inline constexpr Sel<Rect(id, Rect, id)> convertRect_fromView_{"convertRect:fromView:"};
// UIWindow: to another window's coordinates, or with nil to the screen's.
inline constexpr Sel<Rect(id, Rect, id)> convertRect_toWindow_{"convertRect:toWindow:"};

// --- UIView: appearance and interaction --------------------------------------------------
inline constexpr Sel<double(id)> alpha{"alpha"};
inline constexpr Sel<void(id, double)> setAlpha_{"setAlpha:"};
inline constexpr Sel<bool(id)> isHidden{"isHidden"};
inline constexpr Sel<void(id, bool)> setHidden_{"setHidden:"};
inline constexpr Sel<bool(id)> isOpaque{"isOpaque"};
inline constexpr Sel<void(id, bool)> setOpaque_{"setOpaque:"};
inline constexpr Sel<bool(id)> clipsToBounds{"clipsToBounds"};
inline constexpr Sel<void(id, bool)> setClipsToBounds_{"setClipsToBounds:"};
inline constexpr Sel<Ref<Object>(id)> backgroundColor{"backgroundColor"};
inline constexpr Sel<void(id, id)> setBackgroundColor_{"setBackgroundColor:"};
inline constexpr Sel<Ref<Object>(id)> tintColor{"tintColor"};
inline constexpr Sel<void(id, id)> setTintColor_{"setTintColor:"};
inline constexpr Sel<long long(id)> contentMode{"contentMode"};
inline constexpr Sel<void(id, long long)> setContentMode_{"setContentMode:"};
inline constexpr Sel<bool(id)> isUserInteractionEnabled{"isUserInteractionEnabled"};
// UIAccessibility, on views and bar button items.
inline constexpr Sel<Value(id)> accessibilityLabel{"accessibilityLabel"};
inline constexpr Sel<void(id, Value)> setAccessibilityLabel_{"setAccessibilityLabel:"};
inline constexpr Sel<bool(id)> isAccessibilityElement{"isAccessibilityElement"};
inline constexpr Sel<void(id, bool)> setIsAccessibilityElement_{"setIsAccessibilityElement:"};
inline constexpr Sel<void(id, bool)> setUserInteractionEnabled_{"setUserInteractionEnabled:"};
inline constexpr Sel<bool(id)> isExclusiveTouch{"isExclusiveTouch"};
inline constexpr Sel<void(id, bool)> setExclusiveTouch_{"setExclusiveTouch:"};
inline constexpr Sel<long long(id)> tag{"tag"};
inline constexpr Sel<void(id, long long)> setTag_{"setTag:"};
inline constexpr Sel<Ref<Object>(id, long long)> viewWithTag_{"viewWithTag:"};
inline constexpr Sel<Ref<Object>(id)> layer{"layer"};
// Class method: the class of the layer a view of this class makes.
inline constexpr Sel<Class*(id)> layerClass{"layerClass"};

// --- UIView: hierarchy --------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id)> superview{"superview"};
inline constexpr Sel<Value(id)> subviews{"subviews"};
inline constexpr Sel<Ref<Object>(id)> window{"window"};
inline constexpr Sel<void(id, id)> addSubview_{"addSubview:"};
inline constexpr Sel<void(id, id, long long)> insertSubview_atIndex_{"insertSubview:atIndex:"};
inline constexpr Sel<void(id, id, id)> insertSubview_belowSubview_{"insertSubview:belowSubview:"};
inline constexpr Sel<void(id, id, id)> insertSubview_aboveSubview_{"insertSubview:aboveSubview:"};
inline constexpr Sel<void(id, id)> bringSubviewToFront_{"bringSubviewToFront:"};
inline constexpr Sel<void(id, id)> sendSubviewToBack_{"sendSubviewToBack:"};
inline constexpr Sel<void(id)> removeFromSuperview{"removeFromSuperview"};
inline constexpr Sel<bool(id, id)> isDescendantOfView_{"isDescendantOfView:"};
inline constexpr Sel<void(id, id)> willMoveToSuperview_{"willMoveToSuperview:"};
inline constexpr Sel<void(id)> didMoveToSuperview{"didMoveToSuperview"};
inline constexpr Sel<void(id, id)> willMoveToWindow_{"willMoveToWindow:"};
inline constexpr Sel<void(id)> didMoveToWindow{"didMoveToWindow"};
inline constexpr Sel<void(id, id)> didAddSubview_{"didAddSubview:"};
inline constexpr Sel<void(id, id)> willRemoveSubview_{"willRemoveSubview:"};

// --- UIView: layout, sizing, hit testing ---------------------------------------------------
inline constexpr Sel<void(id)> setNeedsLayout{"setNeedsLayout"};
inline constexpr Sel<void(id)> layoutIfNeeded{"layoutIfNeeded"};
inline constexpr Sel<void(id)> layoutSubviews{"layoutSubviews"};
inline constexpr Sel<Size(id, Size)> sizeThatFits_{"sizeThatFits:"};
inline constexpr Sel<void(id)> sizeToFit{"sizeToFit"};
inline constexpr Sel<Ref<Object>(id, Point, id)> hitTest_withEvent_{"hitTest:withEvent:"};
inline constexpr Sel<bool(id, Point, id)> pointInside_withEvent_{"pointInside:withEvent:"};

// --- UIView: animations (class methods) --------------------------------------------------------
inline constexpr Sel<void(id, double, Block)> animateWithDuration_animations_{"animateWithDuration:animations:"};
inline constexpr Sel<void(id, double, Block, FinishedBlock)> animateWithDuration_animations_completion_{
    "animateWithDuration:animations:completion:"};
inline constexpr Sel<void(id, double, double, unsigned long long, Block, FinishedBlock)>
    animateWithDuration_delay_options_animations_completion_{"animateWithDuration:delay:options:animations:completion:"};
inline constexpr Sel<void(id, double, double, double, double, unsigned long long, Block, FinishedBlock)>
    animateWithDuration_delay_usingSpringWithDamping_initialSpringVelocity_options_animations_completion_{
        "animateWithDuration:delay:usingSpringWithDamping:initialSpringVelocity:options:animations:completion:"};
inline constexpr Sel<void(id, bool)> setAnimationsEnabled_{"setAnimationsEnabled:"};
inline constexpr Sel<bool(id)> areAnimationsEnabled{"areAnimationsEnabled"};
inline constexpr Sel<void(id, Block)> performWithoutAnimation_{"performWithoutAnimation:"};

// --- CALayer, CAFilter ---------------------------------------------------------------------------
inline constexpr Sel<double(id)> cornerRadius{"cornerRadius"};
inline constexpr Sel<void(id, double)> setCornerRadius_{"setCornerRadius:"};
inline constexpr Sel<bool(id)> masksToBounds{"masksToBounds"};
inline constexpr Sel<void(id, bool)> setMasksToBounds_{"setMasksToBounds:"};
inline constexpr Sel<double(id)> borderWidth{"borderWidth"};
inline constexpr Sel<void(id, double)> setBorderWidth_{"setBorderWidth:"};
inline constexpr Sel<Ref<Object>(id)> borderColor{"borderColor"};
inline constexpr Sel<void(id, id)> setBorderColor_{"setBorderColor:"};
inline constexpr Sel<Value(id)> filters{"filters"};
inline constexpr Sel<void(id, Value)> setFilters_{"setFilters:"};
inline constexpr Sel<Ref<Object>(id)> delegate{"delegate"};
inline constexpr Sel<void(id, id)> setDelegate_{"setDelegate:"};
inline constexpr Sel<Ref<Object>(id, Value)> filterWithName_{"filterWithName:"};
inline constexpr Sel<Value(id)> name{"name"};

// --- UIWindow --------------------------------------------------------------------------------------
inline constexpr Sel<double(id)> windowLevel{"windowLevel"};
inline constexpr Sel<void(id, double)> setWindowLevel_{"setWindowLevel:"};
inline constexpr Sel<void(id)> makeKeyAndVisible{"makeKeyAndVisible"};
inline constexpr Sel<void(id)> makeKeyWindow{"makeKeyWindow"};
inline constexpr Sel<void(id)> becomeKeyWindow{"becomeKeyWindow"};
inline constexpr Sel<void(id)> resignKeyWindow{"resignKeyWindow"};
inline constexpr Sel<bool(id)> isKeyWindow{"isKeyWindow"};
inline constexpr Sel<Ref<Object>(id)> rootViewController{"rootViewController"};
inline constexpr Sel<void(id, id)> setRootViewController_{"setRootViewController:"};
inline constexpr Sel<bool(id)> _shouldCreateContextAsSecure{"_shouldCreateContextAsSecure"};
inline constexpr Sel<Ref<Object>(id)> screen{"screen"};
// UIApplication and UIWindow: delivers an event (touches) to its views.
inline constexpr Sel<void(id, id)> sendEvent_{"sendEvent:"};

// --- UILabel ---------------------------------------------------------------------------------------
inline constexpr Sel<Value(id)> text{"text"};
inline constexpr Sel<void(id, Value)> setText_{"setText:"};
inline constexpr Sel<Ref<Object>(id)> font{"font"};
inline constexpr Sel<void(id, id)> setFont_{"setFont:"};
inline constexpr Sel<Ref<Object>(id)> textColor{"textColor"};
inline constexpr Sel<void(id, id)> setTextColor_{"setTextColor:"};
inline constexpr Sel<long long(id)> textAlignment{"textAlignment"};
inline constexpr Sel<void(id, long long)> setTextAlignment_{"setTextAlignment:"};
inline constexpr Sel<long long(id)> numberOfLines{"numberOfLines"};
inline constexpr Sel<void(id, long long)> setNumberOfLines_{"setNumberOfLines:"};
inline constexpr Sel<long long(id)> lineBreakMode{"lineBreakMode"};
inline constexpr Sel<void(id, long long)> setLineBreakMode_{"setLineBreakMode:"};
inline constexpr Sel<bool(id)> adjustsFontSizeToFitWidth{"adjustsFontSizeToFitWidth"};
inline constexpr Sel<void(id, bool)> setAdjustsFontSizeToFitWidth_{"setAdjustsFontSizeToFitWidth:"};

// --- UIControl (highlighted, selected and enabled are also UILabel's) -----------------------------------
inline constexpr Sel<void(id, id, SEL, unsigned long long)> addTarget_action_forControlEvents_{"addTarget:action:forControlEvents:"};
inline constexpr Sel<void(id, id, SEL, unsigned long long)> removeTarget_action_forControlEvents_{
    "removeTarget:action:forControlEvents:"};
inline constexpr Sel<void(id, unsigned long long)> sendActionsForControlEvents_{"sendActionsForControlEvents:"};
inline constexpr Sel<void(id, SEL, id, id)> sendAction_to_forEvent_{"sendAction:to:forEvent:"};
inline constexpr Sel<Value(id)> allTargets{"allTargets"};
inline constexpr Sel<unsigned long long(id)> allControlEvents{"allControlEvents"};
inline constexpr Sel<Value(id, id, unsigned long long)> actionsForTarget_forControlEvent_{"actionsForTarget:forControlEvent:"};
inline constexpr Sel<bool(id)> isHighlighted{"isHighlighted"};
inline constexpr Sel<void(id, bool)> setHighlighted_{"setHighlighted:"};
inline constexpr Sel<bool(id)> isSelected{"isSelected"};
inline constexpr Sel<void(id, bool)> setSelected_{"setSelected:"};
inline constexpr Sel<bool(id)> isEnabled{"isEnabled"};
inline constexpr Sel<void(id, bool)> setEnabled_{"setEnabled:"};
// UIControlState, a mask (UIControl); later classes with a `state` use this signature too.
inline constexpr Sel<unsigned long long(id)> state{"state"};
inline constexpr Sel<bool(id)> isTracking{"isTracking"};
inline constexpr Sel<bool(id)> isTouchInside{"isTouchInside"};
inline constexpr Sel<bool(id, id, id)> beginTrackingWithTouch_withEvent_{"beginTrackingWithTouch:withEvent:"};
inline constexpr Sel<bool(id, id, id)> continueTrackingWithTouch_withEvent_{"continueTrackingWithTouch:withEvent:"};
inline constexpr Sel<void(id, id, id)> endTrackingWithTouch_withEvent_{"endTrackingWithTouch:withEvent:"};
inline constexpr Sel<void(id, id)> cancelTrackingWithEvent_{"cancelTrackingWithEvent:"};

// --- UIButton ---------------------------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, long long)> buttonWithType_{"buttonWithType:"};
inline constexpr Sel<long long(id)> buttonType{"buttonType"};
inline constexpr Sel<void(id, Value, unsigned long long)> setTitle_forState_{"setTitle:forState:"};
inline constexpr Sel<Value(id, unsigned long long)> titleForState_{"titleForState:"};
inline constexpr Sel<Value(id)> currentTitle{"currentTitle"};
inline constexpr Sel<Ref<Object>(id)> titleLabel{"titleLabel"};
inline constexpr Sel<void(id, id, unsigned long long)> setTitleColor_forState_{"setTitleColor:forState:"};
inline constexpr Sel<Ref<Object>(id, unsigned long long)> titleColorForState_{"titleColorForState:"};
inline constexpr Sel<Ref<Object>(id)> currentTitleColor{"currentTitleColor"};
inline constexpr Sel<void(id, id, unsigned long long)> setImage_forState_{"setImage:forState:"};
inline constexpr Sel<Ref<Object>(id, unsigned long long)> imageForState_{"imageForState:"};
inline constexpr Sel<Ref<Object>(id)> currentImage{"currentImage"};
inline constexpr Sel<void(id, id, unsigned long long)> setBackgroundImage_forState_{"setBackgroundImage:forState:"};
inline constexpr Sel<Ref<Object>(id, unsigned long long)> backgroundImageForState_{"backgroundImageForState:"};
inline constexpr Sel<Ref<Object>(id)> imageView{"imageView"};
inline constexpr Sel<bool(id)> adjustsImageWhenHighlighted{"adjustsImageWhenHighlighted"};
inline constexpr Sel<bool(id)> showsTouchWhenHighlighted{"showsTouchWhenHighlighted"};
inline constexpr Sel<void(id, bool)> setShowsTouchWhenHighlighted_{"setShowsTouchWhenHighlighted:"};
inline constexpr Sel<void(id, bool)> setAdjustsImageWhenHighlighted_{"setAdjustsImageWhenHighlighted:"};

// --- UIImage, UIImageView -------------------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, Value)> imageWithContentsOfFile_{"imageWithContentsOfFile:"};
inline constexpr Sel<Ref<Object>(id, Value)> imageWithData_{"imageWithData:"};
inline constexpr Sel<Ref<Object>(id, Value)> imageNamed_{"imageNamed:"};
inline constexpr Sel<Ref<Object>(id, Value, id, id)> imageNamed_inBundle_compatibleWithTraitCollection_{
    "imageNamed:inBundle:compatibleWithTraitCollection:"};
inline constexpr Sel<Ref<Object>(id, long long)> imageWithRenderingMode_{"imageWithRenderingMode:"};
inline constexpr Sel<long long(id)> renderingMode{"renderingMode"};
inline constexpr Sel<Size(id)> size{"size"};
// UIImage and UIScreen.
inline constexpr Sel<double(id)> scale{"scale"};
inline constexpr Sel<Ref<Object>(id, id)> initWithImage_{"initWithImage:"};
inline constexpr Sel<Ref<Object>(id)> image{"image"};
inline constexpr Sel<void(id, id)> setImage_{"setImage:"};

// --- UIFont ---------------------------------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, Value, double)> fontWithName_size_{"fontWithName:size:"};
inline constexpr Sel<Ref<Object>(id, double)> systemFontOfSize_{"systemFontOfSize:"};
inline constexpr Sel<Ref<Object>(id, double)> boldSystemFontOfSize_{"boldSystemFontOfSize:"};
inline constexpr Sel<Ref<Object>(id, double)> fontWithSize_{"fontWithSize:"};
inline constexpr Sel<Value(id)> fontName{"fontName"};
inline constexpr Sel<double(id)> pointSize{"pointSize"};
inline constexpr Sel<double(id)> lineHeight{"lineHeight"};

// --- UIColor --------------------------------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, double, double, double, double)> colorWithRed_green_blue_alpha_{"colorWithRed:green:blue:alpha:"};
inline constexpr Sel<Ref<Object>(id, double, double)> colorWithWhite_alpha_{"colorWithWhite:alpha:"};
// (image) a pattern colour; nil without an image.
inline constexpr Sel<Ref<Object>(id, id)> colorWithPatternImage_{"colorWithPatternImage:"};
inline constexpr Sel<Ref<Object>(id, double, double, double, double)> colorWithHue_saturation_brightness_alpha_{
    "colorWithHue:saturation:brightness:alpha:"};
inline constexpr Sel<Ref<Object>(id, double)> colorWithAlphaComponent_{"colorWithAlphaComponent:"};
inline constexpr Sel<Ref<Object>(id)> blackColor{"blackColor"};
inline constexpr Sel<Ref<Object>(id)> darkGrayColor{"darkGrayColor"};
inline constexpr Sel<Ref<Object>(id)> lightGrayColor{"lightGrayColor"};
inline constexpr Sel<Ref<Object>(id)> whiteColor{"whiteColor"};
inline constexpr Sel<Ref<Object>(id)> grayColor{"grayColor"};
inline constexpr Sel<Ref<Object>(id)> redColor{"redColor"};
inline constexpr Sel<Ref<Object>(id)> greenColor{"greenColor"};
inline constexpr Sel<Ref<Object>(id)> blueColor{"blueColor"};
inline constexpr Sel<Ref<Object>(id)> cyanColor{"cyanColor"};
inline constexpr Sel<Ref<Object>(id)> yellowColor{"yellowColor"};
inline constexpr Sel<Ref<Object>(id)> magentaColor{"magentaColor"};
inline constexpr Sel<Ref<Object>(id)> orangeColor{"orangeColor"};
inline constexpr Sel<Ref<Object>(id)> purpleColor{"purpleColor"};
inline constexpr Sel<Ref<Object>(id)> brownColor{"brownColor"};
inline constexpr Sel<Ref<Object>(id)> clearColor{"clearColor"};
// There is no CGColor here: a colour stands for its own CGColor.
inline constexpr Sel<Ref<Object>(id)> CGColor{"CGColor"};
inline constexpr Sel<bool(id, double*, double*, double*, double*)> getRed_green_blue_alpha_{"getRed:green:blue:alpha:"};
inline constexpr Sel<bool(id, double*, double*)> getWhite_alpha_{"getWhite:alpha:"};

// --- UIScreen, UIDevice -----------------------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id)> mainScreen{"mainScreen"};
inline constexpr Sel<Rect(id)> applicationFrame{"applicationFrame"};
inline constexpr Sel<Ref<Object>(id)> currentDevice{"currentDevice"};
inline constexpr Sel<Value(id)> systemVersion{"systemVersion"};
inline constexpr Sel<Value(id)> systemName{"systemName"};
inline constexpr Sel<Value(id)> model{"model"};
inline constexpr Sel<long long(id)> userInterfaceIdiom{"userInterfaceIdiom"};
inline constexpr Sel<long long(id)> orientation{"orientation"};
inline constexpr Sel<float(id)> batteryLevel{"batteryLevel"};
inline constexpr Sel<long long(id)> batteryState{"batteryState"};
inline constexpr Sel<bool(id)> isBatteryMonitoringEnabled{"isBatteryMonitoringEnabled"};
inline constexpr Sel<void(id, bool)> setBatteryMonitoringEnabled_{"setBatteryMonitoringEnabled:"};
inline constexpr Sel<void(id)> beginGeneratingDeviceOrientationNotifications{"beginGeneratingDeviceOrientationNotifications"};
inline constexpr Sel<void(id)> endGeneratingDeviceOrientationNotifications{"endGeneratingDeviceOrientationNotifications"};
inline constexpr Sel<bool(id)> isGeneratingDeviceOrientationNotifications{"isGeneratingDeviceOrientationNotifications"};
inline constexpr Sel<Ref<Object>(id)> currentMode{"currentMode"};  // UIScreen's, a UIScreenMode

// --- UIApplication and its delegate ---------------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id)> sharedApplication{"sharedApplication"};
inline constexpr Sel<Ref<Object>(id)> keyWindow{"keyWindow"};
inline constexpr Sel<Value(id)> windows{"windows"};
// The URL is an NSURL or its string.
inline constexpr Sel<bool(id, Value)> openURL_{"openURL:"};
inline constexpr Sel<bool(id, Value)> canOpenURL_{"canOpenURL:"};
inline constexpr Sel<bool(id, SEL, id, id, id)> sendAction_to_from_forEvent_{"sendAction:to:from:forEvent:"};
inline constexpr Sel<long long(id)> statusBarOrientation{"statusBarOrientation"};
inline constexpr Sel<void(id, long long)> setStatusBarOrientation_{"setStatusBarOrientation:"};
inline constexpr Sel<Rect(id)> statusBarFrame{"statusBarFrame"};
inline constexpr Sel<bool(id)> isStatusBarHidden{"isStatusBarHidden"};
inline constexpr Sel<void(id, bool)> setStatusBarHidden_{"setStatusBarHidden:"};
inline constexpr Sel<long long(id)> applicationState{"applicationState"};
inline constexpr Sel<bool(id)> isIdleTimerDisabled{"isIdleTimerDisabled"};
inline constexpr Sel<void(id, bool)> setIdleTimerDisabled_{"setIdleTimerDisabled:"};
inline constexpr Sel<bool(id, id, Value)> application_didFinishLaunchingWithOptions_{"application:didFinishLaunchingWithOptions:"};
inline constexpr Sel<void(id, id)> applicationDidFinishLaunching_{"applicationDidFinishLaunching:"};
inline constexpr Sel<void(id, id)> applicationDidBecomeActive_{"applicationDidBecomeActive:"};
inline constexpr Sel<void(id, id)> applicationWillResignActive_{"applicationWillResignActive:"};
inline constexpr Sel<void(id, id)> applicationDidEnterBackground_{"applicationDidEnterBackground:"};
inline constexpr Sel<void(id, id)> applicationWillEnterForeground_{"applicationWillEnterForeground:"};
inline constexpr Sel<void(id, id)> applicationWillTerminate_{"applicationWillTerminate:"};
inline constexpr Sel<void(id, id)> applicationDidReceiveMemoryWarning_{"applicationDidReceiveMemoryWarning:"};

// --- UIViewController --------------------------------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id)> view{"view"};
inline constexpr Sel<void(id, id)> setView_{"setView:"};
inline constexpr Sel<bool(id)> isViewLoaded{"isViewLoaded"};
inline constexpr Sel<void(id)> loadView{"loadView"};
inline constexpr Sel<void(id)> viewDidLoad{"viewDidLoad"};
inline constexpr Sel<void(id, bool)> viewWillAppear_{"viewWillAppear:"};
inline constexpr Sel<void(id, bool)> viewDidAppear_{"viewDidAppear:"};
inline constexpr Sel<void(id, bool)> viewWillDisappear_{"viewWillDisappear:"};
inline constexpr Sel<void(id, bool)> viewDidDisappear_{"viewDidDisappear:"};
inline constexpr Sel<void(id)> viewWillLayoutSubviews{"viewWillLayoutSubviews"};
inline constexpr Sel<void(id)> viewDidLayoutSubviews{"viewDidLayoutSubviews"};
inline constexpr Sel<Value(id)> title{"title"};
inline constexpr Sel<void(id, Value)> setTitle_{"setTitle:"};
inline constexpr Sel<void(id, id, bool, Block)> presentViewController_animated_completion_{"presentViewController:animated:completion:"};
inline constexpr Sel<void(id, bool, Block)> dismissViewControllerAnimated_completion_{"dismissViewControllerAnimated:completion:"};
inline constexpr Sel<Ref<Object>(id)> presentedViewController{"presentedViewController"};
inline constexpr Sel<Ref<Object>(id)> presentingViewController{"presentingViewController"};
// 0 full screen (the default), 5 over full screen, ...
inline constexpr Sel<long long(id)> modalPresentationStyle{"modalPresentationStyle"};
inline constexpr Sel<void(id, long long)> setModalPresentationStyle_{"setModalPresentationStyle:"};
inline constexpr Sel<bool(id)> prefersStatusBarHidden{"prefersStatusBarHidden"};
inline constexpr Sel<bool(id)> shouldAutorotate{"shouldAutorotate"};
// A mask of 1 << orientation: 2 portrait, 24 both landscapes, 30 all four.
inline constexpr Sel<unsigned long long(id)> supportedInterfaceOrientations{"supportedInterfaceOrientations"};
inline constexpr Sel<bool(id, long long)> shouldAutorotateToInterfaceOrientation_{"shouldAutorotateToInterfaceOrientation:"};
inline constexpr Sel<long long(id)> interfaceOrientation{"interfaceOrientation"};
// Sent by a rotation of the device to the topmost presented controller (screen.h).
inline constexpr Sel<void(id, long long, double)> willRotateToInterfaceOrientation_duration_{"willRotateToInterfaceOrientation:duration:"};
inline constexpr Sel<void(id, long long)> didRotateFromInterfaceOrientation_{"didRotateFromInterfaceOrientation:"};
// From the dismiss call until its completion has run.
inline constexpr Sel<bool(id)> isBeingDismissed{"isBeingDismissed"};
// 0 cover vertical (the default), 1 flip horizontal, 2 cross dissolve, 3 partial curl.
inline constexpr Sel<long long(id)> modalTransitionStyle{"modalTransitionStyle"};
inline constexpr Sel<void(id, long long)> setModalTransitionStyle_{"setModalTransitionStyle:"};

// initWithNibName:bundle: (nib name, bundle); no nib is ever loaded here.
inline constexpr Sel<Ref<Object>(id, Value, id)> initWithNibName_bundle_{"initWithNibName:bundle:"};


// --- UILocalNotification -----------------------------------------------------------------------------------------------------
// userInfo: platform/foundation/selectors.h
inline constexpr Sel<void(id, Value)> setUserInfo_{"setUserInfo:"};
// A date value or nil.
inline constexpr Sel<Value(id)> fireDate{"fireDate"};
inline constexpr Sel<void(id, Value)> setFireDate_{"setFireDate:"};
// An NSTimeZone, or nil for an absolute fire date.
inline constexpr Sel<Ref<Object>(id)> timeZone{"timeZone"};
// setTimeZone: platform/foundation/selectors.h
// An NSCalendar.
inline constexpr Sel<Ref<Object>(id)> repeatCalendar{"repeatCalendar"};
inline constexpr Sel<void(id, id)> setRepeatCalendar_{"setRepeatCalendar:"};
// An NSCalendarUnit; 0 does not repeat.
inline constexpr Sel<unsigned long long(id)> repeatInterval{"repeatInterval"};
inline constexpr Sel<void(id, unsigned long long)> setRepeatInterval_{"setRepeatInterval:"};
inline constexpr Sel<Value(id)> alertBody{"alertBody"};
inline constexpr Sel<void(id, Value)> setAlertBody_{"setAlertBody:"};
inline constexpr Sel<Value(id)> soundName{"soundName"};
inline constexpr Sel<void(id, Value)> setSoundName_{"setSoundName:"};
inline constexpr Sel<bool(id)> allowSnooze{"allowSnooze"};
inline constexpr Sel<void(id, bool)> setAllowSnooze_{"setAllowSnooze:"};
// (after date, local time zone): the next fire date after the date, or nil.
inline constexpr Sel<Value(id, Value, id)> nextFireDateAfterDate_localTimeZone_{"nextFireDateAfterDate:localTimeZone:"};
// NSCopying: a new object with the same contents.
inline constexpr Sel<Ref<Object>(id)> copy{"copy"};

// --- UITouch, UIEvent ------------------------------------------------------------------------------------------------------
inline constexpr Sel<Point(id, id)> locationInView_{"locationInView:"};
inline constexpr Sel<Point(id, id)> previousLocationInView_{"previousLocationInView:"};
inline constexpr Sel<long long(id)> phase{"phase"};
inline constexpr Sel<unsigned long long(id)> tapCount{"tapCount"};
inline constexpr Sel<double(id)> timestamp{"timestamp"};
inline constexpr Sel<Value(id)> allTouches{"allTouches"};
inline constexpr Sel<long long(id)> type{"type"};


// --- UIGestureRecognizer and its long-press and tap kinds ----------------------------------------------------
// The state is the `state` selector above (unsigned, as UIControl's); setState:
// is the subclasses' way to move it.
inline constexpr Sel<Ref<Object>(id, id, SEL)> initWithTarget_action_{"initWithTarget:action:"};
inline constexpr Sel<void(id, id, SEL)> addTarget_action_{"addTarget:action:"};
inline constexpr Sel<void(id, unsigned long long)> setState_{"setState:"};
// (target or nil, action or empty): nil and empty match every target and action.
inline constexpr Sel<void(id, id, SEL)> removeTarget_action_{"removeTarget:action:"};
// (touch index, view or nil for the window)
inline constexpr Sel<Point(id, unsigned long long, id)> locationOfTouch_inView_{"locationOfTouch:inView:"};
inline constexpr Sel<unsigned long long(id)> numberOfTouches{"numberOfTouches"};
// UIPanGestureRecognizer's, in the view's coordinates (nil: the window's).
inline constexpr Sel<Point(id, id)> translationInView_{"translationInView:"};
inline constexpr Sel<Point(id, id)> velocityInView_{"velocityInView:"};
inline constexpr Sel<void(id)> reset{"reset"};
inline constexpr Sel<bool(id)> cancelsTouchesInView{"cancelsTouchesInView"};
inline constexpr Sel<void(id, bool)> setCancelsTouchesInView_{"setCancelsTouchesInView:"};
inline constexpr Sel<double(id)> minimumPressDuration{"minimumPressDuration"};
inline constexpr Sel<void(id, double)> setMinimumPressDuration_{"setMinimumPressDuration:"};
inline constexpr Sel<double(id)> allowableMovement{"allowableMovement"};
inline constexpr Sel<void(id, double)> setAllowableMovement_{"setAllowableMovement:"};
inline constexpr Sel<unsigned long long(id)> numberOfTapsRequired{"numberOfTapsRequired"};
inline constexpr Sel<void(id, unsigned long long)> setNumberOfTapsRequired_{"setNumberOfTapsRequired:"};
// UIView's.
inline constexpr Sel<void(id, id)> addGestureRecognizer_{"addGestureRecognizer:"};
inline constexpr Sel<void(id, id)> removeGestureRecognizer_{"removeGestureRecognizer:"};
inline constexpr Sel<Value(id)> gestureRecognizers{"gestureRecognizers"};
// The recognizer's delegate (each optional).
inline constexpr Sel<bool(id, id)> gestureRecognizerShouldBegin_{"gestureRecognizerShouldBegin:"};
inline constexpr Sel<bool(id, id, id)> gestureRecognizer_shouldReceiveTouch_{"gestureRecognizer:shouldReceiveTouch:"};
inline constexpr Sel<bool(id, id, id)> gestureRecognizer_shouldRecognizeSimultaneouslyWithGestureRecognizer_{
    "gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:"};

// --- UIVisualEffectView, UIBlurEffect, UIVibrancyEffect ----------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, id)> initWithEffect_{"initWithEffect:"};
inline constexpr Sel<Ref<Object>(id)> effect{"effect"};
inline constexpr Sel<Ref<Object>(id)> contentView{"contentView"};
inline constexpr Sel<Ref<Object>(id, long long)> effectWithStyle_{"effectWithStyle:"};
inline constexpr Sel<Ref<Object>(id, id)> effectForBlurEffect_{"effectForBlurEffect:"};

// --- UIPasteboard ------------------------------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id)> generalPasteboard{"generalPasteboard"};  // class method
inline constexpr Sel<Value(id)> string{"string"};
inline constexpr Sel<void(id, Value)> setString_{"setString:"};

// --- NSCoding -----------------------------------------------------------------------------------------------------
// A view made from a coder takes the frame that the coder carries (NSCoder in view.h), else a zero frame.
inline constexpr Sel<Ref<Object>(id, id)> initWithCoder_{"initWithCoder:"};

// --- Auto Layout's size answers -----------------------------------------------------------------------------------
// The size a view wants without constraints: UIViewNoIntrinsicMetric on both sides by default.
inline constexpr Sel<Size(id)> intrinsicContentSize{"intrinsicContentSize"};
inline constexpr Sel<void(id)> invalidateIntrinsicContentSize{"invalidateIntrinsicContentSize"};

}  // namespace sel
}  // namespace platform

// Tables, value controls, navigation, sheets and alerts.
#include "platform/uikit/control_selectors.h"
