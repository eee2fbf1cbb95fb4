#include "settings/position_page.h"

#include <string_view>

#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/format.h"
#include "platform/foundation/notification_center.h"
#include "platform/uikit/application.h"
#include "platform/uikit/screen.h"
#include "settings/settings.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/store.h"

namespace rousa {

namespace {

constexpr const char* kPositionClass = "WKSLockScreenPositionListController";
constexpr const char* kHorizontalKey = "WKSLockScreenHorizontalPosition";
constexpr const char* kVerticalKey = "WKSLockScreenVerticalPosition";
constexpr const char* kWidthFooter = "YOUR_SCREEN_IS_X_POINTS_WIDE";
constexpr const char* kHeightFooter = "YOUR_SCREEN_IS_Y_POINTS_TALL";
// The description's rows: the groups, and the first of each axis's two custom rows.
constexpr std::size_t kDescriptionRows = 8, kHorizontalGroupRow = 0, kHorizontalCustomRow = 2, kVerticalGroupRow = 4, kVerticalCustomRow = 6;
constexpr int kHorizontalInsertionIndex = 2, kVerticalInsertionIndex = 4;
constexpr int kCustomPosition = 0, kDefaultPosition = 2;

Class* positionClass() {
    static Class* c = objc_getClass(kPositionClass);
    return c;
}

WKSLockScreenPositionListController* positionPage(id self) { return as<WKSLockScreenPositionListController>(self); }

// One axis of the page: its flag, footer, group, custom rows and footer text.
struct Axis {
    bool WKSLockScreenPositionListController::*enabled;
    Value WKSLockScreenPositionListController::*footer;
    Ref<Object> WKSLockScreenPositionListController::*group;
    Value WKSLockScreenPositionListController::*rows;
    const char* footerKey;
    bool horizontal;
};
constexpr Axis kHorizontal{&WKSLockScreenPositionListController::customHorizontalPositionEnabled, &WKSLockScreenPositionListController::horizontalFooter,
                           &WKSLockScreenPositionListController::horizontalGroup, &WKSLockScreenPositionListController::customHorizontalSpecifiers,
                           kWidthFooter, true};
constexpr Axis kVertical{&WKSLockScreenPositionListController::customVerticalPositionEnabled, &WKSLockScreenPositionListController::verticalFooter,
                         &WKSLockScreenPositionListController::verticalGroup, &WKSLockScreenPositionListController::customVerticalSpecifiers,
                         kHeightFooter, false};

bool isGroup(const Value& v) {
    auto* s = v.objectAs<PSSpecifier>();
    return s && s->cellType == PSGroupCell;
}

// The groups and custom rows, taken once from a description of the expected layout.
void takeCustomRows(id self) {
    const Value& rows = positionPage(self)->specifiers_;
    if (rows.count() != kDescriptionRows || !isGroup(rows.at(kHorizontalGroupRow)) || !isGroup(rows.at(kVerticalGroupRow))) return;
    for (std::size_t i = 0; i < kDescriptionRows; ++i)
        if (i != kHorizontalGroupRow && i != kVerticalGroupRow && isGroup(rows.at(i))) return;
    sel::setCustomHorizontalSpecifiers_(self, Value::array({rows.at(kHorizontalCustomRow), rows.at(kHorizontalCustomRow + 1)}));
    sel::setCustomVerticalSpecifiers_(self, Value::array({rows.at(kVerticalCustomRow), rows.at(kVerticalCustomRow + 1)}));
    sel::setHorizontalGroup_(self, rows.at(kHorizontalGroupRow).object());
    sel::setVerticalGroup_(self, rows.at(kVerticalGroupRow).object());
}

bool hasCustomRows(const WKSLockScreenPositionListController* page) {
    return page->customHorizontalSpecifiers.count() > 0 && page->customVerticalSpecifiers.count() > 0;
}

Value specifiers(id self) {
    auto* page = positionPage(self);
    if (page->specifiers_.count() == 0) {
        page->specifiers_ = sel::loadSpecifiersFromPlistName_target_(self, Value(kPositionPlistName), self);
        takeCustomRows(self);
    }
    return page->specifiers_;
}

Value screenFooter(const Axis& axis) {
    Rect screen = sel::bounds(sel::mainScreen(objc_getClass("UIScreen")));
    auto points = static_cast<long long>(axis.horizontal ? screen.width() : screen.height());
    std::string text = settingsBundle ? settingsBundle->localizedStringForKey(axis.footerKey, Value(""), Value()) : std::string(axis.footerKey);
    return Value(fillScreenSize(text, points));
}

void showFooter(id self, const Axis& axis, const Value& text) {
    Ref<Object> group = positionPage(self)->*axis.group;
    sel::setProperty_forKey_(group, text, Value("footerText"));
    sel::reloadSpecifier_animated_(self, group, true);
}

// Shows or hides the axis's custom rows. Only a change of state inserts or
// removes rows; inserting and removing use the rows the page took, so it
// removes exactly what it inserted.
void setCustomEnabled(id self, const Axis& axis, bool on) {
    auto* page = positionPage(self);
    Ref<WKSLockScreenPositionListController> protector(page);
    const bool was = page->*axis.enabled;
    page->*axis.enabled = on;
    if (!hasCustomRows(page) || on == was) return;
    Value rows = page->*axis.rows;
    const int count = static_cast<int>(rows.count());
    if (on) {
        page->*axis.footer = screenFooter(axis);
        showFooter(self, axis, page->*axis.footer);
        sel::insertContiguousSpecifiers_atIndex_animated_(self, rows,
                                                          axis.horizontal ? page->customHorizontalPositionIndex : page->customVerticalPositionIndex, true);
        if (axis.horizontal) page->customVerticalPositionIndex += count;
    } else {
        showFooter(self, axis, Value(""));
        sel::removeContiguousSpecifiers_animated_(self, rows, true);
        if (axis.horizontal) page->customVerticalPositionIndex -= count;
    }
}

void setPosition(id self, const Axis& axis, const char* key, const Value& value) {
    CFPreferencesAppSynchronize(kRousaDomain);
    CFPreferencesSetAppValue(key, value, kRousaDomain);
    CFPreferencesAppSynchronize(kRousaDomain);
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), Value(kPrefsChangedNotification), nullptr, Value(), true);
    (axis.horizontal ? sel::setCustomHorizontalPositionEnabled_ : sel::setCustomVerticalPositionEnabled_)(self, value.intValue() == kCustomPosition);
}

