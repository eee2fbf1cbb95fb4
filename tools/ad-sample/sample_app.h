// The sample publisher app ("net.quillory.AdSample"): one screen with a smart
// banner at the top, buttons that load and then show an interstitial and load
// a native app-install and a native content ad, the native ads laid out from
// their assets, and the list of what the ad library told the app, each
// callback with its time. Its classes use only the library's public ones
// (banner view, interstitial, request, ad loader, native ads and their
// delegates), as a publisher's app would.
//
// The commands a scenario drives it with (registered in a controlled host):
// "ad-load-banner" ({"unit"}), "ad-load-interstitial" ({"unit"}),
// "ad-show-interstitial" and "ad-load-native" ({"format": "app-install" or
// "content", "unit"}) tap the screen's buttons; "ad-tap" ({"text"?}) puts a
// finger on the ad in front and clicks its element showing the text (the
// ad's link without one); "ad-rotate" ({"landscape"}), "ad-background",
// "ad-foreground" and "ad-network" ({"online"}) act on the device; "ad-state"
// reads what the app shows and heard; "ad-settle" ({"held"}) lets the loads
// in flight end (all but the `held` ones the server keeps waiting).
#pragma once

#include <functional>

namespace rousa::sample {

// The app's classes; after boot, before UIApplicationMain.
void registerSampleApp();
void registerSampleCommands();

}  // namespace rousa::sample
