#include "tweak/screens/alarm_list.h"

#include <algorithm>

#include "platform/foundation/bundle.h"
#include "platform/foundation/calendar.h"
#include "platform/foundation/format.h"
#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/audio_toolbox.h"
#include "platform/uikit/application.h"
#include "platform/uikit/gesture_recognizer.h"
#include "platform/uikit/navigation.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/table_view.h"
#include "platform/uikit/window.h"
#include "tweak/engine/delay.h"
#include "tweak/engine/hooking.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/ringing_state.h"
#include "tweak/screens/alarm_list_state.h"
#include "tweak/screens/alarm_selection.h"
#include "tweak/screens/clone_window.h"
#include "tweak/screens/edit_alarm.h"
#include "tweak/screens/radial_menu.h"

namespace rousa {

constinit Ref<Object> radialMenu;
long long longPressedRow = 0;
constinit Ref<Object> editToolbar;
constinit Ref<NSTimer> minuteTimer;
long long lastMinute = 0;
constinit Rect listViewFrame;

Ref<Object> (*original_AlarmViewController_init)(id) = nullptr;
void (*original_AlarmViewController_viewDidLoad)(id) = nullptr;
void (*original_AlarmViewController_viewWillAppear_)(id, bool) = nullptr;
void (*original_AlarmViewController_viewWillDisappear_)(id, bool) = nullptr;
void (*original_AlarmViewController_didEditAlarm_)(id, id) = nullptr;
Ref<Object> (*original_AlarmViewController_tableView_cellForRowAtIndexPath_)(id, id, id) = nullptr;
void (*original_AlarmViewController_setEditing_animated_)(id, bool, bool) = nullptr;
Ref<Object> (*original_AlarmViewController_editButtonItem)(id) = nullptr;
bool (*original_AlarmViewController_tableView_canEditRowAtIndexPath_)(id, id, id) = nullptr;
long long (*original_AlarmViewController_tableView_editingStyleForRowAtIndexPath_)(id, id, id) = nullptr;
bool (*original_AlarmViewController_tableView_shouldHighlightRowAtIndexPath_)(id, id, id) = nullptr;

namespace {

constexpr double kMenuSide = 44;
constexpr double kToolbarHeight = 50;
constexpr long long kLocationCenter = 0, kLocationTop = 1, kLocationLeft = 2, kLocationRight = 3, kLocationBottom = 4;

// Whether the long press in progress began on a row: one that did not opens
// and forwards nothing.
constinit bool longPressOnRow = false;
constinit WeakRef<Object> listTapRecognizer;

Ref<Object> manager() {
    static Class* managerClass = objc_getClass("AlarmManager");
    return sel::sharedManager(managerClass);
}

Value managerAlarms() { return sel::alarms(manager()); }

Ref<Object> alarmAt(const Value& alarms, long long row) {
    if (row < 0 || row >= static_cast<long long>(alarms.count())) return nullptr;
    return Ref<Object>(alarms.at(static_cast<std::size_t>(row)).object());
}

Ref<Object> tableOf(id list) { return Ref<Object>(valueForKey(list, "tableView").object()); }
Ref<Object> viewOf(id list) { return Ref<Object>(valueForKey(list, "view").object()); }

long long minuteNow() {
    Ref<NSCalendar> calendar = gregorianCalendar ? gregorianCalendar : NSCalendar::calendarWithIdentifier("gregorian");
    return calendar->components(clock::now())->minute;
}

// --- the selection ----------------------------------------------------------------------------------

Value::Array& selection() {
    if (!alarmsSelected.isArray()) alarmsSelected = Value(Value::Array{});
    return alarmsSelected.mutableArray();
}

bool isSelected(const Value& alarm) {
    for (const Value& a : alarmsSelected.array())
        if (a == alarm) return true;
    return false;
}

// Alarms the manager no longer has leave the selection.
void dropGoneAlarms(const Value& alarms) {
    if (!alarmsSelected.isArray() || alarmsSelected.count() == 0) return;
    std::erase_if(selection(), [&](const Value& a) {
        for (const Value& b : alarms.array())
            if (a == b) return false;
        return true;
    });
}

// The view's height without the toolbar, and with it.
void restoreListHeight(id list) {
    Ref<Object> view = viewOf(list);
    Rect frame = sel::frame(view);
    if (frame == listViewFrame) return;
    frame.size.height += kToolbarHeight;
    sel::setFrame_(view, frame);
}

void shrinkListHeight(id list) {
    Ref<Object> view = viewOf(list);
    Rect frame = sel::frame(view);
    // Only the saved full frame is shrunk. A test of the height alone would take
    // 50 points again from a view whose frame moved on since it was saved (a
    // rotation, a second edit mode after one whose end was missed), and the
    // toolbar would then cover the list's last row.
    if (!(frame == listViewFrame)) return;
    frame.size.height -= kToolbarHeight;
    sel::setFrame_(view, frame);
}

Ref<Object> barItem(const char* image, id target, SEL action) {
    return sel::initWithImage_style_target_action_(alloc("UIBarButtonItem"), listImage(image), UIBarButtonItemStylePlain, target, action);
}

Ref<Object> flexibleSpace() {
    return sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), UIBarButtonSystemItemFlexibleSpace, nullptr, SEL{});
}