void viewDidLoad(id self) {
    sel::viewDidLoad.super(positionClass(), self);
    auto* page = positionPage(self);
    sel::specifiers(self);
    page->customHorizontalPositionIndex = kHorizontalInsertionIndex;
    page->customVerticalPositionIndex = kVerticalInsertionIndex;
    if (hasCustomRows(page)) {
        for (const Axis* axis : {&kHorizontal, &kVertical}) {
            page->*axis->footer = screenFooter(*axis);
            sel::setProperty_forKey_(page->*axis->group, page->*axis->footer, Value("footerText"));
        }
        CFPreferencesAppSynchronize(kRousaDomain);
        const int horizontal = CFPreferencesCopyAppValue(kHorizontalKey, kRousaDomain).intValue(kDefaultPosition);
        const int vertical = CFPreferencesCopyAppValue(kVerticalKey, kRousaDomain).intValue(kDefaultPosition);
        // The description shows every custom row: each axis that is not custom hides its own.
        page->customHorizontalPositionEnabled = true;
        page->customVerticalPositionEnabled = true;
        page->customVerticalPositionIndex += static_cast<int>(page->customHorizontalSpecifiers.count());
        if (horizontal != kCustomPosition) setCustomEnabled(self, kHorizontal, false);
        if (vertical != kCustomPosition) setCustomEnabled(self, kVertical, false);
    }
    NSNotificationCenter::defaultCenter()->addObserver(self, sel::applicationWillResignActive, UIApplicationDidEnterBackgroundNotification,
                                                       Value(sel::sharedApplication(objc_getClass("UIApplication"))));
}

// The Settings app went to the background: the page leaves its navigation
// stack with whatever was pushed above it, so that it is built afresh.
void applicationWillResignActive(id self) {
    Ref<Object> protector(self);
    NSNotificationCenter::defaultCenter()->removeObserver(self, UIApplicationDidEnterBackgroundNotification, Value());
    Ref<Object> navigation = sel::navigationController(self);
    Value stack = sel::viewControllers(navigation);
    Value::Array below;
    for (const Value& c : stack.array()) {
        if (c.object() == self) {
            sel::setViewControllers_animated_(navigation, Value(std::move(below)), false);
            return;
        }
        below.push_back(c);
    }
}

}  // namespace

