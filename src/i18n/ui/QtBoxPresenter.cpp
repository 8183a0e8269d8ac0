// SPDX-License-Identifier: MIT
#include "i18n/ui/QtBoxPresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace trelvik::i18n {

namespace {

QMessageBox::Icon toQtIcon(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Error:
        return QMessageBox::Critical;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::Warning:
        return QMessageBox::Warning;
    case BoxIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons toQtButtons(BoxButtons buttons) {
    switch (buttons) {
    case BoxButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case BoxButtons::Ok:
        return QMessageBox::Ok;
    }
    return QMessageBox::Ok;
}

void setCaption(QMessageBox& box, QMessageBox::StandardButton which, const std::u16string& caption) {
    if (caption.empty()) return;
    if (QAbstractButton* button = box.button(which)) button->setText(QString::fromStdU16String(caption));
}

} // namespace

int QtBoxPresenter::show(const BoxRequest& request) {
    // A box without a title of its own gets the one the system gives such boxes.
    QMessageBox box(toQtIcon(request.icon),
                    request.title.empty() ? QStringLiteral("Error")
                                          : QString::fromStdU16String(request.title),
                    QString::fromStdU16String(request.text), toQtButtons(request.buttons), m_owner);
    box.setObjectName("TrelvikMessageBox");
    setCaption(box, QMessageBox::Yes, request.yesCaption);
    setCaption(box, QMessageBox::No, request.noCaption);
    setCaption(box, QMessageBox::Ok, request.okCaption);
    setCaption(box, QMessageBox::Cancel, request.cancelCaption);
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return kAnswerCancel;
    case QMessageBox::Yes:
        return kAnswerYes;
    case QMessageBox::No:
        return kAnswerNo;
    default:
        return kAnswerOk;
    }
}

} // namespace trelvik::i18n