// --- the radial menu ---------------------------------------------------------------------------------------

Ref<Object> menuItem(const char* image, const char* highlighted, PRWRadialMenuItemHandler handler) {
    return sel::menuItemWithImage_highlightedImage_handler_(objc_getClass("PRWRadialMenuItem"), listImage(image), listImage(highlighted),
                                                            std::move(handler));
}

void setUpList(id self, id table) {
    Ref<Object> press = sel::initWithTarget_action_(alloc("UILongPressGestureRecognizer"), self, sel::handleLongPress_);
    sel::setMinimumPressDuration_(press, 1.0);
    sel::setDelegate_(press, self);
    sel::addGestureRecognizer_(table, press);
    alarmTableView = table;

    Ref<Object> blur = sel::effectWithStyle_(objc_getClass("UIBlurEffect"), 2);
    radialMenu = sel::initWithBackgroundVisualEffect_(alloc("PRWRadialMenu"), blur);
    const double width = sel::bounds(UIScreen::mainScreen()).width();
    sel::setFrame_(radialMenu, Rect(width * 0.5 - kMenuSide / 2, 0, kMenuSide, kMenuSide));
    sel::setDelegate_(radialMenu, self);
    sel::addSubview_(sel::keyWindow(UIApplication::sharedApplication()), radialMenu);

    // The handlers hold the list and the table weakly: the menu outlives neither.
    WeakRef<Object> list(self), weakTable(table);
    auto close = [](id menu, id) { sel::dismissMenuAnimated_(menu, true); };
    sel::setItem_forLocation_(radialMenu, menuItem("center", "center", close), kLocationCenter);
    sel::setItem_forLocation_(radialMenu, menuItem("cancel", "cancelSelected", close), kLocationBottom);
    sel::setItem_forLocation_(radialMenu, menuItem("clone", "cloneSelected", [weakTable](id menu, id) {
                                  if (Ref<Object> t = weakTable.lock()) openCloneWindow(t);
                                  sel::dismissMenuAnimated_(menu, true);
                              }),
                              kLocationTop);
    sel::setItem_forLocation_(radialMenu, menuItem("editMenu", "editMenuSelected", [list](id menu, id) {
                                  sel::dismissMenuAnimated_(menu, true);
                                  if (Ref<Object> l = list.lock()) sel::showEditViewForRow_(l, longPressedRow);
                              }),
                              kLocationLeft);
    sel::setItem_forLocation_(radialMenu, menuItem("delete", "deleteSelected", [list, weakTable](id menu, id) {
                                  sel::dismissMenuAnimated_(menu, true);
                                  if (Ref<Object> alarm = alarmAt(managerAlarms(), longPressedRow)) sel::removeAlarm_(manager(), alarm);
                                  sel::reloadData(weakTable.lock());
                                  sel::reloadState(list.lock());
                              }),
                              kLocationRight);
    sel::setMenuState_animated_(radialMenu, PRWRadialMenuStateContracted, false);
    // Closed, it takes no taps.
    sel::setHidden_(radialMenu, true);
}

