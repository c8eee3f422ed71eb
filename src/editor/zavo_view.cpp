#include "editor/zavo_view.h"

#include "lang/apply_resource_texts.h"
#include "lang/text_lookup.h"
#include "platform/command_ids.h"
#include "platform/qt/app_shell.h"
#include "platform/qt/dialog_builder.h"
#include "radio/zavo_doc.h"

namespace qzm {
namespace {

// The form's size; its controls are added with the settings panel.
const DialogTemplate kZavoForm{IDD_ZAVO_FORM, "", {569, 366}, {}};

}  // namespace

CZavoView::CZavoView(AppShell& shell, CZavoDoc& document, QWidget* parent)
    : QWidget(parent), shell_(shell), document_(document) {
    buildDialog(*this, kZavoForm);
    document_.addView(*this);
}

CZavoView::~CZavoView() {
    document_.removeView(*this);
}

void CZavoView::OnInitialUpdate() {
    OnUpdate();
    shell_.fitMainWindowToView();
    shell_.retitleMenu();
}

void CZavoView::OnUpdate() {
    if (QWidget* frame = shell_.mainWindow()) {
        frame->setWindowTitle(QString::fromStdString(lookupText("IDS_WINDOWNAME")));
    }
    fillSettingsPanel();
}

void CZavoView::fillSettingsPanel() {
    applyResourceTexts(this, IDD_ZAVO_FORM);
}

}  // namespace qzm
