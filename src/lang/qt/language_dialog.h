// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace qzm {

class AppShell;

// The language is in use, but "setting.ini" could not store it.
void reportSettingsNotWritten(AppShell& shell);

// Dialog 131: the language files of the program folder by display name.  OK
// makes the selected one the current language and refreshes every text on
// screen; Cancel changes nothing.
class LanguageDialog : public QDialog {
    Q_OBJECT

  public:
    explicit LanguageDialog(AppShell& shell, QWidget* parent = nullptr);

    void accept() override;

  private:
    AppShell& shell_;
};

}  // namespace qzm
