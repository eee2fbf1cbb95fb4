// YBXSwipeToViewControllerConfigurations: the swipe-to-view settings of one ad,
// read from its "swipe_to_viewcontroller" dictionary; the creative's messages
// set the direction and whether the ad is dragged along. Exists only from
// system version 7.0.0 on. Main thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

// YBXSwipeDirection
enum YBXSwipeDirection : long long {
    YBXSwipeDirectionNone = 0,
    YBXSwipeDirectionTopToBottom = 1,
    YBXSwipeDirectionBottomToTop = 2,
};

class YBXSwipeToViewControllerConfigurations : public NSObject {
public:
    void setUp(const Value& dictionary);

    Value swipeableInAppStoreProductID_;
    Value swipeableRectangles_;  // Rect values, or nil
    Value swipeEventCreativeMetadata_;
    double swipeAnimationTransitionDuration_ = 1.0;
    long long swipeDirection_ = YBXSwipeDirectionNone;
    bool isAdDraggable_ = false;
};

void registerSwipeConfigurationsClass();

}  // namespace adlib
