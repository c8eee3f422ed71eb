// SPDX-License-Identifier: GPL-3.0-or-later
// What keeps the user informed beyond the menu: the status bar's note of the
// last action, the open document's name with its modified mark, and the
// names screen readers give the icon-only toolbar buttons.
#include <QAccessible>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

#include "app/main_frame.h"
#include "lang/text_lookup.h"

namespace qzm {

void CMainFrame::createNotePanes() {
    messagePane_ = new QLabel(this);
    messagePane_->setObjectName("paneMessage");
    messagePane_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    messagePane_->setTextFormat(Qt::PlainText);
    // The note may be long; it is cut on screen but never for a screen reader.
    messagePane_->setMinimumWidth(1);
    statusBar()->addWidget(messagePane_, 3);
    documentPane_ = new QLabel(this);
    documentPane_->setObjectName("paneDocument");
    documentPane_->setTextFormat(Qt::PlainText);
    documentPane_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void CMainFrame::nameToolbarButtons() {
    for (const auto& [id, action] : toolbarActions_) {
        if (QWidget* button = toolBar_->widgetForAction(action)) {
            const QString name =
                QString::fromStdString(lookupText("IDS_TIP_" + std::to_string(id)));
            button->setAccessibleName(name);
        }
    }
}

void CMainFrame::showStatusMessage(const QString& text) {
    if (messagePane_ == nullptr) {
        return;
    }
    messagePane_->setText(text);
    messagePane_->setToolTip(text);
    // The label's text is its accessible name; a change is announced so the
    // note is heard, not only painted.
    messagePane_->setAccessibleName(text);
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(messagePane_, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void CMainFrame::showDocumentState(const QString& name, bool modified) {
    if (documentPane_ == nullptr) {
        return;
    }
    const QString text =
        modified ? QString::fromStdString(lookupText("IDS_PANE_MODIFIED")).arg(name) : name;
    if (documentPane_->text() != text) {
        documentPane_->setText(text);
        documentPane_->setAccessibleName(text);
    }
}

}  // namespace qzm
