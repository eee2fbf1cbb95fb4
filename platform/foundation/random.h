// arc4random with a source that tests can script. Called qualified
// (platform::arc4random), never shadowing the C library. Thread-safe.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

std::uint32_t arc4random();
std::uint32_t arc4random_uniform(std::uint32_t upperBound);
// Replaces the source; an empty function restores the default one.
void setRandomSource(std::function<std::uint32_t()> source);
// A fixed seed for the default source, so that a run can be repeated.
void seedRandom(std::uint64_t seed);

}  // namespace platform
