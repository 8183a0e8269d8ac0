// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include "utilities/MediaSlot.h"
#include "utilities/ui/UtilityContext.h"

class QTreeWidget;

namespace trelvik::utilities {

// The storage media of the window: the Card Format button (slot 0 on the open camera), and
// the hidden medium list with Get Medium Information (which Load Camera Settings clicks) and
// Format (which finds the camera by the drive probe).
class MediaActions final : public QObject {
    Q_OBJECT
public:
    // `root` holds the controls; it and everything in `services` must outlive this object.
    MediaActions(QWidget& root, UtilityServices services);

    // The status bytes of the last successful status read; four zeros before the first.
    const CardStatusBytes& CardStatus() const { return m_cardStatus; }

    void TntButton_Card_FormatClick();
    void TntButtonGetMediumInfoClick();
    void TntButtonFormatMediumClick();

private:
    bool readCardStatus();

    UtilityServices m_services;
    QTreeWidget* m_list = nullptr;
    CardStatusBytes m_cardStatus{};
};

} // namespace trelvik::utilities
