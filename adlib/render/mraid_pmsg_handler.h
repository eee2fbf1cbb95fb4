// YBXMRAIDPMSGHandler: the creative messages of MRAID ads ("mraid", with the
// sub-action in "a": resize, storePicture, createCalendarEvent), carried out
// through the slot's opener (owned) and, for pictures, YBXMRAIDPicture, which
// asks the user first. YBXMRAIDResizeProperties is a resize's geometry: all
// six keys or none. Main thread.
#pragma once

#include <map>
#include <string>

#include "adlib/render/pmsg_handler.h"
#include "platform/uikit/geometry.h"

namespace adlib {

// YBXMRAIDCustomClosePosition, from the "customClosePosition" text.
enum YBXMRAIDCustomClosePosition : long long {
    YBXMRAIDCustomClosePositionTopRight = 0,
    YBXMRAIDCustomClosePositionTopCenter = 1,
    YBXMRAIDCustomClosePositionTopLeft = 2,
    YBXMRAIDCustomClosePositionCenter = 3,
    YBXMRAIDCustomClosePositionBottomRight = 4,
    YBXMRAIDCustomClosePositionBottomCenter = 5,
    YBXMRAIDCustomClosePositionBottomLeft = 6,
};

class YBXMRAIDResizeProperties : public NSObject {
public:
    // Whether the parameters held all six keys.
    bool setUp(const Value& parameters);
    static long long customClosePositionFromString(const Value& text);

    Size size_{};
    Point offset_{};
    long long customClosePosition_ = YBXMRAIDCustomClosePositionTopRight;
    bool allowOffscreen_ = false;
};

class YBXMRAIDPMSGHandler : public YBXPMSGHandler {
public:
    void didReceiveMRAIDNotification(const Value& argument);
    void actionResize(const Value& argument);
    void actionStorePicture(const Value& argument);
    void actionCreateCalendarEvent(const Value& argument);
    // Either end of a picture: it is forgotten.
    void pictureEnded(NSURL* url);

    Ref<Object> opener_;
    // Picture URL text -> YBXMRAIDPicture.
    std::map<std::string, Ref<Object>> pendingPictureDownloads_;
};

void registerMRAIDPMSGHandlerClasses();

}  // namespace adlib
