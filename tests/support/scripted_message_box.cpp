// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripted_message_box.h"

#include <gtest/gtest.h>

namespace qzm::test {

ScriptedMessageBox::~ScriptedMessageBox() {
    for (const Answer& answer : answers_) {
        ADD_FAILURE() << "expected question never asked (fragment \"" << answer.textFragment
                      << "\")";
    }
}

ScriptedMessageBox& ScriptedMessageBox::expect(MessageResult answer, std::string textFragment) {
    answers_.push_back({answer, std::move(textFragment)});
    return *this;
}

MessageResult ScriptedMessageBox::show(const std::string& text, const std::string& caption,
                                       MessageStyle style) {
    asked_.push_back({text, caption, style});
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << text << "\" (caption \"" << caption
                      << "\")";
        return style.buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Cancel;
    }
    const Answer answer = answers_.front();
    answers_.pop_front();
    if (!answer.textFragment.empty() && text.find(answer.textFragment) == std::string::npos) {
        ADD_FAILURE() << "message box \"" << text << "\" does not contain \"" << answer.textFragment
                      << "\"";
    }
    return answer.result;
}

}  // namespace qzm::test
