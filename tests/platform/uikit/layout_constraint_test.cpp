#include "platform/uikit/layout_constraint.h"

#include "platform/uikit/label.h"
#include "uikit_test_support.h"

namespace platform::uitest {
namespace {

using LayoutConstraints = UIKitTest;

Ref<Object> constraint(id item, long long attribute, long long relation, id other, long long otherAttribute, double multiplier, double constant) {
    return sel::constraintWithItem_attribute_relatedBy_toItem_attribute_multiplier_constant_(
        objc_getClass("NSLayoutConstraint"), item, attribute, relation, other, otherAttribute, multiplier, constant);
}

TEST_F(LayoutConstraints, ALayoutPassPlacesTheConstrainedViewsInOrderAtTheirFittingSize) {
    Ref<UIView> holder = makeView(Rect(0, 0, 200, 100));
    auto label = UIView::make<UILabel>("UILabel", Rect(1, 2, 3, 4));
    sel::setText_(label, Value("Hello"));
    Ref<UIView> below = makeView(Rect(0, 0, 50, 10), holder);
    sel::addSubview_(holder, label);
    sel::setTranslatesAutoresizingMaskIntoConstraints_(label, false);
    sel::setTranslatesAutoresizingMaskIntoConstraints_(below, false);
    sel::addConstraint_(holder, constraint(label, NSLayoutAttributeTop, NSLayoutRelationEqual, holder, NSLayoutAttributeBottom, 0.25, 0));
    sel::addConstraint_(holder, constraint(label, NSLayoutAttributeCenterX, NSLayoutRelationEqual, holder, NSLayoutAttributeCenterX, 1, 0));
    sel::addConstraint_(holder, constraint(below, NSLayoutAttributeTop, NSLayoutRelationEqual, label, NSLayoutAttributeBottom, 1, 5));
    sel::addConstraint_(holder, constraint(below, NSLayoutAttributeLeft, NSLayoutRelationGreaterThanOrEqual, holder, NSLayoutAttributeLeft, 1, 30));
    EXPECT_EQ(sel::constraints(holder).count(), 4u);
    EXPECT_EQ(label->frameValue(), Rect(1, 2, 3, 4));  // until the layout pass
    advance(0.01);
    Size fits = label->textSize(Size{});
    Rect placed = label->frameValue();
    EXPECT_EQ(placed.size, fits);
    EXPECT_DOUBLE_EQ(placed.midX(), 100);
    EXPECT_DOUBLE_EQ(placed.minY(), 25);
    EXPECT_DOUBLE_EQ(below->frameValue().minY(), placed.maxY() + 5);
    EXPECT_EQ(below->frameValue().minX(), 0);  // not an equal relation: not solved
    // A view that keeps its own frame is not moved.
    sel::setTranslatesAutoresizingMaskIntoConstraints_(label, true);
    sel::setFrame_(label, Rect(0, 0, 10, 10));
    sel::setFrame_(holder, Rect(0, 0, 400, 100));
    layoutIfNeeded(holder);
    EXPECT_EQ(label->frameValue(), Rect(0, 0, 10, 10));
}

TEST_F(LayoutConstraints, ConstraintsDoNotKeepTheirItems) {
    Ref<UIView> holder = makeView(Rect(0, 0, 200, 100));
    WeakRef<UIView> gone;
    {
        auto view = makeView(Rect(0, 0, 10, 10));
        gone = view.get();
        sel::addConstraint_(holder, constraint(view, NSLayoutAttributeTop, NSLayoutRelationEqual, holder, NSLayoutAttributeTop, 1, 0));
    }
    EXPECT_FALSE(gone.lock());
    advance(0.01);  // solving skips it
}

}  // namespace
}  // namespace platform::uitest
