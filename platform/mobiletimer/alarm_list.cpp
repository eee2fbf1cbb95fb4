#include "platform/mobiletimer/alarm_list.h"

#include "platform/foundation/format.h"
#include "platform/mobiletimer/alarm.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"
#include "platform/uikit/color.h"
#include "platform/uikit/font.h"
#include "platform/uikit/navigation_controller.h"
#include "platform/uikit/screen.h"

namespace platform {

namespace mobiletimer {
namespace {

constexpr const char* kList = "AlarmViewController";
constexpr const char* kCell = "AlarmTableViewCell";
constexpr const char* kView = "AlarmView";

Class* listClass() {
    static Class* c = objc_getClass(kList);
    return c;
}
Class* cellClass() {
    static Class* c = objc_getClass(kCell);
    return c;
}
Class* viewClass() {
    static Class* c = objc_getClass(kView);
    return c;
}

AlarmViewController* list(id self) { return as<AlarmViewController>(self); }
Ref<Object> manager() { return sel::sharedManager(objc_getClass("AlarmManager")); }
std::string rowText(id indexPath) { return format("%ld.%ld", sel::section(indexPath), sel::row(indexPath)); }

Ref<Object> alarmAt(long long row) {
    Value alarms = sel::alarms(manager());
    if (row < 0 || row >= static_cast<long long>(alarms.count())) return nullptr;
    return Ref<Object>(alarms.at(static_cast<std::size_t>(row)).object());
}

std::string describe(id alarm) {
    auto* a = as<Alarm>(alarm);
    return a ? a->summary() : "nil";
}

// --- AlarmView ----------------------------------------------------------------------------------

Ref<Object> initView(id self, Rect frame) {
    Ref<Object> base = sel::initWithFrame_.super(viewClass(), self, frame);
    auto* v = as<AlarmView>(base.get());
    if (!v) return base;
    v->timeLabel_ = UIView::make<UILabel>("UILabel", Rect());
    sel::setFont_(v->timeLabel_, UIFont::systemFont(50));
    v->nameLabel_ = UIView::make<UILabel>("UILabel", Rect());
    v->enabledSwitch_ = UIView::make<UISwitch>("UISwitch", Rect());
    sel::addSubview_(v, v->timeLabel_);
    sel::addSubview_(v, v->nameLabel_);
    sel::addSubview_(v, v->enabledSwitch_);
    return base;
}

void setName(id self, Value name, Value repeatText, id color) {
    callLog::record(kView, "setName:andRepeatText:textColor:", name.description());
    auto* v = as<AlarmView>(self);
    std::string text = name.stringOr("");
    if (!repeatText.stringOr("").empty()) text += ", " + repeatText.string();
    sel::setText_(v->nameLabel_, Value(text));
    if (color) sel::setTextColor_(v->nameLabel_, color);
}

void layoutAlarmView(id self) {
    callLog::record(kView, "layoutSubviews");
    auto* v = as<AlarmView>(self);
    Size size = v->bounds_.size;
    sel::setFrame_(v->timeLabel_, Rect(16, 8, std::max(0.0, size.width - 100), 50));
    sel::setFrame_(v->nameLabel_, Rect(16, 58, std::max(0.0, size.width - 100), 18));
    sel::setFrame_(v->enabledSwitch_, Rect(size.width - 16 - UISwitch::kSize.width, (size.height - UISwitch::kSize.height) / 2,
                                           UISwitch::kSize.width, UISwitch::kSize.height));
}

// --- AlarmTableViewCell -----------------------------------------------------------------------------

Ref<Object> initCell(id self, long long style, Value reuseIdentifier) {
    Ref<Object> base = sel::initWithStyle_reuseIdentifier_.super(cellClass(), self, style, reuseIdentifier);
    auto* c = as<AlarmTableViewCell>(base.get());
    if (!c) return base;
    Rect content = sel::bounds(c->contentView_);
    c->alarmView_ = UIView::make<AlarmView>(kView, content);
    sel::setAutoresizingMask_(c->alarmView_, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    sel::addSubview_(c->contentView_, c->alarmView_);
    sel::addTarget_action_forControlEvents_(c->alarmView_->enabledSwitch_, c, sel::_enabledSwitchChanged_, UIControlEventValueChanged);
    return base;
}

void refreshUI(id self, id alarm, bool) {
    callLog::record(kCell, "refreshUI:animated:", describe(alarm));
    auto* c = as<AlarmTableViewCell>(self);
    c->alarm_ = alarm;
    auto* a = as<Alarm>(alarm);
    if (!a || !c->alarmView_) return;
    AlarmView* view = c->alarmView_.get();
    sel::setText_(view->timeLabel_, Value(format("%d:%02d", static_cast<int>(a->hour), static_cast<int>(a->minute))));
    sel::setOn_(view->enabledSwitch_, a->active);
    Value name = sel::uiTitle(a);
    if (name.stringOr("").empty()) name = Value("Alarm");
    Value repeat = Value(a->daySetting == 0 ? "" : a->daySetting == 0x7f ? "every day" : "weekly");
    sel::setName_andRepeatText_textColor_(view, name, repeat, a->active ? UIColor::white(0, 1) : UIColor::white(0.5, 1));
}

// --- AlarmViewController ------------------------------------------------------------------------------

Ref<Object> initList(id self) {
    callLog::record(kList, "init");
    Ref<Object> base = sel::init.super(listClass(), self);
    auto* l = list(base.get());
    if (!l) return base;
    l->title_ = Value("Alarm");
    Ref<Object> item = sel::navigationItem(l);
    sel::setLeftBarButtonItem_(item, sel::editButtonItem(l));
    sel::setRightBarButtonItem_(
        item, sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), UIBarButtonSystemItemAdd, l, sel::_addButtonClicked_));
    return base;
}

void loadList(id self) {
    callLog::record(kList, "loadView");
    auto* l = list(self);
    Rect bounds = UIScreen::mainScreen()->bounds();
    Ref<UIView> view = UIView::make("UIView", bounds);
    l->tableView_ = as<UITableView>(sel::initWithFrame_style_(alloc("UITableView"), Rect(0, 0, bounds.width(), bounds.height()),
                                                                UITableViewStylePlain));
    sel::setAutoresizingMask_(l->tableView_, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    sel::setRowHeight_(l->tableView_, AlarmViewController::kRowHeight);
    // A tap in edit mode opens the alarm.
    sel::setAllowsSelectionDuringEditing_(l->tableView_, true);
    sel::setDataSource_(l->tableView_, self);
    sel::setDelegate_(l->tableView_, self);
    sel::addSubview_(view, l->tableView_);
    sel::setView_(self, view);
}

Ref<Object> editButton(id self) {
    auto* l = list(self);
    if (!l->editButtonItem_) {
        l->editButtonItem_ = sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), UIBarButtonSystemItemEdit, self,
                                                                             sel::_editButtonClicked_);
        sel::setTitle_(l->editButtonItem_, Value("Edit"));
    }
    return l->editButtonItem_;
}

void setEditing(id self, bool editing, bool animated) {
    callLog::record(kList, "setEditing:animated:", editing ? "YES" : "NO");
    auto* l = list(self);
    l->editing_ = editing;
    sel::setEditing_animated_(l->tableView_, editing, animated);
    sel::setTitle_(sel::editButtonItem(self), Value(editing ? "Done" : "Edit"));
}

// The edit screen for the alarm, presented in a navigation controller of its own.
void presentEditScreen(id self, id alarm) {
    Ref<Object> screen = sel::initWithAlarm_(alloc("EditAlarmViewController"), alarm);
    sel::setDelegate_(screen, self);
    Ref<Object> navigation = sel::initWithRootViewController_(alloc("UINavigationController"), screen);
    sel::presentViewController_animated_completion_(self, navigation, true, Block());
}

void showEditView(id self, long long row) {
    callLog::record(kList, "showEditViewForRow:", format("%ld", row));
    Ref<Object> alarm = alarmAt(row);
    if (!alarm) return;
    presentEditScreen(self, alarm);
}

void commitEditing(id self, id table, long long style, id indexPath) {
    callLog::record(kList, "tableView:commitEditingStyle:forRowAtIndexPath:", format("%ld %@", style, Value(rowText(indexPath))));
    if (style != UITableViewCellEditingStyleDelete) return;
    Ref<Object> alarm = alarmAt(sel::row(indexPath));
    if (!alarm) return;
    Ref<Object> protector(self);
    sel::removeAlarm_(manager(), alarm);
    sel::deleteRowsAtIndexPaths_withRowAnimation_(table, Value::array({Value(indexPath)}), UITableViewRowAnimationFade);
    sel::reloadState(self);
}

}  // namespace

