// SPDX-License-Identifier: MIT
#include "utilities/ui/ClockPanel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimeEdit>
#include <QTimer>

#include "link/VendorCommands.h"

namespace trelvik::utilities {

namespace {

const QColor kRed(0xFF, 0, 0);
const QColor kBlack(0, 0, 0);

// The first character between two fields of a locale's picture, or `fallback`.
std::string separatorOf(const QString& picture, const QString& fieldLetters, const char* fallback) {
    const QRegularExpression between(QString("[%1]+([^%1'\\s]+)[%1]").arg(fieldLetters));
    const auto match = between.match(picture);
    return match.hasMatch() ? match.captured(1).toStdString() : fallback;
}

std::tm toTm(const QDate& date, const QTime& time) {
    std::tm tm{};
    tm.tm_year = date.year() - 1900;
    tm.tm_mon = date.month() - 1;
    tm.tm_mday = date.day();
    tm.tm_hour = time.hour();
    tm.tm_min = time.minute();
    tm.tm_sec = time.second();
    return tm;
}

void show(QLineEdit* field, const QColor& colour, const QString& text) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, colour);
    field->setPalette(palette);
    field->setText(text);
}

} // namespace

QString pickerDisplayFormat(std::string_view picture) {
    QString format = QString::fromUtf8(picture.data(), static_cast<qsizetype>(picture.size()));
    return format.replace("tt", "AP");
}

ClockLocale clockLocaleOf(const QLocale& locale) {
    ClockLocale parts;
    parts.dateSeparator = separatorOf(locale.dateFormat(QLocale::ShortFormat), "dMy", "/");
    parts.timeSeparator = separatorOf(locale.timeFormat(QLocale::ShortFormat), "hHms", ":");
    QString longTime = locale.timeFormat(QLocale::LongFormat);
    longTime.remove(QRegularExpression("\\s*\\bt+\\b\\s*"));
    parts.longTime = [locale, longTime](int hour, int minute, int second) {
        return locale.toString(QTime(hour, minute, second), longTime.trimmed()).toStdString();
    };
    return parts;
}

ClockPanel::ClockPanel(QWidget& root, link::CameraConnection& camera, ClockLocale locale, Now now)
    : m_camera(camera), m_locale(std::move(locale)), m_now(std::move(now)) {
    m_pcTime = root.findChild<QLineEdit*>("TntEditPCTime");
    m_cameraTime = root.findChild<QLineEdit*>("TntEditDSCTime");
    m_date = root.findChild<QDateEdit*>("DateTimePicker1");
    m_time = root.findChild<QTimeEdit*>("DateTimePicker2");
    m_dateFormat = root.findChild<QComboBox*>("TntComboBox_Date_Format");
    m_timeFormat = root.findChild<QComboBox*>("TntComboBox_Time_Format");
    if (auto* timer = root.findChild<QTimer*>("Timer1"))
        connect(timer, &QTimer::timeout, this, [this] { Timer1Timer(); });
    if (auto* button = root.findChild<QPushButton*>("TntButtonSetPCTime"))
        connect(button, &QPushButton::clicked, this, [this] { TntButtonSetPCTimeClick(); });
    if (auto* button = root.findChild<QPushButton*>("TntButtonSetCustomTime"))
        connect(button, &QPushButton::clicked, this, [this] { TntButtonSetCustomTimeClick(); });
    // Only a pick of the user's counts: relabelling a list, or a failed write clearing it, is no
    // change of format.
    if (m_dateFormat)
        connect(m_dateFormat, &QComboBox::activated, this, [this] { TntComboBox_Date_FormatChange(); });
    if (m_timeFormat)
        connect(m_timeFormat, &QComboBox::activated, this, [this] { TntComboBox_Time_FormatChange(); });
}

std::string ClockPanel::clockText(const std::tm& time) const {
    return FormatClockText(time, m_dateFormatIndex, m_timeFormatIndex, m_locale);
}

void ClockPanel::Timer1Timer() {
    const QDateTime now = m_now();
    const QString pcText = QString::fromStdString(clockText(toTm(now.date(), now.time())));
    show(m_pcTime, kRed, pcText);
    if (const link::Result<std::tm> camera = m_camera.readClock())
        show(m_cameraTime, kRed, QString::fromStdString(clockText(*camera)));
    else
        show(m_cameraTime, kBlack, pcText);
}

void ClockPanel::assign(const std::tm& time) {
    show(m_cameraTime, kBlack, QString());
    // Not reported either way: the next tick shows the camera's clock.
    m_camera.writeClock(time);
}

void ClockPanel::TntButtonSetPCTimeClick() {
    const QDateTime now = m_now();
    assign(toTm(now.date(), now.time()));
}

void ClockPanel::TntButtonSetCustomTimeClick() {
    assign(toTm(m_date->date(), m_time->time()));
}

void ClockPanel::TntComboBox_Date_FormatChange() {
    m_dateFormatIndex = m_dateFormat->currentIndex();
    m_date->setDisplayFormat(pickerDisplayFormat(DatePickerFormat(m_dateFormatIndex)));
}

void ClockPanel::TntComboBox_Time_FormatChange() {
    m_timeFormatIndex = m_timeFormat->currentIndex();
    m_time->setDisplayFormat(pickerDisplayFormat(TimePickerFormat(m_timeFormatIndex)));
}

} // namespace trelvik::utilities
