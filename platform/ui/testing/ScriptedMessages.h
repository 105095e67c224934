// A message interface for tests: records every message and answers questions
// from a script. A question that the script did not expect fails the test.
// Needs no Qt, so tests of headless libraries use it too.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/ui/UserMessages.h"

namespace ui {

// Base is TUserMessages, or an interface derived from it that the windows use.
template <class Base>
class TScriptedMessagesOf : public Base {
 public:
  struct TShown {
    std::string Text, Caption;
    TMessageButtons Buttons;
    TMessageIcon Icon;
  };

  std::vector<TShown> Shown;
  std::deque<TMessageResult> Answers;  // for the questions (all but mbOK), in order

  TMessageResult MessageBox(const std::string& text, const std::string& caption, TMessageButtons buttons,
                            TMessageIcon icon) override {
    Shown.push_back({text, caption, buttons, icon});
    if (buttons == mbOK) return mrOK;
    if (Answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return buttons == mbYesNo ? mrNo : mrCancel;
    }
    const TMessageResult answer = Answers.front();
    Answers.pop_front();
    return answer;
  }

  // The texts shown so far, one per line, for failure messages.
  std::string ShownTexts() const {
    std::string all;
    for (const TShown& s : Shown) all += s.Caption + ": " + s.Text + "\n";
    return all;
  }
};

using TScriptedMessages = TScriptedMessagesOf<TUserMessages>;

}  // namespace ui
