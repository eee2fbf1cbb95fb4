// YBXSession: the identifier of one run of the host app, sent with every ad
// request. Made once with the application object; immutable, any thread.
#pragma once

#include <cstdint>
#include <string>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/uuid.h"

namespace adlib {

// Bytes 8 to 15 of the MD5 digest of the UUID's bytes, read little-endian.
std::uint64_t YBXSessionIDFromUUIDBytes(const NSUUID::Bytes& bytes);

class YBXSession : public NSObject {
public:
    // A session of a fresh UUID.
    static Ref<YBXSession> make();

    std::uint64_t sessionID() const { return sessionID_; }
    // "%qu" of the identifier.
    std::string sessionIDAsString() const;

private:
    friend void registerSessionClass();
    std::uint64_t sessionID_ = 0;
};

void registerSessionClass();

}  // namespace adlib
