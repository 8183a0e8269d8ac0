// SPDX-License-Identifier: MIT
#include "shell/ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStringList>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QTreeWidget>

#include "settings/SettingRows.h"
#include "settings/ui/SettingDisplay.h"
#include "settings/ui/SettingRowBuilders.h"
#include "settings/ui/WidgetBindingTarget.h"
#include "shell/ui/WindowCaptions.h"
#include "utilities/CameraClock.h"
#include "utilities/ui/ClockPanel.h"

namespace trelvik::shell {

namespace {

QColor fromBgr(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// The pages in the order of their tabs, indexed by settings::Page.
struct PageSpec {
    const char* objectName;
    const char* caption;
};
constexpr PageSpec kPages[] = {
    {"TntTabSheet_DateTime", "Date/Time"},
    {"TabSheet_DSC_DV", "DSC/DV"},
    {"TabSheet_Hunter_Cam", "Hunter Cam"},
    {"TabSheet_Settings", "Settings"},
};
constexpr int pageIndex(settings::Page page) {
    return static_cast<int>(page);
}

enum class Kind { Group, Label, Button, CheckBox, Edit, ComboBox, DatePicker, TimePicker, ListView, Panel };
enum FixedFlag : unsigned {
    kHidden = 1u << 0,
    kFirstSelected = 1u << 1, // a list starts with its first choice selected
    kSmallFont = 1u << 2,     // the AVI/Audio group keeps the older, smaller face
};
constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;

// The controls that are not setting rows. Text is the caption, or a list's choices one per
// line; colours are #RRGGBB.
struct FixedControl {
    Kind kind;
    const char* name;
    const char* text;
    const char* parent;
    int x, y, width, height;
    std::uint32_t rgb = kNoColour;
    unsigned flags = 0;
};

constexpr const char* kClient = "Form1Client";
constexpr const char* kDateTime = "TntTabSheet_DateTime";
constexpr const char* kClock = "TntGroupBox_Camera_Clock";

const FixedControl kFixedControls[] = {
    {Kind::CheckBox, "TntCheckBox_Camera_Auto_Connect", "Camera Auto Connect", kClient, 24, 8, 177, 17},
    {Kind::Button, "TntButton_Connect", "Connect", kClient, 24, 34, 145, 25},
    {Kind::Button, "TntButton_Load_Camera_Settings", "Load Camera Settings", kClient, 200, 2, 209, 25},
    {Kind::Button, "TntButton_Save_Camera_Settings", "Save Camera Settings", kClient, 200, 34, 209, 25},
    {Kind::Button, "TntButton_Reset_Settings", "Reset Settings", kClient, 424, 34, 177, 25},
    {Kind::Button, "TntButton_Export_Settings", "&Export Settings…", kClient, 616, 34, 177, 25},
    {Kind::Button, "TntButton_Import_Settings", "&Import Settings…", kClient, 808, 34, 177, 25},
    {Kind::Label, "TntLabel_Import_Progress", "", kClient, 616, 6, 369, 21},
    {Kind::ComboBox, "TntComboBox_Language", "English\nDeutsch\n中文(繁體)\n中文(简体)\n日本語", kClient, 544,
     8, 145, 21},
    {Kind::Panel, "Panel_Pivot", "Panel_Pivot", kClient, 608, 408, 41, 57, 0xFFFFFF, kHidden},

    {Kind::Group, kClock, "Camera Clock", kDateTime, 16, 8, 545, 169},
    {Kind::Label, "TntLabel_Camera_Time", "Camera Time:", kClock, 16, 24, 100, 21},
    {Kind::Edit, "TntEditDSCTime", "", kClock, 120, 24, 200, 21},
    {Kind::Label, "TntLabel_PC_Time", "PC Time:", kClock, 16, 56, 100, 21},
    {Kind::Edit, "TntEditPCTime", "", kClock, 120, 56, 200, 21},
    {Kind::Button, "TntButtonSetPCTime", "Assign PC Time to Camera", kClock, 328, 54, 201, 25},
    {Kind::Label, "TntLabel_Custom_Time", "Custom Time:", kClock, 16, 88, 100, 21},
    {Kind::DatePicker, "DateTimePicker1", "dd/MM/yyyy", kClock, 120, 88, 100, 21},
    {Kind::TimePicker, "DateTimePicker2", "HH:mm:ss", kClock, 224, 88, 96, 21},
    {Kind::Button, "TntButtonSetCustomTime", "Assign Custom Time to Camera", kClock, 328, 86, 201, 25},
    {Kind::Label, "TntLabel_Date_Time_Format", "Date/Time Format:", kClock, 16, 128, 100, 21},
    {Kind::ComboBox, "TntComboBox_Date_Format", "DD/MM/YYYY\nYYYY/MM/DD\nMM/DD/YYYY", kClock, 120, 128, 112,
     21},
    {Kind::ComboBox, "TntComboBox_Time_Format", "24h\n12h", kClock, 240, 128, 80, 21, kNoColour,
     kFirstSelected},
    {Kind::Button, "Button_Date_Format_S_R", "R", kClock, 328, 128, 17, 21, kNoColour, kHidden},
    {Kind::Button, "Button_Date_Format_S_W", "W", kClock, 345, 128, 17, 21, kNoColour, kHidden},
    {Kind::Button, "Button_Time_Format_S_R", "R", kClock, 362, 128, 17, 21, kNoColour, kHidden},
    {Kind::Button, "Button_Time_Format_S_W", "W", kClock, 379, 128, 17, 21, kNoColour, kHidden},
    {Kind::Button, "TntButton_Card_Format", "Card Format", kDateTime, 16, 192, 201, 25},
    {Kind::Button, "TntButton_Change_To_PCCam", "Change To PCCam", kDateTime, 248, 192, 177, 25},
    {Kind::Group, "TntGroupBox_DEBUG", "DEBUG_SETTING (0x00)", kDateTime, 16, 232, 481, 73},
    {Kind::Group, "TntGroupBox2", "Medium Information", kDateTime, 16, 312, 305, 169, kNoColour, kHidden},
    {Kind::ListView, "TntListViewMedium", "\nMedium Name\nProtected\nCard Inserted", "TntGroupBox2", 8, 20,
     289, 108},
    {Kind::Button, "TntButtonGetMediumInfo", "Get Medium Information", "TntGroupBox2", 8, 134, 177, 25},
    {Kind::Button, "TntButtonFormatMedium", "Format", "TntGroupBox2", 192, 134, 105, 25},
    {Kind::Group, "TntGroupBox3", "", kDateTime, 328, 312, 169, 169, kNoColour, kHidden},
    {Kind::Label, "TntLabel4", "Firmware Version:", "TntGroupBox3", 8, 12, 153, 15},
    {Kind::Edit, "TntEditFirmwareVersion", "", "TntGroupBox3", 8, 30, 105, 21},
    {Kind::Button, "TntButtonGetFirmwareVersion", "Read", "TntGroupBox3", 118, 28, 43, 25},
    {Kind::Label, "TntLabel5", "Model ID:", "TntGroupBox3", 8, 60, 153, 15},
    {Kind::Edit, "TntEdit_Model_ID", "", "TntGroupBox3", 8, 78, 105, 21},
    {Kind::Button, "TntButton_GetModelID", "Read", "TntGroupBox3", 118, 76, 43, 25},
    {Kind::Label, "TntLabel6", "Make ID:", "TntGroupBox3", 8, 108, 153, 15},
    {Kind::Edit, "TntEdit_Make_ID", "", "TntGroupBox3", 8, 126, 105, 21},
    {Kind::Button, "TntButton_GetMakeID", "Read", "TntGroupBox3", 118, 124, 43, 25},
    {Kind::Group, "TntGroupBox_Command_Read_Write", "Command Read/Write", kDateTime, 576, 16, 209, 97},
    {Kind::Label, "TntLabel7", "Command:", "TntGroupBox_Command_Read_Write", 8, 24, 64, 21},
    {Kind::Edit, "TntEditCommand", "", "TntGroupBox_Command_Read_Write", 76, 24, 57, 21},
    {Kind::Button, "TntButtonCommandRead", "Read", "TntGroupBox_Command_Read_Write", 140, 22, 61, 25},
    {Kind::Label, "TntLabel8", "Data:", "TntGroupBox_Command_Read_Write", 8, 58, 64, 21},
    {Kind::Edit, "TntEditData", "", "TntGroupBox_Command_Read_Write", 76, 58, 57, 21},
    {Kind::Button, "TntButtonCommandWrite", "Write", "TntGroupBox_Command_Read_Write", 140, 56, 61, 25},

    {Kind::Group, "TntGroupBox3A", "", "TabSheet_DSC_DV", 8, 0, 937, 657, 0xFFC0C0},
    {Kind::Group, "GroupBox5", "AVI/Audio", "TntGroupBox3A", 456, 336, 473, 193, 0xA6CAF0, kSmallFont},
    {Kind::Group, "GroupBox7", "PictBridge", "TntGroupBox3A", 456, 544, 473, 89, 0xC0DCC0},

    {Kind::Group, "GroupBox8", "", "TabSheet_Hunter_Cam", 8, 0, 977, 657, 0xFFC3F4},
    {Kind::Group, "GroupBox9", "PIR", "GroupBox8", 8, 192, 465, 121, 0xFFC983},
    {Kind::Group, "GroupBox10", "Timelapse", "GroupBox8", 488, 16, 473, 121, 0xBEBEFF},
    {Kind::Group, "GroupBox11", "Target Recording Time", "GroupBox8", 8, 328, 465, 273, 0xFFFFC0},
    {Kind::Group, "GroupBox12", "Password", "GroupBox8", 488, 432, 473, 81, 0xC0FFFF},
    {Kind::Group, "GroupBox13", "Serial Number", "GroupBox8", 488, 520, 473, 81, 0xF6DAB2},
    {Kind::Group, "GroupBox14", "Coordinate", "GroupBox8", 488, 152, 473, 265, 0xFFC0C0},
};

// Columns of the medium list: the first, captionless one holds the slot's mark.
constexpr int kMediumColumnWidths[] = {20, 100, 70, 70};

// A group in one flat colour, caption and thin frame included: the style's own group frame
// shades its inside, which would change the colour the user is meant to see.
class ColouredGroupBox final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QColor fill = palette().color(QPalette::Window);
        painter.fillRect(rect(), fill);
        const QFontMetrics metrics = fontMetrics();
        const int top = title().isEmpty() ? 0 : metrics.height() / 2;
        painter.setPen(fill.darker(140));
        painter.drawRect(rect().adjusted(0, top, -1, -1));
        if (title().isEmpty()) return;
        const QRect caption(6, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
        painter.fillRect(caption, fill);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignCenter, title());
    }
};

QWidget* makeControl(const FixedControl& fixed, QWidget* parent) {
    const QString text = QString::fromUtf8(fixed.text);
    switch (fixed.kind) {
    case Kind::Group:
        if (fixed.rgb != kNoColour) return new ColouredGroupBox(text, parent);
        return new QGroupBox(text, parent);
    case Kind::Label:
        return new QLabel(text, parent);
    case Kind::Button:
        return new QPushButton(text, parent);
    case Kind::CheckBox:
        return new QCheckBox(text, parent);
    case Kind::Edit:
        return new QLineEdit(text, parent);
    case Kind::ComboBox: {
        auto* list = new QComboBox(parent);
        list->addItems(text.split('\n'));
        list->setCurrentIndex((fixed.flags & kFirstSelected) ? 0 : -1);
        return list;
    }
    case Kind::DatePicker: {
        auto* picker = new QDateEdit(parent);
        picker->setCalendarPopup(true);
        // The years the camera's clock can carry: a year beyond them would reach the camera cut.
        picker->setDateRange(QDate(utilities::kFirstClockYear, 1, 1),
                             QDate(utilities::kLastClockYear, 12, 31));
        picker->setDisplayFormat(TForm1::pickerDisplayFormat(fixed.text));
        return picker;
    }
    case Kind::TimePicker: {
        auto* picker = new QTimeEdit(parent);
        picker->setDisplayFormat(TForm1::pickerDisplayFormat(fixed.text));
        return picker;
    }
    case Kind::ListView: {
        auto* view = new QTreeWidget(parent);
        view->setRootIsDecorated(false);
        view->setHeaderLabels(text.split('\n'));
        for (int i = 0; i < static_cast<int>(std::size(kMediumColumnWidths)); ++i)
            view->setColumnWidth(i, kMediumColumnWidths[i]);
        return view;
    }
    case Kind::Panel: {
        auto* panel = new QLabel(text, parent);
        panel->setFrameShape(QFrame::Panel);
        panel->setAlignment(Qt::AlignCenter);
        return panel;
    }
    }
    return nullptr;
}

void paintFlat(QWidget& widget, std::uint32_t rgb) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(rgb));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle(kDefaultCaption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    // Where Tahoma is missing, a condensed face keeps the captions inside the widths they were
    // laid out for.
    QFont::insertSubstitutions("Tahoma", {"DejaVu Sans Condensed", "Liberation Sans Narrow"});
    QFont font("Tahoma");
    font.setPixelSize(12);
    setFont(font);

    auto* client = new QWidget(this);
    client->setObjectName("Form1Client");
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    setFixedSize(kClientWidth, kClientHeight);

    buildFixedControls(*client);
    buildSettingRows();

    m_timer = new QTimer(this);
    m_timer->setObjectName("Timer1");
    m_timer->setInterval(1000);

    m_captions = std::make_unique<WindowCaptions>(*this, m_unitWords);
    // TntComboBox_LanguageChange. Filling the list at start-up comes before the captions have
    // their sources, and is no change of language.
    connect(m_language, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_captionSources) ChangeLanguage(*m_captionSources, *m_captions, index);
    });
}

