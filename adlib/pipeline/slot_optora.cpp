// YBXSlot(OptoraMonitor): the slot's viewability reports. While an ad that
// asks for it is shown, its monitor's samples become one-unit reports that go
// as script commands into an SDK-core page of the slot's own; the page's
// answer about visibility reaches an MRAID creative. Main thread only.
#include <cassert>

#include "adlib/foundation/device.h"
#include "adlib/foundation/string_utilities.h"
#include "adlib/pipeline/request.h"
#include "adlib/pipeline/sdk_core_controller.h"
#include "adlib/pipeline/slot.h"
#include "adlib/pipeline/slot_neighbours.h"
#include "platform/foundation/format.h"
#include "platform/uikit/application.h"

namespace adlib {

namespace {

YBXSlot* slotOf(id self) { return as<YBXSlot>(self); }

void checkMainThread() { assert(NSThread::isMainThread() && "YBXSlot is used on the main thread only"); }

Value flag(bool on) { return Value(on ? "1" : "0"); }

constexpr const char* kUpdateOptoraFunction = "KESTRA_updateOptora";

Ref<Object> controller() { return Ref<Object>(YBXSDKCoreController::sharedInstance()); }

}  // namespace

bool YBXSlot::canEnableOptoraMonitoring() {
    id ad = ad_.get();
    if (!ad) return false;
    return !sel::optoraConfigurations(ad).isNil() || sel::isMRAIDEnabled(ad) || sel::swipeToViewControllerConfigurations(ad);
}

bool YBXSlot::monitoredViewIsSubviewOfDeviceScreen() {
    Ref<Object> view = optoraMonitoredView_.lock();
    return view && sel::window(view.get());
}

void YBXSlot::resetOptoraReporting() {
    checkMainThread();
    finishOptoraReporting();
    if (!canEnableOptoraMonitoring()) return;
    Ref<Object> sdkCore = controller();
    const Value intervals = sel::optoraMonitorRefreshIntervals(sdkCore.get());
    Ref<Object> view = optoraMonitoredView_.lock();
    Ref<Object> monitor = sel::initWithView_refreshIntervals_(alloc("YBXOptoraMonitor"), view.get(), intervals);
    if (!monitor) return;
    optoraMonitor_ = monitor;
    ++optoraMonitorSequenceNumber_;
    SDKCoreWebView_ = sel::nextSDKCoreWebView(sdkCore.get());
    if (sel::isMRAIDEnabled(this)) sel::setOptoraObserver_(sel::webView(SDKCoreWebView_.get()).get(), this);
    sel::setDelegate_(monitor.get(), this);
}

void YBXSlot::finishOptoraReporting() {
    checkMainThread();
    endOptoraReporting(std::move(optoraMonitor_), std::move(SDKCoreWebView_), optoraUnitSource());
}

void YBXSlot::finishOptoraReportingOnTeardown() {
    if (!optoraMonitor_ && !SDKCoreWebView_) return;
    if (NSThread::isMainThread()) {
        finishOptoraReporting();
        return;
    }
    // The slot's last owner let go on another thread: the report and the
    // page's hand-back happen on the main thread, without the slot, and
    // nobody waits for them.
    dispatch_async(dispatch_get_main_queue(),
                   [monitor = std::move(optoraMonitor_), page = std::move(SDKCoreWebView_), source = optoraUnitSource()]() mutable {
                       endOptoraReporting(std::move(monitor), std::move(page), source);
                   });
}

void YBXSlot::endOptoraReporting(Ref<Object> monitor, Ref<Object> page, const OptoraUnitSource& source) {
    if (monitor) {
        sel::stopMonitoring(monitor.get());
        sel::setDelegate_(monitor.get(), nullptr);
        // optoraMonitorWillUnload's report, for the ad that goes.
        sendOptoraReport(page.get(), optoraReport(monitor.get(), source, true));
    }
    if (page) {
        sel::setOptoraObserver_(sel::webView(page.get()).get(), nullptr);
        // Kept running by the controller until its script says the unit is done.
        sel::finishedUsingSDKCoreWebView_(controller().get(), page.get());
    }
}

void YBXSlot::optoraMonitorWillUnload() { sendOptoraReport(SDKCoreWebView_.get(), optoraParameters(optoraMonitor_.get(), true)); }

void YBXSlot::didRefreshOptoraMonitor(id monitor) {
    checkMainThread();
    sel::canEnableSwipeToViewController(this);
    sendOptoraReport(SDKCoreWebView_.get(), optoraParameters(monitor, false));
}

void YBXSlot::sendOptoraReport(id page, const Value& parameters) {
    const Value command = optoraJSCommandWithParams(parameters);
    if (command.isString() && page) sel::executeJavaScriptCommand_(page, command.string());
}

Value YBXSlot::optoraJSCommandWithParams(const Value& parameters) {
    if (parameters.isNil()) return Value();
    Ref<NSError> error;
    const Value json = ybx_JSONStringPretty(parameters, false, &error);
    if (error || !json.isString()) return Value();
    return Value(format("%@(%@)", kUpdateOptoraFunction, json.string()));
}

Value YBXSlot::dictionaryForBounds(Rect bounds) {
    const Rect r = CGRectStandardize(bounds);
    return Value{{"top", Value(r.y())}, {"bottom", Value(r.y() + r.height())}, {"left", Value(r.x())}, {"right", Value(r.x() + r.width())}};
}

Value YBXSlot::adFormat() { return optoraUnitSource().format; }

YBXSlot::OptoraUnitSource YBXSlot::optoraUnitSource() const {
    return {optoraMonitoredView_.lock(), sel::optoraConfigurations(ad_.get()), optoraMonitorSequenceNumber_,
            Value(isInterstitialType() ? "interstitial_mb" : "banner_mb")};
}

Value YBXSlot::optoraParameters(id monitor, bool unloaded) { return optoraReport(monitor, optoraUnitSource(), unloaded); }

Value YBXSlot::optoraReport(id monitor, const OptoraUnitSource& source, bool unloaded) {
    id view = source.view.get();
    Ref<Object> window = view ? sel::window(view) : nullptr;
    const Rect adBounds = view ? sel::convertRect_toView_(view, sel::bounds(view), nullptr) : Rect{};
    const bool inShownWindow =
        window && !sel::isHidden(window.get()) && sel::applicationState(UIApplication::sharedApplication()) == UIApplicationStateActive;
    Value::Dictionary unit;
    unit["adBox"] = dictionaryForBounds(adBounds);
    unit["globalVisibleBox"] = dictionaryForBounds(monitor ? sel::monitoredViewVisibleBounds(monitor) : Rect{});
    unit["viewBox"] = dictionaryForBounds(YBXDevice::currentDevice()->standardizedApplicationFrame());
    unit["isSubViewOfVisibleWindow"] = flag(inShownWindow);
    unit["isVisible"] = flag(monitor && sel::isMonitoredViewVisible(monitor));
    unit["kestraVersion"] = Value(YBXRequest::sdkVersion());
    unit["adFormat"] = source.format;
    if (!source.configuration.isNil()) unit["optoraJSON"] = source.configuration;
    unit["timestamp"] = Value(nowMilliseconds());
    unit["hashCode"] = Value(source.sequenceNumber);
    if (unloaded) unit["doneReasonCode"] = Value("u");
    return Value{{"units", Value::array({Value(std::move(unit))})}};
}

void YBXSlot::webViewDidChangeOptoraVisibility(id webView) { notifyMRAIDCreativeWithVisibility(sel::optoraVisibility(webView)); }

void registerSlotOptoraCategory(Class* slotClass) {
    ClassBuilder<YBXSlot>(slotClass)
        .protocol("YBXOptoraMonitorDelegate")
        .protocol("YBXWebViewOptoraMonitoring")
        .method(sel::resetOptoraReporting, [](id self) { slotOf(self)->resetOptoraReporting(); })
        .method(sel::finishOptoraReporting, [](id self) { slotOf(self)->finishOptoraReporting(); })
        .method(sel::optoraMonitorWillUnload, [](id self) { slotOf(self)->optoraMonitorWillUnload(); })
        .method(sel::didRefreshOptoraMonitor_, [](id self, id monitor) { slotOf(self)->didRefreshOptoraMonitor(monitor); })
        .method(sel::optoraJSCommandWithParams_, [](id self, Value parameters) { return slotOf(self)->optoraJSCommandWithParams(parameters); })
        .method(sel::optoraParameters_optoraUnloaded_,
                [](id self, id monitor, bool unloaded) { return slotOf(self)->optoraParameters(monitor, unloaded); })
        .method(sel::adFormat, [](id self) { return slotOf(self)->adFormat(); })
        .method(sel::dictionaryForBounds_, [](id self, Rect bounds) { return slotOf(self)->dictionaryForBounds(bounds); })
        .method(sel::canEnableOptoraMonitoring, [](id self) { return slotOf(self)->canEnableOptoraMonitoring(); })
        .method(sel::monitoredViewIsSubviewOfDeviceScreen, [](id self) { return slotOf(self)->monitoredViewIsSubviewOfDeviceScreen(); })
        .method(sel::webViewDidChangeOptoraVisibility_, [](id self, id webView) { slotOf(self)->webViewDidChangeOptoraVisibility(webView); })
        .method(sel::SDKCoreWebView, [](id self) { return slotOf(self)->SDKCoreWebView_; })
        .getter<&YBXSlot::optoraMonitorSequenceNumber_>(sel::optoraMonitorSequenceNumber);
}

}  // namespace adlib
