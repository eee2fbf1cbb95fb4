// YBXMNSURLConnectionFactory: where the library's URL connections come from.
// The shared factory makes platform NSURLConnections; setSharedFactory:
// replaces it for every later connection (tests hand in one of their own).
// Any object answering the protocol YBXMConnectionFactory's selectors serves.
// Any thread.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/network/connection.h"
#include "platform/network/request.h"

namespace adlib {

namespace sel {
inline constexpr Sel<Ref<Object>(id)> sharedFactory{"sharedFactory"};
inline constexpr Sel<void(id, id)> setSharedFactory_{"setSharedFactory:"};
inline constexpr Sel<Ref<Object>(id, NSURLRequest*, id, bool)> connectionWithRequest_delegate_startImmediately_{
    "connectionWithRequest:delegate:startImmediately:"};
inline constexpr Sel<Ref<Object>(id, NSURLRequest*, id)> connectionWithRequest_delegate_{"connectionWithRequest:delegate:"};
}  // namespace sel

// The factory in use: the one set last, else the one made on first use.
Ref<Object> sharedConnectionFactory();
void setSharedConnectionFactory(id factory);

void registerConnectionFactoryClass();

}  // namespace adlib
