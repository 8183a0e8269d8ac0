// SPDX-License-Identifier: MIT
#include "utilities/ui/MediaActions.h"

#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>

#include "link/Discovery.h"
#include "link/VendorCommands.h"

namespace trelvik::utilities {

namespace {

void onClick(QWidget& root, const char* name, MediaActions* actions, void (MediaActions::*handler)()) {
    if (auto* button = control<QPushButton>(root, name))
        QObject::connect(button, &QPushButton::clicked, actions, handler);
}

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

MediaActions::MediaActions(QWidget& root, UtilityServices services)
    : m_services(std::move(services)), m_list(control<QTreeWidget>(root, "TntListViewMedium")) {
    onClick(root, "TntButton_Card_Format", this, &MediaActions::TntButton_Card_FormatClick);
    onClick(root, "TntButtonGetMediumInfo", this, &MediaActions::TntButtonGetMediumInfoClick);
    onClick(root, "TntButtonFormatMedium", this, &MediaActions::TntButtonFormatMediumClick);
}

bool MediaActions::readCardStatus() {
    // The bytes change only with a good read: a failed one leaves the last ones for Format.
    const auto read = m_services.camera.readCardStatus();
    if (read) m_cardStatus = *read;
    return read.ok();
}

void MediaActions::TntButton_Card_FormatClick() {
    if (!readCardStatus()) {
        showUtilityBox(m_services, cardFormatBox(MediaEvent::StatusReadFailed));
        return;
    }
    const MediaSlot slot = decodeMediaSlot(m_cardStatus[0]);
    if (!slot.formattable) {
        showUtilityBox(m_services, cardFormatBox(MediaEvent::NotFormattable), slot.name);
        return;
    }
    if (showUtilityBox(m_services, cardFormatBox(MediaEvent::Question), slot.name) != i18n::kAnswerYes)
        return;
    bool formatted = false;
    {
        const Hourglass hourglass;
        // The camera may have gone while the question was open.
        formatted = m_services.camera.formatCard(0).ok();
    }
    showUtilityBox(m_services, cardFormatBox(formatted ? MediaEvent::Formatted : MediaEvent::FormatFailed),
                   slot.name);
}

void MediaActions::TntButtonGetMediumInfoClick() {
    if (!m_list) return;
    m_list->clear();
    if (!readCardStatus()) return;
    for (const MediumRow& row : mediumRows(m_cardStatus)) {
        auto* item = new QTreeWidgetItem(m_list, {QString::number(row.slot), qText(row.name),
                                                  qText(row.writeProtect), qText(row.inserted)});
        item->setData(0, Qt::UserRole, row.slot);
        // The window lays the name column out narrower than the longer names, which it elides.
        item->setToolTip(1, item->text(1));
    }
    QApplication::processEvents();
}

void MediaActions::TntButtonFormatMediumClick() {
    const QList<QTreeWidgetItem*> selected = m_list ? m_list->selectedItems() : QList<QTreeWidgetItem*>();
    // The list only ever holds the rows made above, so the slot is one of the four; a row
    // that says otherwise counts as no selection rather than an index out of range.
    bool isSlot = false;
    const int slotIndex = selected.isEmpty() ? -1 : selected.first()->data(0, Qt::UserRole).toInt(&isSlot);
    if (!isSlot || slotIndex < 0 || slotIndex >= static_cast<int>(m_cardStatus.size())) {
        m_services.reporter.PlainBox(kSelectMediumText, "", kBoxError);
        return;
    }
    const auto slotNumber = static_cast<std::uint8_t>(slotIndex);
    const MediaSlot slot = decodeMediaSlot(m_cardStatus[slotNumber]);
    const auto plain = [this, &slot](MediaEvent event) {
        const UtilityBox& box = cardFormatBox(event);
        return m_services.reporter.PlainBox(withMediumName(box.text, slot.name), box.caption, box.flags);
    };
    if (!slot.formattable) {
        plain(MediaEvent::NotFormattable);
        return;
    }
    if (plain(MediaEvent::Question) != i18n::kAnswerYes) return;
    link::Status formatted = link::Status::Failed;
    {
        const Hourglass hourglass;
        formatted = link::ScanAndFormatCard(m_services.camera.system(), slotNumber, nullptr, nullptr);
    }
    plain(formatted == link::Status::Ok ? MediaEvent::Formatted : MediaEvent::FormatFailed);
}

} // namespace trelvik::utilities
