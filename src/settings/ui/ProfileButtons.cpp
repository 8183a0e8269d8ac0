// SPDX-License-Identifier: MIT
#include "settings/ui/ProfileButtons.h"

#include <QApplication>
#include <QDate>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>

#include <algorithm>

#include "settings/ProfileApply.h"
#include "settings/ProfileDump.h"
#include "settings/json/ApplyReportJson.h"
#include "settings/ui/SettingDisplay.h"

namespace trelvik::settings {

namespace {

constexpr const char* kExportCaption = "Export Settings";
constexpr const char* kImportCaption = "Import Settings";
// A box holds a few hundred characters: the first problems say what is wrong with the file.
constexpr std::size_t kProblemsShown = 8;

std::string narrow(const QString& text) {
    return text.toStdString();
}

// The one local file a drag carries; "" for anything else.
QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

// Reads a profile file whole, refusing what cannot be one before reading it.
bool readProfileFile(const QString& path, std::string& bytes, std::string& problem) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        problem = narrow(path) + " is not a file";
        return false;
    }
    if (info.size() > static_cast<qint64>(kMaxProfileBytes)) {
        problem = narrow(path) + " is larger than 1 MiB; a profile takes a few kilobytes, so it was not read";
        return false;
    }
    QFile file(path);
    // One byte past the limit tells a file that grew meanwhile from one at the limit.
    const QByteArray data = file.open(QIODevice::ReadOnly) ? file.read(kMaxProfileBytes + 1) : QByteArray();
    if (file.error() != QFileDevice::NoError || data.size() > static_cast<qsizetype>(kMaxProfileBytes)) {
        problem = "cannot read " + narrow(path) + ": " + narrow(file.errorString());
        return false;
    }
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

std::string problemText(const QString& path, const std::vector<ProfileProblem>& problems) {
    std::string text = narrow(path) + " cannot be imported, so nothing was sent to the camera:\n";
    for (std::size_t i = 0; i < problems.size() && i < kProblemsShown; ++i)
        text += "\n" + (problems[i].line ? "line " + std::to_string(problems[i].line) + ": " : "") +
                problems[i].text;
    if (problems.size() > kProblemsShown)
        text += "\n... and " + std::to_string(problems.size() - kProblemsShown) + " more problems";
    return text;
}

// A value as the user reads it: a list's choice by its label, with the value the profile holds.
// Example: PIR_SENSITIVITY {2} -> "High (2)".
QString shown(const SettingRow& row, const std::vector<std::uint8_t>& bytes,
              const cmdtable::MassCmdTable& table) {
    const std::string value = profileValue(row, bytes), label = profileLabel(row, bytes, table);
    return QString::fromStdString(label.empty() ? value : label + " (" + value + ")");
}

ReportRow reportRow(const AppliedSetting& setting, const cmdtable::MassCmdTable& table) {
    const SettingRow& row = *setting.planned->row;
    const bool good = setting.status == ApplyStatus::Verified || setting.status == ApplyStatus::Written;
    const bool unsupported = setting.status == ApplyStatus::Unsupported;
    return {QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())),
            shown(row, setting.planned->bytes, table),
            setting.readBack ? shown(row, *setting.readBack, table) : QString(),
            QString::fromUtf8(applyStatusName(setting.status).data()),
            good          ? kKnownBackground
            : unsupported ? kNotSupportedBackground
                          : kFailedBackground,
            // The window leaves a register it cannot show empty; here its name must stay readable.
            good || unsupported ? kKnownText : kRefusedText};
}

std::string summaryText(const ApplyReport& report) {
    const ApplyReport::Summary s = report.summary();
    std::string text = std::to_string(report.settings.size()) + " settings: " + std::to_string(s.verified) +
                       " verified, " + std::to_string(s.written) + " written, " + std::to_string(s.mismatch) +
                       " mismatch, " + std::to_string(s.failed) + " failed, " +
                       std::to_string(s.unsupported) + " not supported by the camera.";
    if (!report.cameraPresent) {
        text += report.cameraSilent ? "\n\nThe camera stopped answering during the import. Registers written:"
                                    : "\n\nThe camera went away during the import. Registers written:";
        for (std::uint8_t code : report.registersWritten())
            text += " " + text::hexByte(code);
        text += "\nImport the profile again to complete it.";
    } else if (report.bracketFailed()) {
        text += "\n\nThe camera refused the flash-save command around the writes: it may not keep them "
                "when it is switched off.";
    }
    return text;
}

} // namespace

ProfileButtons::ProfileButtons(QWidget& window, Services services) : m_window(window), m_services(services) {
    m_export = window.findChild<QPushButton*>("TntButton_Export_Settings");
    m_import = window.findChild<QPushButton*>("TntButton_Import_Settings");
    m_progress = window.findChild<QLabel*>("TntLabel_Import_Progress");
    connect(m_export, &QPushButton::clicked, this, &ProfileButtons::TntButton_Export_SettingsClick);
    connect(m_import, &QPushButton::clicked, this, &ProfileButtons::TntButton_Import_SettingsClick);
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    setCameraConnected(m_services.camera.isOpen());
}

