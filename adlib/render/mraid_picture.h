// YBXMRAIDPicture: one picture an MRAID creative asks to store. It asks the
// user first (the "Permission" alert, whose delegate it is); only "Save"
// downloads it, once, and a picture that makes an image goes into the
// saved-photos album. Its delegate (weak, both methods optional) hears how it
// ended. Main thread; the download's completion comes on the main queue.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/network/url.h"

namespace adlib {

inline constexpr const char* kYBXMRAIDPictureAlertTitle = "Permission";
inline constexpr const char* kYBXMRAIDPictureAlertMessage = "The ad is requesting to save an image in your photo album.";
inline constexpr double kYBXMRAIDPictureTimeout = 60.0;

class YBXMRAIDPicture : public NSObject {
public:
    ~YBXMRAIDPicture() override;

    void storeInPhotoAlbum();
    void alertClicked(id alert, long long index);
    void downloadImageWithURL(NSURL* url);
    void downloadEnded(const Data* data, NSError* error);

    Ref<NSURL> pictureURL_;
    WeakRef<Object> delegate_;
    bool downloadStarted_ = false;
    Ref<Object> alert_;
};

void registerMRAIDPictureClass();

}  // namespace adlib
