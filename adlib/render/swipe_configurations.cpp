#include "adlib/render/swipe_configurations.h"

#include "adlib/foundation/device.h"
#include "adlib/foundation/utilities.h"

namespace adlib {

namespace {

Value rectanglesFrom(const Value& list) {
    Value::Array rectangles;
    for (const Value& element : list.array()) {
        if (!element.isDictionary()) continue;
        Ref<NSError> error;
        Rect rect = MakeRectFromDictionary(element, &error);
        if (!error) rectangles.emplace_back(rect);
    }
    return rectangles.empty() ? Value() : Value(std::move(rectangles));
}

}  // namespace

void YBXSwipeToViewControllerConfigurations::setUp(const Value& d) {
    if (const Value& product = d["app_store_product_id"]; product.isNumber()) swipeableInAppStoreProductID_ = product;
    swipeableRectangles_ = rectanglesFrom(d["swipeable_rectangles"]);
    if (const Value& metadata = d["swipe_event_creative_metadata"]; metadata.isDictionary()) swipeEventCreativeMetadata_ = metadata;
    const Value& duration = d["swipe_animation_transition_duration"];
    swipeAnimationTransitionDuration_ = duration.isNumber() && duration.doubleValue() > 0 ? duration.doubleValue() : 1.0;
}

void registerSwipeConfigurationsClass() {
    using Configurations = YBXSwipeToViewControllerConfigurations;
    ClassBuilder<Configurations>("YBXSwipeToViewControllerConfigurations", "NSObject")
        .method(sel::init, [](id) { return Ref<Object>(); })
        .method(sel::initWithSwipeConfigurations_,
                [](id self, Value dictionary) -> Ref<Object> {
                    // Only a dictionary configures anything; the feature needs iOS 7.
                    if (!dictionary.isDictionary() || !sel::isOSAtLeastMajor_minor_bug_(YBXDevice::currentDevice(), 7, 0, 0)) return nullptr;
                    as<Configurations>(self)->setUp(dictionary);
                    return Ref<Object>(self);
                })
        .getter<&Configurations::swipeableInAppStoreProductID_>(sel::swipeableInAppStoreProductID)
        .getter<&Configurations::swipeableRectangles_>(sel::swipeableRectangles)
        .getter<&Configurations::swipeEventCreativeMetadata_>(sel::swipeEventCreativeMetadata)
        .getter<&Configurations::swipeAnimationTransitionDuration_>(sel::swipeAnimationTransitionDuration)
        .property<&Configurations::swipeDirection_>(sel::swipeDirection, sel::setSwipeDirection_)
        .property<&Configurations::isAdDraggable_>(sel::isAdDraggable, sel::setIsAdDraggable_);
}

}  // namespace adlib
