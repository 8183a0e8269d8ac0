// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "debuglog/DebugLog.h"
#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "platform/Native.h"
#include "shell/StartupSequence.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/SingleInstance.h"
#include "support/RecordingBoxPresenter.h"

#include "WindowTool.h"

using namespace trelvik;

namespace {

using Tool = trelvik::testing::WindowTool;
using trelvik::testing::copyData;

TEST(MainWindow, SettingsToolShowsItsPagesAndLanguages) {
    QTemporaryDir dir;
    copyData("Camera_Setting.ini", dir.path());
    copyData("Camera_Setting_UNICODE_msg.ini", dir.path());
    Tool tool;
    ASSERT_TRUE(tool.start(dir.path()));
    EXPECT_EQ(tool.presenter.count(), 0u);
    EXPECT_EQ(tool.form.windowTitle(), "Trelvik - camera settings");
    auto* pages = tool.find<QTabWidget>("TntPageControl1");
    ASSERT_NE(pages, nullptr);
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(tool.find<QWidget>("TabSheet_DSC_DV"))));
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(tool.find<QWidget>("TabSheet_Hunter_Cam"))));
    EXPECT_TRUE(pages->isTabVisible(pages->indexOf(tool.find<QWidget>("TabSheet_Settings"))));
    auto* languages = tool.find<QComboBox>("TntComboBox_Language");
    ASSERT_NE(languages, nullptr);
    EXPECT_TRUE(languages->isVisible());
    ASSERT_EQ(languages->count(), 5);
    EXPECT_EQ(languages->itemText(4), QString::fromUtf8("日本語"));
    EXPECT_EQ(languages->currentText(), "Deutsch"); // the system here is German
    EXPECT_EQ(tool.catalog.LanguageBase, 0x1000);
}

TEST(MainWindow, FullToolHidesTheSettingsPageAndLanguages) {
    QTemporaryDir dir;
    copyData("mass_cmd.ini", dir.path());
    Tool tool;
    ASSERT_TRUE(tool.start(dir.path()));
    EXPECT_EQ(tool.form.windowTitle(), "Trelvik - trail camera configuration");
    auto* pages = tool.find<QTabWidget>("TntPageControl1");
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(tool.find<QWidget>("TabSheet_Settings"))));
    EXPECT_FALSE(tool.find<QComboBox>("TntComboBox_Language")->isVisible());
    EXPECT_EQ(tool.form.windowColour(), 0xD8E9ECu);
    EXPECT_EQ(tool.form.centralWidget()->palette().color(QPalette::Window), QColor(0xEC, 0xE9, 0xD8));
}

TEST(MainWindow, BringToFrontRestoresAMinimisedWindow) {
    shell::TForm1 form;
    form.showMinimized();
    form.bringToFront();
    EXPECT_FALSE(form.isMinimized());
    EXPECT_TRUE(form.isVisible());
}

