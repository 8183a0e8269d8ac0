// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace trelvik::shell {

// For the start-up benchmark: with TRELVIK_EXIT_AFTER_FIRST_PAINT=1 in the environment, the
// program writes "first paint" to stdout once `window` has painted for the first time, and
// ends. Without it nothing changes.
void exitAfterFirstPaintWhenAsked(QWidget& window);

} // namespace trelvik::shell
