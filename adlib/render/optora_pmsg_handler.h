// YBXOptoraPMSGHandler: the viewability script's answers in an SDK-core page
// that receives a slot's reports: "visibilityChanged" (the page's web view
// keeps the verdict and tells its observer, the slot of an MRAID ad) and
// "untrackOptoraUnit" (the unit is done: the page may be released). One of
// the standard web view delegate's handlers. Main thread.
#pragma once

#include "adlib/render/pmsg_handler.h"

namespace adlib {

void registerOptoraPMSGHandlerClass();

}  // namespace adlib
