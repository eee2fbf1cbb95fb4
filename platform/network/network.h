// Registers the URL loading classes (NSURL, requests, responses, NSURLConnection,
// NSURLProtocol) and reachability with the runtime; boot calls it.
#pragma once

namespace platform::network {
void registerClasses();
}