TForm1::~TForm1() = default;

void TForm1::buildFixedControls(QWidget& client) {
    QHash<QString, QWidget*> parents{{kClient, &client}};
    // The top row comes first and the page control after it, as the tab order runs.
    for (const FixedControl& fixed : kFixedControls) {
        if (std::string_view(fixed.parent) == kDateTime && !m_pages) {
            m_pages = new QTabWidget(&client);
            m_pages->setObjectName("TntPageControl1");
            m_pages->setGeometry(24, 72, 1017, 705);
            for (const PageSpec& page : kPages) {
                auto* sheet = new QWidget(m_pages);
                sheet->setObjectName(page.objectName);
                m_pages->addTab(sheet, page.caption);
                parents.insert(page.objectName, sheet);
            }
        }
        QWidget* widget = makeControl(fixed, parents.value(fixed.parent));
        widget->setObjectName(fixed.name);
        widget->setGeometry(fixed.x, fixed.y, fixed.width, fixed.height);
        if (fixed.rgb != kNoColour) paintFlat(*widget, fixed.rgb);
        if (fixed.flags & kHidden) widget->setVisible(false);
        if (fixed.flags & kSmallFont) {
            QFont small("MS Sans Serif");
            small.setPixelSize(11);
            widget->setFont(small);
        }
        parents.insert(fixed.name, widget);
    }
    m_language = client.findChild<QComboBox*>("TntComboBox_Language");
}

