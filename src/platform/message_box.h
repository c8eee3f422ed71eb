// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace qzm {

// The seam through which the std-only core asks the user a question or reports
// a failure.  The window code supplies a Qt implementation; tests supply
// scripted answers.

enum class MessageIcon { None, Stop, Exclamation, Question, Information };
// OkCancelDefaultCancel: a question whose OK destroys data, so Enter must not confirm it.
enum class MessageButtons { Ok, OkCancel, YesNoCancel, OkCancelDefaultCancel };

// Values of the classic dialog results, so code written in those terms maps directly.
enum class MessageResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// Which window owns the box: the main window, or none (an application box).
enum class MessageOwner { MainWindow, Application };

struct MessageStyle {
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    MessageOwner owner = MessageOwner::MainWindow;
};

class MessageBoxSeam {
  public:
    virtual ~MessageBoxSeam() = default;
    virtual MessageResult show(const std::string& text, const std::string& caption,
                               MessageStyle style) = 0;
};

}  // namespace qzm
