// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "lang/qt/apply_resource_texts.h"
#include "platform/command_ids.h"
#include "platform/program_version.h"
#include "platform/qt/dialog_builder.h"

namespace qzm {
namespace {

constexpr int IDC_ABOUT_VERSION = 1051;
constexpr int IDC_ABOUT_LINE = 1052;
constexpr int IDC_ABOUT_LICENCE = 1053;

const DialogTemplate kAboutDialog{
    IDD_ABOUTBOX,
    "关于 Zavo",
    {235, 75},
    {
        {IDC_STATIC, ControlKind::Icon, "", {11, 17, 20, 20}},
        {IDC_ABOUT_VERSION, ControlKind::Label, "QZM-5260 1.01", {40, 10, 119, 8}},
        {IDC_ABOUT_LINE, ControlKind::Label, "QZM-836 对讲机编程软件 (Linux)", {40, 25, 119, 16}},
        // The licence the program is distributed under, with its "no warranty".
        {IDC_ABOUT_LICENCE, ControlKind::Label, "GPL-3.0-or-later", {40, 45, 188, 24}},
        {IDOK, ControlKind::PushButton, "确定", {178, 7, 50, 14}, ControlStyle::DefaultButton},
    }};

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    buildDialog(*this, kAboutDialog);
    connect(findControl<QPushButton>(this, IDOK), &QPushButton::clicked, this, &QDialog::accept);
    applyResourceTexts(this, IDD_ABOUTBOX);
    // The line about the program ends with the version the build was made as.
    if (auto* line = findControl<QLabel>(this, IDC_ABOUT_LINE)) {
        line->setText(line->text() + ' ' +
                      QString::fromUtf8(programVersion().data(),
                                        static_cast<qsizetype>(programVersion().size())));
    }
}

}  // namespace qzm
