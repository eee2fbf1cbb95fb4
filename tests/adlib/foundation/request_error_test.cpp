#include "adlib/foundation/request_error.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "adlib/foundation/device.h"
#include "adlib/foundation/macros.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/response.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using testing::appOptions;

// A request as the errors see it: an object answering `parameters`.
class FakeRequest : public NSObject {
public:
    Value parameters;
};

Ref<Object> makeRequest(Value parameters) {
    static bool registered = false;
    if (!registered) {
        ClassBuilder<FakeRequest>("FakeRequest", "NSObject").getter<&FakeRequest::parameters>(sel::parameters);
        registered = true;
    }
    Ref<Object> request = alloc("FakeRequest");
    as<FakeRequest>(request.get())->parameters = std::move(parameters);
    return request;
}

std::string requestText(const std::string& text) { return "Request Error: " + text; }

TEST(RequestError, FactoriesBuildTheirUserInfo) {
    AdLibEnvironment env;
    Class* cls = YBXRequestErrorClass();
    Ref<Object> request = makeRequest(Value{{"k", "v"}, {std::string(NSLocalizedDescriptionKey), "from the request"}});
    Ref<Object> underlying = Ref<Object>(NSError::errorWithDomain("under", 7, Value{{std::string(NSLocalizedDescriptionKey), "inner text"}}));
    Ref<Object> notAnError = alloc("NSObject");
    const std::string noFill = requestText("No ad to show.");
    const std::string invalid = requestText("Invalid ad request parameter(s). Check the Xcode console for details.");
    const std::string network = requestText("A network error occurred.");
    const std::string status404 = "HTTP status 404: " + NSHTTPURLResponse::localizedStringForStatusCode(404);

    struct Case {
        const char* name;
        Ref<Object> error;
        long long code;
        std::string message;
        Value extra;  // the keys besides the description and the failure reason
    } cases[] = {
        {"code 1", sel::errorWithCode_(cls, 1), 1, noFill, Value::Dictionary{}},
        {"custom message is bare", sel::errorWithCode_customMessage_(cls, 3, Value("M")), 3, "M", Value::Dictionary{}},
        {"nil message is standard", sel::errorWithCode_customMessage_(cls, 3, Value()), 3,
         requestText("Server error processing the request."), Value::Dictionary{}},
        {"code 0 carries the parameters, its own keys win", sel::errorWithCode_request_(cls, 0, request), 0, invalid, Value{{"k", "v"}}},
        {"code 2 carries none", sel::errorWithCode_request_(cls, 2, request), 2, network, Value::Dictionary{}},
        {"a request without parameters", sel::errorWithCode_request_(cls, 0, makeRequest(Value())), 0, invalid, Value::Dictionary{}},
        {"a request that answers nothing", sel::errorWithCode_request_(cls, 0, notAnError), 0, invalid, Value::Dictionary{}},
        {"status 404", sel::errorWithCode_request_HTTPStatusCode_(cls, 2, nullptr, 404), 2, network,
         Value{{std::string(kYBXHttpStatusKey), status404}}},
        {"status 0", sel::errorWithCode_request_HTTPStatusCode_(cls, 2, nullptr, 0), 2, network, Value::Dictionary{}},
        {"status -1", sel::errorWithCode_request_HTTPStatusCode_(cls, 2, nullptr, -1), 2, network, Value::Dictionary{}},
        {"message and status", sel::errorWithCode_request_HTTPStatusCode_customMessage_(cls, 3, nullptr, 500, Value("M")), 3, "M",
         Value{{std::string(kYBXHttpStatusKey), "HTTP status 500: " + NSHTTPURLResponse::localizedStringForStatusCode(500)}}},
        {"underlying error", sel::errorWithCode_underlyingError_(cls, 2, underlying), 2, "inner text",
         Value{{std::string(NSUnderlyingErrorKey), Value(underlying)}}},
        {"underlying value that is no error", sel::errorWithCode_underlyingError_(cls, 2, notAnError), 2, network, Value::Dictionary{}},
        {"all five", sel::errorWithCode_request_HTTPStatusCode_customMessage_underlyingError_(cls, 0, request, 404, Value(), underlying), 0,
         invalid, Value{{"k", "v"}, {std::string(kYBXHttpStatusKey), status404}, {std::string(NSUnderlyingErrorKey), Value(underlying)}}},
        {"code 99", sel::errorWithCode_(cls, 99), 99, invalid, Value::Dictionary{}},
        {"code -1", sel::errorWithCode_(cls, -1), -1, invalid, Value::Dictionary{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* error = as<NSError>(c.error.get());
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(NSStringFromClass(object_getClass(error)), "YBXRequestError");
        EXPECT_EQ(error->domain(), "com.orvane.ads");
        EXPECT_EQ(error->code(), c.code);
        Value::Dictionary expected = c.extra.dictionary();
        expected[std::string(NSLocalizedDescriptionKey)] = c.message;
        expected[std::string(NSLocalizedFailureReasonErrorKey)] = c.message;
        EXPECT_EQ(error->userInfo(), Value(expected));
        EXPECT_EQ(error->localizedDescription(), c.message);
    }
}

TEST(RequestError, StandardTextsOfEveryCode) {
    AdLibEnvironment env(appOptions("9.3.1"));
    const char* texts[] = {
        "Invalid ad request parameter(s). Check the Xcode console for details.",
        "No ad to show.",
        "A network error occurred.",
        "Server error processing the request.",
        "This device's OS is 9.3.1.It is below the minimum of 5.0.",
        "The Orvane Ad request was unable to be fulfilled before a timeout occurred.",
        "Will not send request because interstitial object has been used.",
        "The mediation response was invalid.",
        "Cannot find an ad network adapter for mediation.",
        "No ad to show from all configured ad networks.",
        "Incompatible ad type requested.",
        "Internal error.",
        "Invalid argument.",
        "Received invalid response.",
    };
    for (long long code = 0; code < 14; ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(sel::localizedStringForErrorCode_(YBXRequestErrorClass(), code), requestText(texts[code]));
    }
    EXPECT_EQ(sel::localizedStringForErrorCode_(YBXRequestErrorClass(), 14), requestText(texts[0]));
}

TEST(RequestError, TheOSTextReadsTheVersionOnce) {
    AdLibEnvironment env(appOptions("4.3.2"));
    const std::string expected = "Request Error: This device's OS is 4.3.2.It is below the minimum of 5.0.";
    EXPECT_EQ(sel::localizedStringForErrorCode_(YBXRequestErrorClass(), YBXErrorCodeOSUnsupported), expected);
    EXPECT_EQ(sel::localizedDescription(sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeOSUnsupported)), expected);
}

TEST(RequestError, ThePlainErrorKeepsDomainCodeAndUserInfo) {
    AdLibEnvironment env;
    Ref<Object> error = sel::errorWithCode_customMessage_(YBXRequestErrorClass(), 5, Value("late"));
    Ref<Object> plain = sel::error(error);
    ASSERT_NE(as<NSError>(plain.get()), nullptr);
    EXPECT_EQ(NSStringFromClass(object_getClass(plain)), "NSError");
    EXPECT_EQ(sel::domain(plain), "com.orvane.ads");
    EXPECT_EQ(sel::code(plain), 5);
    EXPECT_EQ(sel::userInfo(plain), sel::userInfo(error));
}

TEST(InternalErrors, PrivateDomainAndTexts) {
    AdLibEnvironment env;
    Class* cls = NSErrorClass();
    EXPECT_EQ(sel::ybx_localizedDescriptionForErrorCode_(cls, 1), Value("File could not be read."));
    EXPECT_EQ(sel::ybx_localizedDescriptionForErrorCode_(cls, 2), Value("Internal error."));
    EXPECT_EQ(sel::ybx_localizedDescriptionForErrorCode_(cls, 3), Value("Invalid argument."));
    EXPECT_TRUE(sel::ybx_localizedDescriptionForErrorCode_(cls, 4).isNil());
    EXPECT_TRUE(sel::ybx_localizedDescriptionForErrorCode_(cls, 0).isNil());

    Ref<Object> described = sel::ybx_errorWithCode_description_(cls, 2, Value("Invalid JSON object."));
    EXPECT_EQ(sel::domain(described), "com.orvane.ads.private");
    EXPECT_EQ(sel::code(described), 2);
    EXPECT_EQ(sel::userInfo(described), (Value{{std::string(NSLocalizedDescriptionKey), "Invalid JSON object."},
                                               {std::string(NSLocalizedFailureReasonErrorKey), "Invalid JSON object."}}));
    Ref<Object> bare = sel::ybx_errorWithDomain_code_description_(cls, "elsewhere", 9, Value());
    EXPECT_EQ(sel::domain(bare), "elsewhere");
    EXPECT_EQ(sel::code(bare), 9);
    EXPECT_TRUE(sel::userInfo(bare).isNil() || sel::userInfo(bare).count() == 0);
}

TEST(Device, VersionParts) {
    struct Case {
        const char* version;
        long long major, minor, bugFix;
    } cases[] = {{"8.1", 8, 1, 0}, {"9.3.2", 9, 3, 2}, {"7", 7, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        std::string out = platform::testing::runInChild(appOptions(c.version), [&] {
            registerClasses();
            YBXDevice* device = YBXDevice::currentDevice();
            long long major = -1, minor = -1, bugFix = -1;
            sel::getOSMajor_minor_bugFix_(device, &major, &minor, &bugFix);
            long long onlyMinor = -1;
            sel::getOSMajor_minor_bugFix_(device, nullptr, &onlyMinor, nullptr);
            return format("%lld %lld %lld %lld", major, minor, bugFix, onlyMinor);
        });
        EXPECT_EQ(out, format("%lld %lld %lld %lld", c.major, c.minor, c.bugFix, c.minor));
    }
}

TEST(Device, VersionComparison) {
    AdLibEnvironment env(appOptions("8.1"));
    YBXDevice* device = YBXDevice::currentDevice();
    ASSERT_EQ(device, YBXDevice::currentDevice());
    EXPECT_EQ(sel::systemVersion(device).string(), "8.1");
    EXPECT_TRUE(sel::isOSAtLeastMajor_minor_bug_(device, 8, 1, 0));
    EXPECT_FALSE(sel::isOSAtLeastMajor_minor_bug_(device, 8, 1, 1));
    EXPECT_TRUE(sel::isOSAtLeastMajor_minor_bug_(device, 7, 9, 9));
    EXPECT_FALSE(sel::isOSAtLeastMajor_minor_bug_(device, 9, 0, 0));
    EXPECT_TRUE(sel::isOSAtLeastMajor_minor_bug_(device, 8, 0, 5));
    EXPECT_FALSE(sel::isOrientationLandscape(device));
    EXPECT_EQ(sel::standardizedScreenBounds(device), Rect(0, 0, 320, 568));
}

TEST(MainThread, RunsInlineThereAndHopsFromAWorker) {
    AdLibEnvironment env;
    bool ran = false;
    sel::runSynchronouslyOnMainThreadWithBlock_(objc_getClass("YBXMacros"), [&ran] { ran = RunLoop::main().isMainThread(); });
    EXPECT_TRUE(ran);  // before returning, with nothing queued
    EXPECT_EQ(RunLoop::main().pendingCount(), 0u);

    std::atomic<bool> done{false};
    std::atomic<bool> onMain{false};
    std::thread worker([&] {
        RunSynchronouslyOnMainThread([&] { onMain = RunLoop::main().isMainThread(); });
        done = true;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return done.load(); }, 10.0));
    worker.join();
    EXPECT_TRUE(onMain);
}

TEST(RequestError, FirstTextAskedOnAWorkerWhileTheMainThreadAsksToo) {
    AdLibEnvironment env(appOptions("4.3.2"));
    const std::string expected = "Request Error: This device's OS is 4.3.2.It is below the minimum of 5.0.";
    std::atomic<bool> done{false};
    std::string onWorker;
    std::thread worker([&] {
        onWorker = sel::localizedStringForErrorCode_(YBXRequestErrorClass(), YBXErrorCodeOSUnsupported);
        done = true;
    });
    EXPECT_EQ(sel::localizedStringForErrorCode_(YBXRequestErrorClass(), YBXErrorCodeOSUnsupported), expected);
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return done.load(); }, 10.0));
    worker.join();
    EXPECT_EQ(onWorker, expected);
}

}  // namespace
}  // namespace adlib
