#include "platform/uikit/navigation.h"

#include <map>

#include "platform/uikit/application.h"
#include "platform/uikit/internal.h"
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
        .property<&UINavigationBar::barTintColor_>(sel::barTintColor, sel::setBarTintColor_);

    ClassBuilder<UINavigationItem>("UINavigationItem", "NSObject")
        .method(sel::initWithTitle_,
                [](id self, Value title) {
                    as<UINavigationItem>(self)->title_ = title;
                    return Ref<Object>(self);
                })
        .property<&UINavigationItem::title_>(sel::title, sel::setTitle_)
        .property<&UINavigationItem::leftBarButtonItem_>(sel::leftBarButtonItem, sel::setLeftBarButtonItem_)
        .method(sel::rightBarButtonItem, [](id self) { return as<UINavigationItem>(self)->rightBarButtonItem_; })
        .method(sel::setRightBarButtonItem_,
                [](id self, id item) {
                    auto* n = as<UINavigationItem>(self);
                    n->rightBarButtonItem_ = item;
                    n->rightBarButtonItems_ = item ? Value::array({Value(item)}) : Value();
                })
        .method(sel::rightBarButtonItems, [](id self) { return as<UINavigationItem>(self)->rightBarButtonItems_; })
        .method(sel::setRightBarButtonItems_, [](id self, Value items) {
            auto* n = as<UINavigationItem>(self);
            n->rightBarButtonItems_ = items.count() > 0 ? items : Value();
            n->rightBarButtonItem_ = items.at(0).object();
        })
        .method(sel::titleView, [](id self) -> Ref<Object> { return as<UINavigationItem>(self)->titleView_; })
        .method(sel::setTitleView_, [](id self, id view) { as<UINavigationItem>(self)->titleView_ = Ref<UIView>(as<UIView>(view)); })
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
        .property<&UIBarButtonItem::title_>(sel::title, sel::setTitle_)
        .method(sel::image, [](id self) { return item(self)->image_; })
        .property<&UIBarButtonItem::enabled_>(sel::isEnabled, sel::setEnabled_)
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