void addTapRecognizer(id self, id table) {
    if (Ref<Object> tap = listTapRecognizer.lock(); tap && sel::view(tap).get() == table) return;
    Ref<Object> tap = sel::initWithTarget_action_(alloc("UITapGestureRecognizer"), self, sel::handleTap_);
    sel::setDelegate_(tap, self);
    sel::addGestureRecognizer_(table, tap);
    listTapRecognizer = tap.get();
}

// --- removal ---------------------------------------------------------------------------------------------------

Ref<Object> spinnerWindow(Rect tableFrame) {
    Ref<Object> window = sel::initWithFrame_(alloc("UIWindow"), Rect(tableFrame.width() * 0.5 - 50, tableFrame.height() * 0.5 - 50, 100, 100));
    sel::setBackgroundColor_(window, sel::whiteColor(objc_getClass("UIColor")));
    Ref<Object> layer = sel::layer(window);
    sel::setCornerRadius_(layer, 30);
    sel::setMasksToBounds_(layer, true);
    Ref<Object> spinner = sel::initWithFrame_(alloc("UIActivityIndicatorView"), Rect(25, 25, 50, 50));
    sel::setColor_(spinner, sel::redColor(objc_getClass("UIColor")));
    sel::startAnimating(spinner);
    sel::setTransform_(spinner, AffineTransform::makeScale(1.5, 1.5));
    sel::addSubview_(window, spinner);
    Rect frame = sel::frame(window);
    sel::setFrame_(window, Rect(frame.x() - 1, frame.y() - 1, frame.width() + 2, frame.height() + 2));
    sel::setBorderColor_(layer, sel::colorWithRed_green_blue_alpha_(objc_getClass("UIColor"), 1.0, 0.0, 0.0, 0.5));
    sel::setBorderWidth_(layer, 1.0);
    sel::makeKeyAndVisible(window);
    return window;
}

void removeSelectedAlarms(id list, Ref<Object> spinner) {
    Ref<Object> protector(list);
    Ref<Object> table = alarmTableView.lock();
    Ref<Object> m = manager();
    sel::loadAlarms(m);
    sel::reloadData(table);
    sel::reloadState(list);
    const Value alarms = managerAlarms();
    for (long long i = static_cast<long long>(alarms.count()) - 1; i >= 0; --i) {
        const Value& alarm = alarms.at(static_cast<std::size_t>(i));
        if (!isSelected(alarm)) continue;
        sel::beginUpdates(table);
        sel::removeAlarm_(m, alarm.object());
        sel::deleteRowsAtIndexPaths_withRowAnimation_(table, Value::array({Value(NSIndexPath::make(0, i))}), UITableViewRowAnimationFade);
        sel::endUpdates(table);
    }
    sel::reloadState(list);
    sel::reloadData(table);
    if (managerAlarms().count() == 0) {
        sel::removeFromSuperview(editToolbar);
        restoreListHeight(list);
    }
    if (alarmsSelected.isArray()) selection().clear();
    spinner = nullptr;  // the spinner window goes
}

}  // namespace

Ref<Object> listImage(const char* name) {
    Ref<NSBundle> images = NSBundle::bundleWithPath(kListImagesPath);
    Value path = images ? images->pathForResource(name, "png") : Value();
    return sel::imageWithContentsOfFile_(objc_getClass("UIImage"), path);
}

// --- creation, appearance, the minute refresh ---------------------------------------------------------------

Ref<Object> replaced_AlarmViewController_init(id self) {
    RousaLoadPrefs(false);
    Ref<Object> list = callPrevious(original_AlarmViewController_init, self);
    if (togglealarms && list) {
        Ref<Object> toggle = barItem("Toggle", list, sel::alarmToggleButtonPressed);
        Ref<Object> item = sel::navigationItem(list);
        Value::Array items;
        if (Ref<Object> right = sel::rightBarButtonItem(item)) items.emplace_back(right);
        items.emplace_back(toggle);
        sel::setRightBarButtonItems_(item, Value(std::move(items)));
    }
    return list;
}

