// What the ad server's tests share: a blocking libcurl fetch that keeps the
// whole answer, and a fixture that serves the shipped inventory on a free
// port of 127.0.0.1.
#pragma once

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <strings.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/ad-server/ad_server.h"

namespace rousa::adserver::testing {

struct HttpRequest {
    std::string method = "GET";
    std::vector<std::string> headers;  // "Name: value"
    std::string body;
    bool followRedirects = false;
    bool pathAsIs = false;  // send "/../" as written
};

struct HttpResult {
    CURLcode code = CURLE_OK;
    long status = 0;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    long redirects = 0;

    // The last header of that name (the final answer's after redirects).
    std::string header(const std::string& name) const {
        std::string value;
        for (const auto& [key, text] : headers)
            if (strcasecmp(key.c_str(), name.c_str()) == 0) value = text;
        return value;
    }
    bool hasHeader(const std::string& name) const {
        for (const auto& header : headers)
            if (strcasecmp(header.first.c_str(), name.c_str()) == 0) return true;
        return false;
    }
};

inline HttpResult fetch(const std::string& url, const HttpRequest& request = {}) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
    HttpResult result;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    if (request.method == "POST") {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(request.body.size()));
    }
    curl_slist* headers = nullptr;
    for (const auto& header : request.headers) headers = curl_slist_append(headers, header.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, request.pathAsIs ? 1L : 0L);
    // A bound for a broken server, not a wait: every answer here is immediate.
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
    auto writeBody = +[](char* data, size_t size, size_t count, void* out) {
        static_cast<std::string*>(out)->append(data, size * count);
        return size * count;
    };
    auto writeHeader = +[](char* data, size_t size, size_t count, void* out) {
        std::string line(data, size * count);
        auto colon = line.find(':');
        if (colon != std::string::npos) {
            std::string value = line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(' '));
            value.erase(value.find_last_not_of("\r\n") + 1);
            static_cast<HttpResult*>(out)->headers.emplace_back(line.substr(0, colon), value);
        }
        return size * count;
    };
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, writeHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &result);
    result.code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    curl_easy_getinfo(curl, CURLINFO_REDIRECT_COUNT, &result.redirects);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return result;
}

// "a=1&b=x%20y" -> {a: 1, b: x y}
inline std::map<std::string, std::string> queryParameters(const std::string& query) {
    std::map<std::string, std::string> out;
    size_t start = 0;
    while (start <= query.size()) {
        size_t end = query.find('&', start);
        if (end == std::string::npos) end = query.size();
        std::string pair = query.substr(start, end - start);
        size_t equals = pair.find('=');
        auto decode = [](const std::string& text) {
            int length = 0;
            char* decoded = curl_easy_unescape(nullptr, text.c_str(), static_cast<int>(text.size()), &length);
            std::string out(decoded, static_cast<size_t>(length));
            curl_free(decoded);
            return out;
        };
        if (!pair.empty())
            out[decode(pair.substr(0, equals))] = equals == std::string::npos ? "" : decode(pair.substr(equals + 1));
        start = end + 1;
    }
    return out;
}

// The text with every byte but letters, digits and "-._~" percent-encoded.
inline std::string percentEncoded(const std::string& text) {
    char* encoded = curl_easy_escape(nullptr, text.c_str(), static_cast<int>(text.size()));
    std::string out(encoded);
    curl_free(encoded);
    return out;
}

class AdServerFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.start()) << server.error(); }
    std::string url(const std::string& pathAndQuery) const { return server.baseURL() + pathAndQuery; }
    HttpResult ad(const std::string& adUnit, const std::string& requestID = "42") const {
        return fetch(url(std::string(kAdPath) + "?slotname=" + adUnit + "&request_id=" + requestID));
    }

    AdServer server{ServerOptions{.inventoryDir = ROUSA_AD_SERVER_INVENTORY}};
};

}  // namespace rousa::adserver::testing
