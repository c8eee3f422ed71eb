// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/qt/language_dialog.h"

#include <QByteArray>
#include <QComboBox>
#include <QPushButton>
#include <optional>

#include "lang/language_files.h"
#include "lang/qt/apply_resource_texts.h"
#include "lang/text_lookup.h"
#include "platform/command_ids.h"
#include "platform/program_paths.h"
#include "platform/qt/app_shell.h"
#include "platform/qt/dialog_builder.h"
#include "platform/qt/tab_order.h"

namespace qzm {
namespace {

constexpr int IDC_LANGUAGE_LABEL = 1013;
constexpr int IDC_LANGUAGE_LIST = 1014;
// What each list entry carries besides its text.
constexpr int kDisplayNameRole = Qt::UserRole;
constexpr int kCurrentRole = Qt::UserRole + 1;

const DialogTemplate kLanguageDialog{
    IDD_LANGUAGE,
    "语言转换",
    {152, 62},
    {
        {IDOK, ControlKind::PushButton, "确定", {27, 39, 41, 15}, ControlStyle::DefaultButton},
        {IDCANCEL, ControlKind::PushButton, "取消", {84, 39, 41, 15}},
        {IDC_LANGUAGE_LABEL,
         ControlKind::Label,
         "语言转换",
         {3, 18, 63, 11},
         ControlStyle::RightAligned},
        {IDC_LANGUAGE_LIST,
         ControlKind::DropDownList,
         "",
         {68, 15, 79, 63},
         ControlStyle::Sorted | ControlStyle::VerticalScroll},
    }};

}  // namespace

void reportSettingsNotWritten(AppShell& shell) {
    shell.messageBox().show(lookupText("IDS_ERROR_SETTINGS"), lookupText("IDS_ERROR"),
                            {MessageIcon::Stop, MessageButtons::Ok, MessageOwner::MainWindow});
}

LanguageDialog::LanguageDialog(AppShell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    buildDialog(*this, kLanguageDialog);
    connect(findControl<QPushButton>(this, IDOK), &QPushButton::clicked, this, &QDialog::accept);
    connect(findControl<QPushButton>(this, IDCANCEL), &QPushButton::clicked, this,
            &QDialog::reject);
    applyResourceTexts(this, IDD_LANGUAGE);

    auto* list = findControl<QComboBox>(this, IDC_LANGUAGE_LIST);
    list->setCurrentIndex(-1);
    const std::vector<LanguageFile> listing = listLanguageFiles(languageFolders());
    const std::optional<std::size_t> current = currentLanguageIndex(listing, languagePath());
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const int position = addListEntry(list, QString::fromStdString(listing[i].displayName));
        // Each entry keeps the display name as the file has it: a name that is not valid
        // UTF-8 does not come back from the shown text.
        list->setItemData(position, QByteArray::fromStdString(listing[i].displayName),
                          kDisplayNameRole);
        list->setItemData(position, i == current, kCurrentRole);
    }
    // The entries move while the sorted list fills, so the selection is made
    // once it is complete.
    list->setCurrentIndex(list->findData(true, kCurrentRole));
    orderTabsByPosition(*this);
}

void LanguageDialog::accept() {
    const auto* list = findControl<QComboBox>(this, IDC_LANGUAGE_LIST);
    if (list != nullptr && list->currentIndex() >= 0 &&
        applyLanguageChoice(list->currentData(kDisplayNameRole).toByteArray().toStdString()) ==
            LanguageSwitch::SwitchedNotSaved) {
        reportSettingsNotWritten(shell_);
    }
    shell_.refreshTextsAndViews();
    QDialog::accept();
}

}  // namespace qzm
