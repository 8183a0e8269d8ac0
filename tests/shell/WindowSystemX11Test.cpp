// SPDX-License-Identifier: MIT
// The whole tool on a real X server, checked where the user meets it: the titles the server
// holds for the window and its boxes, and the colours on screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <set>

#include <xcb/xcb.h>

#include "i18n/ui/QtBoxPresenter.h"
#include "shell/CameraWindow.h"
#include "shell/ui/WindowActions.h"
#include "shell/ui/WindowConnection.h"
#include "sim/SimDeviceWatch.h"

namespace trelvik::testing {
namespace {

// The title the X server holds for the window: its _NET_WM_NAME, which window managers show.
std::string serverTitle(WId window) {
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    const char name[] = "_NET_WM_NAME";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, sizeof name - 1, name), nullptr);
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(x,
                               xcb_get_property(x, 0, static_cast<xcb_window_t>(window), atom->atom,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                               nullptr);
    const std::string title(static_cast<const char*>(xcb_get_property_value(reply)),
                            static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    free(reply);
    free(atom);
    xcb_disconnect(x);
    return title;
}

// The server's title once Qt has sent `window`'s own, or what it holds after a second. What is
// pending runs first, as that may change the title still (start-up's posted connect does).
std::string settledTitle(QWidget& window) {
    QApplication::processEvents();
    std::string title;
    (void)QTest::qWaitFor(
        [&] { return (title = serverTitle(window.winId())) == window.windowTitle().toStdString(); }, 1000);
    return title;
}

// The whole tool as it starts: window, connection and every action, boxes shown for real.
struct Tool : CameraWindow {
    i18n::QtBoxPresenter boxes;
    sim::SimDeviceWatch watch{camera};
    std::unique_ptr<platform::ProgramWindows> windows = platform::makeNativeProgramWindows();
    std::unique_ptr<shell::WindowConnection> connection;
    std::unique_ptr<shell::WindowActions> actions;

    explicit Tool(std::initializer_list<const char*> files) : CameraWindow(files) {
        boxes.setOwner(&tool.form);
        tool.presenter.forwardTo = &boxes;
        connection = std::make_unique<shell::WindowConnection>(
            tool.form,
            shell::ConnectionServices{camera, camera.ids(), tool.state, tool.reporter, tool.catalog,
                                      *tool.codec, &watch},
            *windows, tool.state, '/');
        actions = std::make_unique<shell::WindowActions>(
            tool.form,
            shell::WindowActionServices{
                tool.table(), tool.state, tool.reporter, *tool.codec, connection->connection().camera(), {}});
        actions->followConnection(*connection);
        tool.form.show();
        connection->startUp();
    }
    // Clicks `button` and gives the server's title of the box it opens, which is then closed
    // by Escape (No, Cancel or OK).
    std::string boxTitle(const std::string& button) {
        std::string title = "no box";
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            title = settledTitle(*box);
            box->reject();
        });
        poll.start(20);
        click({button});
        return title;
    }
    // Clicks `button` and answers every dialog that follows with Enter, a file name typed first
    // where one is asked for; gives the server's titles of the dialogs.
    std::string answerWithEnter(const std::string& button, const QString& typed) {
        std::string titles;
        QPointer<QWidget> answered;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QWidget* focus = QApplication::focusWidget();
            if (!dialog || dialog == answered || !dialog->isVisible() || !focus) return;
            answered = dialog;
            titles += settledTitle(*dialog) + "\n";
            if (auto* name = qobject_cast<QLineEdit*>(focus); name && dialog->inherits("QFileDialog"))
                name->setText(typed);
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent enter(type, Qt::Key_Return, Qt::NoModifier);
                QApplication::sendEvent(focus, &enter);
            }
        });
        poll.start(20);
        click({button});
        return titles;
    }
};

