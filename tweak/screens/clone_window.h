// RS2CloneWindow: the window that clones an alarm of the Clock app's list,
// opened from the list's radial menu. Its table asks how many copies to make
// (1 to 100) and the time step between them (-59 to 59 minutes or -24 to 24
// hours); Clone adds the copies through the Clock app's AlarmManager, each a
// step after the one before (as minutes of the day, wrapping at midnight),
// titled after the source alarm with a running number and given its settings
// record. RS2CloneButton is the window's Cancel and Clone buttons.
//
// The window holds itself from makeKeyAndVisible until its close animation
// ends (its opener keeps it weakly, in cloneWindow). A rebuilt row keeps the
// values chosen in its control; a new window starts from the defaults. Clock
// app main thread only.
#pragma once

#include <string>

#include "platform/uikit/button.h"
#include "platform/uikit/table_view.h"
#include "platform/uikit/window.h"
#include "tweak/screens/selectors.h"

namespace rousa {

namespace sel {
inline constexpr Sel<void(id, id)> setTableView_{"setTableView:"};
inline constexpr Sel<void(id, id)> changeTimes_{"changeTimes:"};
inline constexpr Sel<void(id, id)> changeTime_{"changeTime:"};
inline constexpr Sel<void(id, id)> timeMeasureChanged_{"timeMeasureChanged:"};
inline constexpr Sel<void(id, id)> cancelClicked_{"cancelClicked:"};
inline constexpr Sel<void(id, id)> cloneClicked_{"cloneClicked:"};
}  // namespace sel

// The window's texts, loaded by LoadCloneWindowStrings.
extern std::string lTimesToClone, lAlarm, lAlarms, lTimeDifference, lCloneMinute, lCloneMinutes, lCloneHour, lCloneHours, lClone, lCancel;

// The controls of the rows that hold them (UISlider, UISlider, UISegmentedControl).
extern Ref<Object> timesField;   // copies, 1 to 100
extern Ref<Object> timeField;    // step, -59 to 59 (minutes) or -24 to 24 (hours)
extern Ref<Object> timeMeasure;  // unit of the step: segment 0 minutes, 1 hours

class RS2CloneWindow : public UIWindow {
public:
    Ref<Object> tableView;
    bool resized = false;  // row 7 has placed the window once
};

class RS2CloneButton : public UIButton {};

void registerCloneWindowClasses();
// The texts, through RS2Localizer.
void loadCloneWindowTexts();
// The radial menu's clone item: opens a clone window over the list's table
// for the alarm the long press began on.
void openCloneWindow(id table);

}  // namespace rousa
