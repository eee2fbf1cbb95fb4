#include "adlib/foundation/session.h"

#include "platform/foundation/codecs.h"
#include "platform/foundation/format.h"

namespace adlib {

std::uint64_t YBXSessionIDFromUUIDBytes(const NSUUID::Bytes& bytes) {
    unsigned char digest[CC_MD5_DIGEST_LENGTH];
    CC_MD5(bytes.data(), static_cast<std::uint32_t>(bytes.size()), digest);
    // The device's byte order is little-endian, whatever the build machine's is.
    std::uint64_t id = 0;
    for (int i = 15; i >= 8; --i) id = (id << 8) | digest[i];
    return id;
}

Ref<YBXSession> YBXSession::make() { return as<YBXSession>(sel::init(alloc("YBXSession"))); }

std::string YBXSession::sessionIDAsString() const { return format("%qu", static_cast<unsigned long long>(sessionID_)); }

void registerSessionClass() {
    ClassBuilder<YBXSession>("YBXSession", "NSObject")
        .method(sel::init,
                [](id self) {
                    as<YBXSession>(self)->sessionID_ = YBXSessionIDFromUUIDBytes(NSUUID::UUID()->bytes());
                    return Ref<Object>(self);
                })
        .method(sel::sessionID, [](id self) { return static_cast<unsigned long long>(as<YBXSession>(self)->sessionID()); })
        .method(sel::sessionIDAsString, [](id self) { return as<YBXSession>(self)->sessionIDAsString(); });
}

}  // namespace adlib
