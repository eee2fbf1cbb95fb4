// The ad library's registration: its classes and the ybx_ methods it adds to
// platform classes. Tests call it after boot; the deliverables call it when a
// host loads them. A second call (both deliverables in one process) does nothing.
#pragma once

namespace adlib {

void registerClasses();

}  // namespace adlib
