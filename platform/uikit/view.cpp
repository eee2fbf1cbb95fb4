#include "platform/uikit/view.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/animation.h"
#include "platform/uikit/color.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/view_controller.h"
#include "platform/uikit/window.h"

namespace platform {

Ref<UIView> UIView::make(std::string_view className, Rect frame) {
    Ref<Object> made = sel::initWithFrame_(alloc(className), frame);
    return Ref<UIView>(as<UIView>(made.get()));
}

// --- the tree -------------------------------------------------------------------

Ref<UIWindow> UIView::window() const {
    Ref<UIView> v(const_cast<UIView*>(this));
    while (v) {
        if (auto* w = as<UIWindow>(v.get())) return Ref<UIWindow>(w);
        v = v->superview();
    }
    return nullptr;
}

Ref<UIView> UIView::root() const {
    Ref<UIView> v(const_cast<UIView*>(this));
    while (Ref<UIView> up = v->superview()) v = up;
    return v;
}

bool UIView::isDescendantOf(const UIView* ancestor) const {
    if (!ancestor) return false;
    for (Ref<UIView> v(const_cast<UIView*>(this)); v; v = v->superview())
        if (v.get() == ancestor) return true;
    return false;
}

namespace uikit::detail {

void checkMainThread() { assert(RunLoop::main().isMainThread() && "UIKit is main-thread only"); }

std::vector<Ref<UIView>> subtree(UIView* root) {
    std::vector<Ref<UIView>> out;
    if (!root) return out;
    out.push_back(Ref<UIView>(root));
    for (std::size_t i = 0; i < out.size(); ++i) {
        // Depth first, parents before children: insert the children right after their parent.
        const auto& children = out[i]->subviewList();
        out.insert(out.begin() + static_cast<long>(i) + 1, children.begin(), children.end());
    }
    return out;
}

}  // namespace uikit::detail

// --- geometry ---------------------------------------------------------------------

namespace {

Point anchorOf(const Rect& bounds) {
    return {bounds.origin.x + bounds.size.width / 2, bounds.origin.y + bounds.size.height / 2};
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

}  // namespace

Rect UIView::frameValue() const {
    Rect local(-bounds_.size.width / 2, -bounds_.size.height / 2, bounds_.size.width, bounds_.size.height);
    Rect r = transform_.isIdentity() ? local : transform_.apply(local);
    r.origin.x += center_.x;
    r.origin.y += center_.y;
    return r;
}

Point UIView::toSuperviewSpace(Point p) const {
    Point anchor = anchorOf(bounds_);
    Point t = transform_.apply(Point{p.x - anchor.x, p.y - anchor.y});
    return {t.x + center_.x, t.y + center_.y};
}

Point UIView::fromSuperviewSpace(Point p) const {
    // A view scaled to nothing holds no point.
    if (!transform_.isInvertible()) return {kInfinity, kInfinity};
    Point anchor = anchorOf(bounds_);
    Point t = transform_.inverted().apply(Point{p.x - center_.x, p.y - center_.y});
    return {t.x + anchor.x, t.y + anchor.y};
}

Point UIView::toScreen(Point p) const {
    for (Ref<UIView> v(const_cast<UIView*>(this)); v; v = v->superview()) p = v->toSuperviewSpace(p);
    return p;
}

Point UIView::fromScreen(Point p) const {
    std::vector<Ref<UIView>> chain;
    for (Ref<UIView> v(const_cast<UIView*>(this)); v; v = v->superview()) chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) p = (*it)->fromSuperviewSpace(p);
    return p;
}

namespace {

// The view a nil view argument of the convert methods stands for: the window, else the root.
Ref<UIView> coordinateSpace(UIView* self, id other) {
    if (auto* v = as<UIView>(other)) return Ref<UIView>(v);
    if (Ref<UIWindow> w = self->window()) return w;
    return self->root();
}

Rect convertRect(Rect r, const UIView* from, const UIView* to) {
    if (r.isNull()) return r;
    const Point corners[] = {{r.minX(), r.minY()}, {r.maxX(), r.minY()}, {r.minX(), r.maxY()}, {r.maxX(), r.maxY()}};
    Point out[4];
    for (int i = 0; i < 4; ++i) out[i] = to->fromScreen(from->toScreen(corners[i]));
    return boundingBox(out, 4);
}

void applyCenter(UIView* v, Point c) {
    if (c == v->center_) return;
    animation::noteChange(v, "center");
    v->center_ = c;
}

// UIKit's autoresizing: along each axis the change of the superview's size is
// shared by the flexible parts (left margin, width, right margin), in
// proportion to their sizes (equally when they are all zero).
void resizeAxis(double& origin, double& size, double oldTotal, double newTotal, bool flexMin, bool flexSize, bool flexMax) {
    double delta = newTotal - oldTotal;
    int count = int(flexMin) + int(flexSize) + int(flexMax);
    if (delta == 0 || count == 0) return;
    double minPart = origin, maxPart = oldTotal - origin - size;
    double total = (flexMin ? minPart : 0) + (flexSize ? size : 0) + (flexMax ? maxPart : 0);
    auto share = [&](bool flex, double part) { return !flex ? 0.0 : total != 0 ? delta * part / total : delta / count; };
    double grow = share(flexSize, size);
    origin += share(flexMin, minPart);
    size += grow;
}

void autoresize(UIView* sub, Size oldSize, Size newSize) {
    unsigned long long m = sub->autoresizingMask_;
    if (m == UIViewAutoresizingNone) return;
    Rect f = sel::frame(sub);
    Rect g = f;
    resizeAxis(g.origin.x, g.size.width, oldSize.width, newSize.width, m & UIViewAutoresizingFlexibleLeftMargin,
               m & UIViewAutoresizingFlexibleWidth, m & UIViewAutoresizingFlexibleRightMargin);
    resizeAxis(g.origin.y, g.size.height, oldSize.height, newSize.height, m & UIViewAutoresizingFlexibleTopMargin,
               m & UIViewAutoresizingFlexibleHeight, m & UIViewAutoresizingFlexibleBottomMargin);
    if (!(g == f)) sel::setFrame_(sub, g);
}

void applyBounds(UIView* v, Rect b) {
    if (b == v->bounds_) return;
    animation::noteChange(v, "bounds");
    Size old = v->bounds_.size;
    v->bounds_ = b;
    if (old == b.size) return;
    uikit::detail::markNeedsLayout(v);
    if (!v->autoresizesSubviews_) return;
    auto subviews = v->subviewList();
    for (const auto& sub : subviews) autoresize(sub.get(), old, b.size);
}

void setFrame(id self, Rect f) {
    auto* v = as<UIView>(self);
    Size size = f.size;
    // With a transform the frame is its bounding box; the bounds are what the
    // inverse transform makes of it (exact for scales and quarter turns).
    if (!v->transform_.isIdentity() && v->transform_.isInvertible()) size = v->transform_.inverted().apply(Rect({0, 0}, f.size)).size;
    applyCenter(v, Point{f.origin.x + f.size.width / 2, f.origin.y + f.size.height / 2});
    applyBounds(v, Rect(v->bounds_.origin, size));
}

}  // namespace

// --- the hierarchy -------------------------------------------------------------------

void insertSubview(UIView* parent, UIView* child, long long index) {
    uikit::detail::checkMainThread();
    if (!parent || !child) return;
    if (child == parent) raise("NSInvalidArgumentException", "Can't add self as subview");
    if (parent->isDescendantOf(child)) raise("NSInvalidArgumentException", "Can't add a view's superview as its subview");
    Ref<UIView> protector(child);
    Ref<UIView> keepParent(parent);
    auto place = [&] {
        auto& list = parent->subviews_;
        std::size_t at = index < 0 ? 0 : std::min(static_cast<std::size_t>(index), list.size());
        list.insert(list.begin() + static_cast<long>(at), protector);
        child->superview_ = parent;
    };

    Ref<UIView> oldParent = child->superview();
    if (oldParent.get() == parent) {
        // A new place among the same siblings: nothing moves between windows.
        auto& list = parent->subviews_;
        list.erase(std::find(list.begin(), list.end(), protector));
        place();
        return;
    }

    Ref<UIWindow> oldWindow = child->window();
    Ref<UIWindow> newWindow = parent->window();
    bool windowChanges = oldWindow != newWindow;
    auto controllers = uikit::detail::controllersIn(child);
    uikit::detail::beginAppearance(controllers, newWindow && !newWindow->hidden_);

    sel::willMoveToSuperview_(child, parent);
    std::vector<Ref<UIView>> tree;
    if (windowChanges) {
        tree = uikit::detail::subtree(child);
        for (const auto& v : tree) sel::willMoveToWindow_(v, newWindow);
    }
    if (oldParent) {
        sel::willRemoveSubview_(oldParent, child);
        auto& list = oldParent->subviews_;
        auto it = std::find(list.begin(), list.end(), protector);
        if (it != list.end()) list.erase(it);
    }
    place();
    for (const auto& v : tree) sel::didMoveToWindow(v);
    sel::didMoveToSuperview(child);
    sel::didAddSubview_(parent, child);
    uikit::detail::endAppearance(controllers);
    uikit::detail::markNeedsLayout(parent);
    uikit::detail::markNeedsLayout(child);
}

void removeSubview(UIView* child) {
    uikit::detail::checkMainThread();
    if (!child) return;
    Ref<UIView> parent = child->superview();
    if (!parent) return;
    Ref<UIView> protector(child);
    Ref<UIWindow> oldWindow = child->window();
    auto controllers = uikit::detail::controllersIn(child);
    uikit::detail::beginAppearance(controllers, false);

    sel::willMoveToSuperview_(child, nullptr);
    std::vector<Ref<UIView>> tree;
    if (oldWindow) {
        tree = uikit::detail::subtree(child);
        for (const auto& v : tree) sel::willMoveToWindow_(v, nullptr);
    }
    sel::willRemoveSubview_(parent, child);
    auto& list = parent->subviews_;
    auto it = std::find(list.begin(), list.end(), protector);
    if (it != list.end()) list.erase(it);
    child->superview_ = nullptr;
    for (const auto& v : tree) sel::didMoveToWindow(v);
    sel::didMoveToSuperview(child);
    uikit::detail::endAppearance(controllers);
    uikit::detail::markNeedsLayout(parent);
}

namespace {

long long indexOf(UIView* parent, id sibling) {
    const auto& list = parent->subviewList();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == sibling) return static_cast<long long>(i);
    return -1;
}

Ref<UIView> findTag(UIView* v, long long tag) {
    if (v->tag_ == tag) return Ref<UIView>(v);
    auto subviews = v->subviewList();
    for (const auto& s : subviews)
        if (Ref<UIView> found = findTag(s.get(), tag)) return found;
    return nullptr;
}

}  // namespace