void replaced_AlarmViewController_viewDidLoad(id self) {
    callPrevious(original_AlarmViewController_viewDidLoad, self);
    listViewFrame = sel::frame(viewOf(self));
    auto* center = NSNotificationCenter::defaultCenter();
    Value application(UIApplication::sharedApplication());
    center->addObserver(self, sel::applicationDidEnterForeground, UIApplicationDidBecomeActiveNotification, application);
    center->addObserver(self, sel::applicationWillTerminate, UIApplicationWillTerminateNotification, application);
}

void replaced_AlarmViewController_viewWillAppear_(id self, bool animated) {
    callPrevious(original_AlarmViewController_viewWillAppear_, self, animated);
    if (!WKSEnableInClockApp) return;
    lastMinute = minuteNow();
    if (minuteTimer) minuteTimer->invalidate();
    minuteTimer = NSTimer::scheduledTimerWithTimeInterval(1.0, self, sel::reloadTableViewOnMinuteChange, Value(), true);
}

void replaced_AlarmViewController_viewWillDisappear_(id self, bool animated) {
    callPrevious(original_AlarmViewController_viewWillDisappear_, self, animated);
    if (minuteTimer) minuteTimer->invalidate();
    minuteTimer = nullptr;
    restoreListHeight(self);
}

void AlarmViewController_reloadTableViewOnMinuteChange(id self) {
    long long minute = minuteNow();
    if (minute == lastMinute) return;
    lastMinute = minute;
    sel::reloadData(tableOf(self));
}

void AlarmViewController_applicationDidEnterForeground(id self) {
    if (!valueForKey(self, "isViewLoaded").boolValue()) return;
    if (valueForKey(viewOf(self), "window").isNil()) return;
    sel::reloadData(tableOf(self));
}

void AlarmViewController_applicationWillTerminate(id self) {
    auto* center = NSNotificationCenter::defaultCenter();
    Value application(UIApplication::sharedApplication());
    center->removeObserver(self, UIApplicationDidBecomeActiveNotification, application);
    center->removeObserver(self, UIApplicationWillTerminateNotification, application);
}

// --- the edited alarm's title ------------------------------------------------------------------------------------

void replaced_AlarmViewController_didEditAlarm_(id self, id alarm) {
    const long long a = valueForKey(alarm, "hour").integerValue() * 3600 + valueForKey(alarm, "minute").integerValue() * 60;
    auto now = NSCalendar::currentCalendar()->components(clock::now());
    const long long n = now->hour * 3600 + now->minute * 60;
    long long d = a - n;
    if (a <= n) d += 86400;
    const long long hours = d / 3600, minutes = (d - hours * 3600) / 60;
    if (alarmTimeEnabled && alarmTimeTitle) setValueForKey(alarm, Value(format("%ld hours, %ld minutes left", hours, minutes)), "title");
    callPrevious(original_AlarmViewController_didEditAlarm_, self, alarm);
}

// --- cells, taps and long presses ----------------------------------------------------------------------------------

Ref<Object> replaced_AlarmViewController_tableView_cellForRowAtIndexPath_(id self, id table, id indexPath) {
    RousaLoadPrefs(false);
    Ref<Object> cell = callPrevious(original_AlarmViewController_tableView_cellForRowAtIndexPath_, self, table, indexPath);
    if (!alarmTableView.lock()) setUpList(self, table);
    if (massedition || swipedelete) addTapRecognizer(self, table);
    // A reload cleared the table's selection: the selected alarms' rows show it again.
    if (massedition && sel::isEditing(table) && alarmsSelected.isArray()) {
        const Value alarms = managerAlarms();
        dropGoneAlarms(alarms);
        if (Ref<Object> alarm = alarmAt(alarms, sel::row(indexPath)); alarm && isSelected(Value(alarm)))
            sel::selectRowAtIndexPath_animated_scrollPosition_(table, indexPath, false, UITableViewScrollPositionNone);
    }
    return cell;
}

