// The arithmetic question of the alert window: drawing a question for the
// current record's difficulty and building its views, the number pad's keys,
// and the answer check with its animations and answer counters. These are
// methods of RS2AlertWindow. Main thread only.
#pragma once

#include "tweak/screens/selectors.h"

namespace rousa {

void calculateRS2ationAndAnswer(id window);
void keypadButtonPressedWithNumber(id window, int number);
void backButtonPressed(id window);
void checkNumberAgainstAnswer(id window, id sender);

}  // namespace rousa
