// Small platform frameworks (BackBoardServices, ...): boot registers them.
#pragma once

namespace platform::frameworks {
void registerClasses();
}