void AlarmViewController_handleTap_(id self, id recognizer) {
    Ref<Object> table = alarmTableView.lock();
    Ref<Object> path = table ? sel::indexPathForRowAtPoint_(table, sel::locationInView_(recognizer, table)) : nullptr;
    RousaLoadPrefs(false);
    if (!path) return;
    const long long row = sel::row(path);
    if (!sel::isEditing(table)) {
        sel::showEditViewForRow_(self, row);
        return;
    }
    if (!massedition) return;
    const Value alarms = managerAlarms();
    dropGoneAlarms(alarms);
    Ref<Object> alarm = alarmAt(alarms, row);
    if (!alarm) return;
    Value::Array& selected = selection();
    if (isSelected(Value(alarm))) {
        sel::deselectRowAtIndexPath_animated_(table, path, true);
        auto it = std::find_if(selected.begin(), selected.end(), [&](const Value& a) { return a == Value(alarm); });
        if (it != selected.end()) selected.erase(it);
    } else {
        sel::selectRowAtIndexPath_animated_scrollPosition_(table, path, true, UITableViewScrollPositionNone);
        selected.emplace_back(alarm);
    }
}

void AlarmViewController_handleLongPress_(id, id recognizer) {
    Ref<Object> table = alarmTableView.lock();
    if (!table || sel::isEditing(table)) return;
    const unsigned long long state = sel::state(recognizer);
    if (state == UIGestureRecognizerStateBegan) {
        Ref<Object> path = sel::indexPathForRowAtPoint_(table, sel::locationInView_(recognizer, table));
        longPressOnRow = static_cast<bool>(path);
        longPressedRow = path ? sel::row(path) : 0;
        if (!path) return;
        const Point p = sel::locationInView_(recognizer, sel::keyWindow(UIApplication::sharedApplication()));
        sel::setFrame_(radialMenu, Rect(p.x - kMenuSide / 2, p.y - kMenuSide / 2, kMenuSide, kMenuSide));
        sel::setHidden_(radialMenu, false);
        AudioServicesPlaySystemSoundWithVibration(kSystemSoundID_Vibrate, nullptr,
                                                  Value{{"VibePattern", Value::array({Value(true), Value(50)})}, {"Intensity", Value(1)}});
    } else if (!longPressOnRow) {
        return;
    }
    Ref<Object> menu = radialMenu;
    sel::didTouch_(menu, recognizer);
    if (state == UIGestureRecognizerStateCancelled || state == UIGestureRecognizerStateFailed) sel::dismissMenuAnimated_(menu, true);
}

void AlarmViewController_radialMenuDidDismiss_(id, id menu) {
    if (menu == radialMenu.get()) sel::setHidden_(menu, true);
}

// --- edit mode --------------------------------------------------------------------------------------------------------

void replaced_AlarmViewController_setEditing_animated_(id self, bool editing, bool animated) {
    Ref<Object> table = tableOf(self);
    if (massedition) sel::setAllowsMultipleSelectionDuringEditing_(table, editing);
    callPrevious(original_AlarmViewController_setEditing_animated_, self, editing, animated);
    if (!massedition) return;
    if (editing) {
        alarmsSelected = Value(Value::Array{});
        // Entering edit mode again replaces the toolbar, never stacks a second one.
        if (editToolbar) sel::removeFromSuperview(editToolbar);
        const Rect screen = sel::bounds(UIScreen::mainScreen());
        editToolbar = sel::initWithFrame_(alloc("UIToolbar"), Rect(0, screen.height() - 99, screen.width(), kToolbarHeight));
        sel::setItems_(editToolbar, Value::array({Value(barItem("select", self, sel::selectAll)), Value(flexibleSpace()),
                                                  Value(barItem("edit", self, sel::editAll)), Value(flexibleSpace()),
                                                  Value(barItem("remove", self, sel::removeAll))}));
        sel::addSubview_(viewOf(self), editToolbar);
        shrinkListHeight(self);
        return;
    }
    sel::reloadData(table);
    sel::removeFromSuperview(editToolbar);
    restoreListHeight(self);
    if (alarmsSelected.isArray()) selection().clear();
}

