// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QWidget;

namespace trelvik::settings {

// One setting of a profile about to be imported: its value on the camera now and the one the
// profile asks for, each by its choice label where it has one.
struct PreviewRow {
    QString name, now, wanted;
    bool changes = true;
    bool identity = false; // written only when the camera's identity is asked for
};

struct ImportPreview {
    QString file;
    std::vector<PreviewRow> rows; // in the profile's order
    bool hasIdentity = false;     // the profile has [PerCamera] settings
};

// One setting of an import's report, coloured as the window shows a setting's state.
struct ReportRow {
    QString name, wanted, readBack, status;
    std::uint32_t background, text; // 0x00BBGGRR words
};

struct ImportReportView {
    std::vector<ReportRow> rows;
    QString summary;
    QString json; // the command line's report of the same import
};

// The questions an import or export asks the user, and the report it shows. The window asks
// them with the toolkit's dialogs; tests answer from a script.
class ProfileDialogs {
public:
    virtual ~ProfileDialogs() = default;
    // The file to export to, "" when cancelled.
    virtual QString exportPath(QWidget& owner, const QString& suggested) = 0;
    // The profile to import, "" when cancelled.
    virtual QString importPath(QWidget& owner) = 0;
    // Whether to write the camera's identity too; nullopt when cancelled.
    virtual std::optional<bool> confirmImport(QWidget& owner, const ImportPreview& preview) = 0;
    virtual void showReport(QWidget& owner, const ImportReportView& report) = 0;
};

class QtProfileDialogs final : public ProfileDialogs {
public:
    QString exportPath(QWidget& owner, const QString& suggested) override;
    QString importPath(QWidget& owner) override;
    std::optional<bool> confirmImport(QWidget& owner, const ImportPreview& preview) override;
    void showReport(QWidget& owner, const ImportReportView& report) override;

private:
    QString m_folder; // where the last file was chosen
};

} // namespace trelvik::settings
