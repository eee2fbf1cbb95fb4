// Activity reports of the publisher-ads family. QRTActivityReporter turns a
// publisher's report into a QRTActivityRequest and hands it, with the
// library's QRTCoreMetadata, to QRTCoreController, which calls the report
// function of the ad server's hidden controller page in its YBXJSContainer;
// the page's script sends the report. One shared instance of each, kept for
// the process; any thread.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"
#include "adlib/pipeline/js_container.h"

namespace adlib {

inline constexpr const char* kQRTCoreControllerPagePath = "/mads/static/sdk/native/controller.html";
// Loaded when the controller page cannot be: it defines no report function.
inline constexpr const char* kQRTCoreControllerFallbackHTML = "<html><head><script></script></head><body></body></html>";
inline constexpr const char* kQRTReportActivityFunction = "orvane.contentads.qrt.reportActivity";

class QRTCoreController : public NSObject {
public:
    static QRTCoreController* sharedInstance();
    // The controller page on the library's ad server.
    static std::string pageURL();

    void setUp(const Value& urlString, const Value& fallbackString);
    void reportActivityWithMetadata(id metadata, id request);
    std::string stringByEvaluatingJavaScriptFromString(const std::string& script);

    YBXJSContainer* container() const { return container_.get(); }

private:
    Ref<YBXJSContainer> container_;  // set in setUp, then only read
};

class QRTActivityReporter : public NSObject {
public:
    static QRTActivityReporter* sharedInstance();

    void reportWithAdUnitID(const Value& adUnitID, const Value& customParameters);
    void reportWithRequest(id request);

    Ref<QRTCoreController> controller;  // set once when made, then only read
};

void registerActivityReporterClasses();

}  // namespace adlib
