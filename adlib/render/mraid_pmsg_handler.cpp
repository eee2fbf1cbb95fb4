#include "adlib/render/mraid_pmsg_handler.h"

#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/utilities.h"
#include "platform/foundation/ns_string.h"

namespace adlib {

namespace {

YBXMRAIDPMSGHandler* handlerOf(id self) { return as<YBXMRAIDPMSGHandler>(self); }
YBXMRAIDResizeProperties* propertiesOf(id self) { return as<YBXMRAIDResizeProperties>(self); }

// The note's parameters from a handler argument {"webView", "note"}.
Value parametersOf(const Value& argument) {
    auto* note = argument["note"].objectAs<YBXNotification>();
    return note ? note->parameters() : Value(Value::Dictionary{});
}

const Value& subActionSelectorDictionary() {
    static const Value* table = new Value{{"resize", Value("actionResize:")},
                                          {"storePicture", Value("actionStorePicture:")},
                                          {"createCalendarEvent", Value("actionCreateCalendarEvent:")}};
    return *table;
}

// Sent only when the opener has it, so that an opener without MRAID support is left alone.
template <class... A>
void tellOpener(id opener, const Sel<void(id, A...)>& selector, A... arguments) {
    if (opener && respondsToSelector(opener, selector.name)) selector(opener, arguments...);
}

}  // namespace

// --- YBXMRAIDResizeProperties -----------------------------------------------------------------------

long long YBXMRAIDResizeProperties::customClosePositionFromString(const Value& text) {
    static const char* const positions[] = {"top-right", "top-center", "top-left", "center", "bottom-right", "bottom-center", "bottom-left"};
    if (!text.isString()) return YBXMRAIDCustomClosePositionTopRight;
    for (long long i = 0; i < static_cast<long long>(std::size(positions)); ++i)
        if (text.string() == positions[i]) return i;
    return YBXMRAIDCustomClosePositionTopRight;
}

bool YBXMRAIDResizeProperties::setUp(const Value& parameters) {
    for (const char* key : {"width", "height", "offsetX", "offsetY", "customClosePosition", "allowOffscreen"})
        if (parameters[key].isNil()) return false;
    size_ = Size{parameters["width"].doubleValue(), parameters["height"].doubleValue()};
    offset_ = Point{parameters["offsetX"].doubleValue(), parameters["offsetY"].doubleValue()};
    customClosePosition_ = customClosePositionFromString(parameters["customClosePosition"]);
    allowOffscreen_ = parameters["allowOffscreen"].boolValue();
    return true;
}

// --- YBXMRAIDPMSGHandler ----------------------------------------------------------------------------

void YBXMRAIDPMSGHandler::didReceiveMRAIDNotification(const Value& argument) {
    const Value& action = subActionSelectorDictionary()[parametersOf(argument)["a"].stringOr("")];
    if (!action.isString()) return;
    Ref<YBXMRAIDPMSGHandler> protector(this);
    InvokeSelectorWithObject(this, sel_registerName(action.string()), argument);
}

void YBXMRAIDPMSGHandler::actionResize(const Value& argument) {
    Ref<Object> properties = sel::initWithDictionary_(alloc("YBXMRAIDResizeProperties"), parametersOf(argument));
    auto* resize = propertiesOf(properties.get());
    tellOpener(opener_.get(), sel::openWebAppWithSize_offset_, resize ? resize->size_ : Size{}, resize ? resize->offset_ : Point{});
}

void YBXMRAIDPMSGHandler::actionStorePicture(const Value& argument) {
    const Value text = parametersOf(argument)["iurl"];
    Ref<NSURL> url = text.isString() ? NSURL::URLWithString(text.string()) : nullptr;
    // Only pictures from the web: a creative must not make the library read local files.
    if (!url || url->host().empty()) return;
    const std::string scheme = lowercaseString(url->scheme());
    if (scheme != "http" && scheme != "https") return;
    const std::string key = url->absoluteString();
    if (pendingPictureDownloads_.contains(key)) return;
    Ref<Object> picture = sel::initWithPictureURL_(alloc("YBXMRAIDPicture"), url.get());
    if (!picture) return;
    sel::setDelegate_(picture.get(), this);
    pendingPictureDownloads_[key] = picture;
    sel::storeInPhotoAlbum(picture.get());
}

void YBXMRAIDPMSGHandler::actionCreateCalendarEvent(const Value& argument) {
    tellOpener(opener_.get(), sel::openCalendarWithDictionary_, parametersOf(argument));
}

void YBXMRAIDPMSGHandler::pictureEnded(NSURL* url) {
    if (url) pendingPictureDownloads_.erase(url->absoluteString());
}

void registerMRAIDPMSGHandlerClasses() {
    ClassBuilder<YBXMRAIDResizeProperties>("YBXMRAIDResizeProperties", "NSObject")
        .method(sel::initWithDictionary_,
                [](id self, Value parameters) { return propertiesOf(self)->setUp(parameters) ? Ref<Object>(self) : nullptr; })
        .classMethod(sel::customClosePositionFromString_,
                     [](id, Value text) { return YBXMRAIDResizeProperties::customClosePositionFromString(text); })
        .getter<&YBXMRAIDResizeProperties::size_>(sel::size)
        .getter<&YBXMRAIDResizeProperties::offset_>(sel::offset)
        .getter<&YBXMRAIDResizeProperties::customClosePosition_>(sel::customClosePosition)
        .getter<&YBXMRAIDResizeProperties::allowOffscreen_>(sel::allowOffscreen);

    ClassBuilder<YBXMRAIDPMSGHandler>("YBXMRAIDPMSGHandler", "YBXPMSGHandler")
        .protocol("YBXMRAIDPictureDelegate")
        .classMethod(sel::actionSelectorDictionary, [](id) { return Value{{"mraid", Value("didReceiveMRAIDNotification:")}}; })
        .method(sel::initWithOpener_,
                [](id self, id opener) {
                    Ref<Object> made = sel::initWithActionSelectorDictionary_(self, sel::actionSelectorDictionary(object_getClass(self)));
                    if (YBXMRAIDPMSGHandler* handler = handlerOf(made.get())) handler->opener_ = Ref<Object>(opener);
                    return made;
                })
        .method(sel::opener, [](id self) { return handlerOf(self)->opener_; })
        .method(sel::pendingPictureDownloads,
                [](id self) {
                    Value::Dictionary pending;
                    for (const auto& [url, picture] : handlerOf(self)->pendingPictureDownloads_) pending[url] = Value(picture.get());
                    return Value(std::move(pending));
                })
        .method(sel::didReceiveMRAIDNotification_, [](id self, Value argument) { handlerOf(self)->didReceiveMRAIDNotification(argument); })
        .method(sel::actionResize_, [](id self, Value argument) { handlerOf(self)->actionResize(argument); })
        .method(sel::actionStorePicture_, [](id self, Value argument) { handlerOf(self)->actionStorePicture(argument); })
        .method(sel::actionCreateCalendarEvent_, [](id self, Value argument) { handlerOf(self)->actionCreateCalendarEvent(argument); })
        .method(sel::MRAIDPicture_didStorePictureWithURL_, [](id self, id, NSURL* url) { handlerOf(self)->pictureEnded(url); })
        .method(sel::MRAIDPicture_failedToStorePictureWithURL_message_,
                [](id self, id, NSURL* url, Value) { handlerOf(self)->pictureEnded(url); });
}

}  // namespace adlib
