#include "platform/uikit/navigation.h"

#include <map>

#include "platform/uikit/application.h"
#include "platform/uikit/button.h"
#include "platform/uikit/font.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/navigation_controller.h"
#include "platform/uikit/view_controller.h"

namespace platform {

namespace {
// Proxies by (class, container class); the plain proxy has no container.
using ProxyKey = std::pair<std::string, std::string>;
std::map<ProxyKey, Ref<UIAppearance>>& proxies() {
    static auto* p = new std::map<ProxyKey, Ref<UIAppearance>>();
    return *p;
}
}  // namespace

Ref<UIAppearance> UIAppearance::forClass(const std::string& className) { return forClass(className, ""); }

Ref<UIAppearance> UIAppearance::forClass(const std::string& className, const std::string& containerClassName) {
    Ref<UIAppearance>& proxy = proxies()[{className, containerClassName}];
    if (!proxy) proxy = as<UIAppearance>(alloc("_UIAppearance"));
    return proxy;
}

Ref<UIAppearance> UIAppearance::applying(const UIView* instance, const std::string& className, bool (*has)(const UIAppearance&)) {
    auto& all = proxies();
    auto first = all.lower_bound({className, ""}), end = all.lower_bound({className + '\0', ""});
    for (Ref<UIView> v = instance ? instance->superview() : nullptr; v; v = v->superview()) {
        Ref<UIViewController> controller = v->viewController_.lock();
        for (auto it = first; it != end; ++it) {
            const std::string& container = it->first.second;
            if (container.empty() || !has(*it->second)) continue;
            if (isKindOfClass(v, container) || (controller && isKindOfClass(controller, container))) return it->second;
        }
    }
    auto plain = all.find({className, ""});
    return plain != all.end() && has(*plain->second) ? plain->second : nullptr;
}

void UIBarButtonItem::press() {
    if (!enabled_ || action_.empty()) return;
    Ref<UIBarButtonItem> protector(this);
    sel::sendAction_to_from_forEvent_(UIApplication::sharedApplication(), sel_registerName(action_), target_.lock(), this, nullptr);
}

Value UIBarButtonItem::shownTitle() const {
    if (title_.isString()) return title_;
    switch (systemItem_) {
        case UIBarButtonSystemItemDone: return Value("Done");
        case UIBarButtonSystemItemCancel: return Value("Cancel");
        case UIBarButtonSystemItemEdit: return Value("Edit");
        case UIBarButtonSystemItemSave: return Value("Save");
        case UIBarButtonSystemItemAdd: return Value("+");
        default: return Value();
    }
}

namespace {

// A bar's button, as high as the bar and a little wider than its content.
constexpr double kButtonPadding = 8;

Ref<UIButton> barButton(const Value& title, id image, UIItemBar* bar) {
    Ref<UIButton> b = UIButton::buttonWithType(UIButtonTypeSystem);
    if (title.isString()) sel::setTitle_forState_(b, title, UIControlStateNormal);
    if (image) sel::setImage_forState_(b, image, UIControlStateNormal);
    Size fits = sel::sizeThatFits_(b, Size{});
    sel::setFrame_(b, Rect(0, 0, fits.width + 2 * kButtonPadding, bar->bounds_.height()));
    return b;
}

}  // namespace

Ref<UIView> UIBarButtonItem::makeButton(UIItemBar* bar) {
    if (isSpace()) return nullptr;
    if (customView_) {
        Rect frame = customView_->frameValue();
        if (width_ > 0) frame.size.width = width_;
        sel::setFrame_(customView_, frame);
        shownIn_ = bar;
        return customView_;
    }
    Ref<UIButton> b = barButton(shownTitle(), image_, bar);
    if (width_ > 0) sel::setFrame_(b, Rect(0, 0, width_, bar->bounds_.height()));
    sel::setEnabled_(b, enabled_);
    sel::addTarget_action_forControlEvents_(b, this, sel::_itemButtonTapped_, UIControlEventTouchUpInside);
    shownIn_ = bar;
    return b;
}

// --- the bars ---------------------------------------------------------------------------------

void UIItemBar::setNeedsContent() {
    contentChanged_ = true;
    uikit::detail::markNeedsLayout(this);
}

void UIItemBar::updateContent() {
    if (!contentChanged_ && contentSize_ == bounds_.size) return;
    Ref<UIItemBar> protector(this);
    contentChanged_ = false;
    contentSize_ = bounds_.size;
    auto old = std::move(contentViews_);
    contentViews_.clear();
    for (const auto& v : old)
        if (v->superview().get() == this) removeSubview(v);
    makeContent();
}

void UIItemBar::addContent(const Ref<UIView>& view, Rect frame) {
    if (!view) return;
    sel::setFrame_(view, frame);
    sel::addSubview_(this, view);
    contentViews_.push_back(view);
}

namespace {

void noteItemChange(UIBarButtonItem* item) {
    if (Ref<UIItemBar> bar = item->shownIn_.lock()) bar->setNeedsContent();
}

void noteItemChange(UINavigationItem* item) {
    if (Ref<UINavigationBar> bar = item->navigationBar_.lock()) bar->setNeedsContent();
}

}  // namespace

void UINavigationBar::makeContent() {
    auto* nav = as<UINavigationController>(navigationController_.lock().get());
    if (!nav || nav->stack_.empty()) return;
    Ref<UIViewController> top = nav->stack_.back();
    Ref<Object> item = sel::navigationItem(top);
    const double width = bounds_.width(), height = bounds_.height();

    Ref<UIView> title(as<UIView>(sel::titleView(item).get()));
    if (!title) {
        Value text = sel::title(item);
        if (!text.isString()) text = sel::title(top);
        if (text.isString() && !text.string().empty()) {
            Ref<UILabel> label = UIView::make<UILabel>("UILabel", Rect());
            sel::setFont_(label, UIFont::boldSystemFont(17));
            sel::setText_(label, text);
            sel::sizeToFit(label);
            title = label;
        }
    }
    if (title) {
        Size size = title->bounds_.size;
        addContent(title, Rect((width - size.width) / 2, (height - size.height) / 2, size.width, size.height));
    }

    Ref<UIView> left;
    if (auto* leftItem = as<UIBarButtonItem>(sel::leftBarButtonItem(item).get())) {
        left = leftItem->makeButton(this);
    } else if (nav->stack_.size() > 1) {
        left = barButton(Value("Back"), nullptr, this);
        sel::addTarget_action_forControlEvents_(left, this, sel::_backButtonTapped_, UIControlEventTouchUpInside);
    }
    if (left) addContent(left, Rect(kMargin, 0, left->bounds_.width(), height));

    // The first right item is the rightmost.
    double right = width - kMargin;
    for (const Value& v : sel::rightBarButtonItems(item).array()) {
        auto* rightItem = v.objectAs<UIBarButtonItem>();
        Ref<UIView> button = rightItem ? rightItem->makeButton(this) : nullptr;
        if (!button) continue;
        right -= button->bounds_.width();
        addContent(button, Rect(right, 0, button->bounds_.width(), height));
        right -= kMargin;
    }
}

namespace {

Class* navigationBarClass() {
    static Class* c = objc_getClass("UINavigationBar");
    return c;
}

UIBarButtonItem* item(id self) { return as<UIBarButtonItem>(self); }

}  // namespace

namespace uikit::detail {

void registerNavigation() {
    ClassBuilder<UIAppearance>("_UIAppearance", "NSObject")
        .method(sel::tintColor, [](id self) { return as<UIAppearance>(self)->tintColor_; })
        .method(sel::setTintColor_, [](id self, id color) { as<UIAppearance>(self)->tintColor_ = color; })
        .method(sel::onTintColor, [](id self) { return as<UIAppearance>(self)->onTintColor_; })
        .method(sel::setOnTintColor_, [](id self, id color) { as<UIAppearance>(self)->onTintColor_ = color; });

    ClassBuilder<UINavigationBar>("UINavigationBar", "UIView")
        .classMethod(sel::appearance, [](id cls) -> Ref<Object> { return UIAppearance::forClass(static_cast<Class*>(cls)->name()); })
        .method(sel::tintColor, [](id self) -> Ref<Object> {
            auto* bar = as<UINavigationBar>(self);
            if (bar->tintColor_) return bar->tintColor_;
            if (Ref<UIAppearance> proxy = UIAppearance::forClass(self->isa()->name()); proxy->tintColor_) return proxy->tintColor_;
            return sel::tintColor.super(navigationBarClass(), self);
        })
        .property<&UINavigationBar::barTintColor_>(sel::barTintColor, sel::setBarTintColor_)
        .method(sel::layoutSubviews,
                [](id self) {
                    sel::layoutSubviews.super(navigationBarClass(), self);
                    as<UINavigationBar>(self)->updateContent();
                })
        .method(sel::_backButtonTapped_, [](id self, id) {
            if (Ref<UIViewController> nav = as<UINavigationBar>(self)->navigationController_.lock()) sel::popViewControllerAnimated_(nav, true);
        });

    ClassBuilder<UINavigationItem>("UINavigationItem", "NSObject")
        .method(sel::initWithTitle_,
                [](id self, Value title) {
                    as<UINavigationItem>(self)->title_ = title;
                    return Ref<Object>(self);
                })
        .method(sel::title, [](id self) { return as<UINavigationItem>(self)->title_; })
        .method(sel::setTitle_,
                [](id self, Value title) {
                    auto* n = as<UINavigationItem>(self);
                    n->title_ = title;
                    noteItemChange(n);
                })
        .method(sel::leftBarButtonItem, [](id self) { return as<UINavigationItem>(self)->leftBarButtonItem_; })
        .method(sel::setLeftBarButtonItem_,
                [](id self, id item) {
                    auto* n = as<UINavigationItem>(self);
                    n->leftBarButtonItem_ = item;
                    noteItemChange(n);
                })
        .method(sel::rightBarButtonItem, [](id self) { return as<UINavigationItem>(self)->rightBarButtonItem_; })
        .method(sel::setRightBarButtonItem_,
                [](id self, id item) {
                    auto* n = as<UINavigationItem>(self);
                    n->rightBarButtonItem_ = item;
                    n->rightBarButtonItems_ = item ? Value::array({Value(item)}) : Value();
                    noteItemChange(n);
                })
        .method(sel::rightBarButtonItems, [](id self) { return as<UINavigationItem>(self)->rightBarButtonItems_; })
        .method(sel::setRightBarButtonItems_,
                [](id self, Value items) {
                    auto* n = as<UINavigationItem>(self);
                    n->rightBarButtonItems_ = items.count() > 0 ? items : Value();
                    n->rightBarButtonItem_ = items.at(0).object();
                    noteItemChange(n);
                })
        .method(sel::titleView, [](id self) -> Ref<Object> { return as<UINavigationItem>(self)->titleView_; })
        .method(sel::setTitleView_,
                [](id self, id view) {
                    auto* n = as<UINavigationItem>(self);
                    n->titleView_ = Ref<UIView>(as<UIView>(view));
                    noteItemChange(n);
                })
        .method(sel::navigationBar, [](id self) -> Ref<Object> { return as<UINavigationItem>(self)->navigationBar_.lock(); });

    ClassBuilder<UIBarButtonItem>("UIBarButtonItem", "NSObject")
        .method(sel::initWithBarButtonSystemItem_target_action_,
                [](id self, long long systemItem, id target, SEL action) {
                    auto* i = item(self);
                    i->systemItem_ = systemItem;
                    i->style_ = systemItem == UIBarButtonSystemItemDone ? UIBarButtonItemStyleDone : UIBarButtonItemStylePlain;
                    i->target_ = target;
                    i->action_ = std::string(action.name);
                    return Ref<Object>(self);
                })
        .method(sel::initWithTitle_style_target_action_,
                [](id self, Value title, long long style, id target, SEL action) {
                    auto* i = item(self);
                    i->title_ = title;
                    i->style_ = style;
                    i->target_ = target;
                    i->action_ = std::string(action.name);
                    return Ref<Object>(self);
                })
        .method(sel::initWithImage_style_target_action_,
                [](id self, id image, long long style, id target, SEL action) {
                    auto* i = item(self);
                    i->image_ = image;
                    i->style_ = style;
                    i->target_ = target;
                    i->action_ = std::string(action.name);
                    return Ref<Object>(self);
                })
        .method(sel::initWithCustomView_,
                [](id self, id view) {
                    item(self)->customView_ = Ref<UIView>(as<UIView>(view));
                    return Ref<Object>(self);
                })
        .method(sel::customView, [](id self) -> Ref<Object> { return item(self)->customView_; })
        .method(sel::width, [](id self) { return item(self)->width_; })
        .method(sel::setWidth_,
                [](id self, double width) {
                    item(self)->width_ = width;
                    noteItemChange(item(self));
                })
        .property<&UIBarButtonItem::accessibilityLabel_>(sel::accessibilityLabel, sel::setAccessibilityLabel_)
        .property<&UIBarButtonItem::isAccessibilityElement_>(sel::isAccessibilityElement, sel::setIsAccessibilityElement_)
        .method(sel::title, [](id self) { return item(self)->title_; })
        .method(sel::setTitle_,
                [](id self, Value title) {
                    item(self)->title_ = title;
                    noteItemChange(item(self));
                })
        .method(sel::image, [](id self) { return item(self)->image_; })
        .method(sel::isEnabled, [](id self) { return item(self)->enabled_; })
        .method(sel::setEnabled_,
                [](id self, bool enabled) {
                    if (item(self)->enabled_ == enabled) return;
                    item(self)->enabled_ = enabled;
                    noteItemChange(item(self));
                })
        .method(sel::_itemButtonTapped_, [](id self, id) { item(self)->press(); })
        .method(sel::target, [](id self) { return item(self)->target_.lock(); })
        .method(sel::action, [](id self) { return sel_registerName(item(self)->action_); });

    // Every controller makes its navigation item on first use, titled as the controller.
    ClassBuilder<UIViewController>(objc_getClass("UIViewController")).method(sel::navigationItem, [](id self) -> Ref<Object> {
        auto* c = as<UIViewController>(self);
        if (!c->navigationItem_) c->navigationItem_ = sel::initWithTitle_(alloc("UINavigationItem"), c->title_);
        return c->navigationItem_;
    });
}

}  // namespace uikit::detail
}  // namespace platform
