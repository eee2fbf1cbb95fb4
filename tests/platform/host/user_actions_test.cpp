#include "platform/host/user_actions.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/run_loop.h"
#include "platform/host/application_classes.h"
#include "platform/host/controlled_host.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/preferences/list_controller.h"
#include "platform/preferences/settings_app.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/application.h"
#include "platform/uikit/button.h"
#include "platform/uikit/image.h"
#include "platform/uikit/image_view.h"
#include "platform/uikit/label.h"
#include "platform/uikit/navigation_controller.h"
#include "platform/uikit/responder.h"
#include "platform/uikit/table_view.h"
#include "platform/uikit/text_field.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/value_controls.h"
#include "platform/uikit/window.h"

namespace platform::actiontest {

namespace sel {
using namespace platform::sel;
inline constexpr Sel<void(id, id)> pressed_{"pressed:"};
inline constexpr Sel<void(id, id)> touchedDown_{"touchedDown:"};
inline constexpr Sel<void(id, id)> liftedInside_{"liftedInside:"};
inline constexpr Sel<void(id, id)> liftedOutside_{"liftedOutside:"};
inline constexpr Sel<void(id, id)> draggedOut_{"draggedOut:"};
inline constexpr Sel<void(id, id)> pickerMoved_{"pickerMoved:"};
}  // namespace sel

namespace {

using Lines = std::vector<std::string>;

Value run(std::string_view command, const Value& arguments) { return host::runCommand(command, arguments); }

std::string tagOf(id view) { return std::to_string(sel::tag(view)); }

std::string number(double d) {
    std::ostringstream os;
    os << d;
    return os.str();
}

// "Recorder": the target of the test's controls; logs each action with the sender's tag.
class Recorder : public NSObject {};
// "TouchLogger": a view that logs the touches it receives.
class TouchLogger : public UIView {};
// "FieldWatcher": a text field's delegate that logs what the keyboard asks of it.
class FieldWatcher : public NSObject {};
// "RowSource": a one-section table's data source and delegate, a row per text.
class RowSource : public NSObject {
public:
    std::vector<std::string> rows;
};

void registerTestClasses() {
    ClassBuilder<Recorder>("Recorder", "NSObject")
        .method(sel::pressed_, [](id, id sender) { callLog::record("Recorder", "pressed:", tagOf(sender)); })
        .method(sel::touchedDown_, [](id, id sender) { callLog::record("Recorder", "touchedDown:", tagOf(sender)); })
        .method(sel::liftedInside_, [](id, id sender) { callLog::record("Recorder", "liftedInside:", tagOf(sender)); })
        .method(sel::liftedOutside_, [](id, id sender) { callLog::record("Recorder", "liftedOutside:", tagOf(sender)); })
        .method(sel::draggedOut_, [](id, id sender) { callLog::record("Recorder", "draggedOut:", tagOf(sender)); })
        .method(sel::pickerMoved_, [](id, id sender) { callLog::record("Recorder", "pickerMoved:", tagOf(sender)); });
    ClassBuilder<TouchLogger>("TouchLogger", "UIView")
        .method(sel::touchesBegan_withEvent_, [](id self, Value, id) { callLog::record("TouchLogger", "touchesBegan:withEvent:", tagOf(self)); })
        .method(sel::touchesEnded_withEvent_, [](id self, Value, id) { callLog::record("TouchLogger", "touchesEnded:withEvent:", tagOf(self)); });
    ClassBuilder<FieldWatcher>("FieldWatcher", "NSObject")
        .method(sel::textFieldDidBeginEditing_, [](id, id) { callLog::record("FieldWatcher", "textFieldDidBeginEditing:"); })
        .method(sel::textField_shouldChangeCharactersInRange_replacementString_,
                [](id, id, NSRange range, Value replacement) {
                    callLog::record("FieldWatcher", "shouldChange",
                                    std::to_string(range.location) + "+" + std::to_string(range.length) + " \"" + replacement.string() + "\"");
                    return true;
                })
        .method(sel::textFieldShouldReturn_,
                [](id, id) {
                    callLog::record("FieldWatcher", "textFieldShouldReturn:");
                    return true;
                })
        .method(sel::textFieldDidEndEditing_, [](id, id field) { callLog::record("FieldWatcher", "textFieldDidEndEditing:", sel::text(field).string()); });
    ClassBuilder<RowSource>("RowSource", "NSObject")
        .method(sel::numberOfSectionsInTableView_, [](id, id) { return 1LL; })
        .method(sel::tableView_numberOfRowsInSection_, [](id self, id, long long) { return static_cast<long long>(as<RowSource>(self)->rows.size()); })
        .method(sel::tableView_cellForRowAtIndexPath_,
                [](id self, id, id path) -> Ref<Object> {
                    Ref<Object> cell = sel::initWithStyle_reuseIdentifier_(alloc("UITableViewCell"), UITableViewCellStyleDefault, Value());
                    sel::setText_(sel::textLabel(cell), Value(as<RowSource>(self)->rows.at(static_cast<std::size_t>(sel::row(path)))));
                    return cell;
                })
        .method(sel::tableView_didSelectRowAtIndexPath_, [](id self, id, id path) {
            auto index = static_cast<std::size_t>(sel::row(path));
            callLog::record("RowSource", "didSelect", std::to_string(index + 1) + " " + as<RowSource>(self)->rows.at(index));
        });
}

// Where a view shows on the screen.
Rect onScreen(UIView* v) {
    Point origin = v->toScreen(v->bounds_.origin);
    return Rect(origin.x, origin.y, v->bounds_.width(), v->bounds_.height());
}

// What "screen" answers, a line per window and per item: "level 0",
// "label Title 10,30,100,20".
Lines describe(const Value& screen) {
    Lines out;
    for (const Value& w : screen.array()) {
        out.push_back("level " + number(w["level"].doubleValue()));
        for (const Value& item : w["items"].array()) {
            const Value& f = item["frame"];
            out.push_back(item["kind"].string() + " " + item["text"].string() + " " + number(f.at(0).doubleValue()) + "," +
                          number(f.at(1).doubleValue()) + "," + number(f.at(2).doubleValue()) + "," + number(f.at(3).doubleValue()));
        }
    }
    return out;
}

// The texts of the frontmost window, in reading order.
Lines frontTexts() {
    Lines out;
    for (const Value& item : host::readScreen().at(0)["items"].array()) out.push_back(item["text"].string());
    return out;
}

constexpr const char* kSnoozeImage = "/Library/PreferenceBundles/Rousa2.bundle/Snooze@2x.png";
constexpr const char* kDismissImage = "/Library/PreferenceBundles/Rousa2.bundle/Dismiss@2x.png";

// A booted process with view trees the tests build; the commands registered.
class UserActions : public ::testing::Test {
protected:
    UserActions() {
        registerTestClasses();
        host::registerUserCommands();
        recorder = newObject("Recorder");
    }

