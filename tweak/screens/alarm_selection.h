// The alarm list's multiple-edit selection, process-wide: the Clock app's
// Alarm objects selected in edit mode, in selection order. Nil until the list
// first enters edit mode with mass edition on. Clock app main thread only.
#pragma once

#include "tweak/screens/selectors.h"

namespace rousa {

extern Value alarmsSelected;

// Whether the selection holds at least one alarm (the edit screen then edits
// them all at once).
bool isMultipleEdit();

}  // namespace rousa