QString uniqueName(const char* what) {
    return QStringLiteral("Trelvik_Exe-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(what);
}

TEST(SingleInstance, ASecondStartReachesTheFirst) {
    debuglog::DebugCapture log;
    const auto arrived = [&] {
        for (const std::string& line : log.lines())
            if (line.find("asked to bring the window to the front") != std::string::npos) return true;
        return false;
    };
    shell::SingleInstance first(uniqueName("reach"));
    ASSERT_TRUE(first.listen());
    shell::SingleInstance second(uniqueName("reach"));
    EXPECT_TRUE(second.askRunningInstanceToFront());
    // The request arrives while the window is still starting, before anyone hears: it is kept.
    ASSERT_TRUE(QTest::qWaitFor(arrived, 3000));
    QSignalSpy raised(&first, &shell::SingleInstance::bringToFrontRequested);
    EXPECT_TRUE(raised.wait(3000));
    EXPECT_EQ(raised.count(), 1);
    // A third tool started while the first listens cannot take its place.
    shell::SingleInstance third(uniqueName("reach"));
    EXPECT_FALSE(third.listen());
}

TEST(SingleInstance, AStartBeforeTheFirstListensRunsInFull) {
    shell::SingleInstance early(uniqueName("early"));
    EXPECT_FALSE(early.askRunningInstanceToFront(200));
}

TEST(SingleInstance, AStaleSocketIsReplaced) {
    // A server that went away without cleaning up leaves nobody answering.
    {
        shell::SingleInstance crashed(uniqueName("stale"));
        ASSERT_TRUE(crashed.listen());
    }
    shell::SingleInstance next(uniqueName("stale"));
    EXPECT_TRUE(next.listen());
}

// The built tool copied into `dir` beside the full tool's command file; "" when it cannot be.
QString fullToolIn(const QTemporaryDir& dir) {
    const QString exe = dir.path() + "/trelvik";
    if (!QFile::copy(TRELVIK_TOOL_EXE, exe)) return {};
    QFile::setPermissions(exe, QFile::permissions(exe) | QFileDevice::ExeOwner);
    copyData("mass_cmd.ini", dir.path());
    return exe;
}

// Two real processes: the second start asks the first to come to the front and ends with 0.
TEST(SingleInstance, SecondProcessEndsWithZeroAndRaisesTheFirst) {
    QTemporaryDir dir;
    const QString exe = fullToolIn(dir);
    ASSERT_FALSE(exe.isEmpty());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // A user name of its own keeps the test away from a tool the developer is running.
    const QString user = QStringLiteral("trelvik-test-%1").arg(QCoreApplication::applicationPid());
    env.insert("USER", user);

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(exe, {});
    ASSERT_TRUE(first.waitForStarted(5000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QLocalSocket probe;
            probe.connectToServer("Trelvik_Exe-" + user);
            return probe.waitForConnected(100);
        },
        10000));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(exe, {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    QByteArray firstErr;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            firstErr += first.readAllStandardError();
            return firstErr.contains("QZ::another start asked to bring the window to the front");
        },
        5000))
        << firstErr.data();
    first.kill();
    first.waitForFinished(5000);
}

// The tool's answers to its command line, as a shell sees them: exit status and first line.
TEST(ToolProcess, UnknownOptionsAndAMissingDisplayAreOneLineAndStatusOne) {
    QTemporaryDir dir;
    const QString exe = fullToolIn(dir);
    ASSERT_FALSE(exe.isEmpty());
    const struct {
        QStringList args;
        const char* platform; // QT_QPA_PLATFORM; DISPLAY is never set
        const char* seen;
    } rows[] = {
        {{"--bogus"}, "offscreen", "1 trelvik: unknown option \"--bogus\""},
        {{"-platform", "offscreen", "stray"}, "", "1 trelvik: unknown option \"stray\""},
        {{"--simulate"},
         "xcb",
         "1 trelvik: no display found to show the window on (DISPLAY is not set); start it in a desktop "
         "session or under xvfb-run"},
        {{"-platform", "offscreen", "-style", "Fusion", "--simulate"}, "", "0 first paint"},
    };
    for (const auto& row : rows) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.insert("QT_QPA_PLATFORM", row.platform);
        env.insert("TRELVIK_EXIT_AFTER_FIRST_PAINT", "1");
        env.insert("USER", QStringLiteral("trelvik-test-%1").arg(QCoreApplication::applicationPid()));
        QProcess tool;
        tool.setProcessEnvironment(env);
        tool.start(exe, row.args);
        ASSERT_TRUE(tool.waitForFinished(20000)) << row.args.join(' ').toStdString();
        const QByteArray out = tool.readAllStandardError() + tool.readAllStandardOutput();
        const qsizetype at = out.contains("trelvik:") ? out.indexOf("trelvik:") : out.indexOf("first paint");
        const QByteArray first = out.mid(std::max<qsizetype>(at, 0));
        EXPECT_EQ(QString::number(tool.exitCode()).toStdString() + " " +
                      first.split('\n').first().toStdString(),
                  row.seen)
            << out.toStdString();
    }
}

} // namespace
