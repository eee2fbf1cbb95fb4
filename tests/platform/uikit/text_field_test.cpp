#include "platform/uikit/text_field.h"

#include "uikit_test_support.h"

namespace platform::uitest {
namespace {

int asked = 0;
bool allow = true;
std::vector<std::string> editing;

class FieldDelegate : public NSObject {};

TEST_F(UIKitTest, ATextFieldAsksItsDelegateBeforeEveryChangeAndReportsEditing) {
    ClassBuilder<FieldDelegate>("FieldDelegate", "NSObject")
        .method(sel::textField_shouldChangeCharactersInRange_replacementString_,
                [](id, id, NSRange range, Value text) {
                    ++asked;
                    editing.push_back(format("change %ld %ld %@", range.location, range.length, text));
                    return allow;
                })
        .method(sel::textFieldDidBeginEditing_, [](id, id) { editing.push_back("begin"); })
        .method(sel::textFieldDidEndEditing_, [](id, id) { editing.push_back("end"); })
        .method(sel::textFieldShouldReturn_, [](id, id) {
            editing.push_back("return");
            return false;
        });
    Ref<Object> delegate = newObject("FieldDelegate");
    auto field = as<UITextField>(newObject("UITextField"));
    sel::setDelegate_(field, delegate);
    EXPECT_TRUE(sel::becomeFirstResponder(field));
    EXPECT_TRUE(field->insertText("ab"));
    allow = false;
    EXPECT_FALSE(field->insertText("c"));
    EXPECT_FALSE(field->deleteBackward());
    allow = true;
    EXPECT_TRUE(field->replaceCharacters(NSRange{0, 1}, "xy"));
    EXPECT_FALSE(field->replaceCharacters(NSRange{2, 5}, ""));  // beyond the text: nothing asked
    EXPECT_EQ(field->text_, Value("xyb"));
    EXPECT_FALSE(field->pressReturn());
    EXPECT_TRUE(sel::resignFirstResponder(field));
    EXPECT_TRUE(sel::resignFirstResponder(field));  // not editing any more: no second end
    EXPECT_EQ(editing, (std::vector<std::string>{"begin", "change 0 0 ab", "change 2 0 c", "change 1 1 ", "change 0 1 xy", "return", "end"}));
    EXPECT_EQ(asked, 4);
}

}  // namespace
}  // namespace platform::uitest
