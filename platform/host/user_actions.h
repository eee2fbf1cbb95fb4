// What a user (or a scenario acting as one) can do and see in a host: read the
// screen (the visible texts, button titles and images of the windows, front to
// back), tap what shows a text or an image, press the device's buttons, and
// read what the sound stand-ins and SpringBoard's schedule hold. Everything
// goes through the platform: a tap is a touch at a point, decided by hit
// testing, so what cannot be hit cannot be pressed.
#pragma once

#include "platform/runtime/value.h"

namespace platform::host {

// The visible windows, front to back: [{"level": n, "items": [{"text", "kind"
// ("label", "button", "field" or "image"), "frame": [x, y, w, h]}]}].
Value readScreen();

// Taps the frontmost visible item that shows `text` (a label's or button's
// text, or an image's name). Answers "" when the tap reached it, else why not.
std::string tapItemShowing(const std::string& text);

// The user commands, registered in a controlled host: "screen", "tap",
// "press", "device", "system-alert", "activator", "sound", "scheduled".
void registerUserCommands();

}  // namespace platform::host
