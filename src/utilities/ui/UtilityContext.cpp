// SPDX-License-Identifier: MIT
#include "utilities/ui/UtilityContext.h"

#include <QApplication>
#include <QCursor>

namespace trelvik::utilities {

int showUtilityBox(const UtilityServices& services, const UtilityBox& box, std::string_view name) {
    if (services.state.ToolMode == cmdtable::ToolMode::Full)
        return services.reporter.PlainBox(withMediumName(box.text, name), box.caption, box.flags);
    const bool named = box.text.find("%s") != std::string_view::npos;
    std::u16string wideName = services.codec.toWide(name);
    i18n::cutText(wideName, kMaxMediumNameLength);
    if (box.captionMsgId == 0) {
        if (named)
            services.reporter.ShowMsgById(box.textMsgId, {wideName});
        else
            services.reporter.ShowMsgById(box.textMsgId);
        return i18n::kAnswerOk;
    }
    if (named) return services.reporter.AskMsgById(box.captionMsgId, box.textMsgId, box.flags, {wideName});
    return services.reporter.AskMsgById(box.captionMsgId, box.textMsgId, box.flags);
}

Hourglass::Hourglass() {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

Hourglass::~Hourglass() {
    QApplication::restoreOverrideCursor();
}

} // namespace trelvik::utilities
