// The ad server's inventory: one file per ad unit in a folder, read again for
// every ad request so that a new ad is a new file. Files are plain data with
// no lifetime of their own; nothing here is shared between threads.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rousa::adserver {

// One ad unit's answer. The file "<ad unit>.ad" holds header lines
// ("Name: value", "#" starts a comment), an empty line, then the body.
// Headers named "Ad-Server-..." steer the server and are never sent:
// "Ad-Server-Delivery: page" makes the SDK-core page answer with the ad itself
// (its body is then the ad dictionary as JSON) instead of an ad URL.
struct InventoryEntry {
    std::string adUnit;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    bool pageDelivery = false;
};

struct Inventory {
    std::map<std::string, InventoryEntry> entries;
    std::string sdkCore;  // text of "sdk-core.json", empty when the folder has none
    std::string error;    // empty when every file read
};

// Parses one entry; on a malformed file the answer is false and `error` says
// which line.
bool parseEntry(std::string_view text, const std::string& adUnit, InventoryEntry& entry, std::string& error);

Inventory loadInventory(const std::string& folder);

// Fills "@@KEYWORD@@" markers (upper-case letters, digits and "_"). A
// keyword in `serverValues` is inserted as it stands; any other is the
// request's query parameter of that name in lower case, percent-encoded so
// that it cannot break out of the URL, HTML or JSON text around it; an
// unknown keyword becomes empty. The ad library's own "@keyword@" markers
// (one at-sign, lower case) are left alone.
std::string fillPlaceholders(std::string_view text, const std::map<std::string, std::string>& serverValues,
                             const std::multimap<std::string, std::string>& query);

std::string percentEncode(std::string_view text);

}  // namespace rousa::adserver
