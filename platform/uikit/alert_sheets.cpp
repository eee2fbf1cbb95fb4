#include "platform/uikit/alert_sheets.h"

#include <algorithm>

#include "platform/foundation/format.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/screen.h"

namespace platform {

namespace {

// What is on screen keeps its sheet or alert.
std::vector<Ref<UIButtonedAlert>>& onScreen() {
    static auto* list = new std::vector<Ref<UIButtonedAlert>>();
    return *list;
}

void putOnScreen(UIButtonedAlert* a) {
    if (a->visible_) return;
    a->visible_ = true;
    onScreen().emplace_back(a);
}

void takeOffScreen(UIButtonedAlert* a) {
    if (!a->visible_) return;
    a->visible_ = false;
    Ref<UIButtonedAlert> protector(a);
    auto& list = onScreen();
    list.erase(std::remove(list.begin(), list.end(), protector), list.end());
}

template <class T>
std::vector<Ref<T>> visibleOf() {
    std::vector<Ref<T>> out;
    for (const auto& a : onScreen())
        if (auto* t = as<T>(a.get())) out.emplace_back(t);
    return out;
}

UIButtonedAlert* alert(id self) { return as<UIButtonedAlert>(self); }
UIActionSheet* sheet(id self) { return as<UIActionSheet>(self); }
UIAlertView* alertView(id self) { return as<UIAlertView>(self); }

void addTitles(UIButtonedAlert* a, const Value& titles) {
    if (titles.isString()) a->addButton(titles);
    for (const Value& t : titles.array()) a->addButton(t);
}

std::size_t fieldsFor(long long style) {
    switch (style) {
        case UIAlertViewStyleSecureTextInput:
        case UIAlertViewStylePlainTextInput: return 1;
        case UIAlertViewStyleLoginAndPasswordInput: return 2;
        default: return 0;
    }
}

template <class T>
void registerShared(ClassBuilder<T>& b) {
    b.method(sel::title, [](id self) { return alert(self)->title_; })
        .method(sel::setTitle_, [](id self, Value t) { alert(self)->title_ = t; })
        .method(sel::delegate, [](id self) { return alert(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id d) { alert(self)->delegate_ = d; })
        .method(sel::addButtonWithTitle_, [](id self, Value t) { return alert(self)->addButton(t); })
        .method(sel::numberOfButtons, [](id self) { return static_cast<long long>(alert(self)->buttonTitles_.size()); })
        .method(sel::buttonTitleAtIndex_,
                [](id self, long long i) {
                    const auto& titles = alert(self)->buttonTitles_;
                    return i >= 0 && i < static_cast<long long>(titles.size()) ? titles[static_cast<std::size_t>(i)] : Value();
                })
        .method(sel::cancelButtonIndex, [](id self) { return alert(self)->cancelButtonIndex_; })
        .method(sel::setCancelButtonIndex_, [](id self, long long i) { alert(self)->cancelButtonIndex_ = i; })
        .method(sel::isVisible, [](id self) { return alert(self)->visible_; })
        .method(sel::dismissWithClickedButtonIndex_animated_, [](id self, long long, bool) { takeOffScreen(alert(self)); });
}

void showSheet(id self, id view, Rect from) {
    auto* s = sheet(self);
    s->shownInView_ = as<UIView>(view);
    s->shownFromRect_ = from;
    s->inPopover_ = uikit::deviceTraits().interfaceIdiom == UIUserInterfaceIdiomPad;
    putOnScreen(s);
}

}  // namespace

long long UIButtonedAlert::addButton(const Value& title) {
    buttonTitles_.push_back(title);
    return static_cast<long long>(buttonTitles_.size()) - 1;
}

void UIButtonedAlert::clickButton(long long index) {
    if (!visible_) return;
    Ref<UIButtonedAlert> protector(this);
    if (Ref<Object> delegate = delegate_.lock()) reportClick(delegate, index);
    sel::dismissWithClickedButtonIndex_animated_(this, index, true);
}

void UIActionSheet::reportClick(id delegate, long long index) {
    if (respondsToSelector(delegate, sel::actionSheet_clickedButtonAtIndex_.name)) sel::actionSheet_clickedButtonAtIndex_(delegate, this, index);
}

void UIAlertView::reportClick(id delegate, long long index) {
    if (respondsToSelector(delegate, sel::alertView_clickedButtonAtIndex_.name)) sel::alertView_clickedButtonAtIndex_(delegate, this, index);
}

void UIActionSheet::tapOutside() {
    if (visible_ && inPopover_) clickButton(cancelButtonIndex_);
}

std::vector<Ref<UIActionSheet>> UIActionSheet::visibleSheets() { return visibleOf<UIActionSheet>(); }
std::vector<Ref<UIAlertView>> UIAlertView::visibleAlerts() { return visibleOf<UIAlertView>(); }

namespace uikit::detail {

void registerAlertSheets() {
    ClassBuilder<UIActionSheet> sheets("UIActionSheet", "UIView");
    registerShared(sheets);
    sheets
        .method(sel::initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles_,
                [](id self, Value title, id delegate, Value cancel, Value destructive, Value others) -> Ref<Object> {
                    Ref<Object> base = sel::init(self);
                    auto* s = sheet(base.get());
                    if (!s) return base;
                    s->title_ = title;
                    s->delegate_ = delegate;
                    if (destructive.isString()) s->destructiveButtonIndex_ = s->addButton(destructive);
                    addTitles(s, others);
                    if (cancel.isString()) s->cancelButtonIndex_ = s->addButton(cancel);
                    return base;
                })
        .method(sel::showInView_, [](id self, id view) { showSheet(self, view, Rect::null()); })
        .method(sel::showFromRect_inView_animated_, [](id self, Rect rect, id view, bool) { showSheet(self, view, rect); });

    ClassBuilder<UIAlertView> alerts("UIAlertView", "UIView");
    registerShared(alerts);
    alerts
        .method(sel::initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles_,
                [](id self, Value title, Value message, id delegate, Value cancel, Value others) -> Ref<Object> {
                    Ref<Object> base = sel::init(self);
                    auto* a = alertView(base.get());
                    if (!a) return base;
                    a->title_ = title;
                    a->message_ = message;
                    a->delegate_ = delegate;
                    if (cancel.isString()) a->cancelButtonIndex_ = a->addButton(cancel);
                    addTitles(a, others);
                    return base;
                })
        .property<&UIAlertView::message_>(sel::message, sel::setMessage_)
        .method(sel::alertViewStyle, [](id self) { return alertView(self)->alertViewStyle_; })
        .method(sel::setAlertViewStyle_,
                [](id self, long long style) {
                    auto* a = alertView(self);
                    a->alertViewStyle_ = style;
                    a->textFields_.resize(std::min(a->textFields_.size(), fieldsFor(style)));
                    while (a->textFields_.size() < fieldsFor(style)) a->textFields_.push_back(as<UITextField>(newObject("UITextField")));
                })
        .method(sel::textFieldAtIndex_,
                [](id self, long long i) -> Ref<Object> {
                    auto* a = alertView(self);
                    if (i < 0 || i >= static_cast<long long>(a->textFields_.size()))
                        raise("NSRangeException", format("textFieldIndex (%ld) is outside of the bounds of the array of text fields", i));
                    return a->textFields_[static_cast<std::size_t>(i)];
                })
        .method(sel::show, [](id self) { putOnScreen(alertView(self)); });
}

}  // namespace uikit::detail
}  // namespace platform
