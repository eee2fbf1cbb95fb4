#include "platform/uikit/animation.h"

#include <algorithm>
#include <map>

#include "platform/foundation/run_loop.h"
#include "platform/uikit/internal.h"

namespace platform {

namespace animation {

bool Record::changed(const void* view, std::string_view property) const {
    return std::any_of(changes.begin(), changes.end(), [&](const Change& c) { return c.identity == view && c.property == property; });
}

namespace {

struct Pending {
    FinishedBlock completion;
    RunLoop::TaskId task = 0;
};

struct State {
    std::vector<Record> records;
    std::vector<int> open;                 // animations whose block is running, innermost last
    std::map<int, Pending> pending;        // not yet completed
    std::map<std::pair<const void*, std::string>, int, std::less<>> owners;  // (view, property) -> the animation that changed it last
    std::vector<int> interrupted;          // to complete with NO when the current animation starts
    bool enabled = true;
};

State& state() {
    static auto* s = new State();
    return *s;
}

bool isOpen(int index) {
    const auto& open = state().open;
    return std::find(open.begin(), open.end(), index) != open.end();
}

void complete(int index, bool finished) {
    auto& s = state();
    auto it = s.pending.find(index);
    if (it == s.pending.end()) return;
    Pending p = std::move(it->second);
    s.pending.erase(it);
    if (!finished && p.task) RunLoop::main().cancel(p.task);
    s.records[static_cast<std::size_t>(index)].completed = true;
    s.records[static_cast<std::size_t>(index)].finished = finished;
    std::erase_if(s.owners, [&](const auto& entry) { return entry.second == index; });
    if (p.completion) p.completion(finished);
}

struct Timing {
    double duration = 0;
    double delay = 0;
    bool spring = false;
    double damping = 0;
    double velocity = 0;
};

void run(Timing timing, unsigned long long options, const Block& animations, FinishedBlock completion) {
    uikit::detail::checkMainThread();
    auto& s = state();
    Record r;
    r.index = static_cast<int>(s.records.size());
    if (!s.open.empty()) {
        // Nested: the enclosing animation's timing.
        const Record& outer = s.records[static_cast<std::size_t>(s.open.back())];
        r.parent = outer.index;
        timing = Timing{outer.duration, outer.delay, outer.spring, outer.springDamping, outer.springVelocity};
    }
    r.duration = timing.duration;
    r.delay = timing.delay;
    r.spring = timing.spring;
    r.springDamping = timing.damping;
    r.springVelocity = timing.velocity;
    r.options = options;
    r.startNanos = clock::nowNanos();
    int index = r.index;
    s.records.push_back(std::move(r));
    s.pending[index] = Pending{std::move(completion), 0};

    s.open.push_back(index);
    try {
        if (animations) animations();
    } catch (...) {
        s.open.pop_back();
        s.pending.erase(index);
        throw;
    }
    s.open.pop_back();

    if (auto it = s.pending.find(index); it != s.pending.end())
        it->second.task = RunLoop::main().schedule(timing.delay + timing.duration, [index] { complete(index, true); }, &s, "animation");
    auto interrupted = std::move(s.interrupted);
    s.interrupted.clear();
    for (int i : interrupted) complete(i, false);
}

}  // namespace

const std::vector<Record>& records() { return state().records; }

const Record* last() {
    const auto& r = state().records;
    return r.empty() ? nullptr : &r.back();
}

bool isAnimating() { return !state().open.empty() && state().enabled; }

void noteChange(UIView* view, std::string_view property) {
    auto& s = state();
    if (s.open.empty() || !s.enabled || !view) return;
    int current = s.open.back();
    Record& r = s.records[static_cast<std::size_t>(current)];
    if (!r.changed(view, property)) r.changes.push_back(Change{WeakRef<UIView>(view), view, std::string(property)});
    auto key = std::make_pair(static_cast<const void*>(view), std::string(property));
    auto it = s.owners.find(key);
    if (it != s.owners.end() && it->second != current) {
        int earlier = it->second;
        // Only a committed animation of this very view is interrupted (not an
        // enclosing one, nor one of a view that went away at this address).
        bool sameView = false;
        for (const auto& c : s.records[static_cast<std::size_t>(earlier)].changes)
            if (c.identity == view && c.property == property && c.view.lock().get() == view) sameView = true;
        if (sameView && !isOpen(earlier) && s.pending.count(earlier) &&
            std::find(s.interrupted.begin(), s.interrupted.end(), earlier) == s.interrupted.end())
            s.interrupted.push_back(earlier);
    }
    s.owners[key] = current;
}

}  // namespace animation

namespace {

Object* viewClassObject() { return objc_getClass("UIView"); }

}  // namespace

void UIView::animateWithDuration(double duration, Block animations, FinishedBlock completion) {
    if (completion) sel::animateWithDuration_animations_completion_(viewClassObject(), duration, std::move(animations), std::move(completion));
    else sel::animateWithDuration_animations_(viewClassObject(), duration, std::move(animations));
}

void UIView::animateWithDuration(double duration, double delay, unsigned long long options, Block animations, FinishedBlock completion) {
    sel::animateWithDuration_delay_options_animations_completion_(viewClassObject(), duration, delay, options, std::move(animations),
                                                                  std::move(completion));
}

void UIView::animateWithDuration(double duration, double delay, double damping, double velocity, unsigned long long options,
                                 Block animations, FinishedBlock completion) {
    sel::animateWithDuration_delay_usingSpringWithDamping_initialSpringVelocity_options_animations_completion_(
        viewClassObject(), duration, delay, damping, velocity, options, std::move(animations), std::move(completion));
}

void UIView::performWithoutAnimation(Block actions) { sel::performWithoutAnimation_(viewClassObject(), std::move(actions)); }

namespace uikit::detail {

void registerAnimations() {
    using animation::run;
    using animation::Timing;
    ClassBuilder<UIView>(objc_getClass("UIView"))
        .classMethod(sel::animateWithDuration_animations_, [](id, double d, Block a) { run(Timing{d}, 0, a, {}); })
        .classMethod(sel::animateWithDuration_animations_completion_,
                     [](id, double d, Block a, FinishedBlock c) { run(Timing{d}, 0, a, std::move(c)); })
        .classMethod(sel::animateWithDuration_delay_options_animations_completion_,
                     [](id, double d, double delay, unsigned long long options, Block a, FinishedBlock c) {
                         run(Timing{d, delay}, options, a, std::move(c));
                     })
        .classMethod(sel::animateWithDuration_delay_usingSpringWithDamping_initialSpringVelocity_options_animations_completion_,
                     [](id, double d, double delay, double damping, double velocity, unsigned long long options, Block a, FinishedBlock c) {
                         run(Timing{d, delay, true, damping, velocity}, options, a, std::move(c));
                     })
        .classMethod(sel::setAnimationsEnabled_, [](id, bool enabled) { animation::state().enabled = enabled; })
        .classMethod(sel::areAnimationsEnabled, [](id) { return animation::state().enabled; })
        .classMethod(sel::performWithoutAnimation_, [](id, Block actions) {
            auto& s = animation::state();
            bool was = s.enabled;
            s.enabled = false;
            try {
                if (actions) actions();
            } catch (...) {
                s.enabled = was;
                throw;
            }
            s.enabled = was;
        });
}

}  // namespace uikit::detail
}  // namespace platform
