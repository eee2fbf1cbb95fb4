#include "platform/network/url.h"

#include <curl/curl.h>

#include <cctype>
#include <memory>

namespace platform {
namespace {

struct CurlURL {
    CURLU* handle = curl_url();
    ~CurlURL() { curl_url_cleanup(handle); }
    CurlURL() = default;
    CurlURL(const CurlURL&) = delete;
    CurlURL& operator=(const CurlURL&) = delete;

    bool set(std::string_view text) {
        std::string t(text);
        if (curl_url_set(handle, CURLUPART_URL, t.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK) return true;
        // An app's own scheme may leave the host out ("itms-books://"); the web's may not.
        std::string scheme = t.substr(0, t.find(':'));
        for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (scheme == "http" || scheme == "https" || scheme == "ftp") return false;
        return curl_url_set(handle, CURLUPART_URL, t.c_str(), CURLU_NON_SUPPORT_SCHEME | CURLU_NO_AUTHORITY) == CURLUE_OK;
    }
    std::optional<std::string> get(CURLUPart part, unsigned flags = 0) const {
        char* out = nullptr;
        if (curl_url_get(handle, part, &out, flags) != CURLUE_OK || !out) return std::nullopt;
        std::string text(out);
        curl_free(out);
        return text;
    }
};

// Text the platform refuses before any parsing: spaces and controls, bytes
// outside ASCII, the characters RFC 3986 never allows, and "%" without two
// hexadecimal digits.
bool acceptable(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c <= 0x20 || c >= 0x7f) return false;
        if (std::string_view("<>\"{}|\\^`").find(static_cast<char>(c)) != std::string_view::npos) return false;
        if (c == '%') {
            if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
                !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
                return false;
            i += 2;
        }
    }
    return true;
}

// The scheme's length, or 0 when the text does not begin with one.
std::size_t schemeLength(std::string_view text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0]))) return 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == ':') return i;
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return 0;
    }
    return 0;
}

// Whether "scheme://authority" is followed by no path at all.
bool hasEmptyPath(std::string_view absolute, std::size_t schemeLen) {
    std::size_t start = schemeLen + 3;
    std::size_t end = absolute.find_first_of("/?#", start);
    return end == std::string_view::npos || absolute[end] != '/';
}

}  // namespace

Ref<NSURL> NSURL::URLWithString(std::string_view text) { return URLWithString(text, nullptr); }

Ref<NSURL> NSURL::URLWithString(std::string_view text, const NSURL* base) {
    if (!acceptable(text)) return nullptr;
    Ref<NSURL> url = as<NSURL>(alloc("NSURL").get());
    if (!url || !url->parse(text, base)) return nullptr;
    return url;
}

bool NSURL::parseOpaque(std::string_view text) {
    opaque_ = true;
    absolute_ = std::string(text);
    scheme_ = std::string(text.substr(0, schemeLength(text)));
    std::string_view rest = text.substr(scheme_.size() + 1);
    std::size_t hash = rest.find('#');
    if (hash != std::string_view::npos) {
        fragment_ = std::string(rest.substr(hash + 1));
        rest = rest.substr(0, hash);
    }
    std::size_t question = rest.find('?');
    if (question != std::string_view::npos) query_ = std::string(rest.substr(question + 1));
    return true;
}

bool NSURL::parse(std::string_view text, const NSURL* base) {
    std::size_t schemeLen = schemeLength(text);
    CurlURL curl;
    if (schemeLen) {
        std::string_view rest = text.substr(schemeLen + 1);
        if (rest.empty() || rest[0] != '/') return parseOpaque(text);
        if (!curl.set(text)) return false;
        absolute_ = std::string(text);
        scheme_ = std::string(text.substr(0, schemeLen));
        if (rest.substr(0, 2) == "//" && hasEmptyPath(text, schemeLen)) path_.clear();
        else path_ = curl.get(CURLUPART_PATH, CURLU_URLDECODE).value_or("");
    } else {
        if (!base || base->opaque_) return false;
        if (!curl.set(base->absolute_)) return false;
        if (text.empty()) {
            // RFC 3986: an empty reference is the base without its fragment.
            curl_url_set(curl.handle, CURLUPART_FRAGMENT, nullptr, 0);
        } else if (text[0] == '#') {
            // curl drops the base's last segment for these two; RFC 3986 keeps the path.
            curl_url_set(curl.handle, CURLUPART_FRAGMENT, std::string(text.substr(1)).c_str(), 0);
        } else if (text[0] == '?') {
            std::string_view rest = text.substr(1);
            std::size_t hash = rest.find('#');
            curl_url_set(curl.handle, CURLUPART_QUERY, std::string(rest.substr(0, hash)).c_str(), 0);
            curl_url_set(curl.handle, CURLUPART_FRAGMENT,
                         hash == std::string_view::npos ? nullptr : std::string(rest.substr(hash + 1)).c_str(), 0);
        } else if (!curl.set(text)) {
            return false;
        }
        auto resolved = curl.get(CURLUPART_URL);
        if (!resolved) return false;
        absolute_ = *resolved;
        scheme_ = base->scheme_;
        path_ = curl.get(CURLUPART_PATH, CURLU_URLDECODE).value_or("");
    }
    host_ = curl.get(CURLUPART_HOST).value_or("");
    if (auto port = curl.get(CURLUPART_PORT)) port_ = std::stol(*port);
    query_ = curl.get(CURLUPART_QUERY);
    fragment_ = curl.get(CURLUPART_FRAGMENT);
    if (path_.size() > 1 && path_.back() == '/') path_.pop_back();
    return true;
}

std::vector<std::string> NSURL::pathComponents() const {
    std::vector<std::string> out;
    if (path_.empty()) return out;
    std::size_t i = 0;
    if (path_[0] == '/') {
        out.push_back("/");
        i = 1;
    }
    while (i < path_.size()) {
        std::size_t next = path_.find('/', i);
        if (next == std::string::npos) next = path_.size();
        if (next > i) out.push_back(path_.substr(i, next - i));
        i = next + 1;
    }
    return out;
}

std::string NSURL::lastPathComponent() const {
    auto parts = pathComponents();
    return parts.empty() ? std::string() : parts.back();
}

namespace network {

void registerURL() {
    ClassBuilder<NSURL>("NSURL", "NSObject")
        .method(sel::absoluteString, [](id self) { return as<NSURL>(self)->absoluteString(); })
        .method(sel::description, [](id self) { return Value(as<NSURL>(self)->absoluteString()); })
        .method(sel::isEqual_, [](id self, id other) { return as<NSURL>(self)->isEqual(as<NSURL>(other)); })
        .method(sel::hash, [](id self) {
            return static_cast<unsigned long>(std::hash<std::string>()(as<NSURL>(self)->absoluteString()));
        });
}

}  // namespace network
}  // namespace platform
