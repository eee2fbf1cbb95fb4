// EventKit and EventKitUI: the event store's access request, events with
// their title, notes, location and dates, and the event edit sheet. A test
// answers the access requests (on a background queue, as the platform does)
// and ends the edit sheet as the user would; the sheet's delegate is weak.
// Main thread only, except the answer's completion.
#pragma once

#include <functional>

#include "platform/frameworks/selectors.h"
#include "platform/uikit/view_controller.h"

namespace platform {

inline constexpr long long EKEntityTypeEvent = 0;
inline constexpr long long EKEventEditViewActionCanceled = 0;
inline constexpr long long EKEventEditViewActionSaved = 1;
inline constexpr long long EKEventEditViewActionDeleted = 2;

// (granted, error)
using EKEventStoreRequestAccessCompletionHandler = std::function<void(bool granted, id error)>;

namespace sel {
inline constexpr Sel<void(id, long long, EKEventStoreRequestAccessCompletionHandler)> requestAccessToEntityType_completion_{
    "requestAccessToEntityType:completion:"};
inline constexpr Sel<Ref<Object>(id, id)> eventWithEventStore_{"eventWithEventStore:"};  // class method of EKEvent
inline constexpr Sel<void(id, Value)> setNotes_{"setNotes:"};
inline constexpr Sel<Value(id)> notes{"notes"};
// EKEvent's location is a string.
inline constexpr Sel<void(id, Value)> setEventLocation_{"setLocation:"};
inline constexpr Sel<Value(id)> eventLocation{"location"};
inline constexpr Sel<void(id, Value)> setStartDate_{"setStartDate:"};
inline constexpr Sel<Value(id)> startDate{"startDate"};
inline constexpr Sel<void(id, Value)> setEndDate_{"setEndDate:"};
inline constexpr Sel<Value(id)> endDate{"endDate"};
inline constexpr Sel<Ref<Object>(id)> eventStore{"eventStore"};
inline constexpr Sel<void(id, id)> setEventStore_{"setEventStore:"};
inline constexpr Sel<Ref<Object>(id)> event{"event"};
inline constexpr Sel<void(id, id)> setEvent_{"setEvent:"};
inline constexpr Sel<Ref<Object>(id)> editViewDelegate{"editViewDelegate"};
inline constexpr Sel<void(id, id)> setEditViewDelegate_{"setEditViewDelegate:"};
// The delegate's: the user ended the sheet.
inline constexpr Sel<void(id, id, long long)> eventEditViewController_didCompleteWithAction_{"eventEditViewController:didCompleteWithAction:"};
}  // namespace sel

class EKEventStore : public NSObject {};

class EKEvent : public NSObject {
public:
    WeakRef<Object> eventStore_;
    Value title_;
    Value notes_;
    Value location_;
    Value startDate_;
    Value endDate_;
};

class EKEventEditViewController : public UIViewController {
public:
    Ref<Object> eventStore_;
    Ref<Object> event_;
    WeakRef<Object> editViewDelegate_;
};

namespace eventkit {
// Access requests not answered yet.
std::size_t pendingAccessRequests();
// Answers every waiting access request, each completion on a global queue.
void answerAccessRequests(bool granted);
// The user ends the sheet: its delegate hears the action.
void finish(EKEventEditViewController* sheet, long long action);
void registerClasses();
}  // namespace eventkit

}  // namespace platform
