#include "platform/uikit/text_metrics.h"

#include <gtest/gtest.h>

#include "platform/uikit/font.h"
#include "platform/uikit/label.h"
#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

struct MetricCase {
    const char* text;
    double pointSize;
    double width;  // 0: no limit
    long long lines;
    Size want;
};

TEST(TextMetrics, FollowTheDocumentedRules) {
    const MetricCase cases[] = {
        {"Alarm", 25, 0, 1, {62.5, 30}},
        {"R\xC3\xA9veil \xE2\x8F\xB0", 20, 0, 1, {80, 24}},  // 8 code points, more bytes
        {"", 25, 0, 0, {0, 0}},
        {"two\nlines", 10, 0, 0, {25, 24}},
        {"hello world this is long", 10, 100, 0, {95, 24}},  // 20 characters a line
        {"hello world this is long", 10, 100, 1, {120, 12}},  // one line is never narrowed
        {"one two three four five six", 10, 30, 2, {15, 24}},  // at most two lines
        {"abcdefghij", 10, 20, 0, {20, 36}},                   // a long word breaks between characters
        {"a  b", 10, 0, 0, {20, 12}},                           // spaces count
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Size got = text::measure(c.text, c.pointSize, c.width, c.lines);
        EXPECT_EQ(got, c.want);
        EXPECT_EQ(text::measure(c.text, c.pointSize, c.width, c.lines), got);  // the same every time
    }
}

using Labels = UIKitTest;

TEST_F(Labels, SizeToFitMeasuresTheTextInTheFont) {
    auto label = UIView::make<UILabel>("UILabel", Rect(5, 6, 0, 0));
    EXPECT_FALSE(sel::isUserInteractionEnabled(label));
    EXPECT_EQ(sel::pointSize(sel::font(label)), 17);
    sel::setText_(label, Value("Dismiss"));
    sel::setFont_(label, sel::fontWithName_size_(objc_getClass("UIFont"), Value("HelveticaNeue-Light"), 28));
    sel::sizeToFit(label);
    EXPECT_EQ(sel::frame(label), Rect(5, 6, 98, 33.6));

    // Several lines wrap within the label's width.
    sel::setFrame_(label, Rect(0, 0, 100, 10));
    sel::setNumberOfLines_(label, 0);
    sel::setFont_(label, UIFont::make("HelveticaNeue-Light", 10));
    sel::setText_(label, Value("hello world this is long"));
    EXPECT_EQ(sel::sizeThatFits_(label, Size{100, 0}), (Size{95, 24}));
    sel::sizeToFit(label);
    EXPECT_EQ(sel::frame(label), Rect(0, 0, 95, 24));

    sel::setText_(label, Value());
    EXPECT_EQ(sel::sizeThatFits_(label, Size{100, 100}), (Size{0, 0}));
    EXPECT_FALSE(sel::text(label));
}

TEST_F(Labels, FontsAreEqualByNameAndSize) {
    Ref<Object> a = UIFont::make("HelveticaNeue-Light", 25);
    Ref<Object> b = sel::fontWithName_size_(objc_getClass("UIFont"), Value("HelveticaNeue-Light"), 25);
    EXPECT_EQ(Value(a), Value(b));
    EXPECT_NE(Value(a), Value(sel::fontWithSize_(b, 24)));
    EXPECT_EQ(sel::lineHeight(a), 30);
    EXPECT_EQ(sel::fontName(a), Value("HelveticaNeue-Light"));
    EXPECT_FALSE(sel::fontWithName_size_(objc_getClass("UIFont"), Value(), 25));
    EXPECT_EQ(sel::fontName(sel::systemFontOfSize_(objc_getClass("UIFont"), 12)), Value(".SFUIText-Regular"));
}

TEST_F(Labels, BoundingRectKeepsTheWholeLinesThatFit) {
    Value attributes{{NSFontAttributeName, Value(UIFont::make("HelveticaNeue-Light", 25))}};
    // 0.8 x 320 = 256 points: 20 characters of 12.5 points a line, 30 points high.
    Rect one = boundingRectWithSize(Value("Wake up"), Size{256, 140}, NSStringDrawingUsesLineFragmentOrigin, attributes);
    EXPECT_EQ(one, Rect(0, 0, 87.5, 30));
    Rect many = boundingRectWithSize(Value("a b c d e f g h i j k l m n o p q r s t u v w x y z a b c d e f g h i j k l m n o p"),
                                     Size{256, 140}, NSStringDrawingUsesLineFragmentOrigin, attributes);
    EXPECT_EQ(many.height(), 120);  // four lines fit in 140
    Rect single = boundingRectWithSize(Value("a b c d e f g h i j k l m"), Size{20, 140}, 0, attributes);
    EXPECT_EQ(single, Rect(0, 0, 312.5, 30));
    EXPECT_EQ(boundingRectWithSize(Value(), Size{256, 140}, NSStringDrawingUsesLineFragmentOrigin, attributes).height(), 0);
}

TEST_F(Labels, ButtonsFitTheirImageAndTitle) {
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    EXPECT_EQ(sel::sizeThatFits_(button, Size{}), (Size{0, 0}));
    sel::setTitle_forState_(button, Value("Verify"), UIControlStateNormal);  // 15 points: 6 x 7.5 wide, 18 high
    EXPECT_EQ(sel::sizeThatFits_(button, Size{}), (Size{45, 18}));
    sel::setFrame_(button, Rect(0, 0, 145, 40));
    sel::layoutIfNeeded(button);
    EXPECT_EQ(sel::frame(sel::titleLabel(button)), Rect(50, 11, 45, 18));
}

TEST(LabelsOnIOS7, TheSystemFontIsHelveticaNeue) {
    testing::TestEnvironment env(host::BootOptions{.systemVersion = "7.1"});
    EXPECT_EQ(UIFont::systemFont(17)->fontName(), ".HelveticaNeueInterface-Regular");
}

}  // namespace
}  // namespace platform::uitest
