#include "tweak/screens/alarm_selection.h"

namespace rousa {

constinit Value alarmsSelected;

bool isMultipleEdit() { return alarmsSelected.isArray() && alarmsSelected.count() > 0; }

}  // namespace rousa
