#include "adlib/pipeline/search_request.h"

#include <gtest/gtest.h>

#include <string>

#include "adlib/pipeline/request.h"
#include "platform/uikit/color.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

class SearchRequests : public ::testing::Test {
protected:
    Ref<YBXSearchRequest> make(const char* cls = "YBXSearchRequest") { return as<YBXSearchRequest>(newObject(cls)); }
    AdLibEnvironment env;
};

TEST_F(SearchRequests, AllocationMakesThePrivateClassUnlessOneDescendsFromIt) {
    ClassBuilder<YBXSearchRequest>::inheritingType("TestPublicSearchRequest", "YBXSearchRequest");
    ClassBuilder<YBXSearchRequest>::inheritingType("TestPrivateSearchRequest", "YBXSearchRequestPrivate");
    struct Case {
        const char* requested;
        const char* made;
    } cases[] = {{"YBXSearchRequest", "YBXSearchRequestPrivate"},
                 {"TestPublicSearchRequest", "YBXSearchRequestPrivate"},
                 {"YBXSearchRequestPrivate", "YBXSearchRequestPrivate"},
                 {"TestPrivateSearchRequest", "TestPrivateSearchRequest"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.requested);
        Ref<Object> made = alloc(c.requested);
        ASSERT_TRUE(made);
        EXPECT_EQ(NSStringFromClass(object_getClass(made.get())), c.made);
    }
}

TEST_F(SearchRequests, ColoursBecomeHexOfTheirModel) {
    struct Case {
        const char* name;
        Ref<Object> color;
        Value hex;
    } cases[] = {
        {"pure red", UIColor::rgba(1, 0, 0, 1), Value("#ff0000")},
        {"50 % grey truncates 127.5", UIColor::white(0.5, 1), Value("#7f7f7f")},
        {"a mix", UIColor::rgba(0.2, 0.4, 0.6, 0.5), Value("#336699")},
        {"out of range is clamped", UIColor::rgba(1.5, -0.5, 2, 1), Value("#ff00ff")},
        {"a pattern has no hex", UIColor::pattern(newObject("NSObject").get()), Value()},
        {"no colour", nullptr, Value()},
    };
    Ref<YBXSearchRequest> search = make();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sel::hexStringFromColor_(search.get(), c.color.get()), c.hex);
    }
}

TEST_F(SearchRequests, TheStyleBecomesTheRequestsAdditionalParameters) {
    Ref<YBXSearchRequest> search = make();
    // Only the always-present keys at first.
    Ref<Object> bare = sel::request(search.get());
    ASSERT_TRUE(as<YBXRequest>(bare.get()));
    EXPECT_EQ(sel::additionalParameters(bare.get()),
              (Value{{"headersize", Value("0")}, {"btype", Value("none")}, {"bthick", Value("0")}, {"callbuttoncolor", Value("light")}}));

    sel::setQuery_(search.get(), Value("flights"));
    sel::setBackgroundSolid_(search.get(), UIColor::rgba(1, 0, 0, 1).get());
    sel::setHeaderColor_(search.get(), UIColor::white(0, 1).get());
    sel::setDescriptionTextColor_(search.get(), UIColor::rgba(0, 0, 1, 1).get());
    sel::setAnchorTextColor_(search.get(), UIColor::pattern(newObject("NSObject").get()).get());  // no hex: left out
    sel::setFontFamily_(search.get(), Value("Helvetica"));
    sel::setHeaderTextSize_(search.get(), 14);
    sel::setBorderColor_(search.get(), UIColor::white(1, 1).get());
    sel::setBorderType_(search.get(), 9);  // no text: left out
    sel::setBorderThickness_(search.get(), 2);
    sel::setCustomChannels_(search.get(), Value("news"));
    sel::setCallButtonColor_(search.get(), 2);
    Value p = sel::additionalParameters(sel::request(search.get()).get());
    const Value want{{"q", Value("flights")},      {"bgcolor", Value("#ff0000")}, {"hcolor", Value("#000000")},
                     {"dcolor", Value("#0000ff")}, {"font", Value("Helvetica")},  {"headersize", Value("14")},
                     {"bcolor", Value("#ffffff")}, {"bthick", Value("2")},        {"channel", Value("news")},
                     {"callbuttoncolor", Value("dark")}};
    EXPECT_EQ(p, want);
    std::string order;
    for (const auto& [key, value] : p.dictionary()) order += key + " ";
    EXPECT_EQ(order, "q bgcolor hcolor dcolor font headersize bcolor bthick channel callbuttoncolor ");

    sel::setBackgroundGradientFrom_toColor_(search.get(), UIColor::white(1, 1).get(), nullptr);  // needs both
    EXPECT_TRUE(sel::backgroundColor(search.get()));
    sel::setBackgroundGradientFrom_toColor_(search.get(), UIColor::white(1, 1).get(), UIColor::white(0, 1).get());
    p = sel::additionalParameters(sel::request(search.get()).get());
    EXPECT_TRUE(p["bgcolor"].isNil());
    EXPECT_EQ(p["gradientfrom"], Value("#ffffff"));
    EXPECT_EQ(p["gradientto"], Value("#000000"));
    sel::setBackgroundSolid_(search.get(), UIColor::white(0.5, 1).get());
    EXPECT_FALSE(sel::gradientFrom(search.get()));
    EXPECT_FALSE(sel::gradientTo(search.get()));
}

TEST_F(SearchRequests, BorderAndCallButtonTexts) {
    Ref<YBXSearchRequest> search = make();
    const char* borders[] = {"none", "dashed", "dotted", "solid", ""};
    const char* buttons[] = {"light", "medium", "dark", ""};
    for (unsigned long long i = 0; i < 5; ++i) EXPECT_EQ(sel::getBorderTypeString_(search.get(), i), borders[i]);
    for (unsigned long long i = 0; i < 4; ++i) EXPECT_EQ(sel::getCallButtonTypeString_(search.get(), i), buttons[i]);
}

TEST_F(SearchRequests, ThePublicClassSetsNoBackground) {
    // The public implementations, reached past the private class's own.
    Ref<YBXSearchRequest> search = make();
    Class* privateClass = objc_getClass("YBXSearchRequestPrivate");
    sel::setGradientFrom_(search.get(), UIColor::white(1, 1).get());
    sel::setBackgroundSolid_.super(privateClass, search.get(), UIColor::rgba(1, 0, 0, 1).get());
    sel::setBackgroundGradientFrom_toColor_.super(privateClass, search.get(), UIColor::white(1, 1).get(), UIColor::white(0, 1).get());
    EXPECT_FALSE(sel::backgroundColor(search.get()));
    EXPECT_TRUE(sel::gradientFrom(search.get()));
    EXPECT_FALSE(sel::gradientTo(search.get()));
}

}  // namespace
}  // namespace adlib
