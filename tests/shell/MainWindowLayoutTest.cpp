// SPDX-License-Identifier: MIT
// The window's controls by objectName: kind, caption, place and who sees them in each tool
// mode, and what binding the command table gives them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>

#include "WindowTool.h"
#include "shell/ui/MainWindow.h"

using namespace trelvik;
using trelvik::testing::WindowTool;

namespace {

enum Shown { kNeither = 0, kFull = 1, kSettings = 2, kBoth = 3 };

struct FixedCase {
    const char* name;
    const char* className;
    const char* caption; // text, title or first entry; nullptr: not checked
    QRect rect;          // in the parent's coordinates; empty: placed freely
    int shown;
};

const FixedCase kFixed[] = {
    {"TntCheckBox_Camera_Auto_Connect", "QCheckBox", "Camera Auto Connect", {24, 8, 177, 17}, kBoth},
    {"TntButton_Connect", "QPushButton", "Connect", {24, 34, 145, 25}, kBoth},
    {"TntButton_Load_Camera_Settings", "QPushButton", "Load Camera Settings", {200, 2, 209, 25}, kBoth},
    {"TntButton_Save_Camera_Settings", "QPushButton", "Save Camera Settings", {200, 34, 209, 25}, kBoth},
    {"TntButton_Reset_Settings", "QPushButton", "Reset Settings", {424, 34, 177, 25}, kBoth},
    {"TntButton_Export_Settings", "QPushButton", "&Export Settings…", {616, 34, 177, 25}, kFull},
    {"TntButton_Import_Settings", "QPushButton", "&Import Settings…", {808, 34, 177, 25}, kFull},
    {"TntLabel_Import_Progress", "QLabel", "", {616, 6, 369, 21}, kFull},
    {"TntComboBox_Language", "QComboBox", nullptr, {}, kSettings},
    {"TntPageControl1", "QTabWidget", "Date/Time", {}, kBoth},
    {"Panel_Pivot", "QLabel", "Panel_Pivot", {608, 408, 41, 57}, kNeither},
    {"TntGroupBox_Camera_Clock", "QGroupBox", "Camera Clock", {16, 8, 545, 169}, kBoth},
    {"TntLabel_Camera_Time", "QLabel", "Camera Time:", {}, kBoth},
    {"TntLabel_PC_Time", "QLabel", "PC Time:", {}, kBoth},
    {"TntLabel_Custom_Time", "QLabel", "Custom Time:", {}, kBoth},
    {"TntEditDSCTime", "QLineEdit", "", {}, kBoth},
    {"TntEditPCTime", "QLineEdit", "", {}, kBoth},
    {"DateTimePicker1", "QDateEdit", nullptr, {}, kBoth},
    {"DateTimePicker2", "QTimeEdit", nullptr, {}, kBoth},
    {"TntButtonSetPCTime", "QPushButton", "Assign PC Time to Camera", {}, kBoth},
    {"TntButtonSetCustomTime", "QPushButton", "Assign Custom Time to Camera", {}, kBoth},
    {"TntLabel_Date_Time_Format", "QLabel", "Date/Time Format:", {}, kBoth},
    {"TntComboBox_Date_Format", "QComboBox", nullptr, {}, kBoth},
    {"TntComboBox_Time_Format", "QComboBox", nullptr, {}, kBoth},
    {"Button_Date_Format_S_R", "QPushButton", "R", {}, kNeither},
    {"Button_Date_Format_S_W", "QPushButton", "W", {}, kNeither},
    {"Button_Time_Format_S_R", "QPushButton", "R", {}, kNeither},
    {"Button_Time_Format_S_W", "QPushButton", "W", {}, kNeither},
    {"TntButton_Card_Format", "QPushButton", "Card Format", {16, 192, 201, 25}, kBoth},
    {"TntButton_Change_To_PCCam", "QPushButton", "Change To PCCam", {248, 192, 177, 25}, kFull},
    {"TntGroupBox_DEBUG", "QGroupBox", "DEBUG_SETTING (0x00)", {16, 232, 481, 73}, kFull},
    {"TntGroupBox2", "QGroupBox", "Medium Information", {16, 312, 305, 169}, kNeither},
    {"TntListViewMedium", "QTreeWidget", nullptr, {}, kNeither},
    {"TntButtonGetMediumInfo", "QPushButton", "Get Medium Information", {}, kNeither},
    {"TntButtonFormatMedium", "QPushButton", "Format", {}, kNeither},
    {"TntGroupBox3", "QGroupBox", "", {328, 312, 169, 169}, kNeither},
    {"TntLabel4", "QLabel", "Firmware Version:", {}, kNeither},
    {"TntLabel5", "QLabel", "Model ID:", {}, kNeither},
    {"TntLabel6", "QLabel", "Make ID:", {}, kNeither},
    {"TntEditFirmwareVersion", "QLineEdit", "", {}, kNeither},
    {"TntEdit_Model_ID", "QLineEdit", "", {}, kNeither},
    {"TntEdit_Make_ID", "QLineEdit", "", {}, kNeither},
    {"TntButtonGetFirmwareVersion", "QPushButton", "Read", {}, kNeither},
    {"TntButton_GetModelID", "QPushButton", "Read", {}, kNeither},
    {"TntButton_GetMakeID", "QPushButton", "Read", {}, kNeither},
    {"TntGroupBox_Command_Read_Write", "QGroupBox", "Command Read/Write", {576, 16, 209, 97}, kFull},
    {"TntLabel7", "QLabel", "Command:", {}, kFull},
    {"TntLabel8", "QLabel", "Data:", {}, kFull},
    {"TntEditCommand", "QLineEdit", "", {}, kFull},
    {"TntEditData", "QLineEdit", "", {}, kFull},
    {"TntButtonCommandRead", "QPushButton", "Read", {}, kFull},
    {"TntButtonCommandWrite", "QPushButton", "Write", {}, kFull},
    {"TntGroupBox3A", "QGroupBox", "", {8, 0, 937, 657}, kFull},
    {"GroupBox5", "QGroupBox", "AVI/Audio", {456, 336, 473, 193}, kFull},
    {"GroupBox7", "QGroupBox", "PictBridge", {456, 544, 473, 89}, kFull},
    {"GroupBox8", "QGroupBox", "", {8, 0, 977, 657}, kFull},
    {"GroupBox9", "QGroupBox", "PIR", {8, 192, 465, 121}, kFull},
    {"GroupBox10", "QGroupBox", "Timelapse", {488, 16, 473, 121}, kFull},
    {"GroupBox11", "QGroupBox", "Target Recording Time", {8, 328, 465, 273}, kFull},
    {"GroupBox12", "QGroupBox", "Password", {488, 432, 473, 81}, kFull},
    {"GroupBox13", "QGroupBox", "Serial Number", {488, 520, 473, 81}, kFull},
    {"GroupBox14", "QGroupBox", "Coordinate", {488, 152, 473, 265}, kFull},
};

// One setting row as the layout lists it: 'L' list, 'T' track bar, 'E' edit field.
struct RowCase {
    const char* name;
    char kind;
    const char* caption; // empty: the row has no caption label
    const char* group;
    bool settingsPage;
};

const RowCase kRows[] = {
    {"DEBUG_SETTING", 'L', "", "TntGroupBox_DEBUG", false},
    {"RESOLUTION_MODE", 'L', "RESOLUTION_MODE (0x01)", "TntGroupBox3A", false},
    {"AVI_RESOLUTION", 'L', "AVI_RESOLUTION (0x02)", "GroupBox5", false},
    {"POW_MODE", 'L', "POW_MODE (0x03)", "TntGroupBox3A", false},
    {"BEEP_MODE", 'L', "BEEP_MODE (0x04)", "TntGroupBox3A", false},
    {"TV_MODE", 'L', "TV_MODE (0x05)", "TntGroupBox3A", false},
    {"LANGUAGE_MODE", 'L', "LANGUAGE_MODE (0x06)", "TntGroupBox3A", false},
    {"FREQ_MODE", 'L', "FREQ_MODE (0x07)", "TntGroupBox3A", false},
    {"PANEL_BRIGHTNESS_MODE", 'L', "PANEL_BRIGHTNESS_MODE (0x08)", "TntGroupBox3A", false},
    {"LCD_MODE", 'L', "LCD_MODE (0x09)", "TntGroupBox3A", false},
    {"PANEL_SELECT", 'L', "PANEL_SELECT (0x0A)", "TntGroupBox3A", false},
    {"FLASH_MODE", 'L', "FLASH_MODE (0x0B)", "TntGroupBox3A", false},
    {"QUALITY_MODE", 'L', "QUALITY_MODE (0x0C)", "TntGroupBox3A", false},
    {"CAPTURE_MODE", 'L', "CAPTURE_MODE (0x0D)", "TntGroupBox3A", false},
    {"WB_MODE", 'L', "WB_MODE (0x0E)", "TntGroupBox3A", false},
    {"EV_MODE", 'L', "EV_MODE (0x0F)", "TntGroupBox3A", false},
    {"DATE_STAMP_MODE", 'L', "DATE_STAMP_MODE (0x10)", "TntGroupBox3A", false},
    {"CONTINUOUS_MODE", 'L', "CONTINUOUS_MODE (0x11)", "TntGroupBox3A", false},
    {"FD_MODE", 'L', "FD_MODE (0x12)", "TntGroupBox3A", false},
    {"SCENE_MODE", 'L', "SCENE_MODE (0x13)", "TntGroupBox3A", false},
    {"ISO_MODE", 'L', "ISO_MODE (0x14)", "TntGroupBox3A", false},
    {"SHARP_MODE", 'L', "SHARP_MODE (0x15)", "TntGroupBox3A", false},
    {"AVI_AUDIO_MODE", 'L', "AVI_AUDIO_MODE (0x16)", "GroupBox5", false},
    {"AVI_FRAME_MODE", 'L', "AVI_FRAME_MODE (0x17)", "GroupBox5", false},
    {"AVI_DATE_STAMP_MODE", 'L', "AVI_DATE_STAMP_MODE (0x18)", "GroupBox5", false},
    {"AUDIO_TYPE", 'L', "AUDIO_TYPE (0x19)", "GroupBox5", false},
    {"AUDIO_SAMPLE_MODE", 'L', "AUDIO_SAMPLE_MODE (0x1A)", "GroupBox5", false},
    {"ANTI_SHAKE", 'L', "ANTI_SHAKE (0x1B)", "TntGroupBox3A", false},
    {"SATURATION_MODE", 'L', "SATURATION_MODE (0x1C)", "TntGroupBox3A", false},
    {"PAPER_SIZE_INDEX", 'L', "PAPER_SIZE_INDEX (0x1D)", "GroupBox7", false},
    {"PRINT_DATE_STAMP_MODE", 'L', "PRINT_DATE_STAMP_MODE (0x1E)", "GroupBox7", false},
    {"SYS_MODE", 'L', "SYS_MODE (0x1F)", "TntGroupBox3A", false},
    {"FUN_MODE", 'L', "FUN_MODE (0x20)", "TntGroupBox3A", false},
    {"USB_MODE", 'L', "USB_MODE (0x21)", "TntGroupBox3A", false},
    {"AVI_PLB_SHOW_MODE", 'L', "AVI_PLB_SHOW_MODE (0x22)", "TntGroupBox3A", false},
    {"AUDIO_PLB_VOLUME", 'T', "AUDIO_PLB_VOLUME (0x23)", "TntGroupBox3A", false},
    {"LONG_EXPOSURE_MODE", 'L', "LONG_EXPOSURE_MODE (0x27)", "TntGroupBox3A", false},
    {"MACRO_MODE", 'L', "MACRO_MODE (0x28)", "TntGroupBox3A", false},
    {"COLOR_MODE", 'L', "COLOR_MODE (0x29)", "TntGroupBox3A", false},
    {"METERING_MODE", 'L', "METERING_MODE(0x2A)", "TntGroupBox3A", false},
    {"SMILE", 'L', "SMILE (0x2B)", "TntGroupBox3A", false},
    {"MOTION_KEY", 'L', "MOTION_KEY (0x2C)", "TntGroupBox3A", false},
    {"INTERNAL_RAM_QUALITY_MODE", 'L', "INTERNAL_RAM_QUALITY_MODE (0x2D)", "TntGroupBox3A", false},
    {"INTERNAL_RAM_RESOLUTION_MODE", 'L', "INTERNAL_RAM_RESOLUTION_MODE (0x2E)", "TntGroupBox3A", false},
    {"AF_MODE", 'L', "AF_MODE (0x2F)", "TntGroupBox3A", false},
    {"WDR_MODE", 'L', "WDR_MODE (0x30)", "TntGroupBox3A", false},
    {"TIME_FORMAT", 'L', "TIME_FORMAT (0x31)", "TntGroupBox3A", false},
    {"DATE_FORMAT", 'L', "DATE_FORMAT (0x32)", "TntGroupBox3A", false},
    {"TIMELAPSE_VIDEO_RESOLUTION", 'L', "TIMELAPSE_VIDEO_RESOLUTION (0x33)", "GroupBox10", false},
    {"TIMELAPSE_ENABLE", 'L', "TIMELAPSE_ENABLE (0x34)", "GroupBox10", false},
    {"HC_DOWN_COUNT", 'T', "TIMELAPSE_DOWN_COUNT (0x35-0x37)", "GroupBox10", false},
    {"CONTINUOUS_CAPTURE_COUNT", 'T', "CONTINUOUS_CAPTURE_COUNT (0x38)", "GroupBox8", false},
    {"AVI_RECORD_TIME", 'T', "AVI_RECORD_TIME (0x39)", "GroupBox8", false},
    {"IR_BRIGHTNESS", 'L', "IR_BRIGHTNESS (0x3A)", "GroupBox8", false},
    {"BATTERY_WARNING", 'L', "BATTERY_WARNING (0x3B)", "GroupBox8", false},
    {"PIR_CENTER_ENABLE", 'L', "PIR_CENTER_ENABLE (0x3C)", "GroupBox9", false},
    {"PIR_SIDE_ENABLE", 'L', "PIR_SIDE_ENABLE (0x3D)", "GroupBox9", false},
    {"PIR_SENSITIVITY", 'L', "PIR_SENSITIVITY (0x3E)", "GroupBox9", false},
    {"TIMELAPSEAVI_MODE", 'L', "TIMELAPSE_VIDEO_MODE (0x3F)", "GroupBox10", false},
    {"ENDLESS_CAPTURE_MODE", 'L', "ENDLESS_CAPTURE_MODE (0x40)", "GroupBox8", false},
    {"MONITORON_MODE", 'L', "MONITORON_MODE (0x41)", "GroupBox8", false},
    {"HC_PIR_INTERVAL", 'T', "PIR_INTERVAL (0x42-0x43)", "GroupBox9", false},
    {"TIMER1_ENABLE", 'L', "TIMER1_ENABLE (0x44)", "GroupBox11", false},
    {"TIMER1_START_HOUR", 'T', "TIMER1_START_HOUR (0x45)", "GroupBox11", false},
    {"TIMER1_START_MINUTE", 'T', "TIMER1_START_MINUTE (0x46)", "GroupBox11", false},
    {"TIMER1_STOP_HOUR", 'T', "TIMER1_STOP_HOUR (0x47)", "GroupBox11", false},
    {"TIMER1_STOP_MINUTE", 'T', "TIMER1_STOP_MINUTE (0x48)", "GroupBox11", false},
    {"TIMER2_ENABLE", 'L', "TIMER2_ENABLE (0x49)", "GroupBox11", false},
    {"TIMER2_START_HOUR", 'T', "TIMER2_START_HOUR (0x4A)", "GroupBox11", false},
    {"TIMER2_START_MINUTE", 'T', "TIMER2_START_MINUTE (0x4B)", "GroupBox11", false},
    {"TIMER2_STOP_HOUR", 'T', "TIMER2_STOP_HOUR (0x4C)", "GroupBox11", false},
    {"TIMER2_STOP_MINUTE", 'T', "TIMER2_STOP_MINUTE (0x4D)", "GroupBox11", false},
    {"PASSWORD_ENABLE", 'L', "PASSWORD_ENABLE (0x4E)", "GroupBox12", false},
    {"PASSWORD", 'E', "PASSWORD (0x4F-0x52)", "GroupBox12", false},
    {"SERIAL_NUMBER_ENABLE", 'L', "SERIAL_NUMBER_ENABLE (0x53)", "GroupBox13", false},
    {"SERIAL_NUMBER", 'E', "SERIAL_NUMBER (0x54-0x5D)", "GroupBox13", false},
    {"COORDINATE_ENABLE", 'L', "COORDINATE_ENABLE (0x5E)", "GroupBox14", false},
    {"LATITUDE", 'T', "LATITUDE (0x5F)", "GroupBox14", false},
    {"LATITUDE_DEGREE", 'T', "LATITUDE_DEGREE (0x60)", "GroupBox14", false},
    {"LATITUDE_MINUTE", 'T', "LATITUDE_MINUTE (0x61)", "GroupBox14", false},
    {"LATITUDE_SECOND", 'T', "LATITUDE_SECOND (0x62)", "GroupBox14", false},
    {"LONGITUDE", 'T', "LONGITUDE (0x63)", "GroupBox14", false},
    {"LONGITUDE_DEGREE", 'T', "LONGITUDE_DEGREE (0x64)", "GroupBox14", false},
    {"LONGITUDE_MINUTE", 'T', "LONGITUDE_MINUTE (0x65)", "GroupBox14", false},
    {"LONGITUDE_SECOND", 'T', "LONGITUDE_SECOND (0x66)", "GroupBox14", false},
    {"AVI_OVERLAPPED_BLOCKS", 'L', "AVI_OVERLAPPED_BLOCKS (0x67)", "GroupBox5", false},
    {"PHOTO_RECOVERY_INTERVAL", 'T', "PHOTO_RECOVERY_INTERVAL (0x68)", "GroupBox8", false},
    {"MONITORON_MODE_S", 'L', "CFG_MONITORON_MODE (0x41)", "TabSheet_Settings", true},
    {"CONTINUOUS_CAPTURE_COUNT_S", 'T', "CFG_CONTINUOUS_CAPTURE_COUNT", "TabSheet_Settings", true},
    {"PHOTO_RECOVERY_INTERVAL_S", 'T', "CFG_PHOTO_RECOVERY_INTERVAL", "TabSheet_Settings", true},
    {"AVI_RECORD_TIME_S", 'T', "CFG_AVI_RECORD_TIME", "TabSheet_Settings", true},
    {"HC_PIR_INTERVAL_S", 'T', "CFG_HC_PIR_INTERVAL", "TabSheet_Settings", true},
    {"ENDLESS_CAPTURE_MODE_S", 'L', "CFG_ENDLESS_CAPTURE_MODE", "TabSheet_Settings", true},
    {"PRINT_DATE_STAMP_MODE_S", 'L', "CFG_PRINT_DATE_STAMP_MODE", "TabSheet_Settings", true},
    {"TIMER1_START_HOUR_S", 'T', "TIMER1_START_HOUR (0x45)", "TabSheet_Settings", true},
    {"TIMER1_START_MINUTE_S", 'T', "TIMER1_START_MINUTE (0x46)", "TabSheet_Settings", true},
    {"TIMER1_STOP_HOUR_S", 'T', "TIMER1_STOP_HOUR (0x47)", "TabSheet_Settings", true},
    {"TIMER1_STOP_MINUTE_S", 'T', "TIMER1_STOP_MINUTE (0x48)", "TabSheet_Settings", true},
};

QString text(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
    if (auto* pages = qobject_cast<const QTabWidget*>(widget)) return pages->tabText(0);
    return {};
}

// Whether the user can see the control in the started tool: nothing on its way up is hidden
// and its page's tab is there.
bool seen(shell::TForm1& form, const QWidget* widget) {
    auto* pages = form.findChild<QTabWidget*>("TntPageControl1");
    for (int i = 0; i < pages->count(); ++i) {
        QWidget* page = pages->widget(i);
        if (page == widget || page->isAncestorOf(widget))
            return pages->isTabVisible(i) && (page == widget || widget->isVisibleTo(page));
    }
    return widget->isVisibleTo(&form);
}

class WindowLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        full = new WindowTool;
        ASSERT_TRUE(full->startWith({"mass_cmd.ini"}));
        settings = new WindowTool;
        ASSERT_TRUE(settings->startWith({"Camera_Setting.ini", "Camera_Setting_UNICODE_msg.ini"}));
    }
    static void TearDownTestSuite() {
        delete full;
        delete settings;
    }
    static inline WindowTool* full = nullptr;
    static inline WindowTool* settings = nullptr;
};

