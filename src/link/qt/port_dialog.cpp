// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/port_dialog.h"

#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "lang/qt/apply_resource_texts.h"
#include "lang/qt/language_dialog.h"
#include "lang/text_lookup.h"
#include "link/doctor_report_text.h"
#include "link/port_error_text.h"
#include "link/qt/doctor_report_dialog.h"
#include "link/serial_port.h"
#include "link/wire_protocol.h"
#include "platform/command_ids.h"
#include "platform/profile.h"
#include "platform/qt/app_shell.h"
#include "platform/qt/dialog_builder.h"
#include "platform/qt/tab_order.h"
#include "platform/settings.h"

namespace qzm {
namespace {

constexpr int IDC_COM_FIRST = 1000;  // radio button 1000 + n is COM n
constexpr int IDC_PORT_FRAME = 1011;
constexpr int IDC_SEARCH_PORT = 1012;
constexpr int IDC_DIAGNOSE = 1061;  // captioned from String, not Resource

const DialogTemplate kPortDialog{
    IDD_PORT,
    "Communication Port",
    {137, 128},
    {
        {IDOK, ControlKind::PushButton, "确定", {21, 88, 40, 15}, ControlStyle::DefaultButton},
        {IDCANCEL, ControlKind::PushButton, "取消", {79, 88, 40, 15}},
        {IDC_DIAGNOSE, ControlKind::PushButton, "诊断…", {21, 107, 98, 15}},
        {IDC_PORT_FRAME, ControlKind::GroupBox, "通信端口", {7, 11, 123, 73}},
        {1001, ControlKind::RadioButton, "COM1", {22, 23, 36, 10}},
        {1002, ControlKind::RadioButton, "COM2", {22, 37, 36, 10}},
        {1003, ControlKind::RadioButton, "COM3", {22, 52, 36, 10}},
        {1004, ControlKind::RadioButton, "COM4", {22, 67, 36, 10}},
        {1005, ControlKind::RadioButton, "COM5", {83, 23, 36, 10}},
        {1006, ControlKind::RadioButton, "COM6", {83, 37, 36, 10}},
        {1007, ControlKind::RadioButton, "COM7", {83, 52, 36, 10}},
        {1008, ControlKind::RadioButton, "COM8", {83, 67, 36, 10}},
        {IDC_SEARCH_PORT,
         ControlKind::CheckBox,
         "搜索端口",
         {21, 90, 38, 10},
         ControlStyle::Hidden},
    }};

QString portToolTip(const PortDescription& description, PortOpenError error) {
    QString tip;
    if (description.device.empty()) {
        tip = QString::fromStdString(noDeviceText(currentLanguageTexts()));
    } else {
        tip = QString::fromStdString(description.device.string());
        if (!description.adapter.empty()) {
            tip += QStringLiteral(" — ") + QString::fromStdString(description.adapter);
        }
    }
    if (error != PortOpenError::None) {
        tip += QStringLiteral("\n") +
               QString::fromStdString(portOpenErrorText(error, currentLanguageTexts()));
    }
    return tip;
}

}  // namespace

PortDialog::PortDialog(AppShell& shell, SerialPort& port, QWidget* parent)
    : QDialog(parent), shell_(shell), port_(port) {
    buildDialog(*this, kPortDialog);
    connect(findControl<QPushButton>(this, IDOK), &QPushButton::clicked, this, &PortDialog::accept);
    connect(findControl<QPushButton>(this, IDCANCEL), &QPushButton::clicked, this,
            &QDialog::reject);
    applyResourceTexts(this, IDD_PORT);
    QPushButton* diagnose = diagnoseButton();
    const std::string diagnoseText = lookupText("IDS_DOCTOR_BUTTON");
    if (diagnoseText != kNotFoundText) {
        diagnose->setText(QString::fromStdString(diagnoseText));
    }
    connect(diagnose, &QPushButton::clicked, this, &PortDialog::onDiagnoseClicked);

    const int configured = readComPort();
    // A port left open by an earlier transfer would show as in use.
    port_.close();
    probePorts(configured);

    QCheckBox* search = searchBox();
    search->setChecked(readProfileInt(settingsPath(), kSetupSection, kSearchComKey, 1) != 0);
    connect(search, &QCheckBox::clicked, this, &PortDialog::onSearchClicked);
    orderTabsByPosition(*this);
}

QRadioButton* PortDialog::portButton(int number) const {
    return findControl<QRadioButton>(this, IDC_COM_FIRST + number);
}

QCheckBox* PortDialog::searchBox() const {
    return findControl<QCheckBox>(this, IDC_SEARCH_PORT);
}

QPushButton* PortDialog::diagnoseButton() const {
    return findControl<QPushButton>(this, IDC_DIAGNOSE);
}

void PortDialog::onDiagnoseClicked() {
    // Our own descriptors are left out: the probe closed the port again, and anything
    // this process holds is no other program.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const DoctorReport report =
        diagnoseConnection(settingsPath(), DoctorRoots{}, UserIdentity::current(), ::getpid());
    const QString text = QString::fromStdString(formatDoctorReport(report, currentLanguageTexts()));
    QApplication::restoreOverrideCursor();
    std::string title = lookupText("IDS_DOCTOR_TITLE");
    if (title == kNotFoundText) {
        title = "Connection Diagnosis";
    }
    DoctorReportDialog dialog(QString::fromStdString(title), text, this);
    dialog.exec();
}

void PortDialog::probePorts(int configured) {
    const PortMap map = port_.portMap();
    for (int number = kFirstButtonPort; number <= kLastButtonPort; ++number) {
        QRadioButton* button = portButton(number);
        if (number == configured) {
            button->setChecked(true);
        }
        const PortOpenError error = port_.openWithReason(number, wire::kBaudRate);
        if (error == PortOpenError::None) {
            port_.close();
        } else {
            // A configured port that is busy stays selected, only greyed.
            button->setEnabled(false);
        }
        button->setToolTip(portToolTip(map.describe(number), error));
    }
}

void PortDialog::onSearchClicked(bool checked) {
    if (!writeSearchComEnabled(checked)) {
        reportSettingsNotWritten(shell_);
    }
}

void PortDialog::accept() {
    for (int number = kFirstButtonPort; number <= kLastButtonPort; ++number) {
        if (!portButton(number)->isChecked()) {
            continue;
        }
        if (number != readComPort()) {
            port_.close();
            if (!writeComPort(number)) {
                reportSettingsNotWritten(shell_);
            }
        }
        break;
    }
    shell_.showPortInStatusBar(readComPort());
    QDialog::accept();
}

}  // namespace qzm
