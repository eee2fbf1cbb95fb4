// The creative message handlers that every ad web view delegate lists. The
// four general families: YBXDefaultPMSGHandler (tracking, logging, touches,
// vibration, URL probing, close), YBXOpenerPMSGHandler (clicks and every way
// of opening a destination, through the opener it owns), YBXAppEventPMSGHandler
// (app events to the publisher, through its weak slot) and
// YBXWebAppPMSGHandler (close button and transparency of full-screen web
// apps). Each class's table is built once per process. The swipe-to-view
// handler is made with the slot it is bound to (held weakly) and has an empty
// table for now; the MRAID and viewability handlers have files of their own.
// Main thread only.
#pragma once

#include "adlib/render/pmsg_handler.h"

namespace adlib {

class YBXBoundPMSGHandler : public YBXPMSGHandler {
public:
    WeakRef<Object> opener_;
    WeakRef<Object> slot_;
};

class YBXOpenerPMSGHandler : public YBXPMSGHandler {
public:
    Ref<Object> opener_;
};

class YBXAppEventPMSGHandler : public YBXPMSGHandler {
public:
    WeakRef<Object> slot_;
};

void registerPMSGHandlerClasses();

}  // namespace adlib
