// Selectors of SpringBoard's classes.
#pragma once

#include "platform/frameworks/selectors.h"

namespace platform::sel {
// SBAppSwitcherModel: the app switcher's order, most recent first.
inline constexpr Sel<Value(id)> identifiers{"identifiers"};  // iOS 7
inline constexpr Sel<Value(id)> snapshotOfFlattenedArrayOfAppIdentifiersWhichIsOnlyTemporary{
    "snapshotOfFlattenedArrayOfAppIdentifiersWhichIsOnlyTemporary"};  // iOS 8
}  // namespace platform::sel
