#include "platform/frameworks/backboardservices.h"

#include "platform/foundation/dynamic_library.h"
#include "platform/foundation/format.h"
#include "platform/runtime/call_log.h"

namespace platform {

namespace {
backboardservices::TerminationHandler& handler() {
    static auto* h = new backboardservices::TerminationHandler();
    return *h;
}
}  // namespace

void BKSTerminateApplicationForReasonAndReportWithDescription(const Value& bundleIdentifier, int reason, bool report,
                                                             const Value& description) {
    callLog::record("BackBoardServices", "BKSTerminateApplicationForReasonAndReportWithDescription",
                    format("%@ %d %@ %@", bundleIdentifier, reason, report ? "YES" : "NO", description));
    if (handler() && bundleIdentifier.isString()) handler()(bundleIdentifier.string(), reason, description);
}

namespace backboardservices {
void setTerminationHandler(TerminationHandler h) { handler() = std::move(h); }

void registerLibrary() {
    BKSTerminateFunction terminate = &BKSTerminateApplicationForReasonAndReportWithDescription;
    platform::registerLibrary(kBackBoardServicesPath,
                              {{"BKSTerminateApplicationForReasonAndReportWithDescription", reinterpret_cast<void*>(terminate)}});
}
}  // namespace backboardservices

}  // namespace platform
