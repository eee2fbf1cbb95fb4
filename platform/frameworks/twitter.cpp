#include "platform/frameworks/twitter.h"

namespace platform::twitter {

void registerClasses() {
    ClassBuilder<TWTweetComposeViewController>("TWTweetComposeViewController", "UIViewController")
        .method(sel::setInitialText_,
                [](id self, Value text) {
                    auto* sheet = as<TWTweetComposeViewController>(self);
                    if (sheet->presenting_.lock()) return false;
                    sheet->initialText_ = text;
                    return true;
                });
}

}  // namespace platform::twitter
