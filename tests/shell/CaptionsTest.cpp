// SPDX-License-Identifier: MIT
// The settings tool in each language of the sample message file.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QTabWidget>

#include <string>

#include "WindowTool.h"
#include "settings/ui/WindowSettings.h"
#include "sim/SimDiskSystem.h"

namespace trelvik::shell {
namespace {

using testing::WindowTool;

// What does not fit its control in the settings tool's shown pages, one line per text.
std::string clippedTexts(TForm1& form) {
    std::string clipped;
    const auto check = [&](QWidget* widget, const QString& text, int room) {
        if (widget->fontMetrics().horizontalAdvance(text) > room)
            clipped += widget->objectName().toStdString() + ": " + text.toStdString() + "\n";
    };
    auto* pages = form.findChild<QTabWidget*>("TntPageControl1");
    for (int page = 0; page < pages->count(); ++page) {
        if (!pages->isTabVisible(page)) continue;
        pages->setCurrentIndex(page);
        for (QWidget* widget : form.findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(&form) || widget->objectName().isEmpty()) continue;
            if (auto* label = qobject_cast<QLabel*>(widget))
                check(label, label->text(), label->contentsRect().width());
            else if (auto* box = qobject_cast<QCheckBox*>(widget))
                check(box, box->text(), box->width() - 20);
            else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                check(button, button->text(), button->width() - 6);
            else if (auto* group = qobject_cast<QGroupBox*>(widget))
                check(group, group->title(), group->width() - 12);
            else if (auto* list = qobject_cast<QComboBox*>(widget))
                for (int i = 0; i < list->count(); ++i)
                    check(list, list->itemText(i), list->width() - 24);
        }
    }
    pages->setCurrentIndex(0);
    return clipped;
}

TEST(Captions, EveryLanguageWordsTheWholeWindowAndFitsIt) {
    WindowTool tool;
    ASSERT_TRUE(tool.startWith({"Camera_Setting.ini", "Camera_Setting_UNICODE_msg.ini"}));
    sim::SimDiskSystem camera;
    link::CameraConnection notConnected(camera, camera.ids(), link::CameraConnection::Opening::Explicit);
    settings::WindowSettings handlers(tool.form, tool.table(), notConnected, tool.form.unitWords());
    auto* languages = tool.find<QComboBox>("TntComboBox_Language");
    auto* dateFormat = tool.find<QComboBox>("TntComboBox_Date_Format");
    auto* recordTime = tool.find<QSlider>("TrackBar_CFG_AVI_RECORD_TIME_S");
    auto* recordLabel = tool.find<QLabel>("TntLabel_VAL_CFG_AVI_RECORD_TIME_S");
    dateFormat->setCurrentIndex(2);
    ASSERT_EQ(languages->count(), 5);
    const QString shots = qEnvironmentVariable("TRELVIK_SCREENSHOT_DIR");
    for (int language = 0; language < languages->count(); ++language) {
        SCOPED_TRACE(languages->itemText(language).toStdString());
        languages->setCurrentIndex(language);
        const auto msg = [&](int id) { return QString::fromStdU16String(tool.catalog.GetMsgText(id)); };
        EXPECT_EQ(tool.find<QAbstractButton>("TntButton_Connect")->text(), msg(257));
        EXPECT_EQ(tool.find<QLabel>("TntLabel_CFG_MONITORON_MODE_S")->text(), msg(0x200));
        EXPECT_EQ(tool.find<QComboBox>("TntComboBox_CFG_MONITORON_MODE_S")->itemText(3), msg(0x213));
        EXPECT_EQ(dateFormat->currentIndex(), 2);
        EXPECT_EQ(dateFormat->currentText(), msg(327));
        // The unit words follow at once, without a read.
        recordTime->setValue(64);
        EXPECT_EQ(recordLabel->text(), "5 " + msg(277));
        recordTime->setValue(30);
        EXPECT_EQ(recordLabel->text(), "30 " + msg(278));
        EXPECT_EQ(clippedTexts(tool.form), "");
        if (shots.isEmpty()) continue;
        auto* pages = tool.find<QTabWidget>("TntPageControl1");
        for (int page : {0, 3}) {
            pages->setCurrentIndex(page);
            tool.form.grab().save(shots + QString("/settings-%1-%2.png").arg(language).arg(page));
        }
        pages->setCurrentIndex(0);
    }
    EXPECT_TRUE(tool.presenter.requests().empty());
}

// The full tool keeps its layout's English, whatever the language list would say.
TEST(Captions, TheFullToolKeepsItsLayoutWords) {
    WindowTool tool;
    ASSERT_TRUE(tool.startWith({"mass_cmd.ini"}));
    tool.form.ApplyCaptions({cmdtable::ToolMode::Full, tool.catalog, tool.table(), {}});
    EXPECT_EQ(tool.find<QAbstractButton>("TntButton_Connect")->text(), "Connect");
    EXPECT_EQ(tool.find<QLabel>("TntLabel_CFG_MONITORON_MODE_S")->text(), "CFG_MONITORON_MODE (0x41)");
}

} // namespace
} // namespace trelvik::shell
