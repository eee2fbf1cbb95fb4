// SpringBoard's classes; registered only in the SpringBoard host.
#pragma once

namespace platform::springboard {
void registerClasses();
}
