// RS2AlertWindow: the full-screen window shown while an alarm rings in
// SpringBoard, over the lock screen or whatever is on screen. It dims and blurs
// what lies beneath, shows the alarm's title with Dismiss and (when the alarm
// may snooze) Snooze, or the arithmetic question with the number pad; its
// buttons drive SpringBoard's own snooze and dismiss. One shared instance,
// set up again for every ring. Main thread only.
#pragma once

#include "platform/uikit/window.h"
#include "tweak/screens/alert_controls.h"

namespace rousa {

namespace sel {
inline constexpr Sel<Ref<Object>(id, Rect, id)> initWithFrame_andAlarmObject_{"initWithFrame:andAlarmObject:"};
inline constexpr Sel<Ref<Object>(id, Rect, id)> initWithFrame_andAlert_{"initWithFrame:andAlert:"};
inline constexpr Sel<void(id, id)> setAlarmToSnooze_{"setAlarmToSnooze:"};
inline constexpr Sel<void(id, id)> setAlarmToDismiss_{"setAlarmToDismiss:"};
inline constexpr Sel<void(id)> setAlarmToSnooze{"setAlarmToSnooze"};
inline constexpr Sel<void(id)> setAlarmToDismiss{"setAlarmToDismiss"};
inline constexpr Sel<void(id, int)> hideSelf_{"hideSelf:"};
inline constexpr Sel<void(id)> hideSelf{"hideSelf"};
inline constexpr Sel<void(id)> hideAlarmView{"hideAlarmView"};
inline constexpr Sel<void(id, int)> showAlarmView_{"showAlarmView:"};
inline constexpr Sel<void(id)> showAlarmView{"showAlarmView"};
inline constexpr Sel<void(id)> calculateRS2ationAndAnswer{"calculateRS2ationAndAnswer"};
inline constexpr Sel<void(id, id)> checkNumberAgainstAnswer_{"checkNumberAgainstAnswer:"};
// The window's properties.
inline constexpr Sel<Ref<Object>(id)> alert{"alert"};
inline constexpr Sel<void(id, id)> setAlert_{"setAlert:"};
inline constexpr Sel<Ref<Object>(id)> alarm{"alarm"};
inline constexpr Sel<void(id, id)> setAlarm_{"setAlarm:"};
inline constexpr Sel<Ref<Object>(id)> alarmButtonContainer{"alarmButtonContainer"};
inline constexpr Sel<void(id, id)> setAlarmButtonContainer_{"setAlarmButtonContainer:"};
inline constexpr Sel<Ref<Object>(id)> alarmLabel{"alarmLabel"};
inline constexpr Sel<void(id, id)> setAlarmLabel_{"setAlarmLabel:"};
inline constexpr Sel<Ref<Object>(id)> dismiss{"dismiss"};
inline constexpr Sel<void(id, id)> setDismiss_{"setDismiss:"};
inline constexpr Sel<Ref<Object>(id)> snooze{"snooze"};
inline constexpr Sel<void(id, id)> setSnooze_{"setSnooze:"};
inline constexpr Sel<Ref<Object>(id)> numberPad{"numberPad"};
inline constexpr Sel<void(id, id)> setNumberPad_{"setNumberPad:"};
inline constexpr Sel<int(id)> answer{"answer"};
inline constexpr Sel<void(id, int)> setAnswer_{"setAnswer:"};
inline constexpr Sel<double(id)> answerInsane{"answerInsane"};
inline constexpr Sel<void(id, double)> setAnswerInsane_{"setAnswerInsane:"};
inline constexpr Sel<int(id)> input{"input"};
inline constexpr Sel<void(id, int)> setInput_{"setInput:"};
inline constexpr Sel<double(id)> insaneInput{"insaneInput"};
inline constexpr Sel<void(id, double)> setInsaneInput_{"setInsaneInput:"};
inline constexpr Sel<Ref<Object>(id)> question{"question"};
inline constexpr Sel<void(id, id)> setQuestion_{"setQuestion:"};
inline constexpr Sel<Ref<Object>(id)> answerLabel{"answerLabel"};
inline constexpr Sel<void(id, id)> setAnswerLabel_{"setAnswerLabel:"};
inline constexpr Sel<Ref<Object>(id)> check{"check"};
inline constexpr Sel<void(id, id)> setCheck_{"setCheck:"};
inline constexpr Sel<Ref<Object>(id)> checkBacker{"checkBacker"};
inline constexpr Sel<void(id, id)> setCheckBacker_{"setCheckBacker:"};
inline constexpr Sel<Ref<Object>(id)> questionContainer{"questionContainer"};
inline constexpr Sel<void(id, id)> setQuestionContainer_{"setQuestionContainer:"};
}  // namespace sel

class RS2AlertWindow : public UIWindow {
public:
    // The shared window: made once, initialised, hidden and empty.
    static RS2AlertWindow* sharedInstance();

    Ref<Object> alert;  // the iOS 7 alarm alert it was set up from
    Ref<Object> alarm;  // the Clock app's alarm it was set up from
    Ref<UIView> alarmButtonContainer;
    Ref<UILabel> alarmLabel;
    Ref<UIButton> dismiss;
    Ref<UIButton> snooze;
    Ref<RS2NumberPad> numberPad;
    int answer = 0;
    double answerInsane = 0;
    int input = 0;
    double insaneInput = 0;
    Ref<UILabel> question;
    Ref<UILabel> answerLabel;
    Ref<UIButton> check;
    Ref<UIView> checkBacker;
    Ref<UIView> questionContainer;

    // The difficulty the question was drawn for; the keys and the check use it.
    long long difficulty = 0;

    // Counts presentations, so that a hide that finishes after a newer
    // presentation leaves the window on screen.
    unsigned long long presentations = 0;
};

// The window has hidden SpringBoard's lock-screen view and not shown it again.
extern bool lockHidden;

// Presents the shared window for a ringing alarm: set up from the Clock app's
// alarm (or, on iOS 7, from SpringBoard's alarm alert), visible, faded in over
// 0.3 s; the buttons-only form skips the question. On the main thread; from
// another thread it runs synchronously on the main queue. Returns the window.
RS2AlertWindow* presentAlertWindow(id alarmObject, id iOS7Alert, bool buttonsOnly);

void registerAlertWindowClass();

}  // namespace rousa