void AlarmViewController_selectAll(id) {
    Ref<Object> table = alarmTableView.lock();
    const Value alarms = managerAlarms();
    dropGoneAlarms(alarms);
    Value::Array& selected = selection();
    bool metSelected = false;
    for (long long s = 0; s < sel::numberOfSections(table); ++s) {
        for (long long r = 0; r < sel::numberOfRowsInSection_(table, s); ++r) {
            Ref<Object> alarm = alarmAt(alarms, r);
            if (!alarm) continue;
            if (isSelected(Value(alarm))) {
                metSelected = true;
                break;
            }
            sel::selectRowAtIndexPath_animated_scrollPosition_(table, NSIndexPath::make(s, r), true, UITableViewScrollPositionNone);
            selected.emplace_back(alarm);
        }
    }
    // A press with any row selected clears the selection.
    if (metSelected) {
        sel::reloadData(table);
        selection().clear();
    }
}

void AlarmViewController_editAll(id self) {
    if (!alarmsSelected.isArray() || alarmsSelected.count() == 0) return;
    const Value alarms = managerAlarms();
    for (const Value& alarm : alarmsSelected.array())
        for (std::size_t i = 0; i < alarms.count(); ++i)
            if (alarms.at(i) == alarm) {
                sel::showEditViewForRow_(self, static_cast<long long>(i));
                return;
            }
    // Every selected alarm has gone: the list's own handler gets no row.
    sel::showEditViewForRow_(self, -1);
}

void AlarmViewController_removeAll(id self) {
    Ref<Object> alert = sel::initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles_(
        alloc("UIAlertView"), Value(""), Value(lRemoveAlarmsMessage), self, Value(lRemoveAlarmsNo), Value::array({Value(lRemoveAlarmsYes)}));
    sel::show(alert);
}

void AlarmViewController_alertView_clickedButtonAtIndex_(id self, id, long long index) {
    if (index != 1) return;
    Ref<Object> spinner = spinnerWindow(sel::frame(alarmTableView.lock()));
    WeakRef<Object> list(self);
    dispatch_after(delayFromNow(0.5), dispatch_get_main_queue(),
                   [list, spinner]() mutable {
                       if (Ref<Object> l = list.lock()) removeSelectedAlarms(l, std::move(spinner));
                       spinner = nullptr;
                   });
}

void AlarmViewController_dismiss_(id, id alert) { sel::dismissWithClickedButtonIndex_animated_(alert, -1, true); }

// --- the small stock methods ------------------------------------------------------------------------------------------------

Ref<Object> replaced_AlarmViewController_editButtonItem(id self) { return callPrevious(original_AlarmViewController_editButtonItem, self); }

bool replaced_AlarmViewController_tableView_canEditRowAtIndexPath_(id, id, id) {
    RousaLoadPrefs(false);
    return true;
}

long long replaced_AlarmViewController_tableView_editingStyleForRowAtIndexPath_(id self, id table, id indexPath) {
    RousaLoadPrefs(false);
    if (swipedelete) return UITableViewCellEditingStyleDelete;
    return callPrevious(original_AlarmViewController_tableView_editingStyleForRowAtIndexPath_, self, table, indexPath);
}

bool replaced_AlarmViewController_tableView_shouldHighlightRowAtIndexPath_(id self, id table, id indexPath) {
    if (massedition) return true;
    return callPrevious(original_AlarmViewController_tableView_shouldHighlightRowAtIndexPath_, self, table, indexPath);
}

// --- all on or all off --------------------------------------------------------------------------------------------------------

void AlarmViewController_alarmToggleButtonPressed(id) {
    lockButtonPressed = false;
    Ref<Object> m = manager();
    sel::loadAlarms(m);
    sel::loadScheduledNotifications(m);
    const Value alarms = managerAlarms();
    long long active = 0;
    for (const Value& alarm : alarms.array())
        if (sel::isActive(alarm.object())) ++active;
    // On when fewer than half are active; off on a tie.
    const bool state = active < static_cast<long long>(alarms.count()) - active;
    NSLog("%s[Rousa2] alarmState: %ld%s", kLogColorStart, static_cast<long long>(state), kLogColorEnd);
    for (const Value& alarm : alarms.array()) sel::updateAlarm_active_(m, alarm.object(), state);
    sel::reloadData(alarmTableView.lock());
}

}  // namespace rousa
