// PRWRadialMenu: a control that shows up to five round item buttons (centre,
// top, left, right, bottom) on a blurred disc around its centre. A long press
// opens it; while the press lasts it follows the finger (the disc grows over
// an item) and lifting the finger runs the chosen item's selected handler.
// It carries a long-press recognizer of its own, and an owner may hand it the
// events of another long-press recognizer through didTouch:. The handlers
// close the menu (dismissMenuAnimated:), it does not close itself.
//
// State changes are animated as spring animations; the delegate (weak) is
// told before the menu opens or closes, and after the last running state
// animation has completed. PRWButton is the class of its main button. Main
// thread only.
#pragma once

#include "platform/uikit/button.h"
#include "platform/uikit/control.h"
#include "platform/uikit/long_press_gesture_recognizer.h"
#include "tweak/screens/radial_menu_item.h"

namespace rousa {

// PRWRadialMenuLocation
enum : long long {
    PRWRadialMenuLocationNone = -1,
    PRWRadialMenuLocationCenter = 0,
    PRWRadialMenuLocationTop = 1,
    PRWRadialMenuLocationLeft = 2,
    PRWRadialMenuLocationRight = 3,
    PRWRadialMenuLocationBottom = 4,
};

// PRWRadialMenuState
enum : long long {
    PRWRadialMenuStateContracted = 0,  // closed
    PRWRadialMenuStateNormal = 1,      // open
    PRWRadialMenuStateExpanded = 2,    // open, the finger over an item
};

// The disc's radius in each state.
inline constexpr double kPRWRadialMenuContractedRadius = 15;
inline constexpr double kPRWRadialMenuNormalRadius = 105;
inline constexpr double kPRWRadialMenuExpandedRadius = 120;

// A location's key in the menu's dictionaries ("PRWRadialMenuLocationTop", ...);
// nil outside 0-4.
Value descriptionStringForLocation(long long location);
// The location of a key; -1 for any other string.
long long locationFromLocationString(const Value& key);
double CGPointDistance(Point a, Point b);

// The spring of a state animation.
struct PRWRadialMenuAnimationParameters {
    double duration = 0;
    double damping = 1;
    double velocity = 0;
};

namespace sel {
inline constexpr Sel<Ref<Object>(id, id)> initWithBackgroundVisualEffect_{"initWithBackgroundVisualEffect:"};
inline constexpr Sel<void(id, id, long long)> setItem_forLocation_{"setItem:forLocation:"};
inline constexpr Sel<Ref<Object>(id, long long)> menuItemForLocation_{"menuItemForLocation:"};
inline constexpr Sel<Value(id, id)> locationStringForItem_{"locationStringForItem:"};
inline constexpr Sel<void(id, long long, bool)> setMenuState_animated_{"setMenuState:animated:"};
inline constexpr Sel<void(id, long long)> setMenuState_{"setMenuState:"};
inline constexpr Sel<long long(id)> menuState{"menuState"};
inline constexpr Sel<bool(id)> isMenuVisible{"isMenuVisible"};
inline constexpr Sel<void(id)> displayMenu{"displayMenu"};
inline constexpr Sel<void(id, bool)> dismissMenuAnimated_{"dismissMenuAnimated:"};
// A long-press recognizer's event: opens, tracks and chooses.
inline constexpr Sel<void(id, id)> didTouch_{"didTouch:"};
inline constexpr Sel<void(id, long long)> highlightLocation_{"highlightLocation:"};
inline constexpr Sel<void(id, long long)> selectLocation_{"selectLocation:"};
inline constexpr Sel<long long(id, Point)> locationForPoint_{"locationForPoint:"};
inline constexpr Sel<double(id, Point)> distanceOfPointFromCenter_{"distanceOfPointFromCenter:"};
inline constexpr Sel<Point(id, Point)> pointRelativeToCenter_{"pointRelativeToCenter:"};
inline constexpr Sel<void(id, double)> setMenuRadius_{"setMenuRadius:"};
inline constexpr Sel<double(id)> menuRadius{"menuRadius"};
// The fields (`items` is the platform's).
inline constexpr Sel<Ref<Object>(id)> backgroundVisualEffect{"backgroundVisualEffect"};
inline constexpr Sel<void(id, id)> setBackgroundVisualEffect_{"setBackgroundVisualEffect:"};
inline constexpr Sel<Value(id)> itemButtons{"itemButtons"};
inline constexpr Sel<Ref<Object>(id)> radialMenu{"radialMenu"};
inline constexpr Sel<Ref<Object>(id)> radialMenuBackground{"radialMenuBackground"};
inline constexpr Sel<Ref<Object>(id)> mainButton{"mainButton"};
inline constexpr Sel<Ref<Object>(id)> pressGestureRecognizer{"pressGestureRecognizer"};
inline constexpr Sel<long long(id)> activeStateTransitionCount{"activeStateTransitionCount"};
// Class methods.
inline constexpr Sel<Ref<Object>(id)> newActionButton{"newActionButton"};
inline constexpr Sel<Ref<Object>(id, Value)> resourceNamed_{"resourceNamed:"};
inline constexpr Sel<PRWRadialMenuAnimationParameters(id, long long, long long)> menuStateAnimationParametersFromMenuState_toMenuState_{
    "menuStateAnimationParametersFromMenuState:toMenuState:"};
inline constexpr Sel<PRWRadialMenuAnimationParameters(id)> menuStateAnimationParametersFromContractedToNormal{
    "menuStateAnimationParametersFromContractedToNormal"};
inline constexpr Sel<PRWRadialMenuAnimationParameters(id)> menuStateAnimationParametersFromContractedToExpanded{
    "menuStateAnimationParametersFromContractedToExpanded"};
inline constexpr Sel<PRWRadialMenuAnimationParameters(id)> menuStateAnimationParametersFromNormalToContracted{
    "menuStateAnimationParametersFromNormalToContracted"};
inline constexpr Sel<PRWRadialMenuAnimationParameters(id)> menuStateAnimationParametersFromNormalToExpanded{
    "menuStateAnimationParametersFromNormalToExpanded"};
inline constexpr Sel<PRWRadialMenuAnimationParameters(id)> menuStateAnimationParametersFromExpandedToNormal{
    "menuStateAnimationParametersFromExpandedToNormal"};
inline constexpr Sel<PRWRadialMenuAnimationParameters(id)> menuStateAnimationParametersFromExpandedToContracted{
    "menuStateAnimationParametersFromExpandedToContracted"};
// PRWRadialMenuDelegate, each optional.
inline constexpr Sel<void(id, id)> radialMenuWillDisplay_{"radialMenuWillDisplay:"};
inline constexpr Sel<void(id, id)> radialMenuDidDisplay_{"radialMenuDidDisplay:"};
inline constexpr Sel<void(id, id)> radialMenuWillDismiss_{"radialMenuWillDismiss:"};
inline constexpr Sel<void(id, id)> radialMenuDidDismiss_{"radialMenuDidDismiss:"};
}  // namespace sel

// Takes touches exactly inside its bounds, and never for a subview.
class PRWButton : public UIButton {};

class PRWRadialMenu : public UIControl {
public:
    WeakRef<Object> delegate;
    // Effects are immutable: keeping it is copying it.
    Ref<Object> backgroundVisualEffect;
    Value items;        // location key -> PRWRadialMenuItem
    Value itemButtons;  // location key -> button
    Ref<UIView> radialMenu;
    Ref<UIView> radialMenuBackground;
    Ref<UIButton> mainButton;
    double menuRadius = 0;
    long long menuState = PRWRadialMenuStateContracted;
    Ref<UILongPressGestureRecognizer> pressGestureRecognizer;
    long long activeStateTransitionCount = 0;
};

// PRWRadialMenuItem, PRWButton and PRWRadialMenu.
void registerRadialMenuClasses();

}  // namespace rousa
