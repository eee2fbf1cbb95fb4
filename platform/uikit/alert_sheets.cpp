#include "platform/uikit/alert_sheets.h"

#include <algorithm>

#include "platform/foundation/format.h"
#include "platform/uikit/button.h"
#include "platform/uikit/font.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/label.h"
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
    // A window over the screen: what lies outside the alert takes no touches.
    a->window_ = UIView::make<UIWindow>("UIWindow", UIScreen::mainScreen()->bounds());
    sel::setWindowLevel_(a->window_, UIWindowLevelAlert);
    Ref<UIView> outside = UIView::make("UIControl", a->window_->bounds_);
    sel::addTarget_action_forControlEvents_(outside, a, sel::_alertOutsideTapped_, UIControlEventTouchUpInside);
    sel::addSubview_(a->window_, outside);
    a->showViews();
    sel::addSubview_(a->window_, a);
    sel::setHidden_(a->window_, false);
}

void takeOffScreen(UIButtonedAlert* a) {
    if (!a->visible_) return;
    a->visible_ = false;
    Ref<UIButtonedAlert> protector(a);
    auto& list = onScreen();
    list.erase(std::remove(list.begin(), list.end(), protector), list.end());
    if (auto* alert = as<UIAlertView>(a))
        for (const auto& f : alert->textFields_)
            if (sel::isFirstResponder(f)) sel::resignFirstResponder(f);
    for (const auto& v : a->shownViews_)
        if (v->superview().get() == a) removeSubview(v);
    a->shownViews_.clear();
    Ref<UIWindow> window = std::move(a->window_);
    a->window_ = nullptr;
    removeSubview(a);
    if (window) sel::setHidden_(window, true);
}

constexpr double kAlertWidth = 270;
constexpr double kPopoverWidth = 320;
constexpr double kMargin = 16;
constexpr double kButtonHeight = 44;
constexpr double kFieldHeight = 30;

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
        .method(sel::dismissWithClickedButtonIndex_animated_, [](id self, long long, bool) { takeOffScreen(alert(self)); })
        .method(sel::_alertButtonTapped_, [](id self, id button) { alert(self)->clickButton(sel::tag(button)); })
        .method(sel::_alertOutsideTapped_, [](id self, id) {
            if (auto* s = sheet(self)) s->tapOutside();
        });
}

void showSheet(id self, id view, Rect from) {
    auto* s = sheet(self);
    s->shownInView_ = as<UIView>(view);
    s->shownFromRect_ = from;
    s->inPopover_ = uikit::deviceTraits().interfaceIdiom == UIUserInterfaceIdiomPad;
    putOnScreen(s);
}

}  // namespace

void UIButtonedAlert::addShown(const Ref<UIView>& view, Rect frame) {
    if (!view) return;
    sel::setFrame_(view, frame);
    sel::addSubview_(this, view);
    shownViews_.push_back(view);
}

double UIButtonedAlert::addText(const Value& text, double y, double width, bool bold) {
    if (!text.isString() || text.string().empty()) return y;
    Ref<UILabel> label = UIView::make<UILabel>("UILabel", Rect());
    sel::setFont_(label, bold ? UIFont::boldSystemFont(17) : UIFont::systemFont(13));
    sel::setNumberOfLines_(label, 0);
    sel::setTextAlignment_(label, NSTextAlignmentCenter);
    sel::setText_(label, text);
    double inner = std::max(0.0, width - 2 * kMargin);
    Size size = sel::sizeThatFits_(label, Size{inner, 0});
    addShown(label, Rect(kMargin, y + 8, inner, size.height));
    return y + 8 + size.height + 8;
}

double UIButtonedAlert::addButtons(double y, double width) {
    for (std::size_t i = 0; i < buttonTitles_.size(); ++i) {
        Ref<UIButton> b = UIButton::buttonWithType(UIButtonTypeSystem);
        sel::setTitle_forState_(b, buttonTitles_[i], UIControlStateNormal);
        sel::setTag_(b, static_cast<long long>(i));
        sel::addTarget_action_forControlEvents_(b, this, sel::_alertButtonTapped_, UIControlEventTouchUpInside);
        addShown(b, Rect(0, y, width, kButtonHeight));
        y += kButtonHeight;
    }
    return y;
}

void UIAlertView::showViews() {
    double y = addText(title_, 0, kAlertWidth, true);
    y = addText(message_, y, kAlertWidth, false);
    for (const auto& f : textFields_) {
        addShown(f, Rect(kMargin, y + 4, kAlertWidth - 2 * kMargin, kFieldHeight));
        y += 4 + kFieldHeight;
    }
    if (!textFields_.empty()) y += 8;
    y = addButtons(y, kAlertWidth);
    Rect screen = window_->bounds_;
    sel::setFrame_(this, Rect((screen.width() - kAlertWidth) / 2, (screen.height() - y) / 2, kAlertWidth, y));
    if (!textFields_.empty()) sel::becomeFirstResponder(textFields_.front());
}

void UIActionSheet::showViews() {
    Rect screen = window_->bounds_;
    double width = inPopover_ ? kPopoverWidth : screen.width();
    double height = addButtons(addText(title_, 0, width, false), width);
    if (!inPopover_) {
        sel::setFrame_(this, Rect(0, screen.height() - height, width, height));
        return;
    }
    // Below the rectangle it points at (the middle of the view without one), else above it.
    Ref<UIView> view = shownInView_.lock();
    Rect from = !view ? Rect(screen.midX(), screen.midY(), 0, 0)
                : shownFromRect_.isNull() ? Rect(view->toScreen(Point{view->bounds_.midX(), view->bounds_.midY()}), Size{})
                                          : Rect(view->toScreen(shownFromRect_.origin), shownFromRect_.size);
    double x = std::clamp(from.midX() - width / 2, 0.0, std::max(0.0, screen.width() - width));
    double y = from.maxY() + height <= screen.height() ? from.maxY() : from.minY() - height;
    y = std::clamp(y, 0.0, std::max(0.0, screen.height() - height));
    sel::setFrame_(this, Rect(x, y, width, height));
}

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
    // Declared once for the process, as UIKit's headers declare it; classes adopt it.
    objc_registerProtocol(objc_allocateProtocol("UIActionSheetDelegate"));
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