// --- layout -----------------------------------------------------------------------------

namespace {

struct LayoutState {
    std::vector<WeakRef<UIView>> marked;
    bool scheduled = false;
};

LayoutState& layoutState() {
    static auto* s = new LayoutState();
    return *s;
}

void layoutTree(UIView* v) {
    Ref<UIView> protector(v);
    if (v->needsLayout_) {
        v->needsLayout_ = false;
        Ref<UIViewController> controller = v->viewController_.lock();
        if (controller) sel::viewWillLayoutSubviews(controller);
        sel::layoutSubviews(v);
        if (!v->constraints_.empty()) uikit::detail::solveConstraints(v);
        if (controller) sel::viewDidLayoutSubviews(controller);
    }
    auto subviews = v->subviewList();
    for (const auto& s : subviews) layoutTree(s.get());
}

void runLayoutPass() {
    auto& s = layoutState();
    s.scheduled = false;
    auto marked = std::move(s.marked);
    s.marked.clear();
    for (const auto& w : marked)
        if (Ref<UIView> v = w.lock(); v && v->needsLayout_) layoutIfNeeded(v);
}

}  // namespace

namespace uikit::detail {

void markNeedsLayout(UIView* v) {
    checkMainThread();
    auto& s = layoutState();
    if (!v->needsLayout_) {
        v->needsLayout_ = true;
        s.marked.push_back(v);
    }
    if (!s.scheduled) {
        s.scheduled = true;
        RunLoop::main().schedule(0, &runLayoutPass, &s, "layout");
    }
}

}  // namespace uikit::detail

