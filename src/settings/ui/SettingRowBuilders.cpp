// SPDX-License-Identifier: MIT
#include "settings/ui/SettingRowBuilders.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <algorithm>

#include "settings/SettingHandlers.h"

namespace trelvik::settings {

namespace {

// Offsets of a row's controls from its left edge. The Settings page keeps the narrow columns
// end users have always had; the register pages give room to captions with their codes.
struct RowColumns {
    int labelWidth;
    int valueX;
    int comboWidth;
    int trackX;
    int trackWidth;
    int valueLabelX;
    int valueLabelWidth;
    int readX;
    int writeX;
};
// A value label runs over the place of the hidden R and W buttons, so that "127 min" fits.
constexpr RowColumns kSettingsPageColumns = {192, 200, 177, 192, 152, 352, 56, 392, 409};
constexpr RowColumns kRegisterColumns = {252, 256, 144, 256, 112, 372, 48, 404, 422};
constexpr int kRowHeight = 21;
constexpr int kButtonWidth = 17;
constexpr int kTrackBarPlaceholderMax = 255;
const QColor kEditBackground(0xFF, 0xFF, 0xE0);

const RowColumns& columnsOf(const SettingRow& row) {
    return row.page == Page::Settings ? kSettingsPageColumns : kRegisterColumns;
}

QString qName(const std::string& name) {
    return QString::fromStdString(name);
}

template <typename W> W* place(QWidget& group, const std::string& name, int x, int y, int width) {
    auto* widget = new W(&group);
    widget->setObjectName(qName(name));
    widget->setGeometry(x, y, width, kRowHeight);
    return widget;
}

void addCaptionAndButtons(QWidget& group, const SettingRow& row) {
    const RowColumns& columns = columnsOf(row);
    if (!(row.flags & kNoCaption)) {
        auto* caption = place<QLabel>(group, captionLabelName(row), row.x, row.y, columns.labelWidth);
        caption->setText(QString::fromUtf8(row.caption.data(), static_cast<qsizetype>(row.caption.size())));
    }
    const bool shown = row.flags & kButtonsShown;
    // The debug setting's buttons are the console's own and are sized to be clicked.
    const int width = shown ? 41 : kButtonWidth;
    const int readX = shown ? row.x + columns.comboWidth + 8 : row.x + columns.readX;
    const std::pair<std::string, const char*> buttons[] = {{readButtonName(row), "R"},
                                                           {writeButtonName(row), "W"}};
    int x = readX;
    for (const auto& [name, text] : buttons) {
        auto* button = place<QPushButton>(group, name, x, shown ? row.y - 2 : row.y, width);
        if (shown) button->resize(width, 25);
        button->setText(text);
        button->setVisible(shown);
        x += shown ? width + 8 : kButtonWidth;
    }
}

void buildComboRow(QWidget& group, const SettingRow& row) {
    const RowColumns& columns = columnsOf(row);
    // A row without caption starts with its list.
    const int x = (row.flags & kNoCaption) ? row.x : row.x + columns.valueX;
    place<QComboBox>(group, valueControlName(row), x, row.y, columns.comboWidth);
}

void buildTrackBarRow(QWidget& group, const SettingRow& row) {
    const RowColumns& columns = columnsOf(row);
    auto* track =
        place<QSlider>(group, valueControlName(row), row.x + columns.trackX, row.y, columns.trackWidth);
    track->setOrientation(Qt::Horizontal);
    track->setRange(0, kTrackBarPlaceholderMax);
    track->setValue(0);
    track->setSingleStep(1);
    track->setPageStep(1);
    track->setTickInterval(1);
    track->setTickPosition(QSlider::NoTicks);
    auto* value = place<QLabel>(group, valueLabelName(row), row.x + columns.valueLabelX, row.y,
                                columns.valueLabelWidth);
    // The Settings page's unit words come from the message file, up to kMaxUnitWordLength
    // characters each; the page has room for the longest beside the largest amount.
    if (row.page == Page::Settings)
        value->setFixedWidth(std::max(
            columns.valueLabelWidth,
            value->fontMetrics().horizontalAdvance(
                QStringLiteral("8888 ") + QString(static_cast<qsizetype>(kMaxUnitWordLength), u'W'))));
    // Like every label here, the value shows its group's colour through.
    value->setText("0");
}

void buildEditRow(QWidget& group, const SettingRow& row) {
    const RowColumns& columns = columnsOf(row);
    auto* edit =
        place<QLineEdit>(group, valueControlName(row), row.x + columns.valueX, row.y, columns.comboWidth);
    // One character per register.
    edit->setMaxLength(row.width);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, kEditBackground);
    edit->setPalette(palette);
}

using RowBuilder = void (*)(QWidget&, const SettingRow&);
// Indexed by ValueControl.
constexpr RowBuilder kBuilders[] = {buildComboRow, buildTrackBarRow, buildEditRow};

} // namespace

void buildSettingRow(QWidget& group, const SettingRow& row) {
    addCaptionAndButtons(group, row);
    kBuilders[static_cast<int>(valueControlOf(row.kind))](group, row);
}

} // namespace trelvik::settings
