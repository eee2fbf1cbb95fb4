// YBXBrowserWebViewDelegate: the delegate of the in-app browser's page. It
// counts the landing pages the user follows, times them, and keeps the
// browser's toolbar current. Main thread.
#pragma once

#include "adlib/render/web_view_delegate.h"

namespace adlib {

void registerBrowserWebViewDelegateClass();

}  // namespace adlib
