// SPDX-License-Identifier: MIT
// The window's controls by objectName: kind, caption and who sees them in each tool mode, the
// rules its layout keeps (rows in their groups and columns, nothing covering anything, captions
// never cut, the settings tool's window around its pivot panel), and what binding the command
// table gives them. Places and sizes are the window's own tables' (MainWindow.cpp's fixed
// controls, settings::settingRows()): they are not written again here.
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
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "WindowTool.h"
#include "settings/SettingRows.h"
#include "shell/ui/MainWindow.h"

using namespace trelvik;
using trelvik::testing::WindowTool;

namespace {

enum Shown { kNeither = 0, kFull = 1, kSettings = 2, kBoth = 3 };

struct FixedCase {
    const char* name;
    const char* className;
    const char* caption; // text, title or first entry; nullptr: not checked
    int shown;
};

const FixedCase kFixed[] = {
    {"TntCheckBox_Camera_Auto_Connect", "QCheckBox", "Camera Auto Connect", kBoth},
    {"TntButton_Connect", "QPushButton", "Connect", kBoth},
    {"TntButton_Load_Camera_Settings", "QPushButton", "Load Camera Settings", kBoth},
    {"TntButton_Save_Camera_Settings", "QPushButton", "Save Camera Settings", kBoth},
    {"TntButton_Reset_Settings", "QPushButton", "Reset Settings", kBoth},
    {"TntButton_Export_Settings", "QPushButton", "&Export Settings…", kFull},
    {"TntButton_Import_Settings", "QPushButton", "&Import Settings…", kFull},
    {"TntLabel_Import_Progress", "QLabel", "", kFull},
    {"TntComboBox_Language", "QComboBox", nullptr, kSettings},
    {"TntPageControl1", "QTabWidget", "Date/Time", kBoth},
    {"Panel_Pivot", "QLabel", "Panel_Pivot", kNeither},
    {"TntGroupBox_Camera_Clock", "QGroupBox", "Camera Clock", kBoth},
    {"TntLabel_Camera_Time", "QLabel", "Camera Time:", kBoth},
    {"TntLabel_PC_Time", "QLabel", "PC Time:", kBoth},
    {"TntLabel_Custom_Time", "QLabel", "Custom Time:", kBoth},
    {"TntEditDSCTime", "QLineEdit", "", kBoth},
    {"TntEditPCTime", "QLineEdit", "", kBoth},
    {"DateTimePicker1", "QDateEdit", nullptr, kBoth},
    {"DateTimePicker2", "QTimeEdit", nullptr, kBoth},
    {"TntButtonSetPCTime", "QPushButton", "Assign PC Time to Camera", kBoth},
    {"TntButtonSetCustomTime", "QPushButton", "Assign Custom Time to Camera", kBoth},
    {"TntLabel_Date_Time_Format", "QLabel", "Date/Time Format:", kBoth},
    {"TntComboBox_Date_Format", "QComboBox", nullptr, kBoth},
    {"TntComboBox_Time_Format", "QComboBox", nullptr, kBoth},
    {"Button_Date_Format_S_R", "QPushButton", "R", kNeither},
    {"Button_Date_Format_S_W", "QPushButton", "W", kNeither},
    {"Button_Time_Format_S_R", "QPushButton", "R", kNeither},
    {"Button_Time_Format_S_W", "QPushButton", "W", kNeither},
    {"TntButton_Card_Format", "QPushButton", "Card Format", kBoth},
    {"TntButton_Change_To_PCCam", "QPushButton", "Change To PCCam", kFull},
    {"TntGroupBox_DEBUG", "QGroupBox", "DEBUG_SETTING (0x00)", kFull},
    {"TntGroupBox2", "QGroupBox", "Medium Information", kNeither},
    {"TntListViewMedium", "QTreeWidget", nullptr, kNeither},
    {"TntButtonGetMediumInfo", "QPushButton", "Get Medium Information", kNeither},
    {"TntButtonFormatMedium", "QPushButton", "Format", kNeither},
    {"TntGroupBox3", "QGroupBox", "", kNeither},
    {"TntLabel4", "QLabel", "Firmware Version:", kNeither},
    {"TntLabel5", "QLabel", "Model ID:", kNeither},
    {"TntLabel6", "QLabel", "Make ID:", kNeither},
    {"TntEditFirmwareVersion", "QLineEdit", "", kNeither},
    {"TntEdit_Model_ID", "QLineEdit", "", kNeither},
    {"TntEdit_Make_ID", "QLineEdit", "", kNeither},
    {"TntButtonGetFirmwareVersion", "QPushButton", "Read", kNeither},
    {"TntButton_GetModelID", "QPushButton", "Read", kNeither},
    {"TntButton_GetMakeID", "QPushButton", "Read", kNeither},
    {"TntGroupBox_Command_Read_Write", "QGroupBox", "Command Read/Write", kFull},
    {"TntLabel7", "QLabel", "Command:", kFull},
    {"TntLabel8", "QLabel", "Data:", kFull},
    {"TntEditCommand", "QLineEdit", "", kFull},
    {"TntEditData", "QLineEdit", "", kFull},
    {"TntButtonCommandRead", "QPushButton", "Read", kFull},
    {"TntButtonCommandWrite", "QPushButton", "Write", kFull},
    {"TntGroupBox3A", "QGroupBox", "", kFull},
    {"GroupBox5", "QGroupBox", "AVI/Audio", kFull},
    {"GroupBox7", "QGroupBox", "PictBridge", kFull},
    {"GroupBox8", "QGroupBox", "", kFull},
    {"GroupBox9", "QGroupBox", "PIR", kFull},
    {"GroupBox10", "QGroupBox", "Timelapse", kFull},
    {"GroupBox11", "QGroupBox", "Target Recording Time", kFull},
    {"GroupBox12", "QGroupBox", "Password", kFull},
    {"GroupBox13", "QGroupBox", "Serial Number", kFull},
    {"GroupBox14", "QGroupBox", "Coordinate", kFull},
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

TEST_F(WindowLayout, EveryFixedControlHasItsKindCaptionAndVisibility) {
    for (const FixedCase& c : kFixed) {
        SCOPED_TRACE(c.name);
        auto* widget = full->find<QWidget>(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), c.className);
        if (c.caption) EXPECT_EQ(text(widget), QString::fromUtf8(c.caption));
        EXPECT_EQ(seen(full->form, widget), (c.shown & kFull) != 0);
        EXPECT_EQ(seen(settings->form, settings->find<QWidget>(c.name)), (c.shown & kSettings) != 0);
    }
}

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A setting row's controls by the naming rule: the caption label, the value control (with its
// value label for a track bar), the R and W buttons; "_S" follows the name on the Settings page.
struct RowPart {
    QString objectName;
    const char* className;
    QString text; // null: not checked
    bool shown;   // on a visible page of the row's tool mode
};

std::vector<RowPart> partsOf(const settings::SettingRow& row) {
    const bool settingsPage = row.page == settings::Page::Settings;
    const QString name = qText(row.name) + (settingsPage ? "_S" : "");
    const bool buttonsShown = row.flags & settings::kButtonsShown; // the debug setting's console
    std::vector<RowPart> parts = {
        {"Button_CFG_" + name + "_R", "QPushButton", "R", buttonsShown},
        {"Button_CFG_" + name + "_W", "QPushButton", "W", buttonsShown},
    };
    // The settings tool words its page from the message file; the layout's words show in the full tool.
    const auto layoutText = [&](const QString& text) { return settingsPage ? QString() : text; };
    if (!(row.flags & settings::kNoCaption))
        parts.push_back({"TntLabel_CFG_" + name, "QLabel", layoutText(qText(row.caption)), true});
    switch (settings::valueControlOf(row.kind)) {
    case settings::ValueControl::ComboBox:
        parts.push_back({"TntComboBox_CFG_" + name, "QComboBox", {}, true});
        break;
    case settings::ValueControl::TrackBar:
        parts.push_back({"TrackBar_CFG_" + name, "QSlider", {}, true});
        parts.push_back({"TntLabel_VAL_CFG_" + name, "QLabel", layoutText("0"), true});
        break;
    case settings::ValueControl::Edit:
        parts.push_back({"Edit_CFG_" + name, "QLineEdit", "", true});
        break;
    }
    return parts;
}

TEST_F(WindowLayout, EverySettingRowHasItsControlsInItsGroup) {
    for (const settings::SettingRow& row : settings::settingRows()) {
        const bool settingsPage = row.page == settings::Page::Settings;
        SCOPED_TRACE(std::string(row.name) + (settingsPage ? " on the Settings page" : ""));
        WindowTool* own = settingsPage ? settings : full; // the tool that shows the row
        auto* group = own->find<QWidget>(qText(row.group));
        ASSERT_NE(group, nullptr);
        for (const RowPart& part : partsOf(row)) {
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
            EXPECT_EQ(seen(full->form, widget), part.shown && !settingsPage);
            EXPECT_EQ(seen(settings->form, settings->form.findChild<QWidget*>(part.objectName)),
                      part.shown && settingsPage);
            // A caption is never cut. The Settings page's design captions are the exception:
            // their columns are the page's own, and the message file's words replace them.
            if (qobject_cast<QLabel*>(widget) && part.shown && !settingsPage)
                EXPECT_LE(widget->sizeHint().width(), widget->width());
        }
    }
}

// The Settings page's rows stand 24 pixels apart, each part of a row on the row's line and in
// the column its kind of part has in every row; a value label comes after its track bar.
TEST_F(WindowLayout, SettingsPageRowsFollowTheirColumnsEvery24Pixels) {
    std::map<QString, std::set<int>> columns; // the x of each kind of part, over all rows
    std::optional<int> firstY;
    int index = 0;
    for (const settings::SettingRow& row : settings::settingRows()) {
        if (row.page != settings::Page::Settings) continue;
        SCOPED_TRACE(std::string(row.name));
        const int y = settings->find<QWidget>("TntLabel_CFG_" + qText(row.name) + "_S")->y();
        if (!firstY) firstY = y;
        EXPECT_EQ(y, *firstY + 24 * index++);
        for (const RowPart& part : partsOf(row)) {
            const QWidget* widget = settings->form.findChild<QWidget*>(part.objectName);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->y(), y) << part.objectName.toStdString();
            // The kind of part: the object name without the row's name.
            columns[QString(part.objectName).replace(qText(row.name), "")].insert(widget->x());
        }
        if (auto* track = settings->form.findChild<QWidget*>("TrackBar_CFG_" + qText(row.name) + "_S"))
            EXPECT_GT(settings->find<QWidget>("TntLabel_VAL_CFG_" + qText(row.name) + "_S")->x(),
                      track->geometry().right());
    }
    EXPECT_GE(index, 2);
    for (const auto& [part, xs] : columns)
        EXPECT_EQ(xs.size(), 1u) << part.toStdString() << " stands in " << xs.size() << " columns";
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

// The full tool has the whole client area, its pages reaching over the hidden pivot panel's
// place. The settings tool's window ends at the panel's lower right corner and its pages where
// the panel begins, with the language list 10 pixels below them.
TEST_F(WindowLayout, TheSettingsToolShrinksAroundThePivotPanel) {
    for (WindowTool* tool : {full, settings}) {
        EXPECT_EQ(tool->form.minimumSize(), tool->form.maximumSize()); // fixed size
        EXPECT_FALSE(tool->form.windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_EQ(tool->find<QTabWidget>("TntPageControl1")->currentIndex(), 0);
    }
    EXPECT_EQ(full->form.centralWidget()->size(),
              QSize(shell::TForm1::kClientWidth, shell::TForm1::kClientHeight));
    const QRect pivot = settings->find<QWidget>("Panel_Pivot")->geometry();
    EXPECT_TRUE(full->find<QWidget>("TntPageControl1")->geometry().contains(pivot));
    EXPECT_EQ(settings->form.centralWidget()->size(), QSize(pivot.right() + 1, pivot.bottom() + 1));
    const QRect pages = settings->find<QWidget>("TntPageControl1")->geometry();
    EXPECT_EQ(pages.bottomRight() + QPoint(1, 1), pivot.topLeft());
    EXPECT_EQ(settings->find<QWidget>("TntComboBox_Language")->pos(),
              QPoint(pages.left(), pages.bottom() + 1 + 10));
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
