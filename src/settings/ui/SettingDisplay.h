// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QString>

#include <cstdint>

#include "link/Status.h"

class QComboBox;
class QLabel;
class QSlider;

// How a single setting's read or write shows on the window. Each call updates its control and
// then processes pending events, so that the control repaints at once, also in the middle of
// a long run of reads and writes.
namespace trelvik::settings {

// The colours of a list's states, as 0x00BBGGRR words.
inline constexpr std::uint32_t kKnownBackground = 0xFFFFFF;
inline constexpr std::uint32_t kKnownText = 0x000000;
inline constexpr std::uint32_t kFailedBackground = 0x0000FF;
inline constexpr std::uint32_t kNotSupportedBackground = 0xD8E9EC;
inline constexpr std::uint32_t kRefusedText = 0xFFFFFF;

// A 0x00BBGGRR word as a colour.
QColor colourOf(std::uint32_t bgr);

// Ok: enabled, `position` selected (-1: none), white with black text. Failed: disabled,
// nothing selected, red with white text. NotSupported: the same on 0xD8E9EC.
void ShowListResult(QComboBox& list, link::Status status, int position);
// Ok: the track bar enabled and moved to `value` (its ends hold it), then the value label
// shown with `text`. Otherwise the track bar disabled at 0 (its minimum above 0) and the
// label hidden. Moving the track bar runs its change handler first; `text` is what stays.
void ShowTextResult(QSlider& trackBar, QLabel& valueLabel, const QString& text, int value,
                    link::Status status);
// The same with a narrow text in the system's code page.
void ShowTextResult(QSlider& trackBar, QLabel& valueLabel, const char* text, int value, link::Status status);
// The same with the value in decimal.
void ShowNumberResult(QSlider& trackBar, QLabel& valueLabel, int value, link::Status status);

// The background and text colour a list shows now, as 0x00BBGGRR words.
std::uint32_t listBackground(const QComboBox& list);
std::uint32_t listTextColour(const QComboBox& list);

} // namespace trelvik::settings
