#include <gtest/gtest.h>

#include "core/operation_log.h"
#include "platform/scripted_prompter.h"

using namespace fbwb;

namespace {

// Notes how many lines the log held when the box was shown.
class CountingPrompter : public platform::ScriptedPrompter {
public:
    explicit CountingPrompter(const OperationLog& log) : log_(log) {}
    void showMessage(std::string_view text, platform::BoxKind kind) override {
        linesAtBox.push_back(log_.lines().size());
        ScriptedPrompter::showMessage(text, kind);
    }
    std::vector<size_t> linesAtBox;

private:
    const OperationLog& log_;
};

}  // namespace

TEST(OperationLog, LinesKeepTheirTextAndErrorsTheirPrefix) {
    OperationLog log;
    CountingPrompter boxes(log);
    platform::PrompterOverride inForce(boxes);
    std::vector<std::string> heard;
    log.setListener([&](const std::string& line) { heard.push_back(line); });

    log.writeLogLine("A program elindult: 2017.03.15 14:25:01");
    log.writeErrorLine("két\r\nsor", false);
    log.writeErrorLine("A fájl nem található: c:\\a.fdb", true);

    const std::vector<std::string> expected{"A program elindult: 2017.03.15 14:25:01", "HIBA   ---> két\r\nsor",
                                            "HIBA   ---> A fájl nem található: c:\\a.fdb"};
    EXPECT_EQ(log.lines(), expected);
    EXPECT_EQ(heard, expected);
    ASSERT_EQ(boxes.boxes().size(), 1u) << "only the line that asked for a box shows one";
    EXPECT_EQ(boxes.boxes()[0].text, "A fájl nem található: c:\\a.fdb") << "the box has no prefix";
    EXPECT_EQ(boxes.boxes()[0].kind, platform::BoxKind::Error);
    EXPECT_FALSE(boxes.boxes()[0].question);
    EXPECT_EQ(boxes.linesAtBox, std::vector<size_t>{2}) << "the box comes before its line";
    EXPECT_EQ(log.errorCount(), 2u) << "a plain line is no error, whatever its text";
}