void layoutIfNeeded(UIView* view) {
    if (!view) return;
    Ref<UIView> top(view);
    while (Ref<UIView> up = top->superview()) {
        if (!up->needsLayout_) break;
        top = up;
    }
    layoutTree(top.get());
}

// --- the class ----------------------------------------------------------------------------

Ref<NSCoder> NSCoder::withFrame(Rect frame) {
    Ref<NSCoder> coder = as<NSCoder>(sel::init(alloc("NSCoder")));
    if (coder) coder->frame_ = frame;
    return coder;
}

namespace {

Class* viewClass() {
    static Class* c = objc_getClass("UIView");
    return c;
}

Ref<Object> initWithFrame(id self, Rect frame) {
    Ref<Object> base = sel::init.super(viewClass(), self);
    auto* v = as<UIView>(base.get());
    if (!v) return nullptr;
    if (!v->layer_) {
        Class* layerClass = sel::layerClass(v->isa());
        Ref<CALayer> layer = as<CALayer>(sel::init(alloc(layerClass)));
        if (!layer) layer = as<CALayer>(sel::init(alloc("CALayer")));
        if (layer) layer->delegate = v;
        v->layer_ = layer;
    }
    sel::setFrame_(v, frame);
    return base;
}

std::string describe(id self) {
    auto* v = as<UIView>(self);
    Rect f = v->frameValue();
    std::string out = format("<%@: %p; frame = (%g %g; %g %g)", self->isa()->name(), self, f.x(), f.y(),
                             f.width(), f.height());
    if (v->hidden_) out += "; hidden = YES";
    if (v->alpha_ != 1) out += format("; alpha = %g", v->alpha_);
    if (v->tag_ != 0) out += format("; tag = %lld", v->tag_);
    return out + ">";
}

}  // namespace

