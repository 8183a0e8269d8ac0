// SPDX-License-Identifier: MIT
#pragma once

#include "i18n/BoxPresenter.h"

class QWidget;

namespace trelvik::i18n {

// Shows each box as a modal QMessageBox owned by the main window (or the application
// when there is none yet).
class QtBoxPresenter final : public BoxPresenter {
public:
    void setOwner(QWidget* owner) { m_owner = owner; }
    int show(const BoxRequest& request) override;

private:
    QWidget* m_owner = nullptr;
};

} // namespace trelvik::i18n
