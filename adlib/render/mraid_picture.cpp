#include "adlib/render/mraid_picture.h"

#include "platform/foundation/format.h"
#include "platform/foundation/operation_queue.h"
#include "platform/network/connection.h"
#include "platform/uikit/alert_sheets.h"
#include "platform/uikit/image.h"

namespace adlib {

namespace {

YBXMRAIDPicture* pictureOf(id self) { return as<YBXMRAIDPicture>(self); }

constexpr const char* kSaveButtonTitle = "Save";

}  // namespace

YBXMRAIDPicture::~YBXMRAIDPicture() {
    if (alert_) sel::setDelegate_(alert_.get(), nullptr);
}

void YBXMRAIDPicture::storeInPhotoAlbum() {
    alert_ = sel::initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles_(
        alloc("UIAlertView"), Value(kYBXMRAIDPictureAlertTitle), Value(kYBXMRAIDPictureAlertMessage), this, Value("Cancel"),
        Value::array({Value(kSaveButtonTitle)}));
    sel::show(alert_.get());
}

void YBXMRAIDPicture::alertClicked(id alert, long long index) {
    if (sel::buttonTitleAtIndex_(alert, index) != Value(kSaveButtonTitle)) return;
    sel::downloadImageWithURL_(this, pictureURL_.get());
}

void YBXMRAIDPicture::downloadImageWithURL(NSURL* url) {
    if (downloadStarted_ || !url) return;
    downloadStarted_ = true;
    Ref<NSMutableURLRequest> request = NSMutableURLRequest::requestWithURL(url, NSURLRequestUseProtocolCachePolicy, kYBXMRAIDPictureTimeout);
    Ref<YBXMRAIDPicture> self(this);
    NSURLConnection::sendAsynchronousRequest(request.get(), NSOperationQueue::mainQueue(),
                                             [self](Ref<NSURLResponse>, std::optional<Data> data, Ref<NSError> error) {
                                                 self->downloadEnded(data ? &*data : nullptr, error.get());
                                             });
}

void YBXMRAIDPicture::downloadEnded(const Data* data, NSError* error) {
    Ref<YBXMRAIDPicture> protector(this);
    Ref<Object> delegate = delegate_.lock();
    Ref<Object> image = data && !data->empty() && !error ? sel::imageWithData_(objc_getClass("UIImage"), Value(*data)) : nullptr;
    if (auto* picture = as<UIImage>(image.get())) {
        UIImageWriteToSavedPhotosAlbum(picture, nullptr, SEL(), nullptr);
        if (delegate && respondsToSelector(delegate.get(), sel::MRAIDPicture_didStorePictureWithURL_.name))
            sel::MRAIDPicture_didStorePictureWithURL_(delegate.get(), this, pictureURL_.get());
        return;
    }
    if (delegate && respondsToSelector(delegate.get(), sel::MRAIDPicture_failedToStorePictureWithURL_message_.name)) {
        const Value reason = error ? Value(error->description()) : Value();
        sel::MRAIDPicture_failedToStorePictureWithURL_message_(delegate.get(), this, pictureURL_.get(),
                                                              Value(format("Failed to load %@. Error: %@", Value(pictureURL_ ? pictureURL_->absoluteString() : ""), reason)));
    }
}

void registerMRAIDPictureClass() {
    ClassBuilder<YBXMRAIDPicture>("YBXMRAIDPicture", "NSObject")
        .protocol("UIAlertViewDelegate")
        .method(sel::initWithPictureURL_,
                [](id self, NSURL* url) {
                    pictureOf(self)->pictureURL_ = url;
                    return Ref<Object>(self);
                })
        .method(sel::pictureURL, [](id self) -> Ref<Object> { return pictureOf(self)->pictureURL_; })
        .method(sel::delegate, [](id self) { return pictureOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { pictureOf(self)->delegate_ = WeakRef<Object>(delegate); })
        .getter<&YBXMRAIDPicture::downloadStarted_>(sel::downloadStarted)
        .method(sel::storeInPhotoAlbum, [](id self) { pictureOf(self)->storeInPhotoAlbum(); })
        .method(sel::downloadImageWithURL_, [](id self, NSURL* url) { pictureOf(self)->downloadImageWithURL(url); })
        .method(sel::alertView_clickedButtonAtIndex_, [](id self, id alert, long long index) { pictureOf(self)->alertClicked(alert, index); });
}

}  // namespace adlib
