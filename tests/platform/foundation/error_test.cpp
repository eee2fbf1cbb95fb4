#include "platform/foundation/error.h"

#include <gtest/gtest.h>

#include "platform/testing/test_environment.h"

namespace platform {
namespace {

TEST(NSError, LocalizedDescriptionAsThePlatformBuildsIt) {
    testing::TestEnvironment env;
    struct Case {
        const char* name;
        std::string domain;
        long long code;
        Value userInfo;
        const char* description;
    };
    const Case cases[] = {
        {"own_text", "com.orvane.ads", 1,
         Value::Dictionary{{std::string(NSLocalizedDescriptionKey), Value("No ad to show.")},
                           {std::string(NSLocalizedFailureReasonErrorKey), Value("Other")}},
         "No ad to show."},
        {"reason_only", "com.orvane.ads", 2, Value::Dictionary{{std::string(NSLocalizedFailureReasonErrorKey), Value("Because.")}},
         "The operation couldn\u2019t be completed. Because."},
        {"nothing", std::string(NSURLErrorDomain), NSURLErrorNotConnectedToInternet, Value(),
         "The operation couldn\u2019t be completed. (NSURLErrorDomain error -1009.)"},
        {"cocoa", std::string(NSCocoaErrorDomain), NSPropertyListReadCorruptError, Value(),
         "The operation couldn\u2019t be completed. (Cocoa error 3840.)"},
        {"text_not_a_string", "d", 3, Value::Dictionary{{std::string(NSLocalizedDescriptionKey), Value(5)}},
         "The operation couldn\u2019t be completed. (d error 3.)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto e = NSError::errorWithDomain(c.domain, c.code, c.userInfo);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->domain(), c.domain);
        EXPECT_EQ(e->code(), c.code);
        EXPECT_EQ(e->localizedDescription(), c.description);
        EXPECT_EQ(sel::localizedDescription(e.get()), c.description);
        EXPECT_EQ(sel::code(e.get()), c.code);
    }
}

TEST(NSError, UserInfoUnderlyingErrorAndDescription) {
    testing::TestEnvironment env;
    auto cause = NSError::errorWithDomain(NSURLErrorDomain, NSURLErrorTimedOut,
                                          Value::Dictionary{{std::string(NSURLErrorKey), Value("http://a/")}});
    auto e = NSError::errorWithDomain("com.orvane.ads", 2,
                                      Value::Dictionary{{std::string(NSLocalizedDescriptionKey), Value("A network error occurred.")},
                                                        {std::string(NSUnderlyingErrorKey), Value(cause)}});
    EXPECT_EQ(e->underlyingError(), cause.get());
    EXPECT_EQ(e->userInfo()[NSUnderlyingErrorKey].objectAs<NSError>()->userInfo()[NSURLErrorKey], Value("http://a/"));
    EXPECT_TRUE(e->localizedFailureReason().isNil());
    EXPECT_EQ(cause->description(),
              "Error Domain=NSURLErrorDomain Code=-1001 \"The operation couldn\u2019t be completed. (NSURLErrorDomain error -1001.)\" "
              "UserInfo={NSURL=http://a/}");
    EXPECT_EQ(Value(e).description().substr(0, 60), "Error Domain=com.orvane.ads Code=2 \"A network error occurred");
    // A userInfo that is not a dictionary counts as none.
    auto bare = NSError::errorWithDomain("d", 0, Value("junk"));
    EXPECT_TRUE(bare->userInfo().isNil());
    EXPECT_EQ(bare->description(), "Error Domain=d Code=0 \"The operation couldn\u2019t be completed. (d error 0.)\"");
}

TEST(NSError, DerivedClassesAndEquality) {
    testing::TestEnvironment env;
    ClassBuilder<NSError>::inheritingType("YBXRequestError", "NSError");
    auto e = NSError::errorWithDomain("com.orvane.ads", 1, Value(), "YBXRequestError");
    ASSERT_TRUE(e);
    EXPECT_TRUE(isKindOfClass(e.get(), "NSError"));
    EXPECT_EQ(e->isa()->name(), "YBXRequestError");
    EXPECT_TRUE(Value(e).isKindOfClass("NSError"));
    EXPECT_EQ(Value(e), Value(NSError::errorWithDomain("com.orvane.ads", 1)));
    EXPECT_NE(Value(e), Value(NSError::errorWithDomain("com.orvane.ads", 2)));
    EXPECT_FALSE(NSError::errorWithDomain("d", 1, Value(), "NoSuchClass"));
    EXPECT_FALSE(NSError::errorWithDomain("d", 1, Value(), "NSObject"));
}

}  // namespace
}  // namespace platform
