#include "platform/network/response.h"

#include <gtest/gtest.h>

#include "platform/testing/test_environment.h"

namespace platform {
namespace {

TEST(NSURLRequest, DefaultsAndHeadersWithoutRegardToCase) {
    testing::TestEnvironment env;
    auto url = NSURL::URLWithString("http://127.0.0.1/ad");
    auto request = NSMutableURLRequest::requestWithURL(url.get());
    ASSERT_TRUE(request);
    EXPECT_EQ(request->HTTPMethod(), "GET");
    EXPECT_EQ(request->cachePolicy(), NSURLRequestUseProtocolCachePolicy);
    EXPECT_EQ(request->timeoutInterval(), 60);
    EXPECT_TRUE(request->HTTPShouldHandleCookies());
    EXPECT_EQ(request->mainDocumentURL(), nullptr);

    request->setValueForHTTPHeaderField(std::string("ua/1"), "User-Agent");
    request->setValueForHTTPHeaderField(std::string("ua/2"), "user-agent");
    request->setValueForHTTPHeaderField(std::string("5"), "Content-Length");
    ASSERT_NE(request->valueForHTTPHeaderField("USER-AGENT"), nullptr);
    EXPECT_EQ(*request->valueForHTTPHeaderField("USER-AGENT"), "ua/2");
    EXPECT_EQ(request->allHTTPHeaderFields(),
              Value(Value::Dictionary{{"User-Agent", Value("ua/2")}, {"Content-Length", Value("5")}}));
    request->setValueForHTTPHeaderField(nullptr, "content-length");
    EXPECT_EQ(request->valueForHTTPHeaderField("Content-Length"), nullptr);

    request->setHTTPMethod("POST");
    request->setHTTPBody(Data{'a', 'b'});
    request->setCachePolicy(NSURLRequestReloadIgnoringLocalCacheData);
    request->setMainFrame(true);
    auto copy = request->mutableCopy();
    request->setHTTPMethod("PUT");
    EXPECT_EQ(copy->HTTPMethod(), "POST");
    EXPECT_EQ(copy->HTTPBody(), (Data{'a', 'b'}));
    EXPECT_EQ(copy->cachePolicy(), NSURLRequestReloadIgnoringLocalCacheData);
    EXPECT_TRUE(copy->isMainFrame());
    EXPECT_NE(as<NSMutableURLRequest>(copy.get()), nullptr);
}

TEST(NSHTTPURLResponse, ReadsItsHeaderFields) {
    testing::TestEnvironment env;
    HeaderFields headers;
    std::string type = "Text/HTML; charset=utf-8", length = "12", kestra = "banner";
    headers.set("Content-Type", &type);
    headers.set("Content-Length", &length);
    headers.set("X-Kestra-Type", &kestra);
    auto response = NSHTTPURLResponse::make(NSURL::URLWithString("http://h/a").get(), 404, headers);
    EXPECT_EQ(response->statusCode(), 404);
    EXPECT_EQ(response->MIMEType(), "text/html");
    EXPECT_EQ(response->textEncodingName(), "utf-8");
    EXPECT_EQ(response->expectedContentLength(), 12);
    ASSERT_NE(response->valueForHTTPHeaderField("x-kestra-type"), nullptr);
    EXPECT_EQ(*response->valueForHTTPHeaderField("x-kestra-type"), "banner");
    EXPECT_EQ(response->allHeaderFields()["X-Kestra-Type"], Value("banner"));
    EXPECT_EQ(NSHTTPURLResponse::localizedStringForStatusCode(404), "not found");
    EXPECT_EQ(NSHTTPURLResponse::localizedStringForStatusCode(299), "success");

    auto plain = NSURLResponse::make(nullptr, "image/png", NSURLResponseUnknownLength, "");
    EXPECT_EQ(plain->expectedContentLength(), -1);
    auto cached = NSCachedURLResponse::make(response.get(), Data{'x'});
    EXPECT_EQ(cached->response(), response.get());
    EXPECT_EQ(cached->data(), Data{'x'});
}

}  // namespace
}  // namespace platform
