#include "tweak/screens/clone_window.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/foundation/bundle.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/animation.h"
#include "platform/uikit/segmented_control.h"
#include "tweak/engine/delay.h"
#include "tweak/engine/localizer.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/store.h"
#include "tweak/screens/alarm_list.h"
#include "tweak/screens/alarm_list_state.h"
#include "tweak/screens/edit_alarm.h"
#include "tweak/screens/radial_menu.h"

namespace rousa {

// Constant-initialised: the start-up fills them from a load-time constructor.
constinit std::string lTimesToClone, lAlarm, lAlarms, lTimeDifference, lCloneMinute, lCloneMinutes, lCloneHour, lCloneHours, lClone, lCancel;
constinit Ref<Object> timesField, timeField, timeMeasure;

namespace {

constexpr long long kRows = 8;
constexpr long long kButtonsRow = 7;
constexpr double kControlHeight = 32;
constexpr double kMinutesPerDay = 24 * 60;
constexpr const char* kDefaultTitleKey = "ALARM_DEFAULT_TITLE";

// The clone windows that hold themselves while they are open.
constinit std::vector<Ref<Object>> openWindows;

Class* windowClass() {
    static Class* c = objc_getClass("RS2CloneWindow");
    return c;
}

Class* buttonClass() {
    static Class* c = objc_getClass("RS2CloneButton");
    return c;
}

RS2CloneWindow* windowOf(id self) { return as<RS2CloneWindow>(self); }

Class* colors() { return objc_getClass("UIColor"); }
Ref<Object> clearColor() { return sel::clearColor(colors()); }
Ref<Object> greyText() { return sel::colorWithWhite_alpha_(colors(), 0.7, 1.0); }
Ref<Object> halfRed() { return sel::colorWithRed_green_blue_alpha_(colors(), 1.0, 0.0, 0.0, 0.5); }

void holdWindow(id window) {
    if (std::none_of(openWindows.begin(), openWindows.end(), [&](const Ref<Object>& w) { return w.get() == window; }))
        openWindows.emplace_back(window);
}

void releaseWindow(id window) {
    // The last reference may be this one: the window goes after the erase.
    Ref<Object> last(window);
    std::erase_if(openWindows, [&](const Ref<Object>& w) { return w.get() == window; });
}

// --- texts --------------------------------------------------------------------------------------------

std::string countText(float copies) { return format("%.0f %@", copies, Value(copies > 1.0f ? lAlarms : lAlarm)); }

// The step's text; the plural for values above 1, and after a change also below -1.
std::string stepText(float step, bool negativePlural) {
    const bool hours = sel::selectedSegmentIndex(timeMeasure) == 1;
    const bool plural = step > 1.0f || (negativePlural && step < -1.0f);
    const std::string& unit = hours ? (plural ? lCloneHours : lCloneHour) : (plural ? lCloneMinutes : lCloneMinute);
    return format("%.0f %@", step, Value(unit));
}

void setRowText(id window, long long row, const std::string& text) {
    Ref<Object> cell = sel::cellForRowAtIndexPath_(windowOf(window)->tableView, NSIndexPath::make(0, row));
    sel::setText_(sel::textLabel(cell), Value(text));
}

// A whole number the way "%.0f" writes it: the nearest, halves to the even one.
int wholeNumber(float value) { return Value(format("%.0f", value)).intValue(); }

// --- content ------------------------------------------------------------------------------------------

void buildContent(RS2CloneWindow* w) {
    // A new window starts from the defaults.
    timesField = timeField = timeMeasure = nullptr;
    w->resized = false;
    const Rect bounds = sel::bounds(w);
    Ref<Object> table = sel::initWithFrame_style_(alloc("UITableView"), bounds, UITableViewStylePlain);
    sel::setTableView_(w, table);
    sel::setDelegate_(table, w);
    sel::setDataSource_(table, w);
    sel::setAlwaysBounceVertical_(table, false);
    sel::setBackgroundColor_(table, clearColor());
    sel::setSeparatorStyle_(table, UITableViewCellSeparatorStyleNone);

    Ref<Object> blur = sel::effectWithStyle_(objc_getClass("UIBlurEffect"), 1);
    Ref<Object> blurView = sel::initWithEffect_(alloc("UIVisualEffectView"), blur);
    if (!blurView) {
        // Without visual effects (iOS 7) the table goes straight into the window.
        sel::addSubview_(w, table);
        return;
    }
    sel::setFrame_(blurView, Rect(0, 0, bounds.width(), bounds.height()));
    sel::addSubview_(w, blurView);
    Ref<Object> vibrancy = sel::effectForBlurEffect_(objc_getClass("UIVibrancyEffect"), blur);
    Ref<Object> vibrancyView = sel::initWithEffect_(alloc("UIVisualEffectView"), vibrancy);
    sel::setFrame_(vibrancyView, bounds);
    sel::addSubview_(sel::contentView(blurView), vibrancyView);
    sel::addSubview_(vibrancyView, table);
}

void placeControl(id window, id control, id content, Size area, SEL action) {
    sel::setFrame_(control, Rect(10, (area.height - kControlHeight) / 2, area.width - 20, kControlHeight));
    sel::setAutoresizingMask_(control, UIViewAutoresizingFlexibleWidth);
    sel::setTintColor_(control, accentColor());
    sel::setBackgroundColor_(control, clearColor());
    sel::addTarget_action_forControlEvents_(control, window, action, UIControlEventValueChanged);
    sel::addSubview_(content, control);
}

// A slider for a row; a rebuilt row's slider keeps the range and value of the one it replaces.
Ref<Object> makeSlider(const Ref<Object>& previous, float minimum, float maximum, float value) {
    Ref<Object> slider = newObject("UISlider");
    sel::setMinimumValue_(slider, previous ? sel::minimumValue(previous) : minimum);
    sel::setMaximumValue_(slider, previous ? sel::maximumValue(previous) : maximum);
    sel::setValue_(slider, previous ? sel::value(previous) : value);
    return slider;
}

Ref<Object> line(Rect frame) {
    Ref<Object> view = sel::initWithFrame_(alloc("UIView"), frame);
    sel::setBackgroundColor_(view, halfRed());
    return view;
}

Ref<Object> button(id window, Rect frame, const std::string& title, SEL action) {
    Ref<Object> b = sel::buttonWithType_(buttonClass(), UIButtonTypeCustom);
    sel::setFrame_(b, frame);
    sel::setBackgroundColor_(b, clearColor());
    sel::setTitleColor_forState_(b, accentColor(), UIControlStateNormal);
    sel::setTitleColor_forState_(b, sel::whiteColor(colors()), UIControlStateHighlighted);
    sel::setTitle_forState_(b, Value(title), UIControlStateNormal);
    sel::addTarget_action_forControlEvents_(b, window, action, UIControlEventTouchUpInside);
    return b;
}

void styleText(id label, const std::string& text, id color, long long alignment, bool fit) {
    sel::setText_(label, Value(text));
    sel::setTextColor_(label, color);
    sel::setTextAlignment_(label, alignment);
    if (fit) sel::sizeToFit(label);
}

void buildButtonsRow(id self, id content, Rect contentFrame) {
    auto* w = windowOf(self);
    const double Hc = contentFrame.height();
    // Once per window. After the first build the window is 25 points taller
    // than eight rows, so each rebuild would move it down by half of that, 12
    // points: a table that asks for the row again (a scroll, a reload) would
    // walk the window off its place. The first build sets the frame for good.
    if (!w->resized) {
        w->resized = true;
        const Rect f = sel::frame(w);
        const double S = std::floor(8 * Hc);
        const double D = std::trunc((f.height() - S) / 2);
        sel::setFrame_(w, Rect(f.x(), f.y() + D, f.width(), S + 25));
    }
    const double grown = Hc + 25;
    sel::setFrame_(content, Rect(contentFrame.x(), contentFrame.y(), contentFrame.width(), grown));
    const double W = sel::frame(w).width();
    Ref<Object> top = sel::initWithFrame_(alloc("UIView"), Rect(0, 0, W, 15));
    sel::setBackgroundColor_(top, clearColor());
    sel::addSubview_(content, top);
    sel::addSubview_(content, line(Rect(0, 15, W, 1)));
    sel::addSubview_(content, line(Rect(W / 2 - 0.5, 15, 1, grown - 15)));
    sel::addSubview_(content, button(self, Rect(0, 15, W / 2 - 0.5, grown - 15), lCancel, sel::cancelClicked_));
    sel::addSubview_(content, button(self, Rect(W / 2, 15, W / 2 - 0.5, grown - 15), lClone, sel::cloneClicked_));
}

Ref<Object> cellForRow(id self, id, id indexPath) {
    const long long row = sel::row(indexPath);
    Ref<Object> cell = sel::initWithStyle_reuseIdentifier_(alloc("UITableViewCell"), UITableViewCellStyleDefault, Value("cloneCell"));
    sel::setAccessoryType_(cell, UITableViewCellAccessoryNone);
    sel::setSelectionStyle_(cell, UITableViewCellSelectionStyleNone);
    sel::setBackgroundColor_(cell, clearColor());
    Ref<Object> content = sel::contentView(cell);
    const Rect contentFrame = sel::frame(content);
    const Size area = contentFrame.size;
    Ref<Object> label = sel::textLabel(cell);
    switch (row) {
        case 0: styleText(label, lTimesToClone, accentColor(), NSTextAlignmentCenter, true); break;
        case 1:
            styleText(label, "", accentColor(), NSTextAlignmentLeft, false);
            timesField = makeSlider(timesField, 1, 100, 1);
            placeControl(self, timesField, content, area, sel::changeTimes_);
            break;
        case 2:
            styleText(label, countText(sel::value(timesField)), greyText(), NSTextAlignmentCenter, false);
            sel::addSubview_(content, line(Rect(0, area.height, sel::frame(self).width(), 1)));
            break;
        case 3:
            styleText(label, lTimeDifference, accentColor(), NSTextAlignmentCenter, true);
            sel::setBackgroundView_(cell, newObject("UIView"));
            sel::setSelectedBackgroundView_(cell, newObject("UIView"));
            break;
        case 4:
            styleText(label, "", accentColor(), NSTextAlignmentLeft, false);
            timeField = makeSlider(timeField, -59, 59, 5);
            placeControl(self, timeField, content, area, sel::changeTime_);
            break;
        case 5: styleText(label, stepText(sel::value(timeField), false), greyText(), NSTextAlignmentCenter, false); break;
        case 6: {
            styleText(label, "", accentColor(), NSTextAlignmentLeft, false);
            const long long segment = timeMeasure ? sel::selectedSegmentIndex(timeMeasure) : 0;
            timeMeasure = sel::initWithItems_(alloc("UISegmentedControl"), Value::array({Value(lCloneMinutes), Value(lCloneHours)}));
            sel::setSelectedSegmentIndex_(timeMeasure, segment);
            placeControl(self, timeMeasure, content, area, sel::timeMeasureChanged_);
            sel::setFrame_(content, Rect(contentFrame.x(), contentFrame.y(), area.width, area.height + 10));
            break;
        }
        case kButtonsRow:
            styleText(label, "", greyText(), NSTextAlignmentCenter, false);
            buildButtonsRow(self, content, contentFrame);
            break;
        default: break;
    }
    return cell;
}

// --- closing and cloning ------------------------------------------------------------------------------------

// Shrinks the window to nothing; when that ends the window lets itself go.
void shrinkAndClose(id self) {
    Ref<Object> window(self);
    UIView::animateWithDuration(
        0.3, 0.0, UIViewAnimationOptionCurveEaseIn,
        [window] { sel::setTransform_(window, AffineTransform::makeScale(0.001, 0.001)); },
        [window](bool) { releaseWindow(window); });
}

Ref<Object> progressWindow(id cloneWindowSelf) {
    const Rect table = sel::frame(alarmTableView.lock());
    const Rect bounds = sel::bounds(cloneWindowSelf);
    Ref<Object> window = sel::initWithFrame_(alloc("UIWindow"), Rect(table.width() / 2 - 50, bounds.height() / 2, 100, 100));
    sel::setBackgroundColor_(window, sel::whiteColor(colors()));
    Ref<Object> layer = sel::layer(window);
    sel::setCornerRadius_(layer, 30);
    sel::setMasksToBounds_(layer, true);
    Ref<Object> spinner = sel::initWithFrame_(alloc("UIActivityIndicatorView"), Rect(25, 25, 50, 50));
    sel::setColor_(spinner, sel::redColor(colors()));
    sel::startAnimating(spinner);
    sel::setTransform_(spinner, AffineTransform::makeScale(1.5, 1.5));
    sel::addSubview_(window, spinner);
    const Rect f = sel::frame(window);
    sel::setFrame_(window, Rect(f.x() - 1, f.y() - 1, f.width() + 2, f.height() + 2));
    sel::setBorderColor_(layer, halfRed());
    sel::setBorderWidth_(layer, 1.0);
    sel::makeKeyAndVisible(window);
    return window;
}

// The title of the copies: the source's, or the Clock app's own default title.
std::string titleBase(id source) {
    Value title = sel::title(source);
    Ref<NSBundle> clock = NSBundle::bundleWithIdentifier(kClockBundleIdentifier);
    auto localized = [&](const std::string& key) { return clock ? clock->localizedStringForKey(key, Value(""), Value()) : std::string(); };
    std::string base = title.stringOr("");
    if (base == kDefaultTitleKey) base = localized(base);
    if (base.empty()) base = localized(kDefaultTitleKey);
    return base;
}

void cloneLoop(const Ref<Object>& source, Ref<Object> progress) {
    const long long step = static_cast<long long>(wholeNumber(sel::value(timeField))) * 60 * (sel::selectedSegmentIndex(timeMeasure) == 1 ? 60 : 1);
    const int n = wholeNumber(sel::value(timesField));
    Ref<KAlarm> record = RousaGetAlarm(sel::alarmId(source));
    Ref<Object> manager = sel::sharedManager(objc_getClass("AlarmManager"));
    Ref<Object> table = alarmTableView.lock();
    const std::string base = titleBase(source);
    // Minutes of the day, so that a daylight-saving change moves no copy.
    long long minutes = sel::hour(source) * 60 + sel::minute(source);
    for (int i = 1; i <= n; ++i) {
        Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
        sel::setAllowsSnooze_(alarm, sel::allowsSnooze(source));
        sel::setDaySetting_(alarm, sel::daySetting(source));
        sel::setHour_(alarm, sel::hour(source));
        sel::setMinute_(alarm, sel::minute(source));
        sel::setSound_ofType_(alarm, sel::sound(source), sel::soundType(source));
        const int number = step >= 0 ? i + 1 : n + 2 - i;
        sel::setTitle_(alarm, Value(format("%@ #%d", Value(base), number)));
        minutes = ((minutes + step / 60) % static_cast<long long>(kMinutesPerDay) + static_cast<long long>(kMinutesPerDay)) %
                  static_cast<long long>(kMinutesPerDay);
        sel::setHour_(alarm, minutes / 60);
        sel::setMinute_(alarm, minutes % 60);

        sel::beginUpdates(table);
        const long long before = static_cast<long long>(sel::alarms(manager).count());
        sel::addAlarm_active_(manager, alarm, sel::isActive(source));
        const long long added = static_cast<long long>(sel::alarms(manager).count()) - before;
        // As many rows as alarms were added, from the second row on.
        std::vector<IndexPath> rows;
        for (long long k = 0; k < added; ++k) rows.push_back({0, std::min<long long>(1, before) + k});
        if (!rows.empty()) sel::insertRowsAtIndexPaths_withRowAnimation_(table, indexPathArray(rows), UITableViewRowAnimationAutomatic);
        sel::endUpdates(table);

        // The copy takes the source's settings; without a record it keeps the default one it was given.
        if (record) {
            record->setAlarmId(sel::alarmId(alarm));
            RousaSetAlarm(record);
        }
    }
    NSThread::sleepForTimeInterval(1.0);
    progress = nullptr;  // the progress window goes
    sel::reloadData(table);
}

void cloneClicked(id self, id) {
    Ref<Object> protector(self);
    Ref<Object> source = currentStockAlarm;
    if (!source) {
        shrinkAndClose(self);
        return;
    }
    Ref<Object> progress = progressWindow(self);
    shrinkAndClose(self);
    dispatch_after(delayFromNow(0.5), dispatch_get_main_queue(),
                   [source, progress]() mutable { cloneLoop(source, std::move(progress)); });
}

void timeMeasureChanged(id self, id control) {
    if (sel::selectedSegmentIndex(control) == 1) {
        sel::setMinimumValue_(timeField, -24);
        sel::setMaximumValue_(timeField, 24);
        const float v = sel::value(timeField);
        if (v > 24) sel::setValue_(timeField, 24);
        if (v < -24) sel::setValue_(timeField, -24);
    } else {
        sel::setMinimumValue_(timeField, -59);
        sel::setMaximumValue_(timeField, 59);
    }
    sel::changeTime_(self, timeField);
}

}  // namespace

void loadCloneWindowTexts() {
    lTimesToClone = localizedText("TIMES_TO_CLONE");
    lAlarm = localizedText("LABEL_ALARM");
    lAlarms = localizedText("LABEL_ALARMS");
    lTimeDifference = localizedText("TIME_DIFFERENCE");
    lCloneMinute = localizedText("MINUTE");
    lCloneMinutes = localizedText("MINUTES");
    lCloneHour = localizedText("HOUR");
    lCloneHours = localizedText("HOURS");
    lClone = localizedText("CLONE");
    lCancel = localizedText("POPUP_CANCEL");
}

void openCloneWindow(id table) {
    Ref<Object> list(table);
    const Rect F = sel::frame(list);
    Ref<Object> window = sel::initWithFrame_(alloc("RS2CloneWindow"), Rect(F.x() + 25, F.y() + 75, F.width() - 50, F.height() - 150));
    if (!window) return;
    cloneWindow = window.get();
    Ref<Object> layer = sel::layer(window);
    sel::setCornerRadius_(layer, 30);
    sel::setMasksToBounds_(layer, true);
    sel::setBackgroundColor_(window, sel::colorWithWhite_alpha_(colors(), 1.0, 0.5));
    sel::setAutoresizingMask_(window, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    const Rect f = sel::frame(window);
    sel::setFrame_(window, Rect(f.x() - 1, f.y() - 1, f.width() + 2, f.height() + 2));
    sel::setBorderColor_(layer, halfRed());
    sel::setBorderWidth_(layer, 1.0);
    // The alarm to clone is the pressed one, fixed now: Clone may come before the window has grown.
    const Value alarms = sel::alarms(sel::sharedManager(objc_getClass("AlarmManager")));
    currentStockAlarm = longPressedRow >= 0 ? Ref<Object>(alarms.at(static_cast<std::size_t>(longPressedRow)).object()) : nullptr;
    sel::makeKeyAndVisible(window);
    sel::setTransform_(window, AffineTransform::makeScale(0.01, 0.01));
    WeakRef<Object> weakTable(table);
    UIView::animateWithDuration(
        0.3, 0.0, UIViewAnimationOptionCurveEaseOut, [window] { sel::setTransform_(window, AffineTransform::identity()); },
        [weakTable](bool) {
            if (Ref<Object> t = weakTable.lock()) alarmTableView = t.get();
        });
}

void registerCloneWindowClasses() {
    ClassBuilder<RS2CloneButton>("RS2CloneButton", "UIButton").method(sel::setHighlighted_, [](id self, bool highlighted) {
        sel::setBackgroundColor_(self, highlighted ? accentColor() : clearColor());
        sel::setHighlighted_.super(buttonClass(), self, highlighted);
    });

    ClassBuilder<RS2CloneWindow>("RS2CloneWindow", "UIWindow")
        .protocol("UITableViewDelegate")
        .protocol("UITableViewDataSource")
        .method(sel::tableView, [](id self) { return windowOf(self)->tableView; })
        .method(sel::setTableView_, [](id self, id table) { windowOf(self)->tableView = table; })
        .method(sel::makeKeyAndVisible,
                [](id self) {
                    sel::makeKeyAndVisible.super(windowClass(), self);
                    holdWindow(self);
                    buildContent(windowOf(self));
                })
        .method(sel::numberOfSectionsInTableView_, [](id, id) { return 1LL; })
        .method(sel::tableView_numberOfRowsInSection_, [](id, id, long long) { return kRows; })
        .method(sel::tableView_heightForRowAtIndexPath_,
                [](id, id, id indexPath) { return sel::section(indexPath) == 0 && sel::row(indexPath) == kButtonsRow ? 68.0 : 44.0; })
        .method(sel::tableView_cellForRowAtIndexPath_, &cellForRow)
        .method(sel::tableView_didSelectRowAtIndexPath_, [](id, id, id) {})
        .method(sel::changeTimes_, [](id self, id) { setRowText(self, 2, countText(sel::value(timesField))); })
        .method(sel::changeTime_, [](id self, id) { setRowText(self, 5, stepText(sel::value(timeField), true)); })
        .method(sel::timeMeasureChanged_, &timeMeasureChanged)
        .method(sel::cancelClicked_, [](id self, id) { shrinkAndClose(self); })
        .method(sel::cloneClicked_, &cloneClicked);
}

}  // namespace rousa
