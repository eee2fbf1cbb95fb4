#include "platform/host/user_actions.h"

#include <algorithm>
#include <map>
#include <optional>

#include "platform/foundation/file_system.h"
#include "platform/foundation/process.h"
#include "platform/frameworks/activator.h"
#include "platform/frameworks/celestial.h"
#include "platform/frameworks/sound_record.h"
#include "platform/host/controlled_host.h"
#include "platform/preferences/list_controller.h"
#include "platform/preferences/settings_app.h"
#include "platform/springboard/app_switcher.h"
#include "platform/springboard/device.h"
#include "platform/springboard/springboard.h"
#include "platform/uikit/button.h"
#include "platform/uikit/image.h"
#include "platform/uikit/image_view.h"
#include "platform/uikit/label.h"
#include "platform/uikit/responder.h"
#include "platform/uikit/table_view.h"
#include "platform/uikit/text_field.h"
#include "platform/uikit/value_controls.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/window.h"

namespace platform::host {

namespace {

// An image's name: its file's name without the scale and the extension.
std::string imageName(id image) {
    auto* i = dynamic_cast<UIImage*>(image);
    if (!i || i->path_.empty()) return {};
    std::string name = fs::basename(i->path_);
    if (auto dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
    for (const char* scale : {"@2x", "@3x"})
        if (name.size() > 3 && name.compare(name.size() - 3, 3, scale) == 0) name.resize(name.size() - 3);
    return name;
}

struct Item {
    Ref<UIView> view;
    std::string text;
    const char* kind;
};

bool visible(const UIView* v) { return !v->hidden_ && v->alpha_ >= kHitTestMinimumAlpha; }

// What a view shows itself, before its subviews.
void itemsOf(UIView* v, std::vector<Item>& out) {
    if (auto* label = dynamic_cast<UILabel*>(v)) {
        if (label->text_.isString() && !label->text_.string().empty()) out.push_back({Ref<UIView>(v), label->text_.string(), "label"});
    } else if (auto* field = dynamic_cast<UITextField*>(v)) {
        Value text = sel::text(field);
        if (text.isString() && !text.string().empty()) out.push_back({Ref<UIView>(v), text.string(), "field"});
    } else if (auto* button = dynamic_cast<UIButton*>(v)) {
        Value title = sel::currentTitle(button);
        if (title.isString() && !title.string().empty()) out.push_back({Ref<UIView>(v), title.string(), "button"});
    } else if (auto* imageView = dynamic_cast<UIImageView*>(v)) {
        std::string name = imageName(sel::image(imageView));
        if (!name.empty()) out.push_back({Ref<UIView>(v), name, "image"});
    }
}

// Back to front, in reading order.
void collect(UIView* v, std::vector<Item>& out) {
    if (!visible(v)) return;
    itemsOf(v, out);
    // A button's title label is already its title.
    if (dynamic_cast<UIButton*>(v) && sel::currentTitle(v).isString()) return;
    std::vector<Ref<UIView>> subviews = v->subviewList();
    // A table adds the cells of rows that scroll into view after those it
    // keeps, so its subviews are in no order: read them top to bottom.
    if (dynamic_cast<UITableView*>(v))
        std::stable_sort(subviews.begin(), subviews.end(),
                         [](const Ref<UIView>& a, const Ref<UIView>& b) { return a->frameValue().y() < b->frameValue().y(); });
    for (const auto& sub : subviews) collect(sub, out);
}

Value frameValue(UIView* v) {
    Rect b = v->bounds_;
    Point origin = v->toScreen(b.origin);
    return Value::array({Value(origin.x), Value(origin.y), Value(b.width()), Value(b.height())});
}

bool related(const UIView* a, const UIView* b) { return a == b || a->isDescendantOf(b) || b->isDescendantOf(a); }

std::vector<Item> itemsOfWindow(UIWindow* w) {
    std::vector<Item> items;
    collect(w, items);
    return items;
}

// The frontmost visible item showing `text`; with `after`, the first such item
// that follows (in reading order) the first item showing `after` in its window.
// With `within`, only the items inside that view count; with `onButton`,
// only buttons and what they show.
std::optional<Item> findItem(const std::string& text, const std::string& after = {}, const UIView* within = nullptr,
                             bool onButton = false) {
    auto isOnButton = [](const Item& i) {
        for (UIView* v = i.view.get(); v; v = v->superview().get())
            if (dynamic_cast<UIButton*>(v)) return true;
        return false;
    };
    for (const auto& w : UIWindow::visibleWindowsFrontToBack()) {
        std::vector<Item> items = itemsOfWindow(w);
        if (within) std::erase_if(items, [within](const Item& i) { return !i.view->isDescendantOf(within); });
        if (onButton) std::erase_if(items, [&](const Item& i) { return i.text != after && !isOnButton(i); });
        if (after.empty()) {
            // Later items lie over earlier ones.
            for (auto it = items.rbegin(); it != items.rend(); ++it)
                if (it->text == text) return *it;
            continue;
        }
        auto anchor = std::find_if(items.begin(), items.end(), [&](const Item& i) { return i.text == after; });
        if (anchor == items.end()) continue;
        auto it = std::find_if(anchor + 1, items.end(), [&](const Item& i) { return i.text == text; });
        if (it != items.end()) return *it;
    }
    return std::nullopt;
}

std::string describeTarget(const std::string& text, const std::string& after) {
    return "\"" + text + "\"" + (after.empty() ? std::string() : " after \"" + after + "\"");
}

// Why a finger at the point would not reach the view ("" when it would).
std::string coveredAt(Point p, UIView* view, const std::string& what) {
    touch::Hit hit = touch::hitTest(p);
    if (hit.view && related(hit.view, view)) return {};
    return what + " is covered" + (hit.view ? " by a " + object_getClass(hit.view)->name() : std::string());
}

// Touches the view's centre; "" when the touch reached it, else why not. What
// covers the view is not touched: a user who sees that does not tap.
std::string tapView(UIView* view, const std::string& what) {
    const Point p = touch::screenCenter(view);
    if (std::string why = coveredAt(p, view, what); !why.empty()) return why;
    touch::tap(p);
    return {};
}

// The first visible view of a kind in the tree, front to back.
template <class T>
T* findInTree(UIView* v) {
    if (!visible(v)) return nullptr;
    if (auto* t = dynamic_cast<T*>(v)) return t;
    const auto& subs = v->subviewList();
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        if (T* t = findInTree<T>(it->get())) return t;
    return nullptr;
}

// The control a user sees beside a text: in the same table row (or, outside a
// table, the same parent).
template <class T>
T* controlBeside(UIView* label) {
    UIView* scope = label->superview().get();
    for (UIView* v = scope; v; v = v->superview().get())
        if (dynamic_cast<UITableViewCell*>(v)) {
            scope = v;
            break;
        }
    return scope ? findInTree<T>(scope) : nullptr;
}

template <class T>
T* frontmost() {
    for (const auto& w : UIWindow::visibleWindowsFrontToBack())
        if (T* t = findInTree<T>(w)) return t;
    return nullptr;
}

// The finger a long press or a drag keeps down between commands.
Ref<UITouch>& heldFinger() {
    static auto* finger = new Ref<UITouch>();
    return *finger;
}

Value failed(std::string why) { return Value(std::move(why)); }
Value done() { return Value(""); }

// {"text", "after"?, "button"?}: taps the item (with "button", only a button
// or what one shows).
Value tapCommand(const Value& args) {
    std::string text = args.isString() ? args.string() : args["text"].stringOr("");
    std::string after = args.isString() ? std::string() : args["after"].stringOr("");
    std::optional<Item> item = findItem(text, after, nullptr, !args.isString() && args["button"].boolValue());
    if (!item) return failed("nothing on the screen shows " + describeTarget(text, after));
    return Value(tapView(item->view, describeTarget(text, after)));
}

// {"text", "after"?}: "" when a tap on the item showing the text would reach
// it, else why not (nothing shows it, or something covers it).
Value tappableCommand(const Value& args) {
    std::string text = args["text"].stringOr(""), after = args["after"].stringOr("");
    std::optional<Item> item = findItem(text, after);
    if (!item) return failed("nothing on the screen shows " + describeTarget(text, after));
    return Value(coveredAt(touch::screenCenter(item->view), item->view, describeTarget(text, after)));
}

// {"label", "on"}: sets the switch beside the label by tapping it when it differs.
Value switchCommand(const Value& args) {
    std::string label = args["label"].stringOr("");
    std::optional<Item> item = findItem(label, args["after"].stringOr(""));
    if (!item) return failed("nothing on the screen shows \"" + label + "\"");
    UISwitch* control = controlBeside<UISwitch>(item->view);
    if (!control) return failed("no switch beside \"" + label + "\"");
    if (control->on_ == args["on"].boolValue()) return done();
    std::string why = tapView(control, "the switch beside \"" + label + "\"");
    if (!why.empty()) return Value(why);
    if (control->on_ != args["on"].boolValue()) return failed("the switch beside \"" + label + "\" does not turn");
    return done();
}

// {"near", "value"}: drags the thumb of the slider beside a text or image to the value.
Value slideCommand(const Value& args) {
    std::string near = args["near"].stringOr("");
    std::optional<Item> item = findItem(near, args["after"].stringOr(""));
    if (!item) return failed("nothing on the screen shows \"" + near + "\"");
    UISlider* slider = controlBeside<UISlider>(item->view);
    if (!slider) return failed("no slider beside \"" + near + "\"");
    auto xOf = [slider](double value) { return slider->toScreen(slider->pointForValue(static_cast<float>(value))); };
    const Point thumb = xOf(slider->value_);
    if (!coveredAt(thumb, slider, "").empty()) return failed("the slider beside \"" + near + "\" is covered");
    Ref<UITouch> finger = touch::down(thumb);
    touch::move(finger, xOf(args["value"].doubleValue()));
    touch::up(finger);
    return done();
}

// {"text", "replace"?, "near"?, "finish"?}: types with the keyboard into the
// field being edited (tapping the field beside `near`, or the frontmost field,
// when none is); replace deletes what it holds first; finish presses return
// and ends the editing.
Value typeCommand(const Value& args) {
    auto* field = dynamic_cast<UITextField*>(currentFirstResponder().get());
    std::string near = args["near"].stringOr("");
    if (!near.empty()) {
        std::optional<Item> item = findItem(near, args["after"].stringOr(""));
        if (!item) return failed("nothing on the screen shows \"" + near + "\"");
        field = controlBeside<UITextField>(item->view);
        if (!field) return failed("no text field beside \"" + near + "\"");
    } else if (!field) {
        field = frontmost<UITextField>();
        if (!field) return failed("no text field on the screen");
    }
    if (currentFirstResponder().get() != field) {
        std::string why = tapView(field, "the text field");
        if (!why.empty()) return Value(why);
        if (currentFirstResponder().get() != field) return failed("the text field does not take the keyboard");
    }
    Ref<UITextField> protector(field);
    if (args["replace"].boolValue()) {
        const std::string old = field->text_.stringOr("");
        if (!old.empty()) field->replaceCharacters(NSRange{0, old.size()}, "");
    }
    // A key at a time: a character is all the bytes of its UTF-8 sequence.
    const std::string typed = args["text"].stringOr("");
    for (std::size_t i = 0; i < typed.size();) {
        std::size_t n = 1;
        while (i + n < typed.size() && (static_cast<unsigned char>(typed[i + n]) & 0xC0) == 0x80) ++n;
        field->insertText(typed.substr(i, n));
        i += n;
    }
    if (args["finish"].boolValue()) {
        field->pressReturn();
        if (currentFirstResponder().get() == field) sel::resignFirstResponder(field);
    }
    return done();
}

// {"seconds"}: spins the frontmost time picker to a time of day.
Value spinCommand(const Value& args) {
    UIDatePicker* picker = frontmost<UIDatePicker>();
    if (!picker) return failed("no time picker on the screen");
    uikit::spin(picker, args["seconds"].doubleValue());
    return done();
}

// {"text", "after"?}: scrolls the frontmost table (from its top, a screen at a
// time) until the item shows inside it, wholly below what covers the table's
// top (a navigation bar), where a finger can reach it. The top is where the
// first row shows below that cover. Only the table's own items count: a title
// in the bar above may show the same text.
Value revealCommand(const Value& args) {
    std::string text = args["text"].stringOr(""), after = args["after"].stringOr("");
    UITableView* table = frontmost<UITableView>();
    if (!table) return failed("nothing to scroll");
    Ref<UITableView> protector(table);
    const Point tableTop = table->toScreen(table->bounds_.origin);
    auto reachable = [&](Point p) {
        touch::Hit hit = touch::hitTest(p);
        return hit.view && (hit.view.get() == table || hit.view->isDescendantOf(table));
    };
    double covered = 0;  // below the lowest covered point of the table's top half
    for (double y = 0; y < table->bounds_.height() / 2; ++y)
        if (!reachable(Point{tableTop.x + table->bounds_.width() / 2, tableTop.y + y})) covered = y + 1;
    auto inside = [&] {
        std::optional<Item> item = findItem(text, after, table);
        if (!item) return false;
        Rect r = item->view->bounds_;
        Point top = item->view->toScreen(r.origin), bottom = item->view->toScreen(Point{r.maxX(), r.maxY()});
        return top.y >= tableTop.y + covered && bottom.y <= tableTop.y + table->bounds_.height() && reachable(touch::screenCenter(item->view));
    };
    if (inside()) return done();
    const double page = std::max(44.0, (table->bounds_.height() - covered) / 2);
    const double end = std::max(-covered, table->contentSize_.height - table->bounds_.height());
    for (double y = -covered;; y = std::min(end, y + page)) {
        sel::setContentOffset_(table, Point{0, y});
        layoutIfNeeded(table);
        if (inside()) return done();
        if (y >= end) break;
    }
    return failed("scrolling shows no " + describeTarget(text, after));
}

// {"phase": "down"|"move"|"up", "row"?, "text"?}: one finger, held between
// commands: down on a row of the frontmost table (counted from 1) or on an
// item, moved onto an item, lifted.
Value touchCommand(const Value& args) {
    const std::string& phase = args["phase"].string();
    Ref<UITouch>& finger = heldFinger();
    auto pointOf = [&](Point& p) -> std::string {
        if (args["row"].isNumber()) {
            UITableView* table = frontmost<UITableView>();
            long long row = args["row"].integerValue() - 1;
            if (!table || row < 0 || row >= table->rowCount(0)) return "no row " + std::to_string(row + 1);
            Rect r = table->rectForRow(IndexPath{0, row});
            p = table->toScreen(Point{r.midX(), r.midY()});
            return {};
        }
        std::string text = args["text"].stringOr("");
        std::optional<Item> item = findItem(text);
        if (!item) return "nothing on the screen shows \"" + text + "\"";
        p = touch::screenCenter(item->view);
        return {};
    };
    Point p;
    if (phase == "down") {
        if (finger) return failed("a finger is already down");
        if (std::string why = pointOf(p); !why.empty()) return Value(why);
        finger = touch::down(p);
        return done();
    }
    if (!finger) return failed("no finger is down");
    if (phase == "move") {
        if (std::string why = pointOf(p); !why.empty()) return Value(why);
        touch::move(finger, p);
        return done();
    }
    if (phase == "up") {
        Ref<UITouch> lifted = std::move(finger);
        finger = nullptr;
        touch::up(lifted);
        return done();
    }
    return failed("no touch phase " + phase);
}


// What a user who knows the settings finds on the way to a preference: from
// the page on top, the names of the links to follow and of the row that holds
// the key, with its kind and, for a list, the title of each value.
// A row whose name others on its page share (a "Unit" under each length) is
// told apart by the nearest row before it with a name of its own ("after").
// {"key"} -> {"links": [...], "row", "after", "kind": "switch"|"list"|"slider"|"text", "titles": {value: title}}.
bool routeTo(PSListController* page, const std::string& key, Value::Array& links, Value& found, int depth) {
    const Value specifiers = sel::specifiers(page);
    std::map<std::string, int> uses;
    for (const Value& item : specifiers.array())
        if (auto* row = dynamic_cast<PSSpecifier*>(item.object()); row && row->cellType != PSGroupCell) ++uses[row->name.stringOr("")];
    std::string lastUnique;
    for (const Value& item : specifiers.array()) {
        auto* row = dynamic_cast<PSSpecifier*>(item.object());
        if (!row) continue;
        const std::string name = row->name.stringOr("");
        const std::string after = uses[name] > 1 ? lastUnique : std::string();
        if (row->cellType != PSGroupCell && !name.empty() && uses[name] == 1) lastUnique = name;
        if (row->property("key").stringOr("") == key) {
            const char* kind = row->cellType == PSSwitchCell    ? "switch"
                               : row->cellType == PSLinkListCell ? "list"
                               : row->cellType == PSSliderCell   ? "slider"
                               : row->cellType == PSEditTextCell ? "text"
                                                                 : "other";
            Value titles = Value(Value::Dictionary{});
            for (const Value& v : row->values.array()) titles.mutableDictionary()[titleKey(v)] = row->titleOfValue(v, false);
            found = Value(Value::Dictionary{{"links", Value(links)}, {"row", row->name}, {"after", Value(after)}, {"kind", Value(kind)}, {"titles", titles}});
            return true;
        }
        if (row->cellType != PSLinkCell || depth == 0) continue;
        Ref<Object> next = newObject(row->detailControllerClass);
        auto* nextPage = as<PSListController>(next.get());
        if (!nextPage) continue;
        sel::setSpecifier_(nextPage, row);
        links.push_back(row->name);
        if (routeTo(nextPage, key, links, found, depth - 1)) return true;
        links.pop_back();
    }
    return false;
}

Value settingsRouteCommand(const Value& args) {
    if (!process::isSettingsApp()) return Value();
    auto* navigation = dynamic_cast<UINavigationController*>(preferences::rootNavigationController());
    auto* top = navigation && !navigation->stack_.empty() ? as<PSListController>(navigation->stack_.back().get()) : nullptr;
    if (!top) return Value();
    Value::Array links;
    Value found;
    routeTo(top, args["key"].stringOr(""), links, found, 3);
    return found;
}

}  // namespace

Value readScreen() {
    Value windows = Value(Value::Array{});
    for (const auto& w : UIWindow::visibleWindowsFrontToBack()) {
        Value list = Value(Value::Array{});
        for (const auto& item : itemsOfWindow(w))
            list.mutableArray().push_back(Value(Value::Dictionary{
                {"text", Value(item.text)}, {"kind", Value(item.kind)}, {"frame", frameValue(item.view)}}));
        windows.mutableArray().push_back(Value(Value::Dictionary{{"level", Value(w->windowLevel_)}, {"items", list}}));
    }
    return windows;
}

std::string tapItemShowing(const std::string& text) { return tapCommand(Value(text)).string(); }

void registerUserCommands() {
    registerCommand("screen", [](const Value&) { return readScreen(); });
    registerCommand("tap", &tapCommand);
    registerCommand("tappable", &tappableCommand);
    registerCommand("switch", &switchCommand);
    registerCommand("slide", &slideCommand);
    registerCommand("type", &typeCommand);
    registerCommand("spin", &spinCommand);
    registerCommand("reveal", &revealCommand);
    registerCommand("touch", &touchCommand);
    registerCommand("settings-route", &settingsRouteCommand);
    registerCommand("press", [](const Value& button) {
        const std::string& b = button.string();
        if (b == "lock") device::pressLockButton();
        else if (b == "home") device::pressHomeButton();
        else if (b == "volume-up") device::pressVolumeUp();
        else if (b == "volume-down") device::pressVolumeDown();
        else if (b == "touch-id") device::touchID();
        else return Value("no button " + b);
        return Value("");
    });
    registerCommand("device", [](const Value& state) {
        if (!state["locked"].isNil()) {
            device::setLocked(state["locked"].boolValue());
            if (state["locked"].boolValue()) device::setScreenOn(false);
        }
        if (!state["ringerMuted"].isNil()) device::setRingerMuted(state["ringerMuted"].boolValue());
        if (!state["ringtone"].isNil()) device::setCategoryVolume("Ringtone", state["ringtone"].floatValue());
        if (!state["volumeReadFails"].isNil()) device::setVolumeReadFails(state["volumeReadFails"].boolValue());
        if (state["switcher"].isArray()) {
            std::vector<std::string> order;
            for (const Value& bundle : state["switcher"].array()) order.push_back(bundle.string());
            springboard::setAppSwitcherOrder(order);
        }
        return Value();
    });
    registerCommand("system-alert", [](const Value& title) {
        springboard::showSystemAlert(title.string());
        return Value();
    });
    registerCommand("activator", [](const Value& listener) { return Value(activator::sendEvent(listener.string())); });
    registerCommand("sound", [](const Value&) {
        return Value(Value::Dictionary{{"ringtone", Value(device::categoryVolume("Ringtone"))},
                                       {"playing", Value(celestial::isPlaying())},
                                       {"vibrations", Value(static_cast<long long>(sound::vibrations().size()))}});
    });
    registerCommand("scheduled", [](const Value&) {
        Value list = Value(Value::Array{});
        for (const auto& s : springboard::scheduledNotifications())
            list.mutableArray().push_back(Value(Value::Dictionary{{"alarmId", s.notification->alarmId()},
                                                                  {"title", s.notification->alertBody_},
                                                                  {"fireDate", Value(s.nextFireDate)},
                                                                  {"snooze", Value(s.snooze)}}));
        return list;
    });
}

}  // namespace platform::host
