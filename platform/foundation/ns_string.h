// NSString's text operations on UTF-8 text, with the platform's answers at
// the edges: trimming with Unicode white space and line ends, splitting at a
// separator, prefix and suffix tests (the empty string is no prefix or
// suffix). Pure functions; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUTF8(std::string_view text);

// stringByTrimmingCharactersInSet: with whitespaceCharacterSet (tab and the
// Unicode space separators) or whitespaceAndNewlineCharacterSet (those, and
// U+000A to U+000D, U+0085, U+2028, U+2029).
std::string trimWhitespace(std::string_view text);
std::string trimWhitespaceAndNewlines(std::string_view text);

// componentsSeparatedByString: an empty separator, or one not found, gives
// the whole text as the one component; separators next to each other or at
// the ends give empty components.
std::vector<std::string> componentsSeparatedByString(std::string_view text, std::string_view separator);

// lowercaseString: Unicode's full lower-casing, the same in every locale;
// malformed UTF-8 is returned as it stands.
std::string lowercaseString(std::string_view text);

// hasPrefix: and hasSuffix: NO for an empty prefix or suffix, as the platform answers.
bool hasPrefix(std::string_view text, std::string_view prefix);
bool hasSuffix(std::string_view text, std::string_view suffix);

// stringByAppendingPathComponent: one "/" between the two, none doubled.
std::string stringByAppendingPathComponent(std::string_view path, std::string_view component);
// stringByStandardizingPath: without "." components, doubled or trailing
// "/", and with each ".." of an absolute path taking away the component
// before it (never above "/"). A relative path keeps its "..".
std::string stringByStandardizingPath(std::string_view path);

}  // namespace platform