void TForm1::buildSettingRows() {
    for (const settings::SettingRow& row : settings::settingRows()) {
        auto* group = findChild<QWidget*>(
            QString::fromUtf8(row.group.data(), static_cast<qsizetype>(row.group.size())));
        settings::buildSettingRow(*group, row);
    }
}

QString TForm1::pickerDisplayFormat(std::string_view picture) {
    return utilities::pickerDisplayFormat(picture);
}

void TForm1::setWindowColour(std::uint32_t bgr) {
    m_colour = bgr;
    QPalette palette = centralWidget()->palette();
    palette.setColor(QPalette::Window, fromBgr(bgr));
    centralWidget()->setPalette(palette);
}

void TForm1::setCaption(const std::string& title) {
    // Only the window's own title: an application display name would be appended by Qt to
    // every window's title, this one's and every box's.
    setWindowTitle(QString::fromStdString(title));
}

void TForm1::adaptToToolMode(cmdtable::ToolMode toolMode) {
    m_toolMode = toolMode;
    m_pages->setCurrentIndex(0);
    const bool settingsTool = toolMode == cmdtable::ToolMode::Settings;
    m_pages->setTabVisible(pageIndex(settings::Page::DscDv), !settingsTool);
    m_pages->setTabVisible(pageIndex(settings::Page::HunterCam), !settingsTool);
    m_pages->setTabVisible(pageIndex(settings::Page::Settings), settingsTool);
    if (!settingsTool) return;
    for (const char* name :
         {"TntButton_Change_To_PCCam", "TntGroupBox_DEBUG", "TntGroupBox_Command_Read_Write",
          "TntButton_Export_Settings", "TntButton_Import_Settings", "TntLabel_Import_Progress"})
        findChild<QWidget*>(name)->setVisible(false);
    // The hidden pivot panel marks the lower right corner of the smaller window.
    const QRect pivot = findChild<QWidget*>("Panel_Pivot")->geometry();
    m_pages->resize(pivot.left() - m_pages->x(), pivot.top() - m_pages->y());
    setFixedSize(pivot.right() + 1, pivot.bottom() + 1);
    m_language->move(m_pages->x(), m_pages->geometry().bottom() + 1 + 10);
}

