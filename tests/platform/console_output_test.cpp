#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ConsoleLineQueue.h"

namespace vantrel::platform {
namespace {

TEST(ConsoleLineQueueTest, LinesThatCannotGoOutAreCountedAndToldBeforeTheNext) {
    // A letter is a line pushed; 'w' writes the next text, 'f' tries and fails, '!'
    // is the end, where lost lines are told on their own.
    struct Case {
        const char* script;
        std::string written;
    };
    const auto lost = [](int lines) { return ConsoleLineQueue::LostLine(lines) + "\n"; };
    for (const Case& c : std::vector<Case>{
             {"abcdwwew", "a\nb\n" + lost(2) + "e\n"},  // a full queue drops
             {"abcwdffew", "a\n" + lost(3) + "e\n"},    // a failed text with what it carried
             {"abcd!www", "a\nb\n" + lost(2)},
             {"abwcwdww", "a\nb\nc\nd\n"}}) {
        ConsoleLineQueue queue(2);
        std::string written;
        for (const char* op = c.script; *op != '\0'; ++op) {
            if (*op == '!') {
                queue.tellLost();
            } else if (*op != 'w' && *op != 'f') {
                queue.push(std::string(1, *op));
            } else if (const std::optional<ConsoleLineQueue::Text> text = queue.pop(); *op == 'w') {
                written += text.value().bytes;
            } else {
                queue.lost(text.value().lines);
            }
        }
        EXPECT_EQ(written, c.written) << c.script;
        EXPECT_TRUE(queue.empty()) << c.script;
    }
}

}  // namespace
}  // namespace vantrel::platform
