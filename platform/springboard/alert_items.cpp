// SBAlertItem and its alarm subclasses (SBSystemLocalNotificationAlert on
// iOS 7, SBBulletinModalAlert on iOS 8 and later), and SBAlertItemsController,
// which shows an active item as a window with its title, message and buttons.
#include <algorithm>

#include "platform/runtime/call_log.h"
#include "platform/springboard/internal.h"
#include "platform/springboard/selectors.h"
#include "platform/uikit/button.h"
#include "platform/uikit/label.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/window.h"

namespace platform {

class SBAlertItem : public NSObject {
public:
    Value title;
    Value message;
    Ref<UILocalNotification> notification;
    Ref<Object> application;
    Ref<Object> bulletin;
    bool snoozable = false;
    bool active = false;
    Ref<UIWindow> window;
};

class SBAlertItemsController : public NSObject {
public:
    std::vector<Ref<SBAlertItem>> items;  // active items, the visible one last
};

namespace springboard::detail {

namespace {

constexpr long long kSnoozeButton = 0;
constexpr long long kStopButton = 1;

SBAlertItem* item(id self) { return as<SBAlertItem>(self); }

std::string className(id obj) { return obj ? obj->isa()->name() : "nil"; }

// The item's texts wrap onto as many lines as they need.
Ref<UILabel> makeLabel(Rect frame, const Value& text, long long tag) {
    auto label = makeCenteredLabel(frame, text, tag);
    if (label) sel::setNumberOfLines_(label, 0);
    return label;
}

// The item's window: a sheet in the middle of the screen with the title (tag 1),
// the message (tag 2) and the buttons (tagged with their index).
void show(SBAlertItem* a) {
    Rect screen = UIScreen::mainScreen()->bounds();
    auto window = UIView::make<UIWindow>("UIWindow", screen);
    if (!window) return;
    sel::setWindowLevel_(window, kAlertItemWindowLevel);
    Class* sheetClass = nullptr;
    if (respondsToSelector(a, sel::alertSheetClass.name)) sheetClass = dynamic_cast<Class*>(sel::alertSheetClass(a).get());
    if (!sheetClass) sheetClass = objc_getClass("SBAlertView");
    const double w = 270, h = 150;
    Ref<Object> sheet = sel::initWithFrame_(alloc(sheetClass), Rect((screen.width() - w) / 2, (screen.height() - h) / 2, w, h));
    if (!sheet) sheet = UIView::make("UIView", Rect((screen.width() - w) / 2, (screen.height() - h) / 2, w, h));
    sel::addSubview_(sheet, makeLabel(Rect(10, 10, w - 20, 24), a->title, 1));
    sel::addSubview_(sheet, makeLabel(Rect(10, 40, w - 20, 56), a->message, 2));
    std::vector<std::pair<long long, const char*>> buttons;
    if (a->snoozable) buttons.emplace_back(kSnoozeButton, "Snooze");
    buttons.emplace_back(kStopButton, "OK");
    double bw = w / static_cast<double>(buttons.size());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto b = UIButton::buttonWithType(UIButtonTypeSystem);
        sel::setFrame_(b, Rect(bw * static_cast<double>(i), h - 44, bw, 44));
        sel::setTitle_forState_(b, Value(buttons[i].second), UIControlStateNormal);
        sel::setTag_(b, buttons[i].first);
        sel::addTarget_action_forControlEvents_(b, a, sel::_handleButtonTap_, UIControlEventTouchUpInside);
        sel::addSubview_(sheet, b);
    }
    sel::addSubview_(window, sheet);
    sel::setHidden_(window, false);
    a->window = window;
}

Ref<Object> controller() { return shared("SBAlertItemsController"); }

// What each of the three deactivations does on its own.
void end(id controllerObject, id itemObject) {
    auto* c = as<SBAlertItemsController>(controllerObject);
    Ref<SBAlertItem> a(item(itemObject));
    if (!c || !a || !a->active) return;
    a->active = false;
    std::erase_if(c->items, [&](const Ref<SBAlertItem>& x) { return x == a; });
    if (Ref<UIWindow> w = a->window) {
        a->window = nullptr;
        sel::setHidden_(w, true);
    }
    // Ending the alarm's alert ends its sound.
    if (ringing().alertItem.get() == a.get()) stopAlarmSound();
}

Ref<SBAlertItem> makeItem(std::string_view cls) { return as<SBAlertItem>(newObject(cls)); }

}  // namespace

Ref<Object> makeSystemLocalNotificationAlert(id application, UILocalNotification* notification) {
    auto a = makeItem("SBSystemLocalNotificationAlert");
    if (!a) return nullptr;
    a->title = Value("Clock");
    a->message = notification->alertBody_;
    a->notification = notification;
    a->application = application;
    a->snoozable = notification->allowSnooze_;
    return a;
}

Ref<Object> makeBulletinModalAlert(id bulletin) {
    auto a = makeItem("SBBulletinModalAlert");
    if (!a) return nullptr;
    a->title = sel::title(bulletin);
    a->message = sel::message(bulletin);
    a->notification = bulletinNotification(bulletin);
    a->application = clockApplication();
    a->bulletin = bulletin;
    a->snoozable = bulletinAllowsSnooze(bulletin);
    return a;
}

bool alertItemIsActive(id obj) {
    auto* a = item(obj);
    return a && a->active;
}

void registerAlertItems() {
    Version v = version();
    ClassBuilder<SBAlertItem>("SBAlertItem", "NSObject")
        .method(sel::willActivate, [](id self) { callLog::record("SBAlertItem", "willActivate", className(self)); })
        .method(sel::localNotification, [](id self) -> Ref<Object> { return item(self)->notification; })
        .getter<&SBAlertItem::application>(sel::application)
        .getter<&SBAlertItem::message>(sel::bodyText)
        .method(sel::alertView_clickedButtonAtIndex_,
                [](id self, id, long long index) {
                    callLog::record("SBAlertItem", "alertView:clickedButtonAtIndex:", std::to_string(index));
                    if (item(self)->active) sel::deactivateAlertItem_(controller(), self);
                })
        .method(sel::_handleButtonTap_, [](id self, id sender) {
            Ref<Object> protector(self);
            sel::alertView_clickedButtonAtIndex_(self, self, sel::tag(sender));
        });
    ClassBuilder<UIView>::inheritingType("SBAlertView", "UIView");

    if (v == Version::iOS7) {
        ClassBuilder<SBAlertItem>::inheritingType("SBSystemLocalNotificationAlert", "SBAlertItem")
            .getter<&SBAlertItem::snoozable>(sel::isSnoozable)
            .method(sel::alertSheetClass,
                    [](id) -> Ref<Object> {
                        callLog::record("SBSystemLocalNotificationAlert", "alertSheetClass");
                        return Ref<Object>(objc_getClass("SBAlertView"));
                    })
            .method(sel::dismiss_,
                    [](id self, int flag) {
                        callLog::record("SBSystemLocalNotificationAlert", "dismiss:", std::to_string(flag));
                        sel::deactivateAlertItem_(controller(), self);
                    })
            .method(sel::alertView_clickedButtonAtIndex_, [](id self, id, long long index) {
                callLog::record("SBSystemLocalNotificationAlert", "alertView:clickedButtonAtIndex:", std::to_string(index));
                Ref<Object> protector(self);
                auto* a = item(self);
                if (a->active) sel::dismiss_(self, static_cast<int>(index));
                // Snooze also when the alert has already gone.
                if (index == kSnoozeButton && a->snoozable) sel::systemLocalNotificationAlertShouldSnooze_(a->application, self);
            });
    } else {
        ClassBuilder<SBAlertItem>::inheritingType("SBBulletinModalAlert", "SBAlertItem")
            .getter<&SBAlertItem::bulletin>(sel::bulletin)
            .method(sel::alertView_clickedButtonAtIndex_, [](id self, id, long long index) {
                callLog::record("SBBulletinModalAlert", "alertView:clickedButtonAtIndex:", std::to_string(index));
                Ref<Object> protector(self);
                auto* a = item(self);
                if (a->active) sel::deactivateAlertItem_(controller(), self);
                // Snooze also when the alert has already gone.
                if (index == kSnoozeButton && a->snoozable)
                    sel::snoozeNotificationForLocalNotification_(a->application, a->notification);
            });
    }

    ClassBuilder<SBAlertItemsController>("SBAlertItemsController", "NSObject")
        .classMethod(sel::sharedInstance, &sharedInstanceOf)
        .method(sel::visibleAlertItem,
                [](id self) -> Ref<Object> {
                    auto& items = as<SBAlertItemsController>(self)->items;
                    return items.empty() ? nullptr : Ref<Object>(items.back());
                })
        .method(sel::activateAlertItem_,
                [](id self, id itemObject) {
                    callLog::record("SBAlertItemsController", "activateAlertItem:", className(itemObject));
                    Ref<SBAlertItem> a(item(itemObject));
                    if (!a || a->active) return;
                    a->active = true;
                    as<SBAlertItemsController>(self)->items.push_back(a);
                    sel::willActivate(a);
                    if (a->active) show(a);
                })
        .method(sel::deactivateAlertItem_,
                [](id self, id itemObject) {
                    callLog::record("SBAlertItemsController", "deactivateAlertItem:", className(itemObject));
                    end(self, itemObject);
                })
        .method(sel::deactivateAlertItem_reason_,
                [](id self, id itemObject, int reason) {
                    callLog::record("SBAlertItemsController", "deactivateAlertItem:reason:",
                                    className(itemObject) + " " + std::to_string(reason));
                    end(self, itemObject);
                })
        .method(sel::deactivateAlertItem_reason_animated_, [](id self, id itemObject, int reason, bool animated) {
            callLog::record("SBAlertItemsController", "deactivateAlertItem:reason:animated:",
                            className(itemObject) + " " + std::to_string(reason) + (animated ? " YES" : " NO"));
            end(self, itemObject);
        });
}

}  // namespace springboard::detail

namespace springboard {

void showSystemAlert(const std::string& title) {
    auto alert = as<SBAlertItem>(sel::init(alloc("SBAlertItem")));
    if (!alert) return;
    alert->title = Value(title);
    sel::activateAlertItem_(detail::shared("SBAlertItemsController"), alert);
}

}  // namespace springboard

}  // namespace platform
