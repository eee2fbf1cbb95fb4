#include "platform/foundation/random.h"

#include <mutex>
#include <random>

namespace platform {

namespace {
struct State {
    std::mutex mutex;
    std::function<std::uint32_t()> source;
    std::mt19937 engine{std::random_device{}()};
};
State& state() {
    static State* s = new State();
    return *s;
}
}  // namespace

std::uint32_t arc4random() {
    auto& s = state();
    std::function<std::uint32_t()> source;
    {
        std::lock_guard guard(s.mutex);
        if (!s.source) return static_cast<std::uint32_t>(s.engine());
        source = s.source;
    }
    return source();
}

std::uint32_t arc4random_uniform(std::uint32_t upperBound) {
    if (upperBound < 2) return 0;
    return arc4random() % upperBound;
}

void setRandomSource(std::function<std::uint32_t()> source) {
    std::lock_guard guard(state().mutex);
    state().source = std::move(source);
}

void seedRandom(std::uint64_t seed) {
    std::lock_guard guard(state().mutex);
    state().engine.seed(static_cast<std::mt19937::result_type>(seed));
}

}  // namespace platform
