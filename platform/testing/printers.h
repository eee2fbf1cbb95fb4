// How tests print platform values in their failure messages.
#pragma once

#include <ostream>

#include "platform/runtime/value.h"

namespace platform {

inline void PrintTo(const Point& p, std::ostream* os) { *os << "{" << p.x << ", " << p.y << "}"; }
inline void PrintTo(const Size& s, std::ostream* os) { *os << "{" << s.width << ", " << s.height << "}"; }
inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << "{{" << r.x() << ", " << r.y() << "}, {" << r.width() << ", " << r.height() << "}}";
}
inline void PrintTo(const Date& d, std::ostream* os) { *os << Value(d).description() << " (" << d.sinceReferenceDate << ")"; }
inline void PrintTo(const Value& v, std::ostream* os) { *os << v.description(); }

}  // namespace platform