TEST_F(WindowLayout, EveryFixedControlHasItsKindCaptionPlaceAndVisibility) {
    for (const FixedCase& c : kFixed) {
        SCOPED_TRACE(c.name);
        auto* widget = full->find<QWidget>(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), c.className);
        if (c.caption) EXPECT_EQ(text(widget), QString::fromUtf8(c.caption));
        if (!c.rect.isEmpty()) EXPECT_EQ(widget->geometry(), c.rect);
        EXPECT_EQ(seen(full->form, widget), (c.shown & kFull) != 0);
        EXPECT_EQ(seen(settings->form, settings->find<QWidget>(c.name)), (c.shown & kSettings) != 0);
    }
}

TEST_F(WindowLayout, EverySettingRowHasItsControlsInItsGroup) {
    for (const RowCase& row : kRows) {
        SCOPED_TRACE(row.name);
        const QString name = row.name;
        const bool debugRow = name == "DEBUG_SETTING";
        WindowTool* own = row.settingsPage ? settings : full; // the tool that shows the row
        auto* group = own->find<QWidget>(row.group);
        ASSERT_NE(group, nullptr);
        struct Part {
            QString objectName;
            const char* className;
            QString text;
            bool shown; // on a visible page of the row's tool mode
        };
        std::vector<Part> parts = {
            {"Button_CFG_" + name + "_R", "QPushButton", "R", debugRow},
            {"Button_CFG_" + name + "_W", "QPushButton", "W", debugRow},
        };
        // The settings tool words its page from the message file; the layout's words show in the full tool.
        const auto layoutText = [&](const QString& text) { return row.settingsPage ? QString() : text; };
        if (!debugRow) parts.push_back({"TntLabel_CFG_" + name, "QLabel", layoutText(row.caption), true});
        if (row.kind == 'L') parts.push_back({"TntComboBox_CFG_" + name, "QComboBox", {}, true});
        if (row.kind == 'T') {
            parts.push_back({"TrackBar_CFG_" + name, "QSlider", {}, true});
            parts.push_back({"TntLabel_VAL_CFG_" + name, "QLabel", layoutText("0"), true});
        }
        if (row.kind == 'E') parts.push_back({"Edit_CFG_" + name, "QLineEdit", "", true});
        for (const Part& part : parts) {
            SCOPED_TRACE(part.objectName.toStdString());
            auto* widget = own->form.findChild<QWidget*>(part.objectName);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->parentWidget(), group);
            EXPECT_STREQ(widget->metaObject()->className(), part.className);
            if (!part.text.isNull()) EXPECT_EQ(text(widget), part.text);
            // A page not shown yet has no size of its own: it gets the page control's area.
            const QRect area = group->parentWidget()->inherits("QStackedWidget")
                                   ? group->parentWidget()->rect()
                                   : group->rect();
            EXPECT_TRUE(area.contains(widget->geometry())) << area.width() << "x" << area.height();
            EXPECT_EQ(seen(full->form, widget), part.shown && !row.settingsPage);
            EXPECT_EQ(seen(settings->form, settings->form.findChild<QWidget*>(part.objectName)),
                      part.shown && row.settingsPage);
            // A caption is never cut. The Settings page's design captions are the exception:
            // their columns are the page's own, and the message file's words replace them.
            if (qobject_cast<QLabel*>(widget) && part.shown && !row.settingsPage)
                EXPECT_LE(widget->sizeHint().width(), widget->width());
        }
    }
}

