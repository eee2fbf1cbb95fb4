// Registers the URL loading classes (NSURL, requests, responses, NSURLConnection)
// with the runtime; boot calls it.
#pragma once

namespace platform::network {
void registerClasses();
}
