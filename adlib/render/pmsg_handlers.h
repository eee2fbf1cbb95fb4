// The creative message handlers that every ad web view delegate lists: the
// opener's, the default, viewability, app-event, web-app and swipe-to-view
// handlers (the MRAID handler has a file of its own). So far each is made
// with what it is bound to (its opener or slot, held weakly) and has an empty
// table; their messages come with their own work. Main thread only.
#pragma once

#include "adlib/render/pmsg_handler.h"

namespace adlib {

class YBXBoundPMSGHandler : public YBXPMSGHandler {
public:
    WeakRef<Object> opener_;
    WeakRef<Object> slot_;
};

void registerPMSGHandlerClasses();

}  // namespace adlib
