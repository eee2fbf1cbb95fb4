// Mediation pings: YBXMUtilities, which expands a ping template into its URL,
// the category YBXClickTrackerCollection(Mediation), which expands a list of
// templates and fires them through the shared tracker collection, and the
// default templates on the ad server's mediation ping host. Main thread, like
// the trackers they start.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"
#include "platform/network/url.h"

namespace adlib {

// The default templates: the configured ad-server address with the paths
// "/nofill", "/imp" and "/clk".
std::string YBXMNoFillTemplate();
std::string YBXMImpressionTemplate();
std::string YBXMClickTemplate();

// The template's eleven macros filled in order; a missing value counts as
// empty text and unknown markers are removed. Nil when nothing is left or
// the text makes no URL.
Ref<NSURL> YBXMMediationURL(const Value& templ, const Value& adLocationID, bool adNetworkRefresh, const Value& allocationID,
                            const Value& adNetworkID, const Value& qData, const Value& sessionID, const Value& sequenceNumber,
                            const Value& exitCodes, const Value& durations);

// Expands every string of `templates` (an absent list means the default
// template alone; an empty one sends nothing), each with a fresh sequence
// number and the session ID, and tracks the URLs.
void YBXMTrackMediationURLs(const Value& templates, const Value& defaultTemplate, const Value& networkID, const Value& allocationID,
                            const Value& qData, const Value& appKey, bool refresh, const Value& durations, const Value& exitCodes);

// The connector's credential of that key when it is text; anything else counts as missing (nil).
Value YBXMTextCredential(id connector, const char* key);

// YBXMUtilities, and the category on YBXClickTrackerCollection (registered before it).
void registerMediationUtilities();

}  // namespace adlib