namespace uikit::detail {

void registerView() {
    ClassBuilder<NSCoder>("NSCoder", "NSObject");
    ClassBuilder<UIView>("UIView", "UIResponder")
        .classMethod(sel::layerClass, [](id) { return objc_getClass("CALayer"); })
        .method(sel::init, [](id self) { return sel::initWithFrame_(self, Rect()); })
        .method(sel::initWithFrame_, &initWithFrame)
        .method(sel::initWithCoder_,
                [](id self, id coder) {
                    auto* decoded = as<NSCoder>(coder);
                    return initWithFrame(self, decoded ? decoded->frame_ : Rect());
                })
        .method(sel::intrinsicContentSize, [](id) { return Size{UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric}; })
        .method(sel::invalidateIntrinsicContentSize, [](id self) { markNeedsLayout(as<UIView>(self)); })
        .method(sel::description, [](id self) { return Value(describe(self)); })
        .method(sel::nextResponder,
                [](id self) -> Ref<Object> {
                    auto* v = as<UIView>(self);
                    if (Ref<UIViewController> c = v->viewController_.lock()) return c;
                    return v->superview();
                })
        // geometry
        .method(sel::frame, [](id self) { return as<UIView>(self)->frameValue(); })
        .method(sel::setFrame_, &setFrame)
        .method(sel::bounds, [](id self) { return as<UIView>(self)->bounds_; })
        .method(sel::setBounds_, [](id self, Rect b) { applyBounds(as<UIView>(self), b); })
        .method(sel::center, [](id self) { return as<UIView>(self)->center_; })
        .method(sel::setCenter_, [](id self, Point c) { applyCenter(as<UIView>(self), c); })
        .method(sel::transform, [](id self) { return as<UIView>(self)->transform_; })
        .method(sel::setTransform_,
                [](id self, AffineTransform t) {
                    auto* v = as<UIView>(self);
                    if (t == v->transform_) return;
                    animation::noteChange(v, "transform");
                    v->transform_ = t;
                })
        .property<&UIView::autoresizingMask_>(sel::autoresizingMask, sel::setAutoresizingMask_)
        .property<&UIView::autoresizesSubviews_>(sel::autoresizesSubviews, sel::setAutoresizesSubviews_)
        .method(sel::convertPoint_toView_,
                [](id self, Point p, id other) {
                    auto* v = as<UIView>(self);
                    return coordinateSpace(v, other)->fromScreen(v->toScreen(p));
                })
        .method(sel::convertPoint_fromView_,
                [](id self, Point p, id other) {
                    auto* v = as<UIView>(self);
                    return v->fromScreen(coordinateSpace(v, other)->toScreen(p));
                })
        .method(sel::convertRect_toView_,
                [](id self, Rect r, id other) {
                    auto* v = as<UIView>(self);
                    return convertRect(r, v, coordinateSpace(v, other).get());
                })
        .method(sel::convertRect_fromView_,
                [](id self, Rect r, id other) {
                    auto* v = as<UIView>(self);
                    return convertRect(r, coordinateSpace(v, other).get(), v);
                })
        // appearance and interaction
        .method(sel::alpha, [](id self) { return as<UIView>(self)->alpha_; })
        .method(sel::setAlpha_,
                [](id self, double a) {
                    auto* v = as<UIView>(self);
                    a = std::clamp(a, 0.0, 1.0);
                    if (a == v->alpha_) return;
                    animation::noteChange(v, "alpha");
                    v->alpha_ = a;
                })
        .property<&UIView::hidden_>(sel::isHidden, sel::setHidden_)
        .property<&UIView::opaque_>(sel::isOpaque, sel::setOpaque_)
        .method(sel::clipsToBounds, [](id self) { return as<UIView>(self)->layer_ && as<UIView>(self)->layer_->masksToBounds; })
        .method(sel::setClipsToBounds_,
                [](id self, bool clips) {
                    if (auto& layer = as<UIView>(self)->layer_) layer->masksToBounds = clips;
                })
        .method(sel::backgroundColor, [](id self) { return as<UIView>(self)->backgroundColor_; })
        .method(sel::setBackgroundColor_,
                [](id self, id color) {
                    auto* v = as<UIView>(self);
                    if (objectsEqual(v->backgroundColor_.get(), color)) return;
                    animation::noteChange(v, "backgroundColor");
                    v->backgroundColor_ = color;
                    if (v->layer_) v->layer_->backgroundColor = color;
                })
        .method(sel::tintColor,
                [](id self) -> Ref<Object> {
                    for (Ref<UIView> v(as<UIView>(self)); v; v = v->superview())
                        if (v->tintColor_) return v->tintColor_;
                    return systemTintColor();
                })
        .method(sel::setTintColor_, [](id self, id color) { as<UIView>(self)->tintColor_ = color; })
        .property<&UIView::contentMode_>(sel::contentMode, sel::setContentMode_)
        .property<&UIView::userInteractionEnabled_>(sel::isUserInteractionEnabled, sel::setUserInteractionEnabled_)
        .property<&UIView::exclusiveTouch_>(sel::isExclusiveTouch, sel::setExclusiveTouch_)
        .property<&UIView::accessibilityLabel_>(sel::accessibilityLabel, sel::setAccessibilityLabel_)
        .property<&UIView::isAccessibilityElement_>(sel::isAccessibilityElement, sel::setIsAccessibilityElement_)
        .property<&UIView::tag_>(sel::tag, sel::setTag_)
        .method(sel::viewWithTag_, [](id self, long long tag) -> Ref<Object> { return findTag(as<UIView>(self), tag); })
        .method(sel::layer,
                [](id self) -> Ref<Object> {
                    auto* v = as<UIView>(self);
                    // A view that was allocated but never initialised still answers a layer.
                    if (!v->layer_) {
                        v->layer_ = as<CALayer>(sel::init(alloc(sel::layerClass(v->isa()))));
                        if (v->layer_) v->layer_->delegate = v;
                    }
                    return v->layer_;
                })
        // hierarchy
        .method(sel::superview, [](id self) -> Ref<Object> { return as<UIView>(self)->superview(); })
        .method(sel::subviews,
                [](id self) {
                    Value::Array out;
                    for (const auto& s : as<UIView>(self)->subviewList()) out.emplace_back(s);
                    return Value(std::move(out));
                })
        .method(sel::window, [](id self) -> Ref<Object> { return as<UIView>(self)->window(); })
        .method(sel::addSubview_, [](id self, id view) { insertSubview(as<UIView>(self), as<UIView>(view), std::numeric_limits<long long>::max()); })
        .method(sel::insertSubview_atIndex_, [](id self, id view, long long i) { insertSubview(as<UIView>(self), as<UIView>(view), i); })
        .method(sel::insertSubview_belowSubview_,
                [](id self, id view, id sibling) {
                    auto* v = as<UIView>(self);
                    long long i = indexOf(v, sibling);
                    long long own = indexOf(v, view);
                    if (own >= 0 && own < i) --i;  // the view leaves its own place first
                    insertSubview(v, as<UIView>(view), i < 0 ? std::numeric_limits<long long>::max() : i);
                })
        .method(sel::insertSubview_aboveSubview_,
                [](id self, id view, id sibling) {
                    auto* v = as<UIView>(self);
                    long long i = indexOf(v, sibling);
                    long long own = indexOf(v, view);
                    if (own >= 0 && own < i) --i;
                    insertSubview(v, as<UIView>(view), i < 0 ? std::numeric_limits<long long>::max() : i + 1);
                })
        .method(sel::bringSubviewToFront_,
                [](id self, id view) {
                    auto* v = as<UIView>(self);
                    if (indexOf(v, view) >= 0) insertSubview(v, as<UIView>(view), std::numeric_limits<long long>::max());
                })
        .method(sel::sendSubviewToBack_,
                [](id self, id view) {
                    auto* v = as<UIView>(self);
                    if (indexOf(v, view) >= 0) insertSubview(v, as<UIView>(view), 0);
                })
        .method(sel::removeFromSuperview, [](id self) { removeSubview(as<UIView>(self)); })
        .method(sel::isDescendantOfView_, [](id self, id other) { return as<UIView>(self)->isDescendantOf(as<UIView>(other)); })
        .method(sel::willMoveToSuperview_, [](id, id) {})
        .method(sel::didMoveToSuperview, [](id) {})
        .method(sel::willMoveToWindow_, [](id, id) {})
        .method(sel::didMoveToWindow, [](id) {})
        .method(sel::didAddSubview_, [](id, id) {})
        .method(sel::willRemoveSubview_, [](id, id) {})
        // layout and sizing
        .method(sel::setNeedsLayout, [](id self) { markNeedsLayout(as<UIView>(self)); })
        .method(sel::layoutIfNeeded, [](id self) { layoutIfNeeded(as<UIView>(self)); })
        .method(sel::layoutSubviews, [](id) {})
        .method(sel::sizeThatFits_, [](id self, Size) { return as<UIView>(self)->bounds_.size; })
        .method(sel::sizeToFit,
                [](id self) {
                    Size fits = sel::sizeThatFits_(self, as<UIView>(self)->bounds_.size);
                    Rect f = sel::frame(self);
                    f.size = fits;
                    sel::setFrame_(self, f);
                })
        // hit testing
        .method(sel::pointInside_withEvent_, [](id self, Point p, id) { return as<UIView>(self)->bounds_.contains(p); })
        .method(sel::hitTest_withEvent_, [](id self, Point p, id event) -> Ref<Object> {
            auto* v = as<UIView>(self);
            if (v->hidden_ || v->alpha_ < kHitTestMinimumAlpha || !v->userInteractionEnabled_ || !v->receivesTouches()) return nullptr;
            if (!sel::pointInside_withEvent_(self, p, event)) return nullptr;
            auto subviews = v->subviewList();
            for (auto it = subviews.rbegin(); it != subviews.rend(); ++it)
                if (Ref<Object> hit = sel::hitTest_withEvent_(*it, (*it)->fromSuperviewSpace(p), event)) return hit;
            return Ref<Object>(self);
        });
}

}  // namespace uikit::detail
}  // namespace platform
