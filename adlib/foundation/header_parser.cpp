#include "adlib/foundation/header_parser.h"

#include <cctype>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/foundation/calendar.h"
#include "platform/foundation/date_formatter.h"
#include "platform/foundation/run_loop.h"

namespace adlib {

namespace {

struct HttpDateFormatters {
    std::mutex mutex;  // a formatter is used by one thread at a time
    std::vector<Ref<NSDateFormatter>> formatters;
};

HttpDateFormatters& httpDateFormatters() {
    static auto* shared = [] {
        auto* f = new HttpDateFormatters();
        for (const char* pattern : {"EEE, dd MMM yyyy HH:mm:ss z", "EEE MMM d HH:mm:ss yyyy", "EEEE, dd-MMM-yy HH:mm:ss z"}) {
            Ref<NSDateFormatter> formatter = as<NSDateFormatter>(sel::init(alloc("NSDateFormatter")));
            if (!formatter) continue;
            formatter->localeIdentifier_ = "en_US";
            formatter->timeZone_ = NSTimeZone::timeZoneWithName("GMT");
            formatter->dateFormat_ = pattern;
            f->formatters.push_back(formatter);
        }
        return f;
    }();
    return *shared;
}

const std::string* header(const NSHTTPURLResponse* response, std::string_view name) { return response->valueForHTTPHeaderField(name); }

}  // namespace

std::optional<Date> ybx_dateFromHttpDateString(std::string_view text) {
    HttpDateFormatters& shared = httpDateFormatters();
    std::lock_guard guard(shared.mutex);
    for (const auto& formatter : shared.formatters)
        if (auto date = formatter->parse(text)) return date;
    return std::nullopt;
}

std::optional<Date> ybx_expirationDate(const NSHTTPURLResponse* response) {
    if (!response) return std::nullopt;
    if (const std::string* pragma = header(response, "Pragma"); pragma && *pragma == "no-cache") return std::nullopt;
    Date now = NSDate::date();
    Date base = now;
    if (const std::string* date = header(response, "Date"))
        if (auto parsed = ybx_dateFromHttpDateString(*date)) base = *parsed;
    if (const std::string* control = header(response, "Cache-Control")) {
        if (control->find("no-store") != std::string::npos) return std::nullopt;
        if (std::size_t at = control->find("max-age="); at != std::string::npos) {
            const char* start = control->c_str() + at + 8;
            char* end = nullptr;
            long long seconds = std::strtoll(start, &end, 10);
            // strtoll skips blanks; the integer must follow "=" at once.
            if (end != start && !std::isspace(static_cast<unsigned char>(*start))) {
                if (seconds <= 0) return std::nullopt;
                return base.addingTimeInterval(static_cast<double>(seconds));
            }
        }
    }
    if (const std::string* expires = header(response, "Expires"))
        if (auto parsed = ybx_dateFromHttpDateString(*expires); parsed && *parsed > base)
            return now.addingTimeInterval(parsed->timeIntervalSinceDate(base));
    return std::nullopt;
}

void registerHeaderParserCategory() {
    Class* cls = objc_getClass("NSHTTPURLResponse");
    class_addMethod(cls, sel::ybx_expirationDate, [](id self) {
        auto date = ybx_expirationDate(as<NSHTTPURLResponse>(self));
        return date ? Value(*date) : Value();
    });
    class_addMethod(cls, sel::ybx_dateFromHttpDateString_, [](id, std::string text) {
        auto date = ybx_dateFromHttpDateString(text);
        return date ? Value(*date) : Value();
    });
}

}  // namespace adlib
