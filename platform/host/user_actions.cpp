#include "platform/host/user_actions.h"

#include "platform/foundation/file_system.h"
#include "platform/frameworks/activator.h"
#include "platform/frameworks/celestial.h"
#include "platform/frameworks/sound_record.h"
#include "platform/host/controlled_host.h"
#include "platform/springboard/device.h"
#include "platform/springboard/springboard.h"
#include "platform/uikit/button.h"
#include "platform/uikit/image.h"
#include "platform/uikit/image_view.h"
#include "platform/uikit/label.h"
#include "platform/uikit/text_field.h"
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
    for (const auto& sub : v->subviewList()) collect(sub, out);
}

Value frameValue(UIView* v) {
    Rect b = v->bounds_;
    Point origin = v->toScreen(b.origin);
    return Value::array({Value(origin.x), Value(origin.y), Value(b.width()), Value(b.height())});
}

bool related(const UIView* a, const UIView* b) { return a == b || a->isDescendantOf(b) || b->isDescendantOf(a); }

}  // namespace

Value readScreen() {
    Value windows = Value(Value::Array{});
    for (const auto& w : UIWindow::visibleWindowsFrontToBack()) {
        std::vector<Item> items;
        collect(w, items);
        Value list = Value(Value::Array{});
        for (const auto& item : items)
            list.mutableArray().push_back(Value(Value::Dictionary{
                {"text", Value(item.text)}, {"kind", Value(item.kind)}, {"frame", frameValue(item.view)}}));
        windows.mutableArray().push_back(Value(Value::Dictionary{{"level", Value(w->windowLevel_)}, {"items", list}}));
    }
    return windows;
}

std::string tapItemShowing(const std::string& text) {
    for (const auto& w : UIWindow::visibleWindowsFrontToBack()) {
        std::vector<Item> items;
        collect(w, items);
        // The frontmost match: later items lie over earlier ones.
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            if (it->text != text) continue;
            Ref<UIView> hit = touch::tap(touch::screenCenter(it->view));
            if (hit && related(hit, it->view)) return {};
            return "\"" + text + "\" is covered" + (hit ? " by a " + object_getClass(hit)->name() : std::string());
        }
    }
    return "nothing on the screen shows \"" + text + "\"";
}

void registerUserCommands() {
    registerCommand("screen", [](const Value&) { return readScreen(); });
    registerCommand("tap", [](const Value& text) { return Value(tapItemShowing(text.string())); });
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