    Ref<UIWindow> makeWindow(Rect frame = Rect(0, 0, 320, 568), double level = UIWindowLevelNormal) {
        auto w = UIView::make<UIWindow>("UIWindow", frame);
        sel::setWindowLevel_(w, level);
        sel::setHidden_(w, false);
        return w;
    }
    Ref<UIButton> button(UIView* parent, const char* title, Rect frame, long long tag) {
        Ref<UIButton> b = UIButton::buttonWithType(UIButtonTypeSystem);
        sel::setFrame_(b, frame);
        sel::setTag_(b, tag);
        if (title) sel::setTitle_forState_(b, Value(title), UIControlStateNormal);
        sel::addTarget_action_forControlEvents_(b, recorder, sel::pressed_, UIControlEventTouchUpInside);
        sel::addSubview_(parent, b);
        return b;
    }
    static Ref<UILabel> label(UIView* parent, const char* text, Rect frame) {
        auto l = UIView::make<UILabel>("UILabel", frame);
        sel::setText_(l, Value(text));
        sel::addSubview_(parent, l);
        return l;
    }
    // A table of `rows` filling a window.
    Ref<UITableView> table(UIView* parent, std::vector<std::string> rows, Rect frame) {
        source = Ref<RowSource>(as<RowSource>(newObject("RowSource").get()));
        source->rows = std::move(rows);
        auto t = Ref<UITableView>(as<UITableView>(sel::initWithFrame_style_(alloc("UITableView"), frame, UITableViewStylePlain).get()));
        sel::setDataSource_(t, source);
        sel::setDelegate_(t, source);
        sel::addSubview_(parent, t);
        layoutIfNeeded(t);
        return t;
    }
    // "Row 1" to "Row <count>".
    static std::vector<std::string> numberedRows(int count) {
        std::vector<std::string> rows;
        for (int i = 1; i <= count; ++i) rows.push_back("Row " + std::to_string(i));
        return rows;
    }
    // A screen titled "Rows" whose view is a table of `rows`, in a navigation
    // controller on a key window, as an app shows a list.
    Ref<UITableView> listInNavigation(std::vector<std::string> rows) {
        source = Ref<RowSource>(as<RowSource>(newObject("RowSource").get()));
        source->rows = std::move(rows);
        auto t = Ref<UITableView>(as<UITableView>(sel::initWithFrame_style_(alloc("UITableView"), Rect(0, 0, 320, 568), UITableViewStylePlain).get()));
        sel::setDataSource_(t, source);
        sel::setDelegate_(t, source);
        Ref<Object> screen = newObject("UIViewController");
        sel::setView_(screen, t);
        sel::setTitle_(screen, Value("Rows"));
        navigation = sel::initWithRootViewController_(alloc("UINavigationController"), screen);
        window = makeWindow();
        sel::setRootViewController_(window, navigation);
        sel::makeKeyAndVisible(window);
        RunLoop::main().advance(0);
        layoutIfNeeded(window);
        return t;
    }
    // The visible label of the table showing `text`, or null.
    static UILabel* rowLabel(UITableView* t, const std::string& text) {
        for (const auto& [path, cell] : t->cells_)
            if (cell->textLabel_ && cell->textLabel_->text_.stringOr("") == text) return cell->textLabel_.get();
        return nullptr;
    }
    static Lines recorded() { return callLog::lines("Recorder"); }

