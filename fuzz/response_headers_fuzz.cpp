// The ad server's response header fields ("Name: value" a line) read into an
// ad by a fetcher, and the same response's expiry.
#include "adlib/foundation/header_parser.h"
#include "adlib/pipeline/ad.h"
#include "adlib/pipeline/ad_fetcher.h"
#include "fuzz/adlib_fuzz_support.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const adlib::fuzz::OneInput input;
    HeaderFields fields;
    std::string_view rest = adlib::fuzz::text(data, size);
    while (!rest.empty()) {
        auto [line, next] = adlib::fuzz::firstLine(rest);
        rest = next;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
        const std::string kept(value);
        fields.set(line.substr(0, colon), &kept);
    }
    Ref<NSHTTPURLResponse> response = NSHTTPURLResponse::make(NSURL::URLWithString("http://127.0.0.1:1/mads/gma"), 200, fields);
    (void)adlib::ybx_expirationDate(response.get());

    Ref<adlib::YBXAd> ad = as<adlib::YBXAd>(newObject("YBXAd"));
    ad->adHTML_ = Value("<html></html>");
    Ref<Object> fetcher = newObject("YBXAdFetcher");
    adlib::sel::fetchRemainingContentForAd_headers_delegate_request_error_(fetcher.get(), ad.get(), Value(), nullptr, nullptr, nullptr);
    adlib::sel::processHTTPHeaders_(fetcher.get(), response->allHeaderFields());
    return 0;
}
