#include "platform/frameworks/eventkit.h"

#include <mutex>
#include <vector>

#include "platform/foundation/dispatch.h"

namespace platform::eventkit {

namespace {

std::mutex requestsMutex;
std::vector<EKEventStoreRequestAccessCompletionHandler>& requests() {
    static std::vector<EKEventStoreRequestAccessCompletionHandler> waiting;
    return waiting;
}

EKEvent* eventOf(id self) { return as<EKEvent>(self); }
EKEventEditViewController* sheetOf(id self) { return as<EKEventEditViewController>(self); }

}  // namespace

std::size_t pendingAccessRequests() {
    std::lock_guard lock(requestsMutex);
    return requests().size();
}

void answerAccessRequests(bool granted) {
    std::vector<EKEventStoreRequestAccessCompletionHandler> answered;
    {
        std::lock_guard lock(requestsMutex);
        answered.swap(requests());
    }
    for (auto& completion : answered)
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                       [completion = std::move(completion), granted] { completion(granted, nullptr); });
}

void finish(EKEventEditViewController* sheet, long long action) {
    if (!sheet) return;
    Ref<EKEventEditViewController> protector(sheet);
    Ref<Object> delegate = sheet->editViewDelegate_.lock();
    if (delegate && respondsToSelector(delegate, sel::eventEditViewController_didCompleteWithAction_.name))
        sel::eventEditViewController_didCompleteWithAction_(delegate, sheet, action);
}

void registerClasses() {
    ClassBuilder<EKEventStore>("EKEventStore", "NSObject")
        .method(sel::requestAccessToEntityType_completion_, [](id, long long, EKEventStoreRequestAccessCompletionHandler completion) {
            if (!completion) return;
            std::lock_guard lock(requestsMutex);
            requests().push_back(std::move(completion));
        });
    ClassBuilder<EKEvent>("EKEvent", "NSObject")
        .classMethod(sel::eventWithEventStore_,
                     [](id, id store) {
                         Ref<Object> event = newObject("EKEvent");
                         eventOf(event.get())->eventStore_ = WeakRef<Object>(store);
                         return event;
                     })
        .method(sel::title, [](id self) { return eventOf(self)->title_; })
        .method(sel::setTitle_, [](id self, Value title) { eventOf(self)->title_ = title; })
        .method(sel::notes, [](id self) { return eventOf(self)->notes_; })
        .method(sel::setNotes_, [](id self, Value notes) { eventOf(self)->notes_ = notes; })
        .method(sel::eventLocation, [](id self) { return eventOf(self)->location_; })
        .method(sel::setEventLocation_, [](id self, Value location) { eventOf(self)->location_ = location; })
        .method(sel::startDate, [](id self) { return eventOf(self)->startDate_; })
        .method(sel::setStartDate_, [](id self, Value date) { eventOf(self)->startDate_ = date; })
        .method(sel::endDate, [](id self) { return eventOf(self)->endDate_; })
        .method(sel::setEndDate_, [](id self, Value date) { eventOf(self)->endDate_ = date; })
        .method(sel::eventStore, [](id self) { return eventOf(self)->eventStore_.lock(); });
    ClassBuilder<EKEventEditViewController>("EKEventEditViewController", "UIViewController")
        .method(sel::eventStore, [](id self) { return sheetOf(self)->eventStore_; })
        .method(sel::setEventStore_, [](id self, id store) { sheetOf(self)->eventStore_ = Ref<Object>(store); })
        .method(sel::event, [](id self) { return sheetOf(self)->event_; })
        .method(sel::setEvent_, [](id self, id event) { sheetOf(self)->event_ = Ref<Object>(event); })
        .method(sel::editViewDelegate, [](id self) { return sheetOf(self)->editViewDelegate_.lock(); })
        .method(sel::setEditViewDelegate_, [](id self, id delegate) { sheetOf(self)->editViewDelegate_ = WeakRef<Object>(delegate); });
}

}  // namespace platform::eventkit