WKSLockScreenPositionListController::~WKSLockScreenPositionListController() { NSNotificationCenter::defaultCenter()->removeObserver(this); }

std::string fillScreenSize(const std::string& text, long long points) {
    // Checks the directives; only one integer conversion and literal percents may be there.
    bool placeholder = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (++i < text.size() && text[i] == '%') continue;
        while (i < text.size() && std::string_view("-+ #0").find(text[i]) != std::string_view::npos) ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        if (i < text.size() && text[i] == '.')
            for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9';) ++i;
        while (i < text.size() && std::string_view("hlqLzjt").find(text[i]) != std::string_view::npos) ++i;
        if (i >= text.size() || std::string_view("diu").find(text[i]) == std::string_view::npos || placeholder) return text;
        placeholder = true;
    }
    return placeholder ? format(text, points) : text;
}

void registerPositionPageClass() {
    ClassBuilder<WKSLockScreenPositionListController>(kPositionClass, "Rousa2BaseController")
        .method(sel::init,
                [](id self) -> Ref<Object> {
                    positionPage(self)->plistName = Value(kPositionPlistName);
                    return sel::init.super(positionClass(), self);
                })
        .method(sel::specifiers, &specifiers)
        .method(sel::viewDidLoad, &viewDidLoad)
        .method(sel::setHorizontalPosition_, [](id self, Value value) { setPosition(self, kHorizontal, kHorizontalKey, value); })
        .method(sel::setVerticalPosition_, [](id self, Value value) { setPosition(self, kVertical, kVerticalKey, value); })
        .method(sel::customHorizontalPositionEnabled, [](id self) { return positionPage(self)->customHorizontalPositionEnabled; })
        .method(sel::setCustomHorizontalPositionEnabled_, [](id self, bool on) { setCustomEnabled(self, kHorizontal, on); })
        .method(sel::customVerticalPositionEnabled, [](id self) { return positionPage(self)->customVerticalPositionEnabled; })
        .method(sel::setCustomVerticalPositionEnabled_, [](id self, bool on) { setCustomEnabled(self, kVertical, on); })
        .property<&WKSLockScreenPositionListController::customHorizontalSpecifiers>(sel::customHorizontalSpecifiers, sel::setCustomHorizontalSpecifiers_)
        .property<&WKSLockScreenPositionListController::customVerticalSpecifiers>(sel::customVerticalSpecifiers, sel::setCustomVerticalSpecifiers_)
        .property<&WKSLockScreenPositionListController::horizontalGroup>(sel::horizontalGroup, sel::setHorizontalGroup_)
        .property<&WKSLockScreenPositionListController::verticalGroup>(sel::verticalGroup, sel::setVerticalGroup_)
        .ivar<&WKSLockScreenPositionListController::customHorizontalPositionEnabled>("_customHorizontalPositionEnabled")
        .ivar<&WKSLockScreenPositionListController::horizontalFooter>("_horizontalFooter")
        .ivar<&WKSLockScreenPositionListController::customHorizontalPositionIndex>("_customHorizontalPositionIndex")
        .ivar<&WKSLockScreenPositionListController::customVerticalPositionEnabled>("_customVerticalPositionEnabled")
        .ivar<&WKSLockScreenPositionListController::customVerticalPositionIndex>("_customVerticalPositionIndex")
        .ivar<&WKSLockScreenPositionListController::verticalFooter>("_verticalFooter")
        .ivar<&WKSLockScreenPositionListController::customHorizontalSpecifiers>("_customHorizontalSpecifiers")
        .ivar<&WKSLockScreenPositionListController::customVerticalSpecifiers>("_customVerticalSpecifiers")
        .ivar<&WKSLockScreenPositionListController::horizontalGroup>("_horizontalGroup")
        .ivar<&WKSLockScreenPositionListController::verticalGroup>("_verticalGroup")
        .method(sel::applicationWillResignActive, &applicationWillResignActive);
}

}  // namespace rousa