void TForm1::RefreshTrackBars() {
    // Qt repaints a track bar on its parent's new colour; asking for the paint is enough.
    for (const std::string& name : settings::trackBarNames(m_toolMode))
        if (auto* track = findChild<QSlider*>(QString::fromStdString(name))) track->update();
}

void TForm1::BindCommandTable(const settings::BindingSources& sources) {
    settings::WidgetBindingTarget target(*this);
    settings::BindCommandTable(sources, target);
}

void TForm1::fillLanguageList(const std::vector<std::u16string>& names, int selected) {
    m_language->clear();
    for (const auto& name : names)
        m_language->addItem(QString::fromStdU16String(name));
    m_language->setCurrentIndex(selected);
}

void TForm1::ApplyCaptions(const CaptionSources& sources) {
    m_captionSources.reset();
    m_captionSources.emplace(sources);
    shell::ApplyCaptions(sources, *m_captions);
}

void TForm1::setPickersToNow() {
    const QDateTime now = QDateTime::currentDateTime();
    if (auto* date = findChild<QDateEdit*>("DateTimePicker1")) date->setDate(now.date());
    if (auto* time = findChild<QTimeEdit*>("DateTimePicker2")) time->setTime(now.time());
}

void TForm1::selectFirstClockFormats() {
    if (auto* list = findChild<QComboBox*>("TntComboBox_Date_Format")) list->setCurrentIndex(0);
    if (auto* list = findChild<QComboBox*>("TntComboBox_Time_Format")) list->setCurrentIndex(0);
    if (auto* date = findChild<QDateEdit*>("DateTimePicker1"))
        date->setDisplayFormat(pickerDisplayFormat("dd/MM/yyyy"));
    if (auto* time = findChild<QTimeEdit*>("DateTimePicker2"))
        time->setDisplayFormat(pickerDisplayFormat("HH:mm:ss"));
}

void TForm1::showAndPaint() {
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    QApplication::processEvents();
}

void TForm1::bringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void TForm1::ShowListResult(QComboBox* list, link::Status status, int position) {
    if (list) settings::ShowListResult(*list, status, position);
}

void TForm1::ShowNumberResult(QSlider* trackBar, QLabel* valueLabel, int value, link::Status status) {
    if (trackBar && valueLabel) settings::ShowNumberResult(*trackBar, *valueLabel, value, status);
}

void TForm1::ShowTextResult(QSlider* trackBar, QLabel* valueLabel, const QString& text, int value,
                            link::Status status) {
    if (trackBar && valueLabel) settings::ShowTextResult(*trackBar, *valueLabel, text, value, status);
}

void TForm1::ShowTextResult(QSlider* trackBar, QLabel* valueLabel, const char* text, int value,
                            link::Status status) {
    if (trackBar && valueLabel) settings::ShowTextResult(*trackBar, *valueLabel, text, value, status);
}

} // namespace trelvik::shell
