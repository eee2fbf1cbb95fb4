#include "settings/header_view.h"

#include "platform/uikit/color.h"
#include "platform/uikit/font.h"
#include "platform/uikit/label.h"
#include "settings_fixture.h"

namespace rousa {
namespace {

using testing::SettingsTest;

struct Device {
    const char* name;
    long long idiom;
    double header, byLine, random;
};
void PrintTo(const Device& d, std::ostream* os) { *os << d.name; }
const Device kPhone{"phone", UIUserInterfaceIdiomPhone, 32.0, 16.0, 12.0};
const Device kPad{"pad", UIUserInterfaceIdiomPad, 40.0, 20.0, 12.0};

class HeaderView : public SettingsTest, public ::testing::WithParamInterface<Device> {
protected:
    HeaderView() : SettingsTest(withRandom(testing::settingsApp(GetParam().idiom))) {}
    static host::BootOptions withRandom(host::BootOptions o) {
        o.random = [] { return 22u; };  // 22 % 9: the fifth line
        return o;
    }
    static UILabel* label(const Ref<Object>& l) { return as<UILabel>(l.get()); }
};

TEST_P(HeaderView, ShowsTheNameTheByLineAndALineAtRandomInTheAccentColour) {
    auto header = as<RS2CustomHeaderView>(newObject("RS2CustomHeaderView"));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->frameValue(), Rect());
    struct Expected {
        UILabel* label;
        const char* text;
        double size;
    } const labels[] = {{label(header->headerLabel), "Rousa 2", GetParam().header},
                        {label(header->subHeaderLabel), kHeaderByLine, GetParam().byLine},
                        {label(header->randomLabel), "Everybody love cookies!", GetParam().random}};
    for (const auto& e : labels) {
        SCOPED_TRACE(e.text);
        ASSERT_NE(e.label, nullptr);
        EXPECT_EQ(e.label->superview().get(), header.get());
        EXPECT_EQ(e.label->text_, Value(e.text));
        EXPECT_EQ(as<UIFont>(e.label->font_.get())->fontName(), "HelveticaNeue-Light");
        EXPECT_EQ(as<UIFont>(e.label->font_.get())->pointSize(), e.size);
        EXPECT_EQ(e.label->numberOfLines_, 1);
        EXPECT_EQ(e.label->textAlignment_, NSTextAlignmentCenter);
        EXPECT_TRUE(as<UIColor>(e.label->backgroundColor_.get())->sameComponents(*UIColor::white(0, 0)));
        EXPECT_TRUE(testing::isAccent(e.label->textColor_));
        EXPECT_FALSE(e.label->translatesAutoresizingMaskIntoConstraints_);
    }
}

TEST_P(HeaderView, TheConstraintsPlaceTheLinesUnderAFifthOfItsHeight) {
    auto header = as<RS2CustomHeaderView>(newObject("RS2CustomHeaderView"));
    EXPECT_EQ(header->constraints_.size(), 6u);
    sel::setFrame_(header, Rect(0, 0, 320, 140));
    layoutIfNeeded(header);
    UILabel* name = label(header->headerLabel);
    UILabel* byLine = label(header->subHeaderLabel);
    UILabel* line = label(header->randomLabel);
    EXPECT_EQ(name->frameValue().size, name->textSize(Size{}));
    EXPECT_DOUBLE_EQ(name->frameValue().minY(), 28);
    EXPECT_DOUBLE_EQ(byLine->frameValue().minY(), name->frameValue().maxY() + 5);
    EXPECT_DOUBLE_EQ(line->frameValue().minY(), byLine->frameValue().maxY() + 5);
    for (UILabel* l : {name, byLine, line}) EXPECT_DOUBLE_EQ(l->frameValue().midX(), 160);
    // A wider header centres them again.
    sel::setFrame_(header, Rect(0, 0, 768, 200));
    layoutIfNeeded(header);
    EXPECT_DOUBLE_EQ(name->frameValue().minY(), 40);
    for (UILabel* l : {name, byLine, line}) EXPECT_DOUBLE_EQ(l->frameValue().midX(), 384);
}

INSTANTIATE_TEST_SUITE_P(Devices, HeaderView, ::testing::Values(kPhone, kPad), [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, TheRandomLinesAreNineWithTheEightGivenOnes) {
    Value lines = sel::randomTexts(newObject("RS2CustomHeaderView"));
    ASSERT_EQ(lines.count(), 9u);
    for (const char* given : {"Thank you for your support", "Enjoy!", "Don't Drink and Text.", "Follow me on Twitter.", "Everybody love cookies!",
                              "Half of 2 Plus 2 Equals 3", "Have a nice day!", "Developed with passion :D"})
        EXPECT_NE(std::find(lines.array().begin(), lines.array().end(), Value(given)), lines.array().end()) << given;
}

TEST_F(SettingsTest, EveryPageButThePositionPageShowsTheHeaderAtopItsFirstSection) {
    platform::testing::removeDeviceRoot(env.hostPath(std::string(kRousaBundlePath) + "/Rousa2Credits.plist"));
    for (const auto& p : testing::kPages) {
        SCOPED_TRACE(p.className);
        Ref<PSListController> page = push(p.className);
        RunLoop::main().advance(0.01);
        UITableView* table = page->table_;
        auto* header = as<RS2CustomHeaderView>(table->headerView(0).get());
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->superview().get(), table);
        EXPECT_EQ(header->frameValue(), Rect(0, 0, 320, 140));
        EXPECT_DOUBLE_EQ(as<UILabel>(header->headerLabel.get())->frameValue().minY(), 28);
        EXPECT_FALSE(table->headerView(1));
        if (sel::numberOfSections(table) > 1) {
            EXPECT_EQ(table->rectForHeader(1).height(), 35);
        }
        sel::popViewControllerAnimated_(preferences::rootNavigationController(), false);
    }
}

}  // namespace
}  // namespace rousa
