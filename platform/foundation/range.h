// NSRange: a run of a text (in UTF-16 code units, as NSString counts) or of a
// list: where it starts and how long it is. NSNotFound marks no run.
#pragma once

#include <climits>

namespace platform {

inline constexpr unsigned long long NSNotFound = LLONG_MAX;

struct NSRange {
    unsigned long long location = 0;
    unsigned long long length = 0;
    friend bool operator==(const NSRange&, const NSRange&) = default;
};

}  // namespace platform
