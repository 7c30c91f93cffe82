// Lines for standard error: the queue's rule for lines that cannot go out, and the
// writer on a pipe nobody reads, which must never hold up the caller.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/ConsoleWriter.h"

namespace vantrel::platform {
namespace {

struct Step {
    enum { Push, Write, Fail, TellLost } op;
    std::string text;  // pushed, or expected from pop()
};

struct QueueCase {
    const char* name;
    std::vector<Step> steps;
};

class ConsoleLineQueueTest : public ::testing::TestWithParam<QueueCase> {};

TEST_P(ConsoleLineQueueTest, LinesThatCannotGoOutAreCountedAndToldBeforeTheNext) {
    ConsoleLineQueue queue(2);
    for (const Step& step : GetParam().steps) {
        if (step.op == Step::Push) {
            queue.push(step.text);
        } else if (step.op == Step::TellLost) {
            queue.tellLost();
        } else {
            const std::optional<ConsoleLineQueue::Text> text = queue.pop();
            ASSERT_TRUE(text);
            EXPECT_EQ(text->bytes, step.text);
            if (step.op == Step::Fail) {
                queue.lost(text->lines);
            }
        }
    }
    EXPECT_TRUE(queue.empty());
}

const std::string kTwoLost = "vantrel: 2 status lines could not be written\n";
INSTANTIATE_TEST_SUITE_P(
    Rule, ConsoleLineQueueTest,
    ::testing::Values(QueueCase{"FullQueueDrops",
                                {{Step::Push, "a"},
                                 {Step::Push, "b"},
                                 {Step::Push, "c"},
                                 {Step::Push, "d"},
                                 {Step::Write, "a\n"},
                                 {Step::Write, "b\n"},
                                 {Step::Push, "e"},
                                 {Step::Write, kTwoLost + "e\n"}}},
                      // A failed line is lost with the count it carried, and never tried again.
                      QueueCase{
                          "FailedWritesAddUp",
                          {{Step::Push, "a"},
                           {Step::Push, "b"},
                           {Step::Push, "c"},
                           {Step::Write, "a\n"},
                           {Step::Push, "d"},
                           {Step::Fail, "b\n"},
                           {Step::Fail, "vantrel: 1 status line could not be written\nd\n"},
                           {Step::Push, "e"},
                           {Step::Write, "vantrel: 3 status lines could not be written\ne\n"}}},
                      QueueCase{"LostAtTheEndIsToldAlone",
                                {{Step::Push, "a"},
                                 {Step::Push, "b"},
                                 {Step::Push, "c"},
                                 {Step::Push, "d"},
                                 {Step::TellLost, ""},
                                 {Step::Write, "a\n"},
                                 {Step::Write, "b\n"},
                                 {Step::Write, kTwoLost}}}),
    [](const ::testing::TestParamInfo<QueueCase>& info) { return info.param.name; });

TEST(ConsoleWriterTest, AStalledReaderHoldsUpNoCallerAndEveryLineIsWrittenOrCounted) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    // Full before the first line: the writer's first write blocks.
    ::fcntl(pipeEnds[1], F_SETFL, O_NONBLOCK);
    const std::string filler(4096, '\n');
    while (::write(pipeEnds[1], filler.data(), filler.size()) > 0) {
    }
    ::fcntl(pipeEnds[1], F_SETFL, 0);

    constexpr int kLines = 100;
    ConsoleWriter writer(pipeEnds[1], 16);
    for (int i = 0; i < kLines; ++i) {
        writer.writeLine("line " + std::to_string(i));
    }
    std::string said;
    std::thread reader([&] {
        char buffer[4096];
        while (said.find("end\n") == std::string::npos) {
            const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
            if (got <= 0) {
                return;
            }
            said.append(buffer, static_cast<std::size_t>(got));
        }
    });
    ASSERT_TRUE(writer.drain(std::chrono::seconds(10)));
    writer.writeLine("end");
    ASSERT_TRUE(writer.drain(std::chrono::seconds(10)));
    reader.join();
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);

    // The lines that went out, in order from the first, then the count of the rest.
    std::vector<std::string> lines;
    for (std::size_t from = said.find_first_not_of('\n'); from < said.size();) {
        const std::size_t end = said.find('\n', from);
        lines.push_back(said.substr(from, end - from));
        from = end + 1;
    }
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.back(), "end");
    const int kept = static_cast<int>(lines.size()) - 2;
    for (int i = 0; i < kept; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i)], "line " + std::to_string(i));
    }
    EXPECT_EQ(lines[lines.size() - 2], ConsoleLineQueue::LostLine(kLines - kept));
}

}  // namespace
}  // namespace vantrel::platform
