// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#include "debuglog/DebugLog.h"
#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "i18n/ui/QtBoxPresenter.h"
#include "link/Discovery.h"
#include "platform/Native.h"
#include "platform/NativeDiskSystem.h"
#include "shell/AppState.h"
#include "shell/CommandLine.h"
#include "shell/StartupSequence.h"
#include "shell/ui/FirstPaint.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/SingleInstance.h"
#include "shell/ui/TrackBarFollowsMouse.h"
#include "shell/ui/WindowActions.h"
#include "shell/ui/WindowConnection.h"
#include "sim/SimDeviceWatch.h"
#include "sim/SimulatedCamera.h"

namespace {

int runTool(QApplication& app, const std::optional<std::string>& simulate) {
    using namespace trelvik;

    shell::SingleInstance instance(shell::SingleInstance::defaultName());
    if (instance.askRunningInstanceToFront()) return 0;

    const auto profile = platform::makeNativeProfileReader();
    const auto codec = platform::makeNativeTextCodec();
    const auto system = platform::makeNativeSystemInfo();

    i18n::QtBoxPresenter presenter;
    i18n::MessageCatalog catalog(*profile, *codec);
    i18n::Reporter reporter(presenter, catalog, *codec);
    shell::AppState state;

    shell::TForm1 form;
    shell::exitAfterFirstPaintWhenAsked(form);
    presenter.setOwner(&form);
    instance.listen();

    shell::StartupSequence startup({*profile, *codec, *system, catalog, reporter}, state, form);
    if (!startup.FormCreate()) return 0;

    // The camera's disks and their news: the simulated camera when asked for, else the
    // system's, told the camera's USB ids by the command file.
    const link::CameraIds ids = link::LoadCameraIds(*profile, state.CommandFilePath);
    std::unique_ptr<platform::DiskSystem> disks;
    std::unique_ptr<platform::DeviceWatch> watch;
    if (simulate) {
        std::string error;
        sim::SimOptions options;
        options.ids = ids;
        auto camera = sim::openSimulatedCamera(simulate->empty() ? std::nullopt : simulate, error, options);
        if (!camera) {
            reporter.ErrorBox("The simulated camera cannot start:\n\n%s", error.c_str());
            return 0;
        }
        watch = std::make_unique<sim::SimDeviceWatch>(*camera);
        disks = std::move(camera);
    } else {
        disks = platform::makeNativeDiskSystem(ids);
        watch = platform::makeNativeDeviceWatch();
    }
    const auto windows = platform::makeNativeProgramWindows();
    shell::RequestGate gate;
    shell::GatedDiskSystem gatedDisks(*disks, gate);
    shell::ConnectionServices services{gatedDisks, ids, state, reporter, catalog, *codec, watch.get()};
    // Ends before the disks and the watch it uses, though the window holds it as a child.
    const auto connection = std::make_unique<shell::WindowConnection>(form, services, *windows, state,
                                                                      system->pathSeparator(), &gate);
    // The window's actions reach the camera through the connection, and the register console's
    // probe through its drives, behind the same gate as every other request.
    shell::WindowActions actions(form, {*startup.table(), state, reporter, *codec,
                                        connection->connection().camera(),
                                        utilities::clockLocaleOf(QLocale::system())});
    actions.followConnection(*connection);
    QObject::connect(&instance, &shell::SingleInstance::bringToFrontRequested, connection.get(),
                     [&connection] { connection->post(shell::PrivateMessage::BringToFront); });
    QObject::connect(&app, &QApplication::aboutToQuit, connection.get(),
                     [&connection] { connection->formClose(); });
    form.setPickersToNow();
    connection->startUp();
    form.selectFirstClockFormats();
    shell::TrackBarFollowsMouse trackBars(&form);
    return app.exec();
}

// Qt ends a program that finds no display with an abort and a core dump, after a screenful
// of plugin advice. Until the application stands, its messages are held back; a fatal one
// becomes one line and exit status 1.
QStringList g_startMessages;
QtMessageHandler g_defaultMessages = nullptr;

void startMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) {
        g_startMessages << message;
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    std::fprintf(stderr,
                 "trelvik: no display found to show the window on (%s); start it in a desktop "
                 "session or under xvfb-run\n",
                 display.isEmpty() ? "DISPLAY is not set" : ("cannot open DISPLAY " + display).constData());
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv) {
    using trelvik::shell::ToolCommandLine;
    const ToolCommandLine line = trelvik::shell::ParseToolCommandLine({argv + 1, argv + argc});
    // Answered before QApplication exists: it would need a display, which help2man, package
    // checks and a terminal over SSH do not have.
    if (line.action != ToolCommandLine::Action::Run) {
        const std::string text = line.action == ToolCommandLine::Action::Help
                                     ? trelvik::shell::ToolHelpText()
                                     : trelvik::shell::ToolVersionText();
        std::fputs(text.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    g_defaultMessages = qInstallMessageHandler(startMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(g_defaultMessages);
    for (const QString& message : std::as_const(g_startMessages))
        qWarning("%s", qUtf8Printable(message));
    // Qt has taken its own options out of argv by now; whatever is left, the tool must know.
    const ToolCommandLine rest = trelvik::shell::ParseToolCommandLine({argv + 1, argv + argc});
    if (!rest.unknown.empty()) {
        std::fputs(trelvik::shell::ToolUsageError(rest.unknown).c_str(), stderr);
        return 1;
    }
    QApplication::setApplicationName("trelvik");
    // Fusion paints a palette's colours as flat fills on every platform, which the coloured
    // groups and the connection colour rely on.
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    const auto sink = trelvik::platform::makeNativeDebugSink();
    trelvik::debuglog::setDebugSink(sink.get());
    try {
        runTool(app, line.simulate);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(),
                              QString::fromLocal8Bit(error.what()));
    }
    trelvik::debuglog::setDebugSink(nullptr);
    // Once its window stood, the tool ends with 0 whichever way it ends, as its callers have
    // always seen.
    return 0;
}
