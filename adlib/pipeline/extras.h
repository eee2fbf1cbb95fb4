// The network extras a publisher registers on a request: YBXMarlexExtras
// carries the additional parameters sent to our ad server; its subclass
// QRTExtras adds the publisher-provided identifier ("ppid"). Plain values,
// used on the main thread with their request.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

class YBXMarlexExtras : public NSObject {
public:
    static Ref<YBXMarlexExtras> make(const Value& additionalParameters);
    Value additionalParameters;  // a dictionary or nil
};

class QRTExtras : public YBXMarlexExtras {
public:
    Value publisherProvidedID;  // a string or nil
};

void registerExtrasClasses();

}  // namespace adlib