void ProfileButtons::setCameraConnected(bool connected) {
    m_export->setEnabled(connected);
    m_import->setEnabled(connected);
}

bool ProfileButtons::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::DragEnter && event->type() != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = droppedFile(drop->mimeData());
    if (path.isEmpty() || !m_import->isEnabled()) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    // The dialogs that follow must not run inside the drop, whose source waits for its end.
    if (event->type() == QEvent::Drop)
        QMetaObject::invokeMethod(
            this, [this, path] { importFile(path); }, Qt::QueuedConnection);
    return true;
}

void ProfileButtons::tell(const char* caption, const std::string& text, unsigned icon) {
    m_services.reporter.PlainBox(text, caption, icon);
}

void ProfileButtons::TntButton_Export_SettingsClick() {
    CameraDump dump;
    const std::string today = narrow(QDate::currentDate().toString(Qt::ISODate));
    const bool ran = m_services.allSettings.runAlone(kExportCaption, [&] {
        m_services.allSettings.readEverySetting();
        dump = dumpCamera(m_services.camera, m_services.table, today);
    });
    if (!ran) return;
    // A profile without a setting would be refused by every import: none is offered.
    if (std::all_of(dump.settings.begin(), dump.settings.end(),
                    [](const DumpedSetting& s) { return s.bytes.empty(); }))
        return tell(kExportCaption, "The camera could not be read, so there is nothing to export.",
                    i18n::kBoxError);
    const std::string suggested = safeFileName((dump.model.empty() ? "camera" : dump.model) + "_" + today);
    const QString path = m_services.dialogs.exportPath(m_window, QString::fromStdString(suggested + ".ini"));
    if (path.isEmpty()) return;
    // Written beside the file and renamed over it: a failure leaves the old file whole.
    QSaveFile file(path);
    const std::string text = dumpText(dump, m_services.table);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit()) {
        tell(kExportCaption, "Cannot write " + narrow(path) + ": " + narrow(file.errorString()),
             i18n::kBoxError);
        return;
    }
    if (!dump.readFailed) return;
    std::string leftOut = "The camera could not read every setting; the profile leaves these out:\n";
    for (const DumpedSetting& setting : dump.settings)
        if (setting.bytes.empty()) leftOut += "\n" + std::string(setting.row->name) + ": " + setting.why;
    tell(kExportCaption, leftOut, i18n::kBoxWarning);
}

void ProfileButtons::TntButton_Import_SettingsClick() {
    if (m_services.allSettings.refused(kImportCaption)) return;
    const QString path = m_services.dialogs.importPath(m_window);
    if (!path.isEmpty()) importFile(path);
}

void ProfileButtons::importFile(const QString& path) {
    std::string bytes, problem;
    CheckedProfile all; // with the camera's identity, so the preview can offer it
    ImportPreview preview{path, {}, false};
    const bool ran = m_services.allSettings.runAlone(kImportCaption, [&] {
        if (!readProfileFile(path, bytes, problem)) return;
        all = checkProfile(bytes, m_services.table, true);
        if (!all.problems.empty()) return;
        for (const PlannedSetting& planned : all.settings) {
            const auto now = readSetting(m_services.camera, *planned.row);
            const bool unsupported = !now && now.error().kind == link::ConnectionError::Kind::NotSupported;
            const bool identity = isPerCamera(*planned.row);
            preview.hasIdentity = preview.hasIdentity || identity;
            preview.rows.push_back({QString::fromUtf8(planned.row->name.data(),
                                                      static_cast<qsizetype>(planned.row->name.size())),
                                    now           ? shown(*planned.row, *now, m_services.table)
                                    : unsupported ? QString("not supported by the camera")
                                                  : QString("cannot be read"),
                                    shown(*planned.row, planned.bytes, m_services.table),
                                    !now || *now != planned.bytes, identity});
        }
    });
    if (!ran) return;
    if (!problem.empty()) return tell(kImportCaption, problem, i18n::kBoxError);
    if (!all.problems.empty()) return tell(kImportCaption, problemText(path, all.problems), i18n::kBoxError);
    const std::optional<bool> identity = m_services.dialogs.confirmImport(m_window, preview);
    if (!identity) return;
    const CheckedProfile profile = checkProfile(bytes, m_services.table, *identity);
    ApplyReport report;
    std::string json;
    ApplyOptions options;
    options.progress = [this](int sent, int total) {
        if (!m_progress) return;
        m_progress->setText(QString("Writing %1 of %2").arg(sent).arg(total));
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    const bool applied = m_services.allSettings.runAlone(kImportCaption, [&] {
        report = applyProfile(m_services.camera, profile, options);
        json = jsonDocument(applyReportJson(m_services.camera, report, cameraName(m_services.camera)));
    });
    if (m_progress) m_progress->clear();
    if (!applied) return;
    ImportReportView view{{}, QString::fromStdString(summaryText(report)), QString::fromStdString(json)};
    for (const AppliedSetting& setting : report.settings)
        view.rows.push_back(reportRow(setting, m_services.table));
    m_services.dialogs.showReport(m_window, view);
    // Every control shows what the camera holds now.
    m_services.allSettings.TntButton_Load_Camera_SettingsClick();
}

} // namespace trelvik::settings