TEST_F(WindowLayout, SettingsPageRowsFollowTheirColumnsEvery24Pixels) {
    int index = 0;
    for (const RowCase& row : kRows) {
        if (!row.settingsPage) continue;
        SCOPED_TRACE(row.name);
        const QString name = row.name;
        const int y = settings->find<QWidget>("TntLabel_CFG_" + name)->y();
        EXPECT_EQ(y, 8 + 24 * index++);
        const struct {
            QString objectName;
            int x;
        } columns[] = {
            {"TntLabel_CFG_" + name, 16},
            {row.kind == 'L' ? "TntComboBox_CFG_" + name : "TrackBar_CFG_" + name,
             row.kind == 'L' ? 216 : 208},
            {"Button_CFG_" + name + "_R", 408},
            {"Button_CFG_" + name + "_W", 425},
        };
        for (const auto& column : columns) {
            const QWidget* widget = settings->form.findChild<QWidget*>(column.objectName);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->pos(), QPoint(column.x, y)) << column.objectName.toStdString();
        }
        if (row.kind == 'L') EXPECT_EQ(settings->find<QWidget>("TntComboBox_CFG_" + name)->width(), 177);
        if (row.kind == 'T') {
            const int x = settings->find<QWidget>("TntLabel_VAL_CFG_" + name)->x();
            EXPECT_TRUE(x >= 368 && x <= 375) << x;
        }
    }
}

