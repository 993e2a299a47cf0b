#pragma once

#include "jobs/messages.h"

#include <deque>
#include <functional>
#include <vector>

namespace tralvo::test {

// Answers message boxes from a script and keeps every request. Without a scripted answer a
// box gets the answer that lets the program go on: OK, or Yes for a question.
class ScriptedMessages : public Messages {
public:
    MessageAnswer Show(const MessageRequest& request) override {
        asked.push_back(request);
        if (onShow) {
            onShow(request);
        }
        if (answers.empty()) {
            return request.buttons == MessageButtons::YesNo ? MessageAnswer::Yes
                                                            : MessageAnswer::Ok;
        }
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // The text keys asked so far, in order.
    std::vector<std::string> TextKeys() const {
        std::vector<std::string> keys;
        for (const MessageRequest& request : asked) {
            keys.push_back(request.textKey);
        }
        return keys;
    }

    std::deque<MessageAnswer> answers;
    std::vector<MessageRequest> asked;
    // Runs while the box would be open, before it is answered (a test may change the disk).
    std::function<void(const MessageRequest&)> onShow;
};

} // namespace tralvo::test
