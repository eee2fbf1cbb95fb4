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

// The user commands, registered in a controlled host. Seeing: "screen",
// "sound", "scheduled". Touching what shows a text ({"text", "after"?}: the
// first such item after the first item showing `after`): "tap"; "switch"
// ({"label", "on"}), "slide" ({"near", "value"}) and "type" ({"text",
// "replace"?, "near"?, "finish"?}: the keyboard, into the field beside `near`
// or the one being edited) work the control beside a text, which an "after"
// picks out as for a tap; "spin" ({"seconds"})
// the time picker; "reveal" scrolls the frontmost table until an item shows;
// "touch" ({"phase": down|move|up, "row"?|"text"?}) holds one finger between
// calls, for long presses and drags. The device: "press", "device",
// "system-alert", "activator". In the Settings app, "settings-route" ({"key"})
// names the links from the page on top to the row of a preference. Each
// action answers "" when done, else why it could not be done.
void registerUserCommands();

}  // namespace platform::host
