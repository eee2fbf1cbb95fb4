// YBXMRAIDCalendarProperties: the event an MRAID creative asks to put into
// the calendar. Made from the creative's parameters only when all five keys
// are there; the two dates are read with one formatter shared by the
// process ("yyyy-MM-dd'T'HH:mm:ssZZZZZ" in en_US_POSIX), and a text that does
// not parse gives no date. Main thread (the formatter is shared).
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/foundation/date_formatter.h"

namespace adlib {

class YBXMRAIDCalendarProperties : public NSObject {
public:
    // Null unless "start", "end", "summary", "description" and "location" are all present.
    static Ref<YBXMRAIDCalendarProperties> fromDictionary(const Value& dictionary);
    static NSDateFormatter* dateFormatter();

    Value startTime_;
    Value endTime_;
    Value summary_;
    Value eventDescription_;
    Value location_;
};

void registerMRAIDCalendarPropertiesClass();

}  // namespace adlib
