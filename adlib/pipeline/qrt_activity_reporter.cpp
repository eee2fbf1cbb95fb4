#include "adlib/pipeline/qrt_activity_reporter.h"

#include <atomic>
#include <mutex>

#include "adlib/foundation/configuration.h"
#include "adlib/foundation/macros.h"
#include "adlib/pipeline/qrt_activity_request.h"
#include "platform/foundation/format.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

std::atomic<QRTCoreController*> sharedController{nullptr};
std::atomic<QRTActivityReporter*> sharedReporter{nullptr};

QRTCoreController* controllerOf(id self) { return as<QRTCoreController>(self); }
QRTActivityReporter* reporterOf(id self) { return as<QRTActivityReporter>(self); }

// An object's JSON text for the script; an empty object rather than no
// argument, which would make the call a syntax error.
std::string argumentJSON(id object) {
    std::string json = object ? sel::JSONStringValue(object) : std::string();
    return json.empty() ? std::string("{}") : json;
}

}  // namespace

QRTCoreController* QRTCoreController::sharedInstance() {
    if (QRTCoreController* c = sharedController.load(std::memory_order_acquire)) return c;
    // Its container makes a web view and loads it on the main thread: the
    // controller is made there, so that no guard waits for the main thread.
    RunSynchronouslyOnMainThread([] {
        static std::once_flag once;
        std::call_once(once, [] {
            Ref<Object> made = sel::init(alloc("QRTCoreController"));
            sharedController.store(as<QRTCoreController>(made.leak()), std::memory_order_release);  // kept for the process
        });
    });
    return sharedController.load(std::memory_order_acquire);
}

std::string QRTCoreController::pageURL() { return YBXAdServerBaseURL() + kQRTCoreControllerPagePath; }

void QRTCoreController::setUp(const Value& urlString, const Value& fallbackString) {
    Ref<NSURL> url = urlString.isString() ? NSURL::URLWithString(urlString.string()) : Ref<NSURL>();
    const std::string fallback = fallbackString.stringOr("");
    Ref<Object> made = sel::initWithURL_fallbackData_(alloc("YBXJSContainer"), url.get(), Value(Data(fallback.begin(), fallback.end())));
    container_ = Ref<YBXJSContainer>(as<YBXJSContainer>(made.get()));
}

void QRTCoreController::reportActivityWithMetadata(id metadata, id request) {
    const std::string script = format("%@(%@,%@)", kQRTReportActivityFunction, argumentJSON(metadata), argumentJSON(request));
    if (container_) container_->invokeJavaScriptFromString(script);
}

std::string QRTCoreController::stringByEvaluatingJavaScriptFromString(const std::string& script) {
    return container_ ? container_->stringByEvaluatingJavaScriptFromString(script) : std::string();
}

QRTActivityReporter* QRTActivityReporter::sharedInstance() {
    if (QRTActivityReporter* r = sharedReporter.load(std::memory_order_acquire)) return r;
    // Read before the guard: making the controller waits for the main thread.
    QRTCoreController* controller = QRTCoreController::sharedInstance();
    static std::once_flag once;
    std::call_once(once, [controller] {
        Ref<Object> made = sel::init(alloc("QRTActivityReporter"));
        auto* reporter = as<QRTActivityReporter>(made.leak());  // kept for the process
        reporter->controller = controller;
        sharedReporter.store(reporter, std::memory_order_release);
    });
    return sharedReporter.load(std::memory_order_acquire);
}

void QRTActivityReporter::reportWithAdUnitID(const Value& adUnitID, const Value& customParameters) {
    reportWithRequest(QRTActivityRequest::make(adUnitID, Value(), customParameters).get());
}

void QRTActivityReporter::reportWithRequest(id request) {
    Ref<Object> metadata = newObject("QRTCoreMetadata");
    if (controller) controller->reportActivityWithMetadata(metadata.get(), request);
}

void registerActivityReporterClasses() {
    ClassBuilder<QRTCoreController>("QRTCoreController", "NSObject")
        .classMethod(sel::sharedInstance, [](id) { return Ref<Object>(QRTCoreController::sharedInstance()); })
        .method(sel::init, [](id self) { return sel::initWithURLString_fallbackString_(self, Value(QRTCoreController::pageURL()),
                                                                                        Value(kQRTCoreControllerFallbackHTML)); })
        .method(sel::initWithURLString_fallbackString_,
                [](id self, Value urlString, Value fallbackString) {
                    controllerOf(self)->setUp(urlString, fallbackString);
                    return Ref<Object>(self);
                })
        .method(sel::container, [](id self) { return Ref<Object>(controllerOf(self)->container()); })
        .method(sel::reportActivityWithMetadata_request_,
                [](id self, id metadata, id request) { controllerOf(self)->reportActivityWithMetadata(metadata, request); })
        .method(sel::stringByEvaluatingJavaScriptFromString_,
                [](id self, Value script) { return Value(controllerOf(self)->stringByEvaluatingJavaScriptFromString(script.stringOr(""))); });
    ClassBuilder<QRTActivityReporter>("QRTActivityReporter", "NSObject")
        .classMethod(sel::sharedInstance, [](id) { return Ref<Object>(QRTActivityReporter::sharedInstance()); })
        .method(sel::controller, [](id self) { return Ref<Object>(reporterOf(self)->controller.get()); })
        .method(sel::reportWithAdUnitID_customParameters_,
                [](id self, Value adUnitID, Value customParameters) { reporterOf(self)->reportWithAdUnitID(adUnitID, customParameters); })
        .method(sel::reportWithRequest_, [](id self, id request) { reporterOf(self)->reportWithRequest(request); });
}

}  // namespace adlib
