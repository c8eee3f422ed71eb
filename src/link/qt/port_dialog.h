// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace qzm {

class AppShell;
class SerialPort;

// Dialog 130: the port for the radio, COM1 to COM8.  Ports that cannot be
// opened right now are greyed, with the reason in their tooltip; every tooltip
// names the device and adapter behind the number.  OK stores the choice as
// setup/com; the (hidden) search check box stores setup/searchcom at once.
// Opening the dialog releases a port left open, and the dialog leaves it closed.
// "Diagnose..." shows the connection doctor's report, the same as `qzm836-cli doctor`.
class PortDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kFirstButtonPort = 1;
    static constexpr int kLastButtonPort = 8;

    PortDialog(AppShell& shell, SerialPort& port, QWidget* parent = nullptr);

    // The radio button of COM `number` (1..8).
    QRadioButton* portButton(int number) const;
    QCheckBox* searchBox() const;
    // Runs the connection doctor and shows its report.
    QPushButton* diagnoseButton() const;

    void accept() override;

  private:
    void probePorts(int configured);
    void onSearchClicked(bool checked);
    void onDiagnoseClicked();

    AppShell& shell_;
    SerialPort& port_;
};

}  // namespace qzm
