#include "tweak/screens/question.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/random.h"
#include "platform/uikit/color.h"
#include "platform/uikit/control.h"
#include "platform/uikit/font.h"
#include "platform/uikit/screen.h"
#include "tweak/engine/alarm_record.h"
#include "tweak/engine/store.h"
#include "tweak/screens/alert_window.h"

namespace rousa {

namespace {

RS2AlertWindow* window(id self) { return as<RS2AlertWindow>(self); }
unsigned long r() { return platform::arc4random(); }

struct Question {
    std::string text;
    int answer = 0;
    double answerInsane = 0;
};

Question easy() {
    unsigned long r1 = r(), r2 = r();
    if (r1 % 2 == 0) {
        unsigned long a = r2 % 25 + 5, b = r() % (a - 1) + 1;
        return {format("%lu - %lu", a, b), static_cast<int>(a - b)};
    }
    unsigned long a = r2 % 20 + 1, b = r() % 15 + 1;
    return {format("%lu + %lu", a, b), static_cast<int>(a + b)};
}

Question normal() {
    unsigned long k = r() & 3;
    if (k == 0) {
        unsigned long a = r() % 30 + 10, b = r() % 20 + 10;
        return {format("%lu + %lu", a, b), static_cast<int>(a + b)};
    }
    if (k == 1) {
        unsigned long a = r() % 50 + 6, b = r() % (a - 1) + 1;
        return {format("%lu - %lu", a, b), static_cast<int>(a - b)};
    }
    unsigned long a = r() % 9 + 3, b = r() % 9 + 3;
    return {format("%lu x %lu", a, b), static_cast<int>(a * b)};
}

Question hard() {
    unsigned long a = r() % 12 + 4, b = r() % 12 + 4, r1 = r(), r2 = r();
    if (r1 % 2 == 0) {
        unsigned long c = r2 % 20 + 4;
        return {format("(%lu x %lu)%@%lu", a, b, " + ", c), static_cast<int>(a * b + c)};
    }
    unsigned long c = r2 % (a * b - 1) + 1;
    return {format("(%lu x %lu)%@%lu", a, b, " - ", c), static_cast<int>(a * b - c)};
}

Question lifeless() {
    float f1 = static_cast<float>(r() % 10) / 10.0f;
    float f2 = static_cast<float>(r() % 10) / 10.0f;
    NSLog("val1 == %f, val2 == %f", f1, f2);
    unsigned long a = r() % 20 + 6;
    if (a == 10) a = 9;
    unsigned long b = r() % 20 + 6;
    if (b == 10) b = 9;
    double x = static_cast<double>(a) + f1, y = static_cast<double>(b) - f2;
    unsigned long k = r() & 3;
    Question q;
    const char* op;
    unsigned long c;
    if (k == 0) {
        c = r() % 40 + 32;
        op = " + ";
        q.answerInsane = static_cast<double>(c) + x * y;
    } else if (k == 1) {
        // Drawn below the shown product, so the answer stays above zero and can
        // be typed on a pad without a minus key.
        auto product = static_cast<unsigned long>(std::floor(x * y));
        c = r() % (product - 1) + 1;
        op = " - ";
        q.answerInsane = x * y - static_cast<double>(c);
    } else {
        c = r() % 10 + 4;
        op = " x ";
        q.answerInsane = static_cast<double>(c) * (x * y);
    }
    q.text = format("(%g x %g)%@%lu", x, y, op, c);
    NSLog("self.answerInsane == %f", q.answerInsane);
    return q;
}

Ref<Object> white() { return sel::whiteColor(objc_getClass("UIColor")); }
Ref<Object> clear() { return sel::clearColor(objc_getClass("UIColor")); }

void rounded(id view) {
    auto layer = sel::layer(view);
    sel::setCornerRadius_(layer, 7.5);
    sel::setMasksToBounds_(layer, true);
}

void buildViews(RS2AlertWindow* w, const std::string& text) {
    double W = sel::frame(w).width(), CW = 0.8 * W;
    w->questionContainer = UIView::make("UIView", Rect(0.1 * W, 0, CW, 120));
    sel::setBackgroundColor_(w->questionContainer, clear());
    sel::addSubview_(w, w->questionContainer);

    w->question = UIView::make<UILabel>("UILabel", Rect(0, 0, CW, 40));
    sel::setText_(w->question, Value(text));
    sel::setTextAlignment_(w->question, NSTextAlignmentCenter);
    sel::setTextColor_(w->question, white());
    sel::setFont_(w->question, UIFont::make("HelveticaNeue-Light", 25));
    sel::setBackgroundColor_(w->question, clear());
    sel::setCenter_(w->question, Point{CW / 2, sel::center(w->question).y});
    sel::addSubview_(w->questionContainer, w->question);

    w->answerLabel = UIView::make<UILabel>("UILabel", Rect(CW / 2 - 110, 70, 120, 50));
    sel::setText_(w->answerLabel, Value(""));
    sel::setTextColor_(w->answerLabel, white());
    sel::setTextAlignment_(w->answerLabel, NSTextAlignmentCenter);
    sel::setFont_(w->answerLabel, UIFont::make("HelveticaNeue-Light", 22));
    sel::setBackgroundColor_(w->answerLabel, UIColor::white(1.0, 0.1));
    rounded(w->answerLabel);
    sel::addSubview_(w->questionContainer, w->answerLabel);

    Ref<Object> check = sel::buttonWithType_(objc_getClass("RS2Button"), 1);
    w->check = as<UIButton>(check);
    sel::setTitle_forState_(check, Value("Verify"), UIControlStateNormal);
    sel::setText_(sel::titleLabel(check), Value("Verify"));
    sel::setTitleColor_forState_(check, white(), UIControlStateNormal);
    sel::setTitleColor_forState_(check, sel::blackColor(objc_getClass("UIColor")), UIControlStateHighlighted);
    sel::setTintColor_(check, white());
    sel::setBorderWidth_(sel::layer(check), 1.0);
    sel::setBorderColor_(sel::layer(check), white());
    rounded(check);
    sel::addTarget_action_forControlEvents_(check, w, sel::checkNumberAgainstAnswer_, UIControlEventTouchUpInside);
    sel::setFrame_(check, Rect(CW / 2 + 20, sel::frame(w->answerLabel).y(), 80, 50));
    sel::addSubview_(w->questionContainer, check);

    w->checkBacker = UIView::make("UIView", sel::frame(w->answerLabel));
    sel::setBackgroundColor_(w->checkBacker, UIColor::rgba(1.0, 0.0, 0.0, 0.5));
    sel::setAlpha_(w->checkBacker, 0.0);
    rounded(w->checkBacker);
    sel::insertSubview_belowSubview_(w->questionContainer, w->checkBacker, w->answerLabel);

    Point c = sel::center(w->questionContainer);
    sel::setCenter_(w->questionContainer, Point{c.x, sel::frame(w->numberPad).y() / 2});
    if (UIDevice::currentDevice()->userInterfaceIdiom() == 1) {
        Rect container = sel::frame(w->questionContainer), pad = sel::frame(w->numberPad);
        sel::setFrame_(w->numberPad, Rect(pad.x(), container.y() + container.height() + 60, pad.width(), pad.height()));
    }
}

// Reads what is typed: the lifeless level takes decimals.
void readEntry(RS2AlertWindow* w) {
    std::string text = sel::text(w->answerLabel).string();
    if (text.empty()) {
        w->input = 0;
        w->insaneInput = 0;
    } else if (w->difficulty > 2) {
        w->insaneInput = static_cast<double>(Value(text).floatValue());
    } else {
        w->input = stringIntValue(text);
    }
}

// Adds one to an answer counter of the preference file, when the file exists.
void count(const char* key) {
    plist::update(kRousaPrefsPath, [key](Value::Dictionary& prefs) {
        if (!fs::exists(kRousaPrefsPath)) return false;
        const Value& old = prefs[key];
        long long next = old.isNumber() || old.isString() ? old.integerValue() + 1 : 1;
        prefs[key] = Value(next);
        return true;
    });
}

}  // namespace

void calculateRS2ationAndAnswer(id self) {
    auto* w = window(self);
    KAlarmCurrent* current = KAlarmCurrent::sharedInstance();
    w->difficulty = std::clamp<long long>(current ? current->calcDifficult() : 0, 0, 3);
    Question q;
    switch (w->difficulty) {
        case 0: q = easy(); break;
        case 1: q = normal(); break;
        case 2: q = hard(); break;
        default: q = lifeless(); break;
    }
    w->answer = q.answer;
    w->answerInsane = q.answerInsane;
    w->input = 0;
    w->insaneInput = 0;
    buildViews(w, q.text);
}

void keypadButtonPressedWithNumber(id self, int n) {
    auto* w = window(self);
    std::string text = sel::text(w->answerLabel).string();
    if (text.size() > 7) return;
    text += n == kDecimalPointKey ? std::string(".") : std::to_string(n);
    sel::setText_(w->answerLabel, Value(text));
    readEntry(w);
}

void backButtonPressed(id self) {
    auto* w = window(self);
    std::string text = sel::text(w->answerLabel).string();
    if (text.empty()) return;
    text.pop_back();
    sel::setText_(w->answerLabel, Value(text));
    readEntry(w);
}

void checkNumberAgainstAnswer(id self, id) {
    auto* w = window(self);
    // Brought to two decimals and read in single precision, as the entry is.
    w->answerInsane = static_cast<double>(Value(format("%.02f", w->answerInsane)).floatValue());
    NSLog("*** [RS2ALarm] :: self.answerInsane == %f, self.insaneInput == %f", w->answerInsane, w->insaneInput);
    NSLog("*** [RS2ALarm] :: self.answer == %d, self.input == %d", w->answer, w->input);
    bool matches = w->difficulty <= 2 ? w->input == w->answer : w->insaneInput == w->answerInsane;
    bool right = matches && (w->input != 0 || w->insaneInput != 0.0);
    Ref<RS2AlertWindow> keep(w);
    if (right) {
        UIView::animateWithDuration(0.3, [keep] {
            sel::setAlpha_(keep->alarmButtonContainer, 1.0);
            sel::setAlpha_(keep->questionContainer, 0.0);
            sel::setAlpha_(keep->numberPad, 0.0);
        });
        if (w->alert) count("numRight");
        return;
    }
    UIView::animateWithDuration(
        0.3,
        [keep] {
            sel::setAlpha_(keep->answerLabel, 0.1);
            sel::setAlpha_(keep->checkBacker, 0.5);
        },
        [keep](bool) {
            sel::setText_(keep->answerLabel, Value(""));
            readEntry(keep);
            UIView::animateWithDuration(0.3, [keep] {
                sel::setAlpha_(keep->answerLabel, 1.0);
                sel::setAlpha_(keep->checkBacker, 0.0);
            });
        });
    if (w->alert) count("numWrong");
}

}  // namespace rousa