// Each row: the tool, then the window's title after its Load, after a second Load, and the
// titles of one box of each kind.
TEST(WindowSystem, TitlesAreExactlyTheTextsOfTheWindowAndItsBoxes) {
    std::string seen;
    for (const auto files : {std::initializer_list<const char*>{"mass_cmd.ini"},
                             {"Camera_Setting.ini", "Camera_Setting_UNICODE_msg.ini"}}) {
        Tool tool(files);
        const bool full = files.size() == 1;
        seen += settledTitle(tool.tool.form) + "\n";
        tool.click({"TntButton_Load_Camera_Settings"});
        seen += settledTitle(tool.tool.form) + "\n";
        seen += tool.boxTitle("TntButton_Reset_Settings") + "\n";
        seen += tool.boxTitle("TntButton_Card_Format") + "\n";
        if (full) seen += tool.boxTitle("TntButtonCommandRead") + "\n";
        // Without a camera, Connect says so in the tool's plain error box or its message box
        // (the first click may only end the connection).
        tool.find<QCheckBox>("TntCheckBox_Camera_Auto_Connect")->click();
        tool.set({}, [](sim::CameraState& s) { s.plugged = false; });
        std::string notFound = tool.boxTitle("TntButton_Connect");
        if (notFound == "no box") notFound = tool.boxTitle("TntButton_Connect");
        seen += notFound + "\n";
    }
    const std::string full =
        "Trelvik - trail camera configuration - Firmware Version:V1.02, Model ID:TRELVIK "
        "SIMCAM TC-20, Make ID:Trelvik Outdoor\n";
    const std::string settings = "Trelvik - camera settings - Firmware:V1.02\n";
    EXPECT_EQ(seen, full + full + "Reset Settings\nFormat?\nCommand Read\nError\n" + settings + settings +
                        "Werkseinstellungen\nFormatieren?\nTrelvik\n");
}

// Export and import through the toolkit's own dialogs, driven by the keyboard alone.
TEST(WindowSystem, ProfileDialogsAreAnsweredByTheirTitlesAndEnter) {
    Tool tool({"mass_cmd.ini"});
    // The buttons wait for the connection, which start-up has posted.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return tool.find<QWidget>("TntButton_Import_Settings")->isEnabled(); }, 3000));
    const QString profile = tool.tool.dir.filePath("camera.ini");
    EXPECT_EQ(tool.answerWithEnter("TntButton_Export_Settings", profile), "Export Settings\n");
    tool.set({{0x3E, 0}});
    const std::string titles = tool.answerWithEnter("TntButton_Import_Settings", profile);
    EXPECT_EQ(titles, "Import Settings\nImport Settings: Preview\nImport Report\n");
    EXPECT_EQ(tool.reg(0x3E), 1);
}

// The pixels inside a list, away from its frame, arrow and text: one colour when flat.
std::set<QRgb> listFace(QComboBox& list) {
    const QPoint corner = list.mapToGlobal(QPoint(0, 0));
    const QImage shot = QApplication::primaryScreen()
                            ->grabWindow(0, corner.x() + 3, corner.y() + 3, 20, list.height() - 6)
                            .toImage();
    std::set<QRgb> colours;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            colours.insert(shot.pixel(x, y) & 0xFFFFFF);
    return colours;
}

TEST(WindowSystem, FailedAndUnknownListsAreFlatRedAndGreyBeigeOnScreen) {
    Tool tool({"mass_cmd.ini"});
    tool.set({}, [](sim::CameraState& s) {
        s.unsupported = {0x3D};
        s.faults.wrongEcho = {0x3C};
    });
    tool.click({"TntButton_Load_Camera_Settings"});
    tool.find<QTabWidget>("TntPageControl1")->setCurrentWidget(tool.find<QWidget>("TabSheet_Hunter_Cam"));
    QApplication::processEvents();
    EXPECT_EQ(listFace(*tool.find<QComboBox>("TntComboBox_CFG_PIR_CENTER_ENABLE")), std::set<QRgb>{0xFF0000});
    EXPECT_EQ(listFace(*tool.find<QComboBox>("TntComboBox_CFG_PIR_SIDE_ENABLE")), std::set<QRgb>{0xECE9D8});
    const QString shot = qEnvironmentVariable("TRELVIK_SCREENSHOT");
    if (!shot.isEmpty()) tool.tool.form.grab().save(shot);
}

} // namespace
} // namespace trelvik::testing