void registerAlarmListClasses() {
    ClassBuilder<AlarmView>(kView, "UIView")
        .ivar<&AlarmView::timeLabel_>("_timeLabel")
        .ivar<&AlarmView::enabledSwitch_>("_enabledSwitch")
        .method(sel::initWithFrame_, &initView)
        .method(sel::setName_andRepeatText_textColor_, &setName)
        .method(sel::layoutSubviews, &layoutAlarmView);

    ClassBuilder<AlarmTableViewCell>(kCell, "UITableViewCell")
        .ivar<&AlarmTableViewCell::alarmView_>("_alarmView")
        .method(sel::initWithStyle_reuseIdentifier_, &initCell)
        .method(sel::refreshUI_animated_, &refreshUI)
        .method(sel::_enabledSwitchChanged_, [](id self, id sender) {
            auto* c = as<AlarmTableViewCell>(self);
            callLog::record(kCell, "_enabledSwitchChanged:", describe(c->alarm_));
            if (!c->alarm_) return;
            Ref<Object> alarm = c->alarm_;
            sel::updateAlarm_active_(manager(), alarm, sel::isOn(sender));
            // The row shows the alarm's new state.
            sel::refreshUI_animated_(self, alarm, true);
            sel::setNeedsLayout(c->alarmView_);
        });

    ClassBuilder<AlarmViewController>(kList, "UIViewController")
        .method(sel::init, &initList)
        .method(sel::loadView, &loadList)
        .method(sel::viewDidLoad, [](id) { callLog::record(kList, "viewDidLoad"); })
        .method(sel::viewWillAppear_,
                [](id self, bool) {
                    callLog::record(kList, "viewWillAppear:");
                    sel::reloadData(list(self)->tableView_);
                })
        .method(sel::viewWillDisappear_, [](id, bool) { callLog::record(kList, "viewWillDisappear:"); })
        .method(sel::tableView,
                [](id self) -> Ref<Object> {
                    sel::view(self);
                    return list(self)->tableView_;
                })
        .method(sel::editButtonItem, &editButton)
        .method(sel::_editButtonClicked_, [](id self, id) { sel::setEditing_animated_(self, !list(self)->editing_, true); })
        .method(sel::_addButtonClicked_,
                [](id self, id) {
                    callLog::record(kList, "_addButtonClicked:");
                    presentEditScreen(self, sel::initWithDefaultValues(alloc("Alarm")));
                })
        .method(sel::isEditing, [](id self) { return list(self)->editing_; })
        .method(sel::setEditing_animated_, &setEditing)
        .method(sel::showEditViewForRow_, &showEditView)
        .method(sel::reloadState,
                [](id self) {
                    callLog::record(kList, "reloadState");
                    sel::setEnabled_(sel::editButtonItem(self), sel::alarms(manager()).count() > 0);
                })
        .method(sel::didEditAlarm_,
                [](id self, id alarm) {
                    callLog::record(kList, "didEditAlarm:", format("%@ %@", Value(describe(alarm)), sel::title(alarm)));
                    sel::reloadData(list(self)->tableView_);
                    sel::reloadState(self);
                })
        .method(sel::numberOfSectionsInTableView_, [](id, id) { return 1LL; })
        .method(sel::tableView_numberOfRowsInSection_,
                [](id, id, long long section) { return section == 0 ? static_cast<long long>(sel::alarms(manager()).count()) : 0LL; })
        .method(sel::tableView_cellForRowAtIndexPath_,
                [](id, id, id indexPath) -> Ref<Object> {
                    callLog::record(kList, "tableView:cellForRowAtIndexPath:", rowText(indexPath));
                    Ref<Object> cell = sel::initWithStyle_reuseIdentifier_(alloc(kCell), UITableViewCellStyleDefault, Value("AlarmCell"));
                    sel::refreshUI_animated_(cell, alarmAt(sel::row(indexPath)), false);
                    return cell;
                })
        .method(sel::tableView_didSelectRowAtIndexPath_,
                [](id self, id table, id indexPath) {
                    callLog::record(kList, "tableView:didSelectRowAtIndexPath:", rowText(indexPath));
                    Ref<Object> protector(self);
                    sel::deselectRowAtIndexPath_animated_(table, indexPath, true);
                    if (list(self)->editing_) sel::showEditViewForRow_(self, sel::row(indexPath));
                })
        .method(sel::tableView_shouldHighlightRowAtIndexPath_,
                [](id self, id, id indexPath) {
                    callLog::record(kList, "tableView:shouldHighlightRowAtIndexPath:", rowText(indexPath));
                    return list(self)->editing_;
                })
        .method(sel::tableView_canEditRowAtIndexPath_,
                [](id, id, id indexPath) {
                    callLog::record(kList, "tableView:canEditRowAtIndexPath:", rowText(indexPath));
                    return true;
                })
        .method(sel::tableView_editingStyleForRowAtIndexPath_,
                [](id self, id, id indexPath) {
                    callLog::record(kList, "tableView:editingStyleForRowAtIndexPath:", rowText(indexPath));
                    return list(self)->editing_ ? UITableViewCellEditingStyleDelete : UITableViewCellEditingStyleNone;
                })
        .method(sel::tableView_commitEditingStyle_forRowAtIndexPath_, &commitEditing);
}

}  // namespace mobiletimer
}  // namespace platform
