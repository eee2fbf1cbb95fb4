#include "platform/uikit/layout_constraint.h"

#include <algorithm>

#include "platform/uikit/internal.h"

namespace platform {

namespace {

NSLayoutConstraint* constraint(const Ref<Object>& c) { return as<NSLayoutConstraint>(c.get()); }

bool solvable(const NSLayoutConstraint* c) {
    auto position = [](long long a) {
        return a == NSLayoutAttributeLeft || a == NSLayoutAttributeRight || a == NSLayoutAttributeTop || a == NSLayoutAttributeBottom ||
               a == NSLayoutAttributeCenterX || a == NSLayoutAttributeCenterY;
    };
    return c->relation == NSLayoutRelationEqual && position(c->firstAttribute) &&
           (position(c->secondAttribute) || c->secondAttribute == NSLayoutAttributeNotAnAttribute);
}

// The item's rectangle in the holder's coordinates (the holder's own: its bounds).
Rect rectIn(UIView* holder, UIView* item) {
    if (item == holder) return Rect(Point{}, holder->bounds_.size);
    if (item->superview().get() == holder) return item->frameValue();
    return sel::convertRect_toView_(item, Rect(Point{}, item->bounds_.size), holder);
}

double attributeOf(Rect r, long long attribute) {
    switch (attribute) {
        case NSLayoutAttributeLeft: return r.minX();
        case NSLayoutAttributeRight: return r.maxX();
        case NSLayoutAttributeTop: return r.minY();
        case NSLayoutAttributeBottom: return r.maxY();
        case NSLayoutAttributeCenterX: return r.midX();
        case NSLayoutAttributeCenterY: return r.midY();
        default: return 0;
    }
}

// Moves the rectangle so that its attribute has the value.
Rect placed(Rect r, long long attribute, double value) {
    switch (attribute) {
        case NSLayoutAttributeLeft: r.origin.x = value; break;
        case NSLayoutAttributeRight: r.origin.x = value - r.width(); break;
        case NSLayoutAttributeTop: r.origin.y = value; break;
        case NSLayoutAttributeBottom: r.origin.y = value - r.height(); break;
        case NSLayoutAttributeCenterX: r.origin.x = value - r.width() / 2; break;
        case NSLayoutAttributeCenterY: r.origin.y = value - r.height() / 2; break;
        default: break;
    }
    return r;
}

}  // namespace

namespace uikit::detail {

void solveConstraints(UIView* holder) {
    Ref<UIView> protector(holder);
    auto list = holder->constraints_;
    // Views placed by the constraints take their fitting size first.
    for (const auto& c : list) {
        Ref<UIView> item = constraint(c) ? constraint(c)->firstItem.lock() : nullptr;
        if (!item || item == holder || item->translatesAutoresizingMaskIntoConstraints_ || !solvable(constraint(c))) continue;
        Size fits = sel::sizeThatFits_(item, Size{});
        if (!(item->bounds_.size == fits)) sel::setBounds_(item, Rect(item->bounds_.origin, fits));
    }
    for (const auto& c : list) {
        NSLayoutConstraint* k = constraint(c);
        Ref<UIView> item = k ? k->firstItem.lock() : nullptr;
        if (!item || item == holder || item->translatesAutoresizingMaskIntoConstraints_ || !solvable(k)) continue;
        Ref<UIView> other = k->secondItem.lock();
        double value = (other ? attributeOf(rectIn(holder, other), k->secondAttribute) * k->multiplier : 0) + k->constant;
        Rect now = rectIn(holder, item);
        Rect next = placed(now, k->firstAttribute, value);
        if (next == now) continue;
        if (item->superview().get() == holder) sel::setFrame_(item, next);
        else sel::setFrame_(item, sel::convertRect_fromView_(item->superview(), next, holder));
    }
}

void registerLayoutConstraints() {
    ClassBuilder<NSLayoutConstraint>("NSLayoutConstraint", "NSObject")
        .classMethod(sel::constraintWithItem_attribute_relatedBy_toItem_attribute_multiplier_constant_,
                     [](id cls, id first, long long firstAttribute, long long relation, id second, long long secondAttribute, double multiplier,
                        double constant) -> Ref<Object> {
                         auto c = as<NSLayoutConstraint>(alloc(static_cast<Class*>(cls)));
                         if (!as<UIView>(first)) raise("NSInvalidArgumentException", "Constraint items must each be a view");
                         c->firstItem = as<UIView>(first);
                         c->firstAttribute = firstAttribute;
                         c->relation = relation;
                         c->secondItem = as<UIView>(second);
                         c->secondAttribute = secondAttribute;
                         c->multiplier = multiplier;
                         c->constant = constant;
                         return c;
                     });

    ClassBuilder<UIView>(objc_getClass("UIView"))
        .method(sel::addConstraint_,
                [](id self, id c) {
                    if (!as<NSLayoutConstraint>(c)) return;
                    as<UIView>(self)->constraints_.emplace_back(c);
                    markNeedsLayout(as<UIView>(self));
                })
        .method(sel::addConstraints_,
                [](id self, Value list) {
                    for (const Value& c : list.array()) sel::addConstraint_(self, c.object());
                })
        .method(sel::removeConstraint_,
                [](id self, id c) {
                    auto& list = as<UIView>(self)->constraints_;
                    std::erase_if(list, [c](const Ref<Object>& k) { return k.get() == c; });
                    markNeedsLayout(as<UIView>(self));
                })
        .method(sel::constraints,
                [](id self) {
                    Value::Array out;
                    for (const auto& c : as<UIView>(self)->constraints_) out.emplace_back(c);
                    return Value(std::move(out));
                })
        .property<&UIView::translatesAutoresizingMaskIntoConstraints_>(sel::translatesAutoresizingMaskIntoConstraints,
                                                                        sel::setTranslatesAutoresizingMaskIntoConstraints_);
}

}  // namespace uikit::detail
}  // namespace platform
