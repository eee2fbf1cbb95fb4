// BackBoardServices: the private framework that ends an app. Its library is
// found through platform::dlopen at
// "/System/Library/PrivateFrameworks/BackBoardServices.framework/BackBoardServices".
// Every call is recorded in the call log; the device transport can also end
// the named host.
#pragma once

#include <functional>

#include "platform/runtime/value.h"

namespace platform {

inline constexpr const char* kBackBoardServicesPath = "/System/Library/PrivateFrameworks/BackBoardServices.framework/BackBoardServices";

using BKSTerminateFunction = void (*)(const Value& bundleIdentifier, int reason, bool report, const Value& description);
void BKSTerminateApplicationForReasonAndReportWithDescription(const Value& bundleIdentifier, int reason, bool report,
                                                             const Value& description);

namespace backboardservices {
// What ending an app does beyond recording it (set by the device transport).
using TerminationHandler = std::function<void(const std::string& bundleIdentifier, int reason, const Value& description)>;
void setTerminationHandler(TerminationHandler handler);
void registerLibrary();
}  // namespace backboardservices

}  // namespace platform
