// SPDX-License-Identifier: MIT
#pragma once

#include "settings/SettingRows.h"

class QWidget;

namespace trelvik::settings {

// Creates the controls of `row` as children of `group`, named by the naming rule: the caption
// label, the value control (with its value label for a track bar) and the R and W buttons.
// Track bars run 0 to 255 until the command table is bound; edit fields take `width`
// characters.
void buildSettingRow(QWidget& group, const SettingRow& row);

} // namespace trelvik::settings
