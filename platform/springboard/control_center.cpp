// The Control Centre's timer shortcut, SBCCTimerShortcut: its button opens the
// Clock app on its timer ("clock-timer:default", through the application's
// openURL:) and shows the timer glyph. One shortcut per process, made on
// first use.
#include "platform/foundation/format.h"
#include "platform/runtime/call_log.h"
#include "platform/springboard/device.h"
#include "platform/springboard/internal.h"
#include "platform/springboard/selectors.h"
#include "platform/uikit/application.h"
#include "platform/uikit/image.h"

namespace platform {

namespace springboard::detail {

Ref<Object> timerShortcut() {
    static auto* shortcut = new Ref<Object>();
    if (!*shortcut) *shortcut = newObject("SBCCTimerShortcut");
    return *shortcut;
}

void registerControlCenter() {
    ClassBuilder<NSObject>("SBCCTimerShortcut", "NSObject")
        .method(sel::activateAppWithDisplayID_url_,
                [](id, Value displayID, Value url) {
                    callLog::record("SBCCTimerShortcut", "activateAppWithDisplayID:url:", format("%@ %@", displayID, url));
                    sel::openURL_(UIApplication::sharedApplication(), url);
                })
        .method(sel::glyphImageForState_, [](id, long long state) -> Ref<Object> {
            callLog::record("SBCCTimerShortcut", "glyphImageForState:", std::to_string(state));
            return UIImage::named("ControlCenterGlyphTimer", nullptr);
        });
}

}  // namespace springboard::detail

namespace device {

void pressControlCenterTimer() {
    sel::activateAppWithDisplayID_url_(springboard::detail::timerShortcut(), Value(springboard::detail::kClockBundleIdentifier),
                                       Value("clock-timer:default"));
}

}  // namespace device
}  // namespace platform
