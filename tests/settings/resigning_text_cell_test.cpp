#include "settings/resigning_text_cell.h"

#include "settings_fixture.h"

namespace rousa {
namespace {

using testing::SettingsTest;

class NumberRow : public SettingsTest {
protected:
    // The defaults page's snooze length (defSnoozeTime), a number row.
    NumberRow() : page(push("Rousa2DefaultListController")), row(cell(page, 1, 0)), field(as<UITextField>(sel::textField(row).get())) {
        sel::becomeFirstResponder(field);
    }
    Ref<PSListController> page;
    Ref<Object> row;
    Ref<UITextField> field;
};

TEST_F(NumberRow, ItIsAResigningTextCellWithTheStoredNumber) {
    EXPECT_TRUE(isKindOfClass(row, "ResigningTextCell"));
    EXPECT_EQ(sel::delegate(field).get(), row.get());
    EXPECT_EQ(field->text_, Value("1"));
    EXPECT_EQ(field->keyboardType_, UIKeyboardTypeNumberPad);
}

TEST_F(NumberRow, OnlyDigitsGetInAndDeletingIsAlwaysAllowed) {
    struct Case {
        const char* typed;
        bool taken;
    } const cases[] = {{"2", true}, {"12a", false}, {"a", false}, {" 3", false}, {"-4", false}, {"1.5", false}, {"٣", false}, {"0987", true}};
    std::string expected = "1";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(field->insertText(c.typed), c.taken);
        if (c.taken) expected += c.typed;
        EXPECT_EQ(field->text_, Value(expected));
    }
    // A paste over the middle is asked the same way.
    EXPECT_FALSE(field->replaceCharacters(NSRange{1, 2}, "12a"));
    EXPECT_TRUE(field->replaceCharacters(NSRange{1, 2}, "55"));
    EXPECT_EQ(field->text_, Value("155987"));
    // Deleting, also a run of characters.
    EXPECT_TRUE(field->replaceCharacters(NSRange{0, 2}, ""));
    while (field->deleteBackward()) {
    }
    EXPECT_EQ(field->text_, Value(""));
}

TEST_F(NumberRow, ReturnEndsEditingAndStoresTheNumberTyped) {
    field->insertText("5");
    EXPECT_FALSE(readPrefs()["defSnoozeTime"]);
    EXPECT_TRUE(field->pressReturn());
    EXPECT_FALSE(sel::isFirstResponder(field));
    EXPECT_EQ(readPrefs()["defSnoozeTime"], Value(15));
}

}  // namespace
}  // namespace rousa
