// SPDX-License-Identifier: MIT
#include "settings/ui/ProfileDialogs.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "settings/ui/SettingDisplay.h"

namespace trelvik::settings {

namespace {

constexpr const char* kProfileFilter = "Settings profiles (*.ini);;All files (*)";

// A dialog of the import: a line on top, a list of settings and the buttons below.
struct ImportDialog {
    QDialog dialog;
    QLabel* heading;
    QTreeWidget* list;
    QDialogButtonBox* buttons;
    QVBoxLayout* layout;

    ImportDialog(QWidget& owner, const char* title, const char* objectName, const QStringList& columns)
        : dialog(&owner), heading(new QLabel(&dialog)), list(new QTreeWidget(&dialog)),
          buttons(new QDialogButtonBox(&dialog)), layout(new QVBoxLayout(&dialog)) {
        dialog.setWindowTitle(title);
        dialog.setObjectName(objectName);
        dialog.resize(860, 560);
        heading->setWordWrap(true);
        heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
        list->setHeaderLabels(columns);
        list->setRootIsDecorated(false);
        list->setUniformRowHeights(true);
        list->header()->setSectionResizeMode(QHeaderView::Interactive);
        // Room for a setting's name and for a choice's label with its value.
        for (int column = 0; column < columns.size() - 1; ++column)
            list->setColumnWidth(column, column == 0 ? 240 : 230);
        layout->addWidget(heading);
        layout->addWidget(list, 1);
    }
    void finishLayout() {
        layout->addWidget(buttons);
        // Enter in the list is passed on to the dialog, which presses its default button.
        list->setFocus();
    }
};

} // namespace

QString QtProfileDialogs::exportPath(QWidget& owner, const QString& suggested) {
    const QString folder = m_folder.isEmpty() ? QDir::homePath() : m_folder;
    const QString path = QFileDialog::getSaveFileName(&owner, "Export Settings",
                                                      QDir(folder).filePath(suggested), kProfileFilter);
    if (!path.isEmpty()) m_folder = QFileInfo(path).absolutePath();
    return path;
}

QString QtProfileDialogs::importPath(QWidget& owner) {
    const QString path = QFileDialog::getOpenFileName(
        &owner, "Import Settings", m_folder.isEmpty() ? QDir::homePath() : m_folder, kProfileFilter);
    if (!path.isEmpty()) m_folder = QFileInfo(path).absolutePath();
    return path;
}

std::optional<bool> QtProfileDialogs::confirmImport(QWidget& owner, const ImportPreview& preview) {
    ImportDialog window(owner, "Import Settings: Preview", "ImportPreview", {"Setting", "Now", "Wanted"});
    int changes = 0;
    auto* changing = new QTreeWidgetItem(window.list);
    auto* equal = new QTreeWidgetItem(window.list);
    std::vector<QTreeWidgetItem*> identity;
    for (const PreviewRow& row : preview.rows) {
        changes += row.changes;
        auto* item = new QTreeWidgetItem(row.changes ? changing : equal, {row.name, row.now, row.wanted});
        if (row.identity) identity.push_back(item);
    }
    changing->setText(0, QString("Will change (%1)").arg(changes));
    equal->setText(0, QString("Already equal (%1)").arg(static_cast<int>(preview.rows.size()) - changes));
    for (QTreeWidgetItem* group : {changing, equal}) {
        group->setFirstColumnSpanned(true);
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
    }
    window.list->setRootIsDecorated(true);
    window.list->expandAll();
    window.heading->setText(QString("%1\n\nThese settings will be written to the camera in the order of Save "
                                    "Camera Settings and read back.")
                                .arg(QDir::toNativeSeparators(preview.file)));
    auto* alsoIdentity = new QCheckBox("Also write this camera's identity (serial number, coordinates)");
    alsoIdentity->setObjectName("TntCheckBox_Import_Identity");
    alsoIdentity->setVisible(preview.hasIdentity);
    const auto followIdentity = [&identity](bool on) {
        for (QTreeWidgetItem* item : identity)
            item->setDisabled(!on);
    };
    followIdentity(false);
    QObject::connect(alsoIdentity, &QCheckBox::toggled, &window.dialog, followIdentity);
    window.layout->addWidget(alsoIdentity);
    QPushButton* apply = window.buttons->addButton("Apply", QDialogButtonBox::AcceptRole);
    window.buttons->addButton(QDialogButtonBox::Cancel);
    apply->setDefault(true);
    QObject::connect(window.buttons, &QDialogButtonBox::accepted, &window.dialog, &QDialog::accept);
    QObject::connect(window.buttons, &QDialogButtonBox::rejected, &window.dialog, &QDialog::reject);
    window.finishLayout();
    if (window.dialog.exec() != QDialog::Accepted) return std::nullopt;
    return preview.hasIdentity && alsoIdentity->isChecked();
}

void QtProfileDialogs::showReport(QWidget& owner, const ImportReportView& report) {
    ImportDialog window(owner, "Import Report", "ImportReport", {"Setting", "Wanted", "Read back", "Status"});
    QTreeWidgetItem* firstShort = nullptr; // the first setting that needs a look
    for (const ReportRow& row : report.rows) {
        auto* item = new QTreeWidgetItem(window.list, {row.name, row.wanted, row.readBack, row.status});
        for (int column = 0; column < item->columnCount(); ++column) {
            item->setBackground(column, colourOf(row.background));
            item->setForeground(column, colourOf(row.text));
        }
        if (!firstShort && row.background != kKnownBackground) firstShort = item;
    }
    if (firstShort) window.list->scrollToItem(firstShort, QAbstractItemView::PositionAtCenter);
    window.heading->setText(report.summary);
    QPushButton* copy = window.buttons->addButton("Copy as JSON", QDialogButtonBox::ActionRole);
    QPushButton* close = window.buttons->addButton(QDialogButtonBox::Close);
    copy->setAutoDefault(false);
    close->setDefault(true);
    QObject::connect(copy, &QPushButton::clicked, &window.dialog,
                     [&report] { QGuiApplication::clipboard()->setText(report.json); });
    QObject::connect(window.buttons, &QDialogButtonBox::rejected, &window.dialog, &QDialog::reject);
    window.finishLayout();
    window.dialog.exec();
}

} // namespace trelvik::settings
