#include "platform/uikit/text_field.h"

#include <functional>

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

TEST_F(UIKitTest, ATapOnATextFieldStartsEditingIt) {
    auto window = makeWindow();
    Ref<Object> target = newObject("ActionTarget");
    auto makeField = [&](Rect frame, long long tag) {
        auto f = UIView::make<UITextField>("UITextField", frame);
        sel::setTag_(f, tag);
        sel::addSubview_(window, f);
        sel::addTarget_action_forControlEvents_(f, target, sel::tapped_, UIControlEventEditingDidBegin | UIControlEventEditingDidEnd);
        return f;
    };
    auto name = makeField(Rect(10, 100, 300, 30), 1), place = makeField(Rect(10, 150, 300, 30), 2);
    callLog::clear();
    EXPECT_EQ(touch::tap(name.get()).get(), name.get());
    EXPECT_TRUE(sel::isFirstResponder(name));
    touch::tap(name.get());  // already editing: nothing new
    touch::tap(place.get());
    EXPECT_TRUE(sel::isFirstResponder(place));
    EXPECT_FALSE(sel::isFirstResponder(name));
    // began 1, ended 1, began 2
    EXPECT_EQ(callLog::lines("ActionTarget"), (std::vector<std::string>{"ActionTarget tapped: 1", "ActionTarget tapped: 1", "ActionTarget tapped: 2"}));

    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"a finger that slides off before the lift", [&] {
             Ref<UITouch> finger = touch::down(touch::screenCenter(name.get()));
             touch::move(finger, Point{160, 400});
             touch::up(finger);
         }},
        {"a disabled field", [&] {
             sel::setEnabled_(name, false);
             touch::tap(name.get());
             sel::setEnabled_(name, true);
         }},
        {"a cancelled touch", [&] {
             Ref<UITouch> finger = touch::down(touch::screenCenter(name.get()));
             touch::cancel(finger);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        EXPECT_TRUE(sel::isFirstResponder(place));
        EXPECT_FALSE(sel::isFirstResponder(name));
    }
}

}  // namespace
}  // namespace platform::uitest
