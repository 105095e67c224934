// A message interface for tests: records every message and answers questions
// from a script. A question that the script did not expect fails the test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "workbench/logic/UserMessages.h"

namespace workbench {

class TScriptedMessages : public TUserMessages {
 public:
  struct TShown {
    std::string Text, Caption;
    TMessageButtons Buttons;
    TMessageIcon Icon;
  };

  std::vector<TShown> Shown;
  std::deque<TMessageResult> Answers;  // for the OK/Cancel questions, in order

  TMessageResult MessageBox(const std::string& text, const std::string& caption, TMessageButtons buttons,
                            TMessageIcon icon) override {
    Shown.push_back({text, caption, buttons, icon});
    if (buttons == mbOK) return mrOK;
    if (Answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return mrCancel;
    }
    const TMessageResult answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
};

}  // namespace workbench
