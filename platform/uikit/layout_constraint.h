// NSLayoutConstraint of the simple kind: first item's attribute = second
// item's attribute × multiplier + constant, with the equal relation, on the
// edges and centres (left, right, top, bottom, centre X, centre Y). A view
// holds the constraints added to it (addConstraint:) and its layout pass
// places their first items: a view whose frame is the constraints'
// (translatesAutoresizingMaskIntoConstraints NO) takes its own fitting size
// (sizeThatFits:) and is moved so that each constrained edge or centre sits
// where its constraint says, constraints applied in the order they were added.
// A second item of nil stands for the value 0; the holding view's attributes
// are those of its bounds. Other relations and the size attributes are kept
// but not solved. Items are weak. Main thread only.
#pragma once

#include "platform/uikit/view.h"

namespace platform {

inline constexpr long long NSLayoutRelationLessThanOrEqual = -1;
inline constexpr long long NSLayoutRelationEqual = 0;
inline constexpr long long NSLayoutRelationGreaterThanOrEqual = 1;

inline constexpr long long NSLayoutAttributeNotAnAttribute = 0;
inline constexpr long long NSLayoutAttributeLeft = 1;
inline constexpr long long NSLayoutAttributeRight = 2;
inline constexpr long long NSLayoutAttributeTop = 3;
inline constexpr long long NSLayoutAttributeBottom = 4;
inline constexpr long long NSLayoutAttributeWidth = 7;
inline constexpr long long NSLayoutAttributeHeight = 8;
inline constexpr long long NSLayoutAttributeCenterX = 9;
inline constexpr long long NSLayoutAttributeCenterY = 10;

namespace sel {
// Class method.
inline constexpr Sel<Ref<Object>(id, id, long long, long long, id, long long, double, double)>
    constraintWithItem_attribute_relatedBy_toItem_attribute_multiplier_constant_{
        "constraintWithItem:attribute:relatedBy:toItem:attribute:multiplier:constant:"};
inline constexpr Sel<void(id, id)> addConstraint_{"addConstraint:"};
inline constexpr Sel<void(id, Value)> addConstraints_{"addConstraints:"};
inline constexpr Sel<void(id, id)> removeConstraint_{"removeConstraint:"};
inline constexpr Sel<Value(id)> constraints{"constraints"};
inline constexpr Sel<bool(id)> translatesAutoresizingMaskIntoConstraints{"translatesAutoresizingMaskIntoConstraints"};
inline constexpr Sel<void(id, bool)> setTranslatesAutoresizingMaskIntoConstraints_{"setTranslatesAutoresizingMaskIntoConstraints:"};
}  // namespace sel

class NSLayoutConstraint : public NSObject {
public:
    WeakRef<UIView> firstItem;
    long long firstAttribute = NSLayoutAttributeNotAnAttribute;
    long long relation = NSLayoutRelationEqual;
    WeakRef<UIView> secondItem;
    long long secondAttribute = NSLayoutAttributeNotAnAttribute;
    double multiplier = 1;
    double constant = 0;
};

}  // namespace platform
