// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the windows of the lower layers (language dialog, transfer and port
// dialogs, the editor form) need from the running application.  The
// application object implements it; tests may hand in their own.

#include <string>

#include "platform/message_box.h"

class QWidget;

namespace qzm {

class FileDialogSeam;

class AppShell {
  public:
    virtual ~AppShell() = default;

    // The main window (owner of message boxes), or nullptr before it exists.
    virtual QWidget* mainWindow() = 0;
    virtual MessageBoxSeam& messageBox() = 0;
    virtual FileDialogSeam& fileDialog() = 0;

    // Sets the menu titles and items from the current language file.
    virtual void retitleMenu() = 0;
    // retitleMenu, then the document's views refill from the image.
    virtual void refreshTextsAndViews() = 0;
    // "COM<n>" in the port pane of the status bar.
    virtual void showPortInStatusBar(int portNumber) = 0;
    // Lays the main window out again and shrinks it to fit the editor form
    // (it never grows to fit).
    virtual void fitMainWindowToView() = 0;
    // A short note in the status bar (what was kept of a typed value, what a
    // command did), read out by screen readers; it stays until the next note.
    virtual void showStatusMessage(const std::string& /*text*/) {}
};

}  // namespace qzm
