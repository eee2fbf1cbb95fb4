// YBXPublisherToolbarController: the full-screen page on which the
// publisher inspects the ad on show. So far it keeps the ad's HTML and ad
// unit ID it is made with and presents as any YBXViewController; its script
// and sign-in pages come with the toolbar's own work. Main thread only.
#pragma once

#include "adlib/render/view_controller.h"

namespace adlib {

class YBXPublisherToolbarController : public YBXViewController {
public:
    Value adContent_;
    Value adUnitID_;
};

void registerPublisherToolbarControllerClass();

}  // namespace adlib
