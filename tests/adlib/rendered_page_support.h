// Pages for the rendered-content checks: what a scripted page shows, as a
// box of a given size at its top left over a transparent page.
#pragma once

#include <string>
#include <utility>

#include "platform/webkit/scripted_page_engine.h"

namespace adlib::testing {

inline webkit::PageContent pageWithBox(double width, double height) {
    webkit::VisibleElement box;
    box.tag = "div";
    box.absolute = true;
    box.left = 0;
    box.top = 0;
    box.width = width;
    box.height = height;
    box.background = webkit::Rgba8{200, 30, 30, 255};
    webkit::PageContent page;
    if (width > 0 && height > 0) page.elements.push_back(std::move(box));
    return page;
}

// A document whose HTML holds `key` shows the page once it has loaded.
inline void whenLoadedShow(std::string key, webkit::PageContent page) {
    webkit::ScriptedPages::shared().whenLoaded(std::move(key), webkit::PageScript().show(std::move(page)));
}

}  // namespace adlib::testing