    testing::TestEnvironment env;
    Ref<Object> recorder;
    Ref<RowSource> source;
    Ref<Object> navigation;
    Ref<UIWindow> window;
};

// --- screen ------------------------------------------------------------------------------------

TEST_F(UserActions, TheScreenListsWhatEachVisibleWindowShowsFrontToBack) {
    auto back = makeWindow();
    label(back, "Title", Rect(10, 30, 100, 20));
    button(back, "OK", Rect(20, 100, 80, 40), 1);
    auto image = UIView::make<UIImageView>("UIImageView", Rect(200, 100, 30, 30));
    sel::setImage_(image, UIImage::fromFile(kSnoozeImage));
    sel::addSubview_(back, image);
    auto field = UIView::make<UITextField>("UITextField", Rect(10, 200, 200, 31));
    sel::setText_(field, Value("Typed"));
    sel::addSubview_(back, field);
    sel::setHidden_(label(back, "Hidden", Rect(10, 250, 100, 20)), true);
    sel::setAlpha_(label(back, "Faded", Rect(10, 280, 100, 20)), 0.005);
    label(back, "", Rect(10, 310, 100, 20));
    auto container = UIView::make("UIView", Rect(0, 400, 320, 100));
    sel::setHidden_(container, true);
    label(container, "Inside hidden", Rect(0, 0, 100, 20));
    sel::addSubview_(back, container);
    // Not shown at all.
    auto hiddenWindow = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
    label(hiddenWindow, "Never", Rect(0, 0, 100, 20));

    auto front = makeWindow(Rect(40, 300, 240, 100), UIWindowLevelAlert);
    label(front, "Alert", Rect(10, 10, 100, 20));

    EXPECT_EQ(describe(run("screen", Value())), (Lines{
                                                    "level 2000",
                                                    "label Alert 50,310,100,20",
                                                    "level 0",
                                                    "label Title 10,30,100,20",
                                                    "button OK 20,100,80,40",
                                                    "image Snooze 200,100,30,30",
                                                    "field Typed 10,200,200,31",
                                                }));
}

// --- tap ---------------------------------------------------------------------------------------

TEST_F(UserActions, ATapReachesTheItemShowingTheTextOrImage) {
    auto w = makeWindow();
    button(w, "OK", Rect(20, 40, 100, 44), 1);
    Ref<UIButton> dismiss = button(w, nullptr, Rect(200, 40, 44, 44), 2);
    sel::setImage_forState_(dismiss, UIImage::fromFile(kDismissImage), UIControlStateNormal);
    label(w, "First", Rect(20, 120, 100, 30));
    button(w, "Edit", Rect(200, 120, 80, 30), 3);
    label(w, "Second", Rect(20, 180, 100, 30));
    button(w, "Edit", Rect(200, 180, 80, 30), 4);
    layoutIfNeeded(w);

    struct Case {
        const char* what;
        Value arguments;
        const char* pressed;
    };
    const Case cases[] = {
        {"a title, given as a string", Value("OK"), "1"},
        {"a title", Value{{"text", Value("OK")}}, "1"},
        {"an image's name", Value{{"text", Value("Dismiss")}}, "2"},
        {"the first of two equal titles", Value{{"text", Value("Edit")}, {"after", Value("First")}}, "3"},
        {"the second of two equal titles", Value{{"text", Value("Edit")}, {"after", Value("Second")}}, "4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        callLog::clear();
        EXPECT_EQ(run("tap", c.arguments), Value(""));
        EXPECT_EQ(recorded(), (Lines{std::string("Recorder pressed: ") + c.pressed}));
    }
}

TEST_F(UserActions, ACoveredItemIsReportedCoveredAndNothingIsTouched) {
    struct Case {
        const char* what;
        bool coverWithWindow;
        const char* answer;
    };
    const Case cases[] = {
        {"a window above it", true, "\"OK\" is covered by a TouchLogger"},
        {"a button over it in its own window", false, "\"OK\" is covered by a UIButton"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto w = makeWindow();
        button(w, "OK", Rect(20, 100, 100, 44), 1);
        Ref<UIWindow> above;
        if (c.coverWithWindow) {
            above = makeWindow(Rect(0, 0, 320, 568), UIWindowLevelAlert);
            auto cover = UIView::make("TouchLogger", Rect(0, 0, 320, 568));
            sel::setTag_(cover, 9);
            sel::addSubview_(above, cover);
        } else {
            button(w, nullptr, Rect(0, 80, 320, 100), 9);
        }
        callLog::clear();
        EXPECT_EQ(run("tap", Value("OK")), Value(c.answer));
        EXPECT_EQ(recorded(), Lines{});
        EXPECT_EQ(callLog::lines("TouchLogger"), Lines{});
    }
}

TEST_F(UserActions, WhatNothingShowsIsNotTapped) {
    auto w = makeWindow();
    label(w, "First", Rect(20, 120, 100, 30));
    button(w, "Edit", Rect(200, 120, 80, 30), 1);
    sel::setHidden_(button(w, "Hidden", Rect(20, 200, 80, 30), 2), true);
    sel::setAlpha_(button(w, "Faded", Rect(20, 240, 80, 30), 3), 0.005);
    auto container = UIView::make("UIView", Rect(0, 300, 320, 100));
    sel::setHidden_(container, true);
    sel::addSubview_(w, container);
    button(container, "Inside hidden", Rect(0, 0, 100, 30), 4);

    struct Case {
        Value arguments;
        const char* answer;
    };
    const Case cases[] = {
        {Value("Nowhere"), "nothing on the screen shows \"Nowhere\""},
        {Value{{"text", Value("Edit")}, {"after", Value("Third")}}, "nothing on the screen shows \"Edit\" after \"Third\""},
        // "after" looks forward only.
        {Value{{"text", Value("First")}, {"after", Value("Edit")}}, "nothing on the screen shows \"First\" after \"Edit\""},
        {Value("Hidden"), "nothing on the screen shows \"Hidden\""},
        {Value("Faded"), "nothing on the screen shows \"Faded\""},
        {Value("Inside hidden"), "nothing on the screen shows \"Inside hidden\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        callLog::clear();
        EXPECT_EQ(run("tap", c.arguments), Value(c.answer));
        EXPECT_EQ(recorded(), Lines{});
    }
}

TEST_F(UserActions, AfterReadsATableTopToBottomWhateverOrderItsCellsCameIn) {
    auto w = makeWindow();
    std::vector<std::string> rows = {"Length", "Unit", "Fade length", "Unit"};
    for (int i = 5; i <= 12; ++i) rows.push_back("Row " + std::to_string(i));
    // Four rows show at a time.
    Ref<UITableView> t = table(w, rows, Rect(0, 0, 320, 176));
    // Scrolled down by a row and back: the first row's cell is made again, after the others.
    sel::setContentOffset_(t, Point{0, 44});
    layoutIfNeeded(t);
    sel::setContentOffset_(t, Point{0, 0});
    layoutIfNeeded(t);

    EXPECT_EQ(frontTexts(), (Lines{"Length", "Unit", "Fade length", "Unit"}));
    callLog::clear();
    EXPECT_EQ(run("tap", Value{{"text", Value("Unit")}, {"after", Value("Length")}}), Value(""));
    EXPECT_EQ(run("tap", Value{{"text", Value("Unit")}, {"after", Value("Fade length")}}), Value(""));
    EXPECT_EQ(callLog::lines("RowSource"), (Lines{"RowSource didSelect 2 Unit", "RowSource didSelect 4 Unit"}));
}

// --- switch, slide, type and spin outside a settings page ---------------------------------------

TEST_F(UserActions, AControlIsLookedForBesideItsLabelOnly) {
    auto w = makeWindow();
    auto row = UIView::make("UIView", Rect(0, 100, 320, 44));
    sel::addSubview_(w, row);
    label(row, "Vibrate", Rect(15, 0, 200, 44));
    auto toggle = UIView::make<UISwitch>("UISwitch", Rect(250, 6, 51, 31));
    sel::addSubview_(row, toggle);
    auto other = UIView::make("UIView", Rect(0, 200, 320, 44));
    sel::addSubview_(w, other);
    label(other, "Volume", Rect(15, 0, 200, 44));

    struct Case {
        const char* command;
        Value arguments;
        const char* answer;
    };
    const Case cases[] = {
        {"switch", Value{{"label", Value("Volume")}, {"on", Value(true)}}, "no switch beside \"Volume\""},
        {"switch", Value{{"label", Value("Brightness")}, {"on", Value(true)}}, "nothing on the screen shows \"Brightness\""},
        {"slide", Value{{"near", Value("Vibrate")}, {"value", Value(0.5)}}, "no slider beside \"Vibrate\""},
        {"slide", Value{{"near", Value("Brightness")}, {"value", Value(0.5)}}, "nothing on the screen shows \"Brightness\""},
        {"type", Value{{"text", Value("x")}, {"near", Value("Volume")}}, "no text field beside \"Volume\""},
        {"type", Value{{"text", Value("x")}}, "no text field on the screen"},
        {"spin", Value{{"seconds", Value(60)}}, "no time picker on the screen"},
        {"reveal", Value{{"text", Value("Volume")}}, "nothing to scroll"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        EXPECT_EQ(run(c.command, c.arguments), Value(c.answer));
    }
    // The other row's switch was not turned for "Volume".
    EXPECT_FALSE(toggle->on_);
    // Set beside its own label, outside a table: the same parent.
    EXPECT_EQ(run("switch", Value{{"label", Value("Vibrate")}, {"on", Value(true)}}), Value(""));
    EXPECT_TRUE(toggle->on_);
}

TEST_F(UserActions, TypingIsTheKeyboardOneCharacterAtATime) {
    auto w = makeWindow();
    auto field = UIView::make<UITextField>("UITextField", Rect(15, 100, 290, 44));
    sel::setText_(field, Value("Run"));
    Ref<Object> watcher = newObject("FieldWatcher");
    sel::setDelegate_(field, watcher);
    sel::addSubview_(w, field);

    EXPECT_EQ(run("type", Value{{"text", Value("Café")}, {"replace", Value(true)}, {"finish", Value(true)}}), Value(""));
    EXPECT_EQ(sel::text(field), Value("Café"));
    EXPECT_FALSE(sel::isFirstResponder(field));
    EXPECT_EQ(callLog::lines("FieldWatcher"), (Lines{
                                                   "FieldWatcher textFieldDidBeginEditing:",
                                                   "FieldWatcher shouldChange 0+3 \"\"",
                                                   "FieldWatcher shouldChange 0+0 \"C\"",
                                                   "FieldWatcher shouldChange 1+0 \"a\"",
                                                   "FieldWatcher shouldChange 2+0 \"f\"",
                                                   "FieldWatcher shouldChange 3+0 \"é\"",
                                                   "FieldWatcher textFieldShouldReturn:",
                                                   "FieldWatcher textFieldDidEndEditing: Café",
                                               }));

    // Without replace and finish: added to what the field holds, still editing.
    callLog::clear();
    EXPECT_EQ(run("type", Value{{"text", Value("!")}}), Value(""));
    EXPECT_EQ(sel::text(field), Value("Café!"));
    EXPECT_TRUE(sel::isFirstResponder(field));
    EXPECT_EQ(callLog::lines("FieldWatcher"), (Lines{"FieldWatcher textFieldDidBeginEditing:", "FieldWatcher shouldChange 5+0 \"!\""}));
}

TEST_F(UserActions, ASpinTurnsTheFrontmostTimePicker) {
    auto back = makeWindow();
    auto hidden = UIView::make<UIDatePicker>("UIDatePicker", Rect(0, 0, 320, 216));
    auto under = UIView::make<UIDatePicker>("UIDatePicker", Rect(0, 0, 320, 216));
    sel::setTag_(under, 1);
    sel::addSubview_(back, under);
    auto front = makeWindow(Rect(0, 300, 320, 268), UIWindowLevelAlert);
    auto picker = UIView::make<UIDatePicker>("UIDatePicker", Rect(0, 0, 320, 216));
    sel::setTag_(picker, 2);
    sel::addSubview_(front, picker);
    sel::setTag_(hidden, 3);
    sel::setHidden_(hidden, true);
    sel::addSubview_(front, hidden);
    for (UIView* p : {under.get(), picker.get(), hidden.get()})
        sel::addTarget_action_forControlEvents_(p, recorder, sel::pickerMoved_, UIControlEventValueChanged);

    EXPECT_EQ(run("spin", Value{{"seconds", Value(7 * 3600 + 30 * 60)}}), Value(""));
    EXPECT_EQ(sel::countDownDuration(picker), 7 * 3600 + 30 * 60);
    EXPECT_EQ(sel::countDownDuration(under), 0);
    EXPECT_EQ(recorded(), (Lines{"Recorder pickerMoved: 2"}));
}

// --- reveal --------------------------------------------------------------------------------------

TEST_F(UserActions, RevealScrollsALongTableUntilTheRowCanBeTapped) {
    std::vector<std::string> rows = numberedRows(40);
    rows[34] = "Rows";  // as the screen's title in the bar above
    Ref<UITableView> t = listInNavigation(rows);
    ASSERT_EQ(sel::contentOffset(t), (Point{0, -64}));
    ASSERT_FALSE(rowLabel(t, "Row 30"));

    for (const char* row : {"Row 30", "Row 40", "Row 12", "Rows"}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(run("reveal", Value{{"text", Value(row)}}), Value(""));
        UILabel* shown = rowLabel(t, row);
        ASSERT_TRUE(shown);
        Rect r = onScreen(shown);
        EXPECT_GE(r.y(), 64);
        EXPECT_LE(r.maxY(), 568);
    }
    callLog::clear();
    ASSERT_EQ(run("reveal", Value{{"text", Value("Row 30")}}), Value(""));
    EXPECT_EQ(run("tap", Value("Row 30")), Value(""));
    EXPECT_EQ(callLog::lines("RowSource"), (Lines{"RowSource didSelect 30 Row 30"}));
}

TEST_F(UserActions, RevealBringsTheTopRowBackBelowTheNavigationBar) {
    Ref<UITableView> t = listInNavigation(numberedRows(40));
    struct Case {
        const char* what;
        double offset;
    };
    const Case cases[] = {
        {"scrolled far down", 880},
        {"scrolled down by less than a screen", 150},
        {"under the bar", 0},
        {"its middle under the bar", -40},
        {"its top under the bar", -50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sel::setContentOffset_(t, Point{0, c.offset});
        layoutIfNeeded(t);
        EXPECT_EQ(run("reveal", Value{{"text", Value("Row 1")}}), Value(""));
        UILabel* shown = rowLabel(t, "Row 1");
        ASSERT_TRUE(shown);
        EXPECT_GE(onScreen(shown).y(), 64);
        callLog::clear();
        EXPECT_EQ(run("tap", Value("Row 1")), Value(""));
        EXPECT_EQ(callLog::lines("RowSource"), (Lines{"RowSource didSelect 1 Row 1"}));
    }
}

TEST_F(UserActions, RevealReportsWhatNoScrollShows) {
    Ref<UITableView> t = listInNavigation(numberedRows(40));
    struct Case {
        Value arguments;
        const char* answer;
    };
    const Case cases[] = {
        {Value{{"text", Value("Row 99")}}, "scrolling shows no \"Row 99\""},
        {Value{{"text", Value("Row 3")}, {"after", Value("Row 5")}}, "scrolling shows no \"Row 3\" after \"Row 5\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        EXPECT_EQ(run("reveal", c.arguments), Value(c.answer));
    }
}

// --- touch -----------------------------------------------------------------------------------------

TEST_F(UserActions, AFingerIsHeldBetweenCommandsUntilItIsLifted) {
    auto w = makeWindow();
    Ref<UIButton> hold = button(w, "Hold", Rect(20, 100, 120, 44), 1);
    sel::addTarget_action_forControlEvents_(hold, recorder, sel::touchedDown_, UIControlEventTouchDown);
    sel::addTarget_action_forControlEvents_(hold, recorder, sel::liftedInside_, UIControlEventTouchUpInside);
    sel::addTarget_action_forControlEvents_(hold, recorder, sel::liftedOutside_, UIControlEventTouchUpOutside);
    sel::addTarget_action_forControlEvents_(hold, recorder, sel::draggedOut_, UIControlEventTouchDragExit);
    label(w, "Elsewhere", Rect(20, 400, 120, 44));

    // Lifted where it went down.
    ASSERT_EQ(run("touch", Value{{"phase", Value("down")}, {"text", Value("Hold")}}), Value(""));
    EXPECT_EQ(recorded(), (Lines{"Recorder touchedDown: 1"}));
    RunLoop::main().advance(2);
    EXPECT_TRUE(sel::isHighlighted(hold));
    EXPECT_EQ(recorded(), (Lines{"Recorder touchedDown: 1"}));
    ASSERT_EQ(run("touch", Value{{"phase", Value("up")}}), Value(""));
    EXPECT_FALSE(sel::isHighlighted(hold));
    EXPECT_EQ(recorded(), (Lines{"Recorder touchedDown: 1", "Recorder pressed: 1", "Recorder liftedInside: 1"}));

    // Moved away first: lifted outside, not pressed.
    callLog::clear();
    ASSERT_EQ(run("touch", Value{{"phase", Value("down")}, {"text", Value("Hold")}}), Value(""));
    ASSERT_EQ(run("touch", Value{{"phase", Value("move")}, {"text", Value("Elsewhere")}}), Value(""));
    ASSERT_EQ(run("touch", Value{{"phase", Value("up")}}), Value(""));
    EXPECT_EQ(recorded(), (Lines{"Recorder touchedDown: 1", "Recorder draggedOut: 1", "Recorder liftedOutside: 1"}));
    EXPECT_FALSE(sel::isHighlighted(hold));
}

TEST_F(UserActions, ATouchOnARowCountsTheRowsFromOne) {
    auto w = makeWindow();
    table(w, numberedRows(5), Rect(0, 0, 320, 568));
    ASSERT_EQ(run("touch", Value{{"phase", Value("down")}, {"row", Value(2)}}), Value(""));
    EXPECT_EQ(callLog::lines("RowSource"), Lines{});
    ASSERT_EQ(run("touch", Value{{"phase", Value("up")}}), Value(""));
    EXPECT_EQ(callLog::lines("RowSource"), (Lines{"RowSource didSelect 2 Row 2"}));

    for (int row : {0, 6}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(run("touch", Value{{"phase", Value("down")}, {"row", Value(row)}}), Value("no row " + std::to_string(row)));
        // Nothing was held.
        EXPECT_EQ(run("touch", Value{{"phase", Value("up")}}), Value("no finger is down"));
    }
}

TEST_F(UserActions, TouchPhasesOutOfTurnAreRefused) {
    auto w = makeWindow();
    button(w, "Hold", Rect(20, 100, 120, 44), 1);
    EXPECT_EQ(run("touch", Value{{"phase", Value("move")}, {"text", Value("Hold")}}), Value("no finger is down"));
    EXPECT_EQ(run("touch", Value{{"phase", Value("up")}}), Value("no finger is down"));
    EXPECT_EQ(run("touch", Value{{"phase", Value("down")}, {"text", Value("Nowhere")}}), Value("nothing on the screen shows \"Nowhere\""));
    ASSERT_EQ(run("touch", Value{{"phase", Value("down")}, {"text", Value("Hold")}}), Value(""));
    EXPECT_EQ(run("touch", Value{{"phase", Value("down")}, {"text", Value("Hold")}}), Value("a finger is already down"));
    EXPECT_EQ(run("touch", Value{{"phase", Value("wiggle")}}), Value("no touch phase wiggle"));
    EXPECT_EQ(run("touch", Value{{"phase", Value("move")}, {"text", Value("Nowhere")}}), Value("nothing on the screen shows \"Nowhere\""));
    EXPECT_EQ(run("touch", Value{{"phase", Value("up")}}), Value(""));
    EXPECT_EQ(recorded(), (Lines{"Recorder pressed: 1"}));
}

// --- the device ---------------------------------------------------------------------------------------

TEST_F(UserActions, OnlyTheSettingsAppHasRoutesAndOnlyKnownButtonsArePressed) {
    EXPECT_EQ(run("settings-route", Value{{"key", Value("enabled")}}), Value());
    EXPECT_EQ(run("press", Value("elbow")), Value("no button elbow"));
}

// --- settings pages ---------------------------------------------------------------------------------

constexpr const char* kDomain = "net.example.useractions";

// Page classes whose rows come from descriptions the test gives, by class name.
std::map<std::string, Value>& pageDescriptions() {
    static std::map<std::string, Value> descriptions;
    return descriptions;
}

Value describedSpecifiers(id self) {
    auto* page = as<PSListController>(self);
    if (page->specifiers_.isArray()) return page->specifiers_;
    Value::Array rows;
    for (const Value& item : pageDescriptions()[object_getClass(self)->name()].array())
        rows.emplace_back(PSSpecifier::fromDescription(item, self, std::string()));
    page->specifiers_ = Value(std::move(rows));
    return page->specifiers_;
}

Value row(const char* cell, const char* label, Value::Dictionary more = {}) {
    more["cell"] = Value(cell);
    more["label"] = Value(label);
    if (more.count("key")) more["defaults"] = Value(kDomain);
    return Value(std::move(more));
}

// The Settings app, launched, with a page of the test's on top of its list.
class SettingsPages : public ::testing::Test {
protected:
    SettingsPages() : env(host::BootOptions{.bundleIdentifier = host::kSettingsApp, .systemVersion = "9.3"}) { host::registerUserCommands(); }

    void page(const std::string& className, std::vector<Value> rows) {
        pageDescriptions()[className] = Value(Value::Array(rows.begin(), rows.end()));
        ClassBuilder<PSListController>::inheritingType(className, "PSListController").method(sel::specifiers, &describedSpecifiers);
    }
    // Launches the app and opens the page `className` from its list, titled `title`.
    void open(const char* className, const char* title) {
        host::ApplicationClasses classes = host::applicationClassesFor(host::kSettingsApp);
        UIApplicationMain(0, nullptr, classes.principalClassName, classes.delegateClassName);
        RunLoop::main().advance(0);
        Ref<Object> top = newObject(className);
        sel::pushViewController_animated_(preferences::rootNavigationController(), top, false);
        sel::setTitle_(top, Value(title));
        RunLoop::main().advance(0);
    }
    static PSListController* top() { return as<PSListController>(preferences::rootNavigationController()->stack_.back().get()); }
    static Value stored(const char* key) {
        CFPreferencesAppSynchronize(kDomain);
        return CFPreferencesCopyAppValue(key, kDomain);
    }
    // The control of the visible row named `name`.
    template <class T>
    static T* controlOfRow(const char* name) {
        for (const auto& [path, cell] : top()->table_->cells_)
            if (auto* c = as<PSTableCell>(cell.get()); c && c->specifier_ && c->specifier_->name == Value(name))
                return as<T>(as<PSEditableTableCell>(c) ? as<PSEditableTableCell>(c)->textField_.get() : c->control_.get());
        return nullptr;
    }
    // Shows the page's rows afresh (after the test stored their values).
    static void reload() {
        sel::reloadData(top()->table_);
        layoutIfNeeded(top()->table_);
    }

    testing::TestEnvironment env;
};

class SettingsControls : public SettingsPages {
protected:
    SettingsControls() {
        page("ControlsPage", {
                                 row("PSGroupCell", "Alarm"),
                                 row("PSSwitchCell", "Vibrate", {{"key", Value("vibrate")}, {"default", Value(false)}}),
                                 row("PSSwitchCell", "Snooze", {{"key", Value("snooze")}, {"default", Value(true)}}),
                                 row("PSSliderCell", "Volume", {{"key", Value("volume")}, {"min", Value(0)}, {"max", Value(10)}, {"default", Value(5)}}),
                                 row("PSEditTextCell", "Name", {{"key", Value("name")}}),
                                 row("PSStaticTextCell", "About"),
                             });
        open("ControlsPage", "Controls");
    }
};

TEST_F(SettingsControls, ASwitchBesideALabelIsSetAndOneAlreadySetIsLeftAlone) {
    auto* vibrate = controlOfRow<UISwitch>("Vibrate");
    auto* snooze = controlOfRow<UISwitch>("Snooze");
    ASSERT_TRUE(vibrate && snooze);
    ASSERT_FALSE(vibrate->on_);
    ASSERT_TRUE(snooze->on_);

    EXPECT_EQ(run("switch", Value{{"label", Value("Snooze")}, {"on", Value(false)}}), Value(""));
    EXPECT_FALSE(snooze->on_);
    EXPECT_EQ(stored("snooze"), Value(false));
    EXPECT_FALSE(vibrate->on_);
    EXPECT_EQ(stored("vibrate"), Value());

    // Already off: not touched, so nothing is written.
    EXPECT_EQ(run("switch", Value{{"label", Value("Vibrate")}, {"on", Value(false)}}), Value(""));
    EXPECT_FALSE(vibrate->on_);
    EXPECT_EQ(stored("vibrate"), Value());

    EXPECT_EQ(run("switch", Value{{"label", Value("Vibrate")}, {"on", Value(true)}}), Value(""));
    EXPECT_TRUE(vibrate->on_);
    EXPECT_EQ(stored("vibrate"), Value(true));
    EXPECT_EQ(stored("snooze"), Value(false));
}

TEST_F(SettingsControls, ASlideLandsOnTheValueFromAnywhereOnTheTrack) {
    struct Case {
        double from;
        double to;
    };
    const Case cases[] = {{0, 7.5}, {0, 10}, {5, 2}, {5, 5.3}, {10, 0}, {10, 9.1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(number(c.from) + " to " + number(c.to));
        CFPreferencesSetAppValue("volume", Value(c.from), kDomain);
        reload();
        auto* slider = controlOfRow<UISlider>("Volume");
        ASSERT_TRUE(slider);
        ASSERT_EQ(slider->value_, c.from);
        EXPECT_EQ(run("slide", Value{{"near", Value("Volume")}, {"value", Value(c.to)}}), Value(""));
        EXPECT_NEAR(slider->value_, c.to, 0.05);
        EXPECT_NEAR(stored("volume").doubleValue(-1), c.to, 0.05);
    }
}

TEST_F(SettingsControls, AControlUnderAWindowIsNotWorked) {
    auto cover = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
    sel::setWindowLevel_(cover, UIWindowLevelAlert);
    sel::setHidden_(cover, false);

    EXPECT_EQ(run("switch", Value{{"label", Value("Snooze")}, {"on", Value(false)}}), Value("the switch beside \"Snooze\" is covered by a UIWindow"));
    EXPECT_EQ(run("slide", Value{{"near", Value("Volume")}, {"value", Value(1)}}), Value("the slider beside \"Volume\" is covered"));
    EXPECT_EQ(run("type", Value{{"text", Value("x")}, {"near", Value("Name")}}), Value("the text field is covered by a UIWindow"));
    EXPECT_TRUE(controlOfRow<UISwitch>("Snooze")->on_);
    EXPECT_EQ(controlOfRow<UISlider>("Volume")->value_, 5);
    EXPECT_EQ(stored("snooze"), Value());
    EXPECT_EQ(stored("volume"), Value());
    EXPECT_EQ(stored("name"), Value());
}

TEST_F(SettingsControls, TypingGoesIntoTheFieldBesideALabelAndIsStoredWhenFinished) {
    struct Case {
        const char* what;
        Value arguments;
        const char* shown;
        Value storedAfter;
        bool editing;
    };
    const Case cases[] = {
        {"added", Value{{"text", Value("New")}, {"near", Value("Name")}}, "OldNew", Value("Old"), true},
        {"added and finished", Value{{"text", Value("New")}, {"near", Value("Name")}, {"finish", Value(true)}}, "OldNew", Value("OldNew"), false},
        {"replaced and finished", Value{{"text", Value("New")}, {"near", Value("Name")}, {"replace", Value(true)}, {"finish", Value(true)}}, "New",
         Value("New"), false},
        {"emptied", Value{{"text", Value("")}, {"near", Value("Name")}, {"replace", Value(true)}, {"finish", Value(true)}}, "", Value(""), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (Ref<Object> editing = currentFirstResponder()) sel::resignFirstResponder(editing);
        CFPreferencesSetAppValue("name", Value("Old"), kDomain);
        reload();
        auto* field = controlOfRow<UITextField>("Name");
        ASSERT_TRUE(field);
        ASSERT_EQ(sel::text(field), Value("Old"));
        EXPECT_EQ(run("type", c.arguments), Value(""));
        EXPECT_EQ(sel::text(field), Value(c.shown));
        EXPECT_EQ(stored("name"), c.storedAfter);
        EXPECT_EQ(sel::isFirstResponder(field), c.editing);
    }
}

class SettingsRoutes : public SettingsPages {
protected:
    SettingsRoutes() {
        page("RouteRootPage", {
                                  row("PSGroupCell", "General"),
                                  row("PSSwitchCell", "Enabled", {{"key", Value("enabled")}}),
                                  row("PSLinkCell", "Lengths", {{"detail", Value("RouteLengthsPage")}}),
                                  row("PSLinkCell", "Display", {{"detail", Value("RouteDisplayPage")}}),
                              });
        page("RouteDisplayPage", {
                                     row("PSLinkCell", "Colours", {{"detail", Value("RouteColoursPage")}}),
                                 });
        page("RouteColoursPage", {
                                     row("PSSliderCell", "Brightness", {{"key", Value("brightness")}}),
                                 });
        page("RouteLengthsPage",
             {
                 row("PSGroupCell", "Snooze"),
                 row("PSEditTextCell", "Length", {{"key", Value("snoozeLength")}}),
                 row("PSLinkListCell", "Unit",
                     {{"key", Value("snoozeUnit")}, {"validValues", Value::array({Value(0), Value(1)})}, {"validTitles", Value::array({Value("Minutes"), Value("Hours")})}}),
                 row("PSGroupCell", "Fade"),
                 row("PSEditTextCell", "Fade length", {{"key", Value("fadeLength")}}),
                 row("PSLinkListCell", "Unit",
                     {{"key", Value("fadeUnit")}, {"validValues", Value::array({Value("s"), Value("m")})}, {"validTitles", Value::array({Value("Seconds"), Value("Minutes")})}}),
             });
        open("RouteRootPage", "Rousa");
    }
    static Value route(const char* key) { return run("settings-route", Value{{"key", Value(key)}}); }
    static Value found(Value::Array links, const char* row, const char* after, const char* kind, Value::Dictionary titles = {}) {
        return Value{{"links", Value(std::move(links))}, {"row", Value(row)}, {"after", Value(after)}, {"kind", Value(kind)}, {"titles", Value(std::move(titles))}};
    }
};

TEST_F(SettingsRoutes, TheRouteNamesTheLinksToTheRowOfAKey) {
    struct Case {
        const char* key;
        Value route;
    };
    const Case cases[] = {
        {"enabled", found({}, "Enabled", "", "switch")},
        {"brightness", found({Value("Display"), Value("Colours")}, "Brightness", "", "slider")},
        {"snoozeLength", found({Value("Lengths")}, "Length", "", "text")},
        {"snoozeUnit", found({Value("Lengths")}, "Unit", "Length", "list", {{"0", Value("Minutes")}, {"1", Value("Hours")}})},
        {"fadeUnit", found({Value("Lengths")}, "Unit", "Fade length", "list", {{"s", Value("Seconds")}, {"m", Value("Minutes")}})},
        {"missing", Value()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(route(c.key), c.route);
    }
    // Finding the way opens nothing.
    EXPECT_EQ(top()->isa()->name(), "RouteRootPage");
}

TEST_F(SettingsRoutes, TheRouteStartsAtThePageOnTopAndLeadsTheTapsToTheRow) {
    ASSERT_EQ(run("tap", Value("Lengths")), Value(""));
    ASSERT_EQ(top()->isa()->name(), "RouteLengthsPage");
    Value way = route("fadeUnit");
    EXPECT_EQ(way, found({}, "Unit", "Fade length", "list", {{"s", Value("Seconds")}, {"m", Value("Minutes")}}));
    // Not reachable from here.
    EXPECT_EQ(route("brightness"), Value());

    ASSERT_EQ(run("reveal", Value{{"text", way["row"]}, {"after", way["after"]}}), Value(""));
    ASSERT_EQ(run("tap", Value{{"text", way["row"]}, {"after", way["after"]}}), Value(""));
    ASSERT_TRUE(as<PSListItemsController>(top()));
    ASSERT_EQ(run("tap", way["titles"]["m"]), Value(""));
    EXPECT_EQ(stored("fadeUnit"), Value("m"));
    EXPECT_EQ(stored("snoozeUnit"), Value());
}

// --- the Clock app ------------------------------------------------------------------------------------

class ClockByCommands : public ::testing::Test {
protected:
    ClockByCommands() : env(host::BootOptions{.bundleIdentifier = host::kClockApp, .systemVersion = "9.3"}) {
        host::registerUserCommands();
        host::ApplicationClasses classes = host::applicationClassesFor(host::kClockApp);
        UIApplicationMain(0, nullptr, classes.principalClassName, classes.delegateClassName);
        RunLoop::main().advance(0);
    }
    // Each step as a user: a command, then a moment for what it set off.
    static void step(const char* command, const Value& arguments) {
        SCOPED_TRACE(std::string(command) + " " + arguments.description());
        EXPECT_EQ(run(command, arguments), Value(""));
        RunLoop::main().advance(1);
    }
    static Value alarms() { return sel::alarms(sel::sharedManager(objc_getClass("AlarmManager"))); }

    testing::TestEnvironment env;
};

TEST_F(ClockByCommands, AnAlarmIsAddedAndRenamedThroughCommandsOnly) {
    step("tap", Value("+"));
    step("spin", Value{{"seconds", Value(7 * 3600 + 30 * 60)}});
    step("tap", Value("Label"));
    step("type", Value{{"text", Value("Gym")}, {"replace", Value(true)}});
    step("tap", Value("Back"));
    step("tap", Value("Done"));

    ASSERT_EQ(alarms().count(), 1u);
    Object* alarm = alarms().at(0).object();
    EXPECT_EQ(sel::hour(alarm), 7);
    EXPECT_EQ(sel::minute(alarm), 30);
    EXPECT_EQ(sel::title(alarm), Value("Gym"));
    EXPECT_EQ(frontTexts(), (Lines{"7:30", "Gym", "Alarm", "Edit", "+"}));

    // Renamed: the label screen's field holds "Gym", which replace clears.
    step("tap", Value("Edit"));
    step("tap", Value("7:30"));
    step("tap", Value("Label"));
    step("type", Value{{"text", Value("Run")}, {"replace", Value(true)}});
    step("tap", Value("Back"));
    step("tap", Value("Done"));
    ASSERT_EQ(alarms().count(), 1u);
    EXPECT_EQ(sel::title(alarms().at(0).object()), Value("Run"));
    EXPECT_EQ(sel::hour(alarms().at(0).object()), 7);
    EXPECT_EQ(sel::minute(alarms().at(0).object()), 30);
}

}  // namespace
}  // namespace platform::actiontest
