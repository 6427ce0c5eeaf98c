#include <gtest/gtest.h>

#include "env/service_control.h"

using namespace fbwb;
using namespace std::chrono_literals;

TEST(ServiceStateName, NamesOfTheStates) {
    const char* names[] = {"UNKNOWN",          "STOPPED",       "START/PENDING", "STOP/PENDING", "RUNNING",
                           "CONTINUE/PENDING", "PAUSE/PENDING", "PAUSED",        "UNKNOWN"};
    for (unsigned long state = 0; state <= 8; ++state) EXPECT_EQ(serviceStateName(state), names[state]) << state;
    EXPECT_EQ(serviceStateName(0xFFFFFFFFul), "UNKNOWN");
}

TEST(ServiceWait, EndsAtTheTargetAtAFallingCheckPointInASettledStateAndAtTheBound) {
    const ServiceWaitLimits limits;
    const ServiceStatusSeen startAt1{kServiceStartPending, 1, 500}, startAt2{kServiceStartPending, 2, 500},
        startAt5{kServiceStartPending, 5, 500}, stopAt1{kServiceStopPending, 1, 0};
    struct Case {
        const char* name;
        unsigned long target;
        ServiceStatusSeen previous, now;
        std::chrono::milliseconds waited;
        bool keepWaiting;
    } cases[] = {
        {"start pending, check-point rising", kServiceRunning, startAt1, startAt2, 1s, true},
        {"unchanged check-point", kServiceRunning, startAt2, startAt2, 1s, true},
        {"target reached", kServiceRunning, startAt2, {kServiceRunning, 0, 0}, 1s, false},
        {"check-point went back", kServiceRunning, startAt5, startAt2, 1s, false},
        // A stop asked for during a start: the stop's check-points begin anew.
        {"a new pending state counts afresh", kServiceStopped, startAt5, stopAt1, 1s, true},
        // Check-points are unsigned: past 0x7FFFFFFF they still count upwards.
        {"check-point rose past the sign bit", kServiceRunning, {kServiceStartPending, 0x7FFFFFFFul, 0},
         {kServiceStartPending, 0x80000000ul, 0}, 1s, true},
        {"check-point fell from past the sign bit", kServiceRunning, {kServiceStartPending, 0x80000000ul, 0},
         {kServiceStartPending, 1, 0}, 1s, false},
        {"stopped during its own start", kServiceRunning, startAt1, {kServiceStopped, 0, 0}, 1s, false},
        {"paused instead of stopped", kServiceStopped, stopAt1, {kServicePaused, 0, 0}, 0s, false},
        {"stop pending", kServiceStopped, stopAt1, stopAt1, 59999ms, true},
        {"the bound", kServiceStopped, stopAt1, stopAt1, 60s, false},
        {"state unknown", kServiceRunning, startAt1, {0, 0, 0}, 0s, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keepWaitingForService(c.target, c.previous, c.now, c.waited, limits), c.keepWaiting) << c.name;
}

TEST(ServiceWait, PauseIsTheWaitHintWithinItsBounds) {
    const ServiceWaitLimits limits;
    EXPECT_EQ(servicePause({kServiceStartPending, 1, 0}, limits), 100ms);  // a hint of 0 would spin
    EXPECT_EQ(servicePause({kServiceStartPending, 1, 2000}, limits), 2000ms);
    EXPECT_EQ(servicePause({kServiceStartPending, 1, 0xFFFFFFFFul}, limits), 10s);
}

TEST(ServiceProgramInFolder, TheProgramLiesInTheFolderOrItsBinSubfolder) {
    struct Case {
        const char* commandLine;
        const char* folder;
        bool inFolder;
    } cases[] = {
        {"\"C:\\Program Files\\Firebird\\Firebird_3_0\\firebird.exe\" -s Kelmora3",
         "C:\\Program Files\\Firebird\\Firebird_3_0", true},
        {"\"c:\\program files\\firebird\\firebird_3_0\\FIREBIRD.EXE\" -s Kelmora3",
         " C:\\Program Files\\Firebird\\Firebird_3_0\\ ", true},
        {"C:\\fb25\\bin\\fbserver.exe -s Kelmora2", "C:\\fb25\\", true},
        {"C:\\Program Files\\Firebird 25\\bin\\fbserver.exe -s Kelmora2", "C:\\Program Files\\Firebird 25", true},
        {"C:\\fb3\\firebird.exe", "C:\\fb3", true},
        {"\"C:\\fb3x\\firebird.exe\" -s x", "C:\\fb3", false},        // a sibling whose name begins alike
        {"\"C:\\fb3\\sub\\firebird.exe\" -s x", "C:\\fb3", false},    // deeper than bin
        {"\"C:\\fb3\\bin\\sub\\firebird.exe\"", "C:\\fb3", false},
        {"\"C:\\fb3\\firebird.exe\"", "", false},
        {"firebird.exe -s x", "C:\\fb3", false},
        {"", "C:\\fb3", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(serviceProgramInFolder(c.commandLine, c.folder), c.inFolder) << c.commandLine << " in " << c.folder;
}