// Within every group and page, no two controls a user sees cover each other.
TEST_F(WindowLayout, VisibleControlsDoNotOverlapTheirNeighbours) {
    for (WindowTool* tool : {full, settings}) {
        for (auto* container : tool->form.findChildren<QWidget*>()) {
            const bool holder = qobject_cast<QGroupBox*>(container) ||
                                container->objectName().startsWith("Tab") ||
                                container->objectName() == "TntTabSheet_DateTime";
            if (!holder) continue;
            QList<QWidget*> shown;
            for (auto* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (child->isVisibleTo(container) && !child->isWindow()) shown.push_back(child);
            for (int i = 0; i < shown.size(); ++i)
                for (int j = i + 1; j < shown.size(); ++j)
                    EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                        << shown[i]->objectName().toStdString() << " / "
                        << shown[j]->objectName().toStdString();
        }
    }
}

TEST_F(WindowLayout, TheSettingsToolShrinksAroundThePivotPanel) {
    const struct {
        WindowTool* tool;
        QSize client, pages;
        QPoint language;
    } cases[] = {
        {full, {1060, 799}, {1017, 705}, {544, 8}},
        {settings, {649, 465}, {584, 336}, {24, 418}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.tool->form.centralWidget()->size(), c.client);
        EXPECT_EQ(c.tool->form.minimumSize(), c.tool->form.maximumSize()); // fixed size
        EXPECT_FALSE(c.tool->form.windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_EQ(c.tool->find<QWidget>("TntPageControl1")->size(), c.pages);
        EXPECT_EQ(c.tool->find<QWidget>("TntComboBox_Language")->pos(), c.language);
        EXPECT_EQ(c.tool->find<QTabWidget>("TntPageControl1")->currentIndex(), 0);
    }
}

// Sampled from the painted window: every colour is a flat fill of exactly its RGB.
TEST_F(WindowLayout, GroupsAndFieldsArePaintedInTheirColours) {
    const struct {
        const char* name;
        QRgb rgb;
    } cases[] = {
        {"TntGroupBox3A", 0xFFC0C0},
        {"GroupBox5", 0xA6CAF0},
        {"GroupBox7", 0xC0DCC0},
        {"GroupBox8", 0xFFC3F4},
        {"GroupBox9", 0xFFC983},
        {"GroupBox10", 0xBEBEFF},
        {"GroupBox11", 0xFFFFC0},
        {"GroupBox12", 0xC0FFFF},
        {"GroupBox13", 0xF6DAB2},
        {"GroupBox14", 0xFFC0C0},
        {"Panel_Pivot", 0xFFFFFF},
        {"Edit_CFG_PASSWORD", 0xFFFFE0},
        {"Edit_CFG_SERIAL_NUMBER", 0xFFFFE0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = full->find<QWidget>(c.name)->grab().toImage();
        // Near the lower right corner, clear of the frame and of the rows.
        const QPoint at(image.width() - 8, image.height() - 5);
        EXPECT_EQ(image.pixel(at) & 0xFFFFFF, c.rgb) << std::hex << image.pixel(at);
    }
}

TEST_F(WindowLayout, TrackBarsAndListsBeforeBindingAndTheTimer) {
    shell::TForm1 form;
    for (auto* track : form.findChildren<QSlider*>()) {
        SCOPED_TRACE(track->objectName().toStdString());
        EXPECT_EQ(track->orientation(), Qt::Horizontal);
        EXPECT_EQ(std::make_pair(track->minimum(), track->maximum()), std::make_pair(0, 255));
        EXPECT_EQ(track->value(), 0);
        EXPECT_EQ(track->singleStep(), 1);
        EXPECT_EQ(track->tickPosition(), QSlider::NoTicks);
    }
    for (auto* list : form.findChildren<QComboBox*>())
        if (list->objectName().startsWith("TntComboBox_CFG_")) EXPECT_EQ(list->count(), 0);
    auto* timer = form.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(form.findChild<QComboBox*>("TntComboBox_Time_Format")->currentIndex(), 0);
    EXPECT_EQ(form.findChild<QComboBox*>("TntComboBox_Date_Format")->currentIndex(), -1);
    EXPECT_EQ(form.findChild<QComboBox*>("TntComboBox_Language")->count(), 5);
    EXPECT_EQ(form.findChild<QLineEdit*>("Edit_CFG_PASSWORD")->maxLength(), 4);
    EXPECT_EQ(form.findChild<QLineEdit*>("Edit_CFG_SERIAL_NUMBER")->maxLength(), 10);
}

TEST(PickerFormat, PictureStringsBecomeQtDisplayFormats) {
    const std::pair<const char*, const char*> cases[] = {
        {"dd/MM/yyyy", "dd/MM/yyyy"},
        {"MM/dd/yyyy", "MM/dd/yyyy"},
        {"HH:mm:ss", "HH:mm:ss"},
        {"tt hh:mm:ss", "AP hh:mm:ss"},
    };
    for (const auto& [picture, format] : cases)
        EXPECT_EQ(shell::TForm1::pickerDisplayFormat(picture), format) << picture;
}

// A command file that lacks codes: one box per control bound to one, in binding order, and
// those controls keep what they had.
TEST(WindowBinding, MissingCodesAreReportedOncePerControl) {
    WindowTool tool;
    ASSERT_TRUE(tool.startWith({"mass_cmd.ini"}, [](std::string& file) {
        // Moved out of reach rather than removed: a gap in the sections would end the table.
        file.replace(file.find("cmd=0x05"), 8, "cmd=0x7E");
        file.replace(file.find("cmd=0x38"), 8, "cmd=0x7F");
    }));
    EXPECT_EQ(tool.presenter.texts(),
              (std::vector<std::u16string>{u"MassCmd_CmdIdToCmdIndex(), cmd_code=5 can not found!",
                                           u"MassCmd_CmdIdToCmdIndex(), cmd_code=56 can not found!"}));
    EXPECT_EQ(tool.find<QComboBox>("TntComboBox_CFG_TV_MODE")->count(), 0);
    auto* count = tool.find<QSlider>("TrackBar_CFG_CONTINUOUS_CAPTURE_COUNT");
    EXPECT_EQ(std::make_pair(count->minimum(), count->maximum()), std::make_pair(0, 255));
    auto* down = tool.find<QSlider>("TrackBar_CFG_HC_DOWN_COUNT");
    EXPECT_EQ(std::make_pair(down->minimum(), down->maximum()), std::make_pair(0, 65535));
    auto* resolution = tool.find<QComboBox>("TntComboBox_CFG_RESOLUTION_MODE");
    ASSERT_EQ(resolution->count(), 4);
    EXPECT_EQ(resolution->itemText(3), "12M 4000x3000");
    EXPECT_EQ(resolution->currentIndex(), -1);
    EXPECT_EQ(tool.find<QSlider>("TrackBar_CFG_AVI_RECORD_TIME")->minimum(), 5);
}

TEST(WindowBinding, SettingsToolReportsAMissingCodeInTheUsersLanguage) {
    WindowTool tool;
    ASSERT_TRUE(
        tool.startWith({"Camera_Setting.ini", "Camera_Setting_UNICODE_msg.ini"},
                       [](std::string& file) { file.replace(file.find("cmd=0x41"), 8, "cmd=0x7E"); }));
    // Once by the binding, once more by the captions, which look the code up again.
    ASSERT_EQ(tool.presenter.count(), 2u);
    EXPECT_EQ(tool.presenter.requests()[0].text, tool.presenter.last().text);
    EXPECT_EQ(tool.presenter.last().text,
              tool.reporter.buildMsgText(282, std::vector<i18n::MsgArg>{i18n::MsgArg(0x41)}));
    EXPECT_EQ(tool.find<QComboBox>("TntComboBox_CFG_MONITORON_MODE_S")->count(), 0);
    EXPECT_EQ(tool.find<QComboBox>("TntComboBox_Date_Format")->count(), 3);
    EXPECT_EQ(tool.find<QComboBox>("TntComboBox_Time_Format")->itemText(1), "12 Std."); // a German system
    EXPECT_EQ(tool.find<QSlider>("TrackBar_CFG_HC_PIR_INTERVAL_S")->maximum(), 119);
}

} // namespace
