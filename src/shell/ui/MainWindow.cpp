// SPDX-License-Identifier: MIT
#include "shell/ui/MainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

namespace trelvik::shell {

namespace {
QColor fromBgr(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

struct PageSpec {
    const char* objectName;
    const char* caption;
};
constexpr PageSpec kPages[] = {
    {"TabSheet_DSC_DV", "DSC/DV"},
    {"TabSheet_Hunter_Cam", "Hunter Cam"},
    {"TntTabSheet_DateTime", "Date/Time"},
    {"TabSheet_Settings", "Settings"},
};
} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle(kDefaultCaption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    QFont font("Tahoma");
    font.setPixelSize(12);
    setFont(font);

    auto* client = new QWidget(this);
    client->setObjectName("Form1Client");
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    setFixedSize(1060, 799);

    m_language = new QComboBox(client);
    m_language->setObjectName("TntComboBox_Language");
    m_language->setGeometry(544, 8, 145, 21);

    m_pages = new QTabWidget(client);
    m_pages->setObjectName("TntPageControl1");
    m_pages->setGeometry(24, 72, 1017, 705);
    for (const PageSpec& page : kPages) {
        auto* sheet = new QWidget(m_pages);
        sheet->setObjectName(page.objectName);
        m_pages->addTab(sheet, page.caption);
    }
}

void TForm1::setWindowColour(std::uint32_t bgr) {
    m_colour = bgr;
    QPalette palette = centralWidget()->palette();
    palette.setColor(QPalette::Window, fromBgr(bgr));
    centralWidget()->setPalette(palette);
}

void TForm1::setCaption(const std::string& title) {
    const QString caption = QString::fromStdString(title);
    setWindowTitle(caption);
    QApplication::setApplicationDisplayName(caption);
}

void TForm1::adaptToToolMode(cmdtable::ToolMode toolMode) {
    m_pages->setCurrentIndex(0);
    const bool settingsTool = toolMode == cmdtable::ToolMode::Settings;
    m_pages->setTabVisible(0, !settingsTool);
    m_pages->setTabVisible(1, !settingsTool);
    m_pages->setTabVisible(3, settingsTool);
    m_language->setVisible(settingsTool);
}

void TForm1::fillLanguageList(const std::vector<std::u16string>& names, int selected) {
    m_language->clear();
    for (const auto& name : names)
        m_language->addItem(QString::fromStdU16String(name));
    m_language->setCurrentIndex(selected);
}

void TForm1::showAndPaint() {
    show();
    QApplication::processEvents();
}

void TForm1::bringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

} // namespace trelvik::shell
