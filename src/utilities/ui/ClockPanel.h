// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QObject>

#include <functional>
#include <string_view>

#include "link/CameraConnection.h"
#include "utilities/ClockText.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QTimeEdit;
class QWidget;

namespace trelvik::utilities {

// A picker's display format for a picture of the clock's formats: the same letters, with "tt"
// (the AM/PM marker) as Qt writes it. Example: "tt hh:mm:ss" -> "AP hh:mm:ss".
QString pickerDisplayFormat(std::string_view picture);

// The clock parts of `locale`: its date and time separators and its long time format
// without the time zone, which a camera's clock does not have.
ClockLocale clockLocaleOf(const QLocale& locale);

// The "Camera Clock" group: the PC's and the camera's clocks side by side every second while
// Timer1 runs, the two ways of setting the camera's clock, and the formats they are shown in.
class ClockPanel final : public QObject {
    Q_OBJECT
public:
    using Now = std::function<QDateTime()>;
    // `root` holds the group's controls and Timer1, and must outlive this object. `now` gives
    // the PC's local time (tests fix it).
    ClockPanel(QWidget& root, link::CameraConnection& camera, ClockLocale locale,
               Now now = &QDateTime::currentDateTime);

    // Timer1's tick: the PC's time in red, the camera's in red, or the PC's in black when the
    // camera's clock cannot be read.
    void Timer1Timer();
    void TntButtonSetPCTimeClick();
    void TntButtonSetCustomTimeClick();
    // The user picked a format, or a read of the camera's format set the list.
    void TntComboBox_Date_FormatChange();
    void TntComboBox_Time_FormatChange();

    int dateFormatIndex() const { return m_dateFormatIndex; }
    int timeFormatIndex() const { return m_timeFormatIndex; }

private:
    void assign(const std::tm& time);
    std::string clockText(const std::tm& time) const;

    link::CameraConnection& m_camera;
    ClockLocale m_locale;
    Now m_now;
    QLineEdit* m_pcTime = nullptr;
    QLineEdit* m_cameraTime = nullptr;
    QDateEdit* m_date = nullptr;
    QTimeEdit* m_time = nullptr;
    QComboBox* m_dateFormat = nullptr;
    QComboBox* m_timeFormat = nullptr;
    int m_dateFormatIndex = 0;
    int m_timeFormatIndex = 0;
};

} // namespace trelvik::utilities
