// YBXBadAdUtil: reports a creative a tester found bad, from the debug dialog:
// its debug text goes to the ad server as JSON. One report at a time: a new
// one takes the place of the one in flight. Redirects are refused and the
// answer is never looked at. Main thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

inline constexpr const char* kYBXBadAdReportPathKey = "bad_ad_report_path";
inline constexpr const char* kYBXBadAdReportPath = "/s/reportAd";

class YBXBadAdUtil : public NSObject {
public:
    static YBXBadAdUtil* sharedInstance();
    ~YBXBadAdUtil() override;

    // (debug text or nil)
    void reportBadAd(const Value& debugText);
    // The pretty JSON of {"debugHeader": text or null}; empty when it cannot be made.
    static Value jsonData(const Value& debugText);

    Ref<Object> connection_;
};

void registerBadAdUtilClass();

}  // namespace adlib
