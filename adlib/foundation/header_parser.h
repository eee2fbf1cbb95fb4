// The NSHTTPURLResponse category YBXHeaderParser: how long a response may be
// kept, from its Pragma, Cache-Control, Date and Expires fields, and the three
// HTTP date forms. The date formatters are made once and shared under a lock.
#pragma once

#include <optional>
#include <string_view>

#include "adlib/foundation/selectors.h"
#include "platform/network/response.h"

namespace adlib {

namespace sel {
// A date, or nil when the response is not to be kept.
inline constexpr Sel<Value(id)> ybx_expirationDate{"ybx_expirationDate"};
inline constexpr Sel<Value(id, std::string)> ybx_dateFromHttpDateString_{"ybx_dateFromHttpDateString:"};
}  // namespace sel

std::optional<Date> ybx_expirationDate(const NSHTTPURLResponse* response);
// RFC 1123, then asctime, then RFC 850; none when no form reads the text.
std::optional<Date> ybx_dateFromHttpDateString(std::string_view text);

void registerHeaderParserCategory();

}  // namespace adlib
