#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "tasks/fdb_dialog_rules.h"

using namespace fbwb;

TEST(ClampCachePercent, KeepsWholeNumbersWithinOneToThousand) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"150", 150},
        {"1", 1},
        {"1000", 1000},
        {"0", 1},                     // below: the nearer bound
        {"1001", 1000},               // above: the nearer bound
        {"-5", 1},
        {"-0", 1},
        {"+20", 20},
        {"  7 ", 7},                  // blanks around are trimmed
        {"\t42\r\n", 42},
        {"007", 7},
        {"99999999999", 1000},        // beyond int is still a whole number
        {"-99999999999999999999", 1},
        {"abc", 1},                   // not a whole number
        {"", 1},
        {"   ", 1},
        {"12x", 1},
        {"1 2", 1},
        {"+", 1},
        {"-", 1},
        {"1.5", 1},
        {"1e3", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(clampCachePercent(c.text), c.expected) << '"' << c.text << '"';
}

namespace {

enum class Box { Maintain, Backup, Restore, Delete };

// What a click on an enabled box leaves behind: the box toggled, then its rule applied.
MaintenanceSteps click(MaintenanceSteps steps, Box box) {
    switch (box) {
        case Box::Maintain:
            steps.maintain = !steps.maintain;
            return steps;
        case Box::Backup:
            steps.backup = !steps.backup;
            return afterBackupClick(steps);
        case Box::Restore:
            steps.restore = !steps.restore;
            return afterRestoreClick(steps);
        case Box::Delete:
            steps.deleteBackup = !steps.deleteBackup;
            return steps;
    }
    return steps;
}

bool clickable(const MaintenanceSteps& steps, Box box) {
    const MaintenanceEnabled enabled = maintenanceEnabled(steps);
    if (box == Box::Restore) return enabled.restore;
    if (box == Box::Delete) return enabled.deleteBackup;
    return true;
}

auto key(const MaintenanceSteps& s) { return std::make_tuple(s.maintain, s.backup, s.restore, s.deleteBackup); }

}  // namespace

TEST(MaintenanceOptions, FirstOpeningAllowsOnlyMaintenanceAndBackup) {
    const MaintenanceSteps first;
    EXPECT_TRUE(first.maintain);
    EXPECT_FALSE(first.backup || first.restore || first.deleteBackup);
    const MaintenanceEnabled enabled = maintenanceEnabled(first);
    EXPECT_FALSE(enabled.restore);
    EXPECT_FALSE(enabled.deleteBackup);
}

TEST(MaintenanceOptions, UncheckingBackupClearsTheLaterStepsAndCheckingItAgainEnablesOnlyRestore) {
    MaintenanceSteps steps;
    steps = click(steps, Box::Backup);
    EXPECT_TRUE(maintenanceEnabled(steps).restore);
    EXPECT_FALSE(maintenanceEnabled(steps).deleteBackup);
    steps = click(steps, Box::Restore);
    EXPECT_TRUE(maintenanceEnabled(steps).deleteBackup);
    steps = click(steps, Box::Delete);
    ASSERT_TRUE(steps.backup && steps.restore && steps.deleteBackup);

    steps = click(steps, Box::Backup);
    EXPECT_FALSE(steps.backup);
    EXPECT_FALSE(steps.restore);
    EXPECT_FALSE(steps.deleteBackup);
    EXPECT_FALSE(maintenanceEnabled(steps).restore);
    EXPECT_FALSE(maintenanceEnabled(steps).deleteBackup);
    EXPECT_TRUE(steps.maintain) << "maintenance is independent";

    steps = click(steps, Box::Backup);
    EXPECT_TRUE(steps.backup);
    EXPECT_FALSE(steps.restore) << "restore is enabled, not checked";
    EXPECT_TRUE(maintenanceEnabled(steps).restore);
    EXPECT_FALSE(maintenanceEnabled(steps).deleteBackup);
}

TEST(MaintenanceOptions, UncheckingRestoreClearsOnlyTheDeletion) {
    MaintenanceSteps steps{false, true, true, true};
    steps = click(steps, Box::Restore);
    EXPECT_TRUE(steps.backup);
    EXPECT_FALSE(steps.restore);
    EXPECT_FALSE(steps.deleteBackup);
    EXPECT_TRUE(maintenanceEnabled(steps).restore);
    EXPECT_FALSE(maintenanceEnabled(steps).deleteBackup);
}

// Every state a user can reach by clicking enabled boxes keeps: restore needs backup, deletion needs restore.
TEST(MaintenanceOptions, NoSequenceOfClicksBreaksTheChain) {
    std::set<decltype(key(MaintenanceSteps{}))> seen;
    std::vector<MaintenanceSteps> todo{MaintenanceSteps{}};
    while (!todo.empty()) {
        const MaintenanceSteps steps = todo.back();
        todo.pop_back();
        if (!seen.insert(key(steps)).second) continue;
        EXPECT_TRUE(!steps.restore || steps.backup);
        EXPECT_TRUE(!steps.deleteBackup || steps.restore);
        for (Box box : {Box::Maintain, Box::Backup, Box::Restore, Box::Delete})
            if (clickable(steps, box)) todo.push_back(click(steps, box));
    }
    EXPECT_EQ(seen.size(), 8u) << "maintenance free, and the four links of the chain";
}
