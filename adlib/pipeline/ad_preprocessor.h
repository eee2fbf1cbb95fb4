// YBXAdPreprocessor: turns a native JSON response of the ad server into an ad
// configuration by running it through the ad server's native support page in
// a hidden slot of its own. The page answers with the creative message
// "nativeAdPreProcess"; the handler runs at most once, always later on the
// main queue, with the configuration and that slot, or with an error (after
// 5 seconds at most once the page has loaded). Main thread only.
#pragma once

#include <memory>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/notification_center.h"

namespace adlib {

class YBXAdPreprocessor : public NSObject {
public:
    ~YBXAdPreprocessor() override;

    void setUp(const Value& adUnitID);
    void preprocess(const Value& json, sel::YBXPreprocessorCompletion handler);
    void pageDidLoad();
    void handlePreprocessorNotification(NSNotification* notification);
    // Hands the outcome to the handler, once, on a later main-queue turn.
    void complete(const Value& configuration, const Ref<Object>& slot, const Ref<Object>& error);

    Ref<Object> slot_;
    sel::YBXPreprocessorCompletion completionHandler_;
    Value nativeAdJSON_;
};

void registerAdPreprocessorClass();

}  // namespace adlib
