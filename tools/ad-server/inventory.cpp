#include "tools/ad-server/inventory.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace rousa::adserver {

namespace {

std::string trim(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return std::string(text.substr(begin, end - begin));
}

bool readFile(const std::filesystem::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream out;
    out << in.rdbuf();
    text = out.str();
    return true;
}

bool isKeyword(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

}  // namespace

bool parseEntry(std::string_view text, const std::string& adUnit, InventoryEntry& entry, std::string& error) {
    entry = InventoryEntry{};
    entry.adUnit = adUnit;
    size_t pos = 0;
    int line = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        bool last = end == std::string_view::npos;
        std::string_view raw = text.substr(pos, last ? std::string_view::npos : end - pos);
        pos = last ? text.size() + 1 : end + 1;
        ++line;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        if (raw.empty()) break;  // the body follows
        if (raw.front() == '#') continue;
        size_t colon = raw.find(':');
        std::string name = colon == std::string_view::npos ? std::string() : trim(raw.substr(0, colon));
        if (name.empty() || name.find(' ') != std::string::npos) {
            error = adUnit + ".ad:" + std::to_string(line) + ": not a header line";
            return false;
        }
        std::string value = trim(raw.substr(colon + 1));
        if (name.rfind("Ad-Server-", 0) == 0) {
            if (name == "Ad-Server-Delivery" && (value == "page" || value == "url")) {
                entry.pageDelivery = value == "page";
                continue;
            }
            error = adUnit + ".ad:" + std::to_string(line) + ": unknown directive " + name + ": " + value;
            return false;
        }
        entry.headers.emplace_back(std::move(name), std::move(value));
    }
    if (pos <= text.size()) entry.body = std::string(text.substr(pos));
    return true;
}

Inventory loadInventory(const std::string& folder) {
    Inventory inventory;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        inventory.error = "no inventory folder " + folder;
        return inventory;
    }
    for (const auto& item : std::filesystem::directory_iterator(folder, ec)) {
        if (!item.is_regular_file()) continue;
        const auto& path = item.path();
        std::string text;
        if (path.filename() == "sdk-core.json") {
            if (!readFile(path, inventory.sdkCore)) inventory.error = "cannot read " + path.string();
            continue;
        }
        if (path.extension() != ".ad") continue;
        if (!readFile(path, text)) {
            inventory.error = "cannot read " + path.string();
            continue;
        }
        InventoryEntry entry;
        std::string error;
        if (!parseEntry(text, path.stem().string(), entry, error)) {
            inventory.error = error;
            continue;
        }
        inventory.entries[entry.adUnit] = std::move(entry);
    }
    if (ec) inventory.error = "cannot list " + folder + ": " + ec.message();
    return inventory;
}

std::string percentEncode(std::string_view text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string fillPlaceholders(std::string_view text, const std::map<std::string, std::string>& serverValues,
                             const std::multimap<std::string, std::string>& query) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 2, "@@") == 0) {
            size_t close = text.find("@@", i + 2);
            if (close != std::string_view::npos && isKeyword(text.substr(i + 2, close - i - 2))) {
                std::string keyword(text.substr(i + 2, close - i - 2));
                if (auto found = serverValues.find(keyword); found != serverValues.end()) {
                    out += found->second;
                } else {
                    std::string key = keyword;
                    std::transform(key.begin(), key.end(), key.begin(),
                                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
                    if (auto param = query.find(key); param != query.end()) out += percentEncode(param->second);
                }
                i = close + 2;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

}  // namespace rousa::adserver
