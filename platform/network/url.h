// NSURL: an absolute URL, parsed with libcurl's URL API. Hierarchical URLs
// ("http://host/path") are resolved and taken apart by curl; opaque ones
// ("mailto:", "sms:") curl refuses, so they keep the platform's answers: a
// scheme, an empty path, and the query and fragment after the first "?" and "#".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/nsobject.h"

namespace platform {

class NSURL;

namespace sel {
inline constexpr Sel<std::string(id)> absoluteString{"absoluteString"};
}  // namespace sel

class NSURL : public NSObject {
public:
    // URLWithString: null for text the platform refuses (spaces, bad percent
    // escapes, bad ports, no scheme).
    static Ref<NSURL> URLWithString(std::string_view text);
    // URLWithString:relativeToURL: resolved against `base` as RFC 3986 says;
    // without a base the text must be absolute.
    static Ref<NSURL> URLWithString(std::string_view text, const NSURL* base);

    const std::string& absoluteString() const { return absolute_; }
    // As written; callers compare it in lower case.
    const std::string& scheme() const { return scheme_; }
    const std::string& host() const { return host_; }
    // Only when the text names one.
    std::optional<long> port() const { return port_; }
    // Percent-decoded, without a trailing "/"; "" for opaque URLs and an empty path.
    const std::string& path() const { return path_; }
    // Null when absent; as written (not decoded).
    const std::optional<std::string>& query() const { return query_; }
    const std::optional<std::string>& fragment() const { return fragment_; }
    bool isOpaque() const { return opaque_; }
    // "/" first for an absolute path, then each component; empty for no path.
    std::vector<std::string> pathComponents() const;
    std::string lastPathComponent() const;

    bool isEqual(const NSURL* other) const { return other && other->absolute_ == absolute_; }

private:
    bool parse(std::string_view text, const NSURL* base);
    bool parseOpaque(std::string_view text);

    std::string absolute_;
    std::string scheme_;
    std::string host_;
    std::optional<long> port_;
    std::string path_;
    std::optional<std::string> query_;
    std::optional<std::string> fragment_;
    bool opaque_ = false;
};

namespace network {
void registerURL();
}  // namespace network

}  // namespace platform
