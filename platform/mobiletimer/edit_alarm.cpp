#include "platform/mobiletimer/edit_alarm.h"

#include "platform/foundation/format.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"
#include "platform/uikit/color.h"
#include "platform/uikit/navigation.h"
#include "platform/uikit/navigation_controller.h"
#include "platform/uikit/screen.h"

namespace platform {

namespace mobiletimer {
namespace {

constexpr const char* kClass = "EditAlarmViewController";
constexpr const char* kLabelClass = "EditAlarmLabelViewController";
constexpr double kPickerHeight = 216;

EditAlarmViewController* screen(id self) { return as<EditAlarmViewController>(self); }

std::string rowText(id indexPath) { return format("%ld.%ld", sel::section(indexPath), sel::row(indexPath)); }

Alarm* proxyOf(EditAlarmViewController* c) { return c->alarm_ ? c->alarm_->editingProxy() : nullptr; }

Ref<Object> initWithAlarm(id self, id alarm) {
    callLog::record(kClass, "initWithAlarm:", as<Alarm>(alarm) ? as<Alarm>(alarm)->summary() : "nil");
    auto* c = screen(self);
    c->alarm_ = Ref<Alarm>(as<Alarm>(alarm));
    c->title_ = Value(c->isNewAlarm() ? "Add Alarm" : "Edit Alarm");
    return Ref<Object>(self);
}

void loadView(id self) {
    callLog::record(kClass, "loadView");
    auto* c = screen(self);
    Rect bounds = UIScreen::mainScreen()->bounds();
    auto view = UIView::make<EditAlarmView>("EditAlarmView", bounds);
    view->timePicker_ = UIView::make<UIDatePicker>("UIDatePicker", Rect(0, 0, bounds.width(), kPickerHeight));
    sel::setDatePickerMode_(view->timePicker_, UIDatePickerModeTime);
    sel::setAutoresizingMask_(view->timePicker_, UIViewAutoresizingFlexibleWidth);
    sel::addTarget_action_forControlEvents_(view->timePicker_, self, sel::handlePickerChanged, UIControlEventValueChanged);
    sel::addSubview_(view, view->timePicker_);
    Rect tableFrame(0, kPickerHeight, bounds.width(), bounds.height() - kPickerHeight);
    view->settingsTable_ = as<UITableView>(sel::initWithFrame_style_(alloc("UITableView"), tableFrame, UITableViewStyleGrouped));
    sel::setAutoresizingMask_(view->settingsTable_, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    sel::setDataSource_(view->settingsTable_, self);
    sel::setDelegate_(view->settingsTable_, self);
    sel::addSubview_(view, view->settingsTable_);
    c->editAlarmView_ = view;
    sel::setView_(self, view);

    Ref<Object> item = sel::navigationItem(self);
    sel::setTitle_(item, c->title_);
    sel::setRightBarButtonItem_(item, sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), UIBarButtonSystemItemDone,
                                                                                      self, sel::_doneButtonClicked_));
}

void viewWillAppear(id self, bool) {
    callLog::record(kClass, "viewWillAppear:");
    auto* c = screen(self);
    if (!c->editAlarmView_) return;
    if (Alarm* p = proxyOf(c))
        sel::setCountDownDuration_(c->editAlarmView_->timePicker_, static_cast<double>(p->hour * 3600 + p->minute * 60));
    sel::reloadData(c->editAlarmView_->settingsTable_);
}

long long numberOfSections(id self, id) {
    callLog::record(kClass, "numberOfSectionsInTableView:");
    return screen(self)->isNewAlarm() ? 1 : 2;
}

long long numberOfRows(id self, id, long long section) {
    callLog::record(kClass, "tableView:numberOfRowsInSection:", format("%ld", section));
    if (section == 0) return EditAlarmViewController::kSettingsRows;
    if (section == 1) return screen(self)->isNewAlarm() ? 0 : 1;
    return 0;
}

Ref<UITableViewCell> makeCell(long long style, const char* text, Value detail) {
    auto cell = as<UITableViewCell>(sel::initWithStyle_reuseIdentifier_(alloc("UITableViewCell"), style, Value()));
    sel::setText_(cell->textLabel_, Value(text));
    if (cell->detailTextLabel_) sel::setText_(cell->detailTextLabel_, detail);
    return cell;
}

Ref<Object> cellForRow(id self, id, id indexPath) {
    callLog::record(kClass, "tableView:cellForRowAtIndexPath:", rowText(indexPath));
    Alarm* p = proxyOf(screen(self));
    long long section = sel::section(indexPath), row = sel::row(indexPath);
    if (section == 1) {
        // Every row of the second section is the Delete row.
        auto cell = makeCell(UITableViewCellStyleDefault, "Delete Alarm", Value());
        sel::setTextAlignment_(cell->textLabel_, NSTextAlignmentCenter);
        sel::setTextColor_(cell->textLabel_, UIColor::rgba(1, 0.231, 0.188, 1));
        return cell;
    }
    if (section == 0 && row == 0)
        return makeCell(UITableViewCellStyleValue1, "Repeat", Value(p && p->daySetting ? "Custom" : "Never"));
    if (section == 0 && row == 1) return makeCell(UITableViewCellStyleValue1, "Label", p && p->title.isString() ? p->title : Value("Alarm"));
    if (section == 0 && row == 2) return makeCell(UITableViewCellStyleValue1, "Sound", p && p->sound.isString() ? p->sound : Value("Radar"));
    if (section == 0 && row == 3) {
        auto cell = makeCell(UITableViewCellStyleValue1, "Snooze", Value());
        Ref<Object> snooze = newObject("UISwitch");
        sel::setOn_(snooze, !p || p->allowsSnooze);
        sel::setAccessoryView_(cell, snooze);
        sel::setSelectionStyle_(cell, UITableViewCellSelectionStyleNone);
        return cell;
    }
    return makeCell(UITableViewCellStyleDefault, "", Value());
}

void pickerChanged(id self) {
    callLog::record(kClass, "handlePickerChanged");
    auto* c = screen(self);
    Alarm* p = proxyOf(c);
    if (!p || !c->editAlarmView_) return;
    auto seconds = static_cast<long long>(sel::countDownDuration(c->editAlarmView_->timePicker_));
    p->hour = seconds / 3600;
    p->minute = seconds % 3600 / 60;
}

void didSelectRow(id self, id table, id indexPath) {
    callLog::record(kClass, "tableView:didSelectRowAtIndexPath:", rowText(indexPath));
    if (sel::section(indexPath) != 0 || sel::row(indexPath) != 1) return;
    Ref<Object> navigation = sel::navigationController(self);
    if (!navigation) return;
    Ref<Object> protector(self);
    sel::deselectRowAtIndexPath_animated_(table, indexPath, true);
    Ref<Object> labelScreen = sel::initWithAlarm_(alloc(kLabelClass), screen(self)->alarm_);
    sel::pushViewController_animated_(navigation, labelScreen, true);
}

// --- the label screen -------------------------------------------------------------------------

EditAlarmLabelViewController* labelScreen(id self) { return as<EditAlarmLabelViewController>(self); }

Ref<Object> initLabelScreen(id self, id alarm) {
    callLog::record(kLabelClass, "initWithAlarm:", as<Alarm>(alarm) ? as<Alarm>(alarm)->summary() : "nil");
    auto* c = labelScreen(self);
    c->alarm_ = Ref<Alarm>(as<Alarm>(alarm));
    c->title_ = Value("Label");
    return Ref<Object>(self);
}

void loadLabelScreen(id self) {
    auto* c = labelScreen(self);
    Rect bounds = UIScreen::mainScreen()->bounds();
    Ref<UIView> view = UIView::make("UIView", bounds);
    sel::setBackgroundColor_(view, UIColor::white(1, 1));
    // Below the status bar and the navigation bar.
    c->textField_ = UIView::make<UITextField>("UITextField", Rect(15, 64 + 35, bounds.width() - 30, 44));
    sel::setAutoresizingMask_(c->textField_, UIViewAutoresizingFlexibleWidth);
    sel::setPlaceholder_(c->textField_, Value("Alarm"));
    Alarm* p = c->alarm_ ? c->alarm_->editingProxy() : nullptr;
    if (p && p->title.isString()) sel::setText_(c->textField_, p->title);
    sel::addSubview_(view, c->textField_);
    sel::setView_(self, view);
}

void labelScreenWillDisappear(id self, bool) {
    callLog::record(kLabelClass, "viewWillDisappear:");
    auto* c = labelScreen(self);
    if (!c->textField_) return;
    sel::resignFirstResponder(c->textField_);
    if (Alarm* p = c->alarm_ ? c->alarm_->editingProxy() : nullptr) {
        Value text = sel::text(c->textField_);
        p->title = text.stringOr("").empty() ? Value() : text;
    }
}

void doneButtonClicked(id self, id) {
    callLog::record(kClass, "_doneButtonClicked:");
    auto* c = screen(self);
    Ref<EditAlarmViewController> protector(c);
    Ref<Alarm> alarm = c->alarm_;
    if (!alarm) return;
    if (Alarm* p = alarm->editingProxy(); p && c->editAlarmView_) {
        auto seconds = static_cast<long long>(sel::countDownDuration(c->editAlarmView_->timePicker_));
        p->hour = seconds / 3600;
        p->minute = seconds % 3600 / 60;
    }
    alarm->applyEditingProxy();
    Ref<Object> manager = sel::sharedManager(objc_getClass("AlarmManager"));
    if (c->isNewAlarm()) sel::addAlarm_active_(manager, alarm, true);
    else sel::updateAlarm_active_(manager, alarm, true);
    if (Ref<Object> delegate = c->delegate_.lock(); delegate && respondsToSelector(delegate, sel::didEditAlarm_.name))
        sel::didEditAlarm_(delegate, alarm);
    sel::dismissViewControllerAnimated_completion_(self, true, Block());
}

}  // namespace

void registerEditAlarmClasses() {
    ClassBuilder<EditAlarmView>("EditAlarmView", "UIView")
        .ivar<&EditAlarmView::timePicker_>("_timePicker")
        .ivar<&EditAlarmView::settingsTable_>("_settingsTable")
        .method(sel::timePicker, [](id self) -> Ref<Object> { return as<EditAlarmView>(self)->timePicker_; });

    ClassBuilder<EditAlarmViewController>(kClass, "UIViewController")
        .ivar<&EditAlarmViewController::alarm_>("_alarm")
        .ivar<&EditAlarmViewController::editAlarmView_>("_editAlarmView")
        .method(sel::initWithAlarm_, &initWithAlarm)
        .method(sel::loadView, &loadView)
        .method(sel::viewDidLoad, [](id) { callLog::record(kClass, "viewDidLoad"); })
        .method(sel::viewWillAppear_, &viewWillAppear)
        .method(sel::viewDidLayoutSubviews, [](id) { callLog::record(kClass, "viewDidLayoutSubviews"); })
        .method(sel::viewWillDisappear_, [](id, bool) { callLog::record(kClass, "viewWillDisappear:"); })
        .method(sel::handlePickerChanged, &pickerChanged)
        .method(sel::_doneButtonClicked_, &doneButtonClicked)
        .method(sel::numberOfSectionsInTableView_, &numberOfSections)
        .method(sel::tableView_numberOfRowsInSection_, &numberOfRows)
        .method(sel::tableView_cellForRowAtIndexPath_, &cellForRow)
        .method(sel::tableView_didSelectRowAtIndexPath_, &didSelectRow)
        .method(sel::delegate, [](id self) { return screen(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { screen(self)->delegate_ = delegate; });

    ClassBuilder<EditAlarmLabelViewController>(kLabelClass, "UIViewController")
        .ivar<&EditAlarmLabelViewController::textField_>("_textField")
        .method(sel::initWithAlarm_, &initLabelScreen)
        .method(sel::loadView, &loadLabelScreen)
        .method(sel::viewDidAppear_,
                [](id self, bool) {
                    callLog::record(kLabelClass, "viewDidAppear:");
                    sel::becomeFirstResponder(labelScreen(self)->textField_);
                })
        .method(sel::viewWillDisappear_, &labelScreenWillDisappear);
}

}  // namespace mobiletimer
}  // namespace platform
