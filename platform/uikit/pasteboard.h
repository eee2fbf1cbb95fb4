// UIPasteboard: the general pasteboard, holding one string (nil until one is
// set). One per process, made on first use. Main thread only.
#pragma once

#include "platform/uikit/view.h"

namespace platform {

class UIPasteboard : public NSObject {
public:
    static UIPasteboard* generalPasteboard();

    Value string_;
};

}  // namespace platform
