#include "tweak/screens/radial_menu.h"

#include <cmath>

#include "platform/foundation/bundle.h"
#include "platform/uikit/animation.h"
#include "platform/uikit/color.h"
#include "platform/uikit/visual_effect.h"

namespace rousa {

namespace {

constexpr const char* kLocationKeys[] = {"PRWRadialMenuLocationCenter", "PRWRadialMenuLocationTop", "PRWRadialMenuLocationLeft",
                                         "PRWRadialMenuLocationRight", "PRWRadialMenuLocationBottom"};

// The blurred disc is drawn at this size and scaled to the radius.
constexpr double kBackgroundSide = 384;
constexpr double kBackgroundCornerRadius = 192;
constexpr double kButtonSide = 30;
constexpr double kButtonInset = 8;
constexpr double kDefaultSide = 30;
// Touch regions, measured from the control's centre.
constexpr double kCenterRegionRadius = 48;
constexpr double kOuterRegionRadius = 180;
// The press that opens the closed menu; an open menu tracks a new touch at once.
constexpr double kClosedPressDuration = 0.5;
constexpr double kOpenPressDuration = 0.0;

constexpr unsigned long long kAllMargins = UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin |
                                           UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin;

Class* menuClass() {
    static Class* c = objc_getClass("PRWRadialMenu");
    return c;
}

Class* buttonClass() {
    static Class* c = objc_getClass("PRWButton");
    return c;
}

PRWRadialMenu* menuOf(id self) { return as<PRWRadialMenu>(self); }

bool isOpen(long long state) { return state == PRWRadialMenuStateNormal || state == PRWRadialMenuStateExpanded; }

// The delegate's optional calls.
void tellDelegate(PRWRadialMenu* m, const Sel<void(id, id)>& call) {
    Ref<Object> d = m->delegate.lock();
    if (d && respondsToSelector(d, call.name)) call(d, m);
}

Ref<Object> whiteColor() { return sel::whiteColor(objc_getClass("UIColor")); }

// --- set-up ----------------------------------------------------------------------------------

// Each button is centred in the disc, then moved to its edge; its margins
// follow the disc as it grows, so it keeps its place at every radius.
void placeButton(UIView* button, long long location, Rect bounds) {
    Rect f = sel::frame(button);
    double w = f.width(), h = f.height();
    f.origin = Point{bounds.midX() - w / 2, bounds.midY() - h / 2};
    unsigned long long mask = kAllMargins;
    switch (location) {
        case PRWRadialMenuLocationTop:
            f.origin.y = kButtonInset;
            mask = UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin | UIViewAutoresizingFlexibleBottomMargin;
            break;
        case PRWRadialMenuLocationLeft:
            f.origin.x = kButtonInset;
            mask = UIViewAutoresizingFlexibleRightMargin | UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin;
            break;
        case PRWRadialMenuLocationRight:
            f.origin.x = bounds.width() - kButtonInset - w;
            mask = UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin;
            break;
        case PRWRadialMenuLocationBottom:
            f.origin.y = bounds.height() - kButtonInset - h;
            mask = UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin | UIViewAutoresizingFlexibleTopMargin;
            break;
        default: break;
    }
    sel::setFrame_(button, f);
    sel::setAutoresizingMask_(button, mask);
}

void setUp(id self) {
    auto* m = menuOf(self);
    if (!m) return;
    sel::setClipsToBounds_(m, false);
    m->items = Value(Value::Dictionary{});
    m->activeStateTransitionCount = 0;
    Rect bounds = sel::bounds(m);

    m->mainButton = as<UIButton>(sel::buttonWithType_(buttonClass(), UIButtonTypeSystem));
    sel::setFrame_(m->mainButton, Rect(0, 0, bounds.width(), bounds.height()));
    sel::addSubview_(m, m->mainButton);
    sel::setAutoresizingMask_(m->mainButton, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);

    m->radialMenu = UIView::make("UIView", Rect(0, 0, kPRWRadialMenuContractedRadius, kPRWRadialMenuContractedRadius));
    sel::setClipsToBounds_(m->radialMenu, true);
    sel::addSubview_(m, m->radialMenu);
    sel::setCenter_(m->radialMenu, sel::center(m->mainButton));
    sel::setAutoresizingMask_(m->radialMenu, kAllMargins);

    if (!m->backgroundVisualEffect) m->backgroundVisualEffect = sel::effectWithStyle_(objc_getClass("UIBlurEffect"), UIBlurEffectStyleDark);
    m->radialMenuBackground = as<UIView>(sel::initWithEffect_(alloc("UIVisualEffectView"), m->backgroundVisualEffect));
    sel::setClipsToBounds_(m->radialMenuBackground, true);
    sel::addSubview_(m->radialMenu, m->radialMenuBackground);
    sel::setFrame_(m->radialMenuBackground, Rect(0, 0, kBackgroundSide, kBackgroundSide));
    sel::setCornerRadius_(sel::layer(m->radialMenuBackground), kBackgroundCornerRadius);
    Rect disc = sel::bounds(m->radialMenu);
    sel::setCenter_(m->radialMenuBackground, Point{disc.midX(), disc.midY()});
    sel::setAutoresizingMask_(m->radialMenuBackground, kAllMargins);

    Value::Dictionary buttons;
    for (long long location = PRWRadialMenuLocationCenter; location <= PRWRadialMenuLocationBottom; ++location) {
        Ref<Object> button = sel::newActionButton(object_getClass(self));
        sel::addSubview_(m->radialMenu, button);
        buttons[kLocationKeys[location]] = Value(button);
        if (auto* v = as<UIView>(button.get())) placeButton(v, location, disc);
    }
    m->itemButtons = Value(std::move(buttons));

    sel::setItem_forLocation_(self,
                              sel::menuItemWithRadialMenuStandardItem_handler_(objc_getClass("PRWRadialMenuItem"), PRWRadialMenuStandardItemCancel,
                                                                               [](id menu, id) { sel::dismissMenuAnimated_(menu, true); }),
                              PRWRadialMenuLocationCenter);

    m->pressGestureRecognizer = as<UILongPressGestureRecognizer>(sel::initWithTarget_action_(alloc("UILongPressGestureRecognizer"), self, sel::didTouch_));
    sel::addGestureRecognizer_(m, m->pressGestureRecognizer);

    // From no state at all, so that the closed state is set up in full.
    m->menuState = -1;
    sel::setMenuState_(self, PRWRadialMenuStateContracted);
}

Ref<Object> initWith(id self, Rect frame, id effect) {
    Ref<Object> base = sel::initWithFrame_.super(menuClass(), self, frame);
    auto* m = menuOf(base);
    if (!m) return base;
    if (effect) m->backgroundVisualEffect = effect;
    setUp(m);
    return base;
}

// --- items ------------------------------------------------------------------------------------

void setItem(id self, id item, long long location) {
    auto* m = menuOf(self);
    Value key = descriptionStringForLocation(location);
    if (!key) return;  // no such location: nothing is stored, the item is left alone
    Ref<Object> protector(item);
    if (item) {
        sel::setDelegate_(item, self);
        m->items.mutableDictionary()[key.string()] = Value(item);
    } else {
        m->items.mutableDictionary().erase(key.string());
    }
    id button = m->itemButtons[key.string()].object();
    sel::setHidden_(button, item == nullptr);
    auto* i = as<PRWRadialMenuItem>(item);
    if (!i) return;
    switch (i->type) {
        case PRWRadialMenuItemTypeImage:
            sel::setImage_forState_(button, sel::image(item), UIControlStateNormal);
            sel::setImage_forState_(button, sel::highlightedImage(item), UIControlStateHighlighted);
            break;
        case PRWRadialMenuItemTypeIcon:
            sel::setImage_forState_(button, sel::icon(item), UIControlStateNormal);
            sel::setImage_forState_(button, nullptr, UIControlStateHighlighted);
            break;
        case PRWRadialMenuItemTypeStandardItem:
            sel::setImage_forState_(button,
                                    sel::resourceNamed_(object_getClass(self), NSStringFromPRWRadialMenuStandardItem(sel::standardItem(item))),
                                    UIControlStateNormal);
            sel::setImage_forState_(button, nullptr, UIControlStateHighlighted);
            break;
        default: break;
    }
}

Ref<Object> itemAt(id self, long long location) {
    Value key = descriptionStringForLocation(location);
    if (!key) return nullptr;
    return Ref<Object>(menuOf(self)->items[key.string()].object());
}

Value keyOfItem(id self, id item) {
    if (!item) return Value();
    for (const auto& [key, stored] : menuOf(self)->items.dictionary())
        if (stored.object() == item) return Value(key);
    return Value();
}

void appearanceChanged(id self, id item) {
    Value key = sel::locationStringForItem_(self, item);
    if (!key) return;
    id button = menuOf(self)->itemButtons[key.string()].object();
    sel::setImage_forState_(button, sel::image(item), UIControlStateNormal);
    sel::setImage_forState_(button, sel::highlightedImage(item), UIControlStateHighlighted);
}

// --- states -------------------------------------------------------------------------------------

void setRadius(id self, double r) {
    auto* m = menuOf(self);
    m->menuRadius = r;
    Rect b = sel::bounds(m);
    sel::setFrame_(m->radialMenu, Rect(b.width() / 2 - r, b.height() / 2 - r, 2 * r, 2 * r));
    sel::setTransform_(m->radialMenuBackground, AffineTransform::makeScale(r / kBackgroundCornerRadius, r / kBackgroundCornerRadius));
}

void setState(id self, long long state) {
    auto* m = menuOf(self);
    if (state == m->menuState) return;
    Ref<PRWRadialMenu> protector(m);
    bool wasOpen = isOpen(m->menuState);
    m->menuState = state;
    bool open = state != PRWRadialMenuStateContracted;

    double radius = kPRWRadialMenuContractedRadius, alpha = 0.0;
    if (state == PRWRadialMenuStateNormal) radius = kPRWRadialMenuNormalRadius, alpha = 1.0;
    if (state == PRWRadialMenuStateExpanded) radius = kPRWRadialMenuExpandedRadius, alpha = 1.0;
    if (open && !wasOpen) tellDelegate(m, sel::radialMenuWillDisplay_);
    if (wasOpen && !open) tellDelegate(m, sel::radialMenuWillDismiss_);

    sel::setExclusiveTouch_(m, open);
    double pressDuration = open ? kOpenPressDuration : kClosedPressDuration;
    if (sel::minimumPressDuration(m->pressGestureRecognizer) != pressDuration)
        sel::setMinimumPressDuration_(m->pressGestureRecognizer, pressDuration);

    // Counted before the animation starts: this platform completes an
    // animation that the new one interrupts at once, inside the start, and
    // that completion must not find the count at zero while this one runs.
    ++m->activeStateTransitionCount;
    UIView::animateWithDuration(
        0.0,
        [m, radius, alpha] {
            sel::setMenuRadius_(m, radius);
            sel::setAlpha_(m->radialMenu, alpha);
            sel::setAlpha_(m->mainButton, 1.0 - alpha);
        },
        [protector, open, wasOpen](bool) {
            if (--protector->activeStateTransitionCount != 0) return;
            if (open && !wasOpen) tellDelegate(protector, sel::radialMenuDidDisplay_);
            else if (wasOpen && !open) tellDelegate(protector, sel::radialMenuDidDismiss_);
        });
}

void setStateAnimated(id self, long long state, bool animated) {
    auto* m = menuOf(self);
    if (state == m->menuState) return;
    if (!animated) {
        sel::setMenuState_(self, state);
        return;
    }
    PRWRadialMenuAnimationParameters p = sel::menuStateAnimationParametersFromMenuState_toMenuState_(object_getClass(self), m->menuState, state);
    Ref<Object> protector(self);
    UIView::animateWithDuration(p.duration, 0.0, p.damping, p.velocity, 0, [self, state] { sel::setMenuState_(self, state); }, {});
}

PRWRadialMenuAnimationParameters parametersFor(id cls, long long from, long long to) {
    switch (from * 10 + to) {
        case PRWRadialMenuStateContracted * 10 + PRWRadialMenuStateNormal: return sel::menuStateAnimationParametersFromContractedToNormal(cls);
        case PRWRadialMenuStateContracted * 10 + PRWRadialMenuStateExpanded:
            return sel::menuStateAnimationParametersFromContractedToExpanded(cls);
        case PRWRadialMenuStateNormal * 10 + PRWRadialMenuStateContracted: return sel::menuStateAnimationParametersFromNormalToContracted(cls);
        case PRWRadialMenuStateNormal * 10 + PRWRadialMenuStateExpanded: return sel::menuStateAnimationParametersFromNormalToExpanded(cls);
        case PRWRadialMenuStateExpanded * 10 + PRWRadialMenuStateNormal: return sel::menuStateAnimationParametersFromExpandedToNormal(cls);
        case PRWRadialMenuStateExpanded * 10 + PRWRadialMenuStateContracted:
            return sel::menuStateAnimationParametersFromExpandedToContracted(cls);
        default: return PRWRadialMenuAnimationParameters{0.0, 1.0, 0.0};
    }
}

// --- touches ------------------------------------------------------------------------------------

long long locationFor(id self, Point p) {
    double d = sel::distanceOfPointFromCenter_(self, p);
    if (d >= kOuterRegionRadius) return PRWRadialMenuLocationNone;
    if (d < kCenterRegionRadius) return PRWRadialMenuLocationCenter;
    // The four quarters cut by the diagonals of the bounds.
    Rect b = sel::bounds(self);
    double u = p.x / b.width(), v = p.y / b.height();
    if (v < u) return 1 - v < u ? PRWRadialMenuLocationRight : PRWRadialMenuLocationTop;
    return 1 - v < u ? PRWRadialMenuLocationBottom : PRWRadialMenuLocationLeft;
}

void track(id self, Point p) {
    long long location = sel::locationForPoint_(self, p);
    if (location == PRWRadialMenuLocationCenter || location == PRWRadialMenuLocationNone) {
        sel::setMenuState_animated_(self, PRWRadialMenuStateNormal, true);
        sel::highlightLocation_(self, location);
    } else if (sel::menuItemForLocation_(self, location)) {
        sel::setMenuState_animated_(self, PRWRadialMenuStateExpanded, true);
        sel::highlightLocation_(self, location);
    } else {
        sel::setMenuState_animated_(self, PRWRadialMenuStateNormal, true);
        sel::highlightLocation_(self, PRWRadialMenuLocationCenter);
    }
}

void didTouch(id self, id recognizer) {
    Ref<Object> protector(self);
    Point p = sel::locationInView_(recognizer, self);
    switch (sel::state(recognizer)) {
        case UIGestureRecognizerStateBegan:
            if (!sel::isMenuVisible(self)) {
                sel::highlightLocation_(self, PRWRadialMenuLocationNone);
                sel::setMenuState_animated_(self, PRWRadialMenuStateNormal, true);
            }
            track(self, p);
            break;
        case UIGestureRecognizerStateChanged: track(self, p); break;
        case UIGestureRecognizerStateEnded: {
            long long location = sel::locationForPoint_(self, p);
            sel::setMenuState_animated_(self, location >= 0 ? PRWRadialMenuStateNormal : PRWRadialMenuStateContracted, true);
            sel::highlightLocation_(self, PRWRadialMenuLocationNone);
            sel::selectLocation_(self, location);
            break;
        }
        default:
            sel::highlightLocation_(self, PRWRadialMenuLocationNone);
            sel::setMenuState_animated_(self, PRWRadialMenuStateNormal, true);
            break;
    }
}

void highlight(id self, long long location) {
    Ref<Object> protector(self);
    Value highlighted = descriptionStringForLocation(location);
    Value buttons = menuOf(self)->itemButtons;  // the handlers may change the items, not the buttons
    for (const auto& [key, button] : buttons.dictionary()) {
        bool h = highlighted.isString() && highlighted.string() == key;
        sel::setHighlighted_(button.object(), h);
        sel::setTintColor_(button.object(), h ? sel::tintColor(self) : whiteColor());
        Ref<Object> item = sel::menuItemForLocation_(self, locationFromLocationString(Value(key)));
        if (PRWRadialMenuItemHighlightedHandler handler = sel::highlightedHandler(item)) handler(self, item, h);
    }
}

void select(id self, long long location) {
    Ref<Object> protector(self);
    Ref<Object> item = sel::menuItemForLocation_(self, location);
    if (!item) item = sel::menuItemForLocation_(self, PRWRadialMenuLocationCenter);
    if (!item) {
        sel::dismissMenuAnimated_(self, true);
        return;
    }
    if (PRWRadialMenuItemHandler handler = sel::selectedHandler(item)) handler(self, item);
}

bool pointInside(id self, Point p, id event) {
    auto* m = menuOf(self);
    if (sel::isExclusiveTouch(self)) return true;
    if (sel::bounds(self).contains(p)) return true;
    return sel::pointInside_withEvent_(m->radialMenu, sel::convertPoint_toView_(self, p, m->radialMenu), event);
}

// --- resources -----------------------------------------------------------------------------------

Ref<Object> resourceNamed(id, Value name) {
    // The control's classes live in the tweak library, which is no bundle of
    // its own: the bundle of its class is the host's main bundle.
    NSBundle* bundle = NSBundle::mainBundle();
    Class* images = objc_getClass("UIImage");
    if (respondsToSelector(images, sel::imageNamed_inBundle_compatibleWithTraitCollection_.name))
        return sel::imageNamed_inBundle_compatibleWithTraitCollection_(images, name, bundle, nullptr);
    Value path = bundle && name.isString() ? bundle->pathForResource(name.string(), "png") : Value();
    return sel::imageWithContentsOfFile_(images, path);
}

Ref<Object> newActionButton(id) {
    Ref<UIButton> button = UIButton::buttonWithType(UIButtonTypeCustom);
    sel::setFrame_(button, Rect(0, 0, kButtonSide, kButtonSide));
    sel::setHidden_(button, true);
    sel::setAdjustsImageWhenHighlighted_(button, false);
    sel::setTintColor_(button, whiteColor());
    return button;
}

}  // namespace

Value descriptionStringForLocation(long long location) {
    if (location < PRWRadialMenuLocationCenter || location > PRWRadialMenuLocationBottom) return Value();
    return Value(kLocationKeys[location]);
}

long long locationFromLocationString(const Value& key) {
    if (!key.isString()) return PRWRadialMenuLocationNone;
    for (long long location = PRWRadialMenuLocationCenter; location <= PRWRadialMenuLocationBottom; ++location)
        if (key.string() == kLocationKeys[location]) return location;
    return PRWRadialMenuLocationNone;
}

double CGPointDistance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

void registerRadialMenuClasses() {
    registerRadialMenuItemClass();

    ClassBuilder<PRWButton>("PRWButton", "UIButton")
        .method(sel::pointInside_withEvent_, [](id self, Point p, id) { return sel::bounds(self).contains(p); })
        .method(sel::hitTest_withEvent_, [](id self, Point p, id event) -> Ref<Object> {
            return sel::pointInside_withEvent_(self, p, event) ? Ref<Object>(self) : nullptr;
        });

    using Params = PRWRadialMenuAnimationParameters;
    ClassBuilder<PRWRadialMenu>("PRWRadialMenu", "UIControl")
        .protocol("PRWRadialMenuItemDelegate")
        .method(sel::init, [](id self) { return initWith(self, Rect(0, 0, kDefaultSide, kDefaultSide), nullptr); })
        .method(sel::initWithFrame_, [](id self, Rect frame) { return initWith(self, frame, nullptr); })
        .method(sel::initWithBackgroundVisualEffect_,
                [](id self, id effect) { return initWith(self, Rect(0, 0, kDefaultSide, kDefaultSide), effect); })
        .method(sel::initWithCoder_,
                [](id self, id coder) {
                    Ref<Object> base = sel::initWithCoder_.super(menuClass(), self, coder);
                    setUp(base);
                    return base;
                })
        .method(sel::setItem_forLocation_, &setItem)
        .method(sel::menuItemForLocation_, &itemAt)
        .method(sel::locationStringForItem_, &keyOfItem)
        .method(sel::radialMenuItemAppearanceChanged_, &appearanceChanged)
        .method(sel::setMenuState_animated_, &setStateAnimated)
        .method(sel::setMenuState_, &setState)
        .method(sel::menuState, [](id self) { return menuOf(self)->menuState; })
        .method(sel::isMenuVisible, [](id self) { return menuOf(self)->menuState != PRWRadialMenuStateContracted; })
        .method(sel::displayMenu,
                [](id self) {
                    // The state change tells the delegate, once each.
                    if (menuOf(self)->menuState == PRWRadialMenuStateContracted)
                        sel::setMenuState_animated_(self, PRWRadialMenuStateNormal, true);
                })
        .method(sel::dismissMenuAnimated_,
                [](id self, bool animated) {
                    if (isOpen(menuOf(self)->menuState)) sel::setMenuState_animated_(self, PRWRadialMenuStateContracted, animated);
                })
        .method(sel::didTouch_, &didTouch)
        .method(sel::highlightLocation_, &highlight)
        .method(sel::selectLocation_, &select)
        .method(sel::locationForPoint_, &locationFor)
        .method(sel::distanceOfPointFromCenter_,
                [](id self, Point p) {
                    Rect b = sel::bounds(self);
                    return CGPointDistance(p, Point{b.midX(), b.midY()});
                })
        .method(sel::pointRelativeToCenter_,
                [](id self, Point p) {
                    Rect disc = sel::bounds(menuOf(self)->radialMenu);
                    return Point{p.x - disc.width() / 2, p.y - disc.height() / 2};
                })
        .method(sel::pointInside_withEvent_, &pointInside)
        .method(sel::setImage_forState_,
                [](id self, id image, unsigned long long state) { sel::setImage_forState_(menuOf(self)->mainButton, image, state); })
        .method(sel::imageForState_, [](id self, unsigned long long state) { return sel::imageForState_(menuOf(self)->mainButton, state); })
        .method(sel::setMenuRadius_, &setRadius)
        .method(sel::menuRadius, [](id self) { return menuOf(self)->menuRadius; })
        .method(sel::delegate, [](id self) { return menuOf(self)->delegate.lock(); })
        .method(sel::setDelegate_, [](id self, id d) { menuOf(self)->delegate = d; })
        .method(sel::backgroundVisualEffect, [](id self) { return menuOf(self)->backgroundVisualEffect; })
        .method(sel::setBackgroundVisualEffect_, [](id self, id effect) { menuOf(self)->backgroundVisualEffect = effect; })
        .method(sel::items, [](id self) { return menuOf(self)->items; })
        .method(sel::itemButtons, [](id self) { return menuOf(self)->itemButtons; })
        .method(sel::radialMenu, [](id self) -> Ref<Object> { return menuOf(self)->radialMenu; })
        .method(sel::radialMenuBackground, [](id self) -> Ref<Object> { return menuOf(self)->radialMenuBackground; })
        .method(sel::mainButton, [](id self) -> Ref<Object> { return menuOf(self)->mainButton; })
        .method(sel::pressGestureRecognizer, [](id self) -> Ref<Object> { return menuOf(self)->pressGestureRecognizer; })
        .method(sel::activeStateTransitionCount, [](id self) { return menuOf(self)->activeStateTransitionCount; })
        .classMethod(sel::newActionButton, &newActionButton)
        .classMethod(sel::resourceNamed_, &resourceNamed)
        .classMethod(sel::menuStateAnimationParametersFromMenuState_toMenuState_, &parametersFor)
        .classMethod(sel::menuStateAnimationParametersFromContractedToNormal, [](id) { return Params{0.52, 0.7, 0.35}; })
        .classMethod(sel::menuStateAnimationParametersFromContractedToExpanded, [](id) { return Params{0.52, 0.8, 0.35}; })
        .classMethod(sel::menuStateAnimationParametersFromNormalToContracted, [](id) { return Params{0.52, 1.0, 0.0}; })
        .classMethod(sel::menuStateAnimationParametersFromNormalToExpanded, [](id) { return Params{0.52, 1.0, 0.0}; })
        .classMethod(sel::menuStateAnimationParametersFromExpandedToNormal, [](id) { return Params{0.36, 1.0, 0.3}; })
        .classMethod(sel::menuStateAnimationParametersFromExpandedToContracted, [](id) { return Params{0.52, 1.0, 0.0}; });
}

}  // namespace rousa
