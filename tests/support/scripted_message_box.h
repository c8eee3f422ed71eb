// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace qzm::test {

// Answers message boxes from a queue: one expect() per question the code under
// test is supposed to ask.  A question with no answer queued, a question whose
// text lacks the expected fragment, and answers left over when the double is
// destroyed all fail the running test.
class ScriptedMessageBox final : public MessageBoxSeam {
  public:
    struct Question {
        std::string text;
        std::string caption;
        MessageStyle style;
    };

    ScriptedMessageBox() = default;
    ScriptedMessageBox(const ScriptedMessageBox&) = delete;
    ScriptedMessageBox& operator=(const ScriptedMessageBox&) = delete;
    ~ScriptedMessageBox() override;

    // Queues the answer to the next question; a non-empty fragment must occur
    // in that question's text.
    ScriptedMessageBox& expect(MessageResult answer, std::string textFragment = {});

    MessageResult show(const std::string& text, const std::string& caption,
                       MessageStyle style) override;

    const std::vector<Question>& asked() const { return asked_; }
    std::size_t pending() const { return answers_.size(); }

  private:
    struct Answer {
        MessageResult result;
        std::string textFragment;
    };
    std::deque<Answer> answers_;
    std::vector<Question> asked_;
};

}  // namespace qzm::test
