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
    struct Case {
        const char* name;
        unsigned long target, previousCheckPoint;
        ServiceStatusSeen now;
        std::chrono::milliseconds waited;
        bool keepWaiting;
    } cases[] = {
        {"start pending, check-point rising", kServiceRunning, 1, {kServiceStartPending, 2, 500}, 1s, true},
        {"unchanged check-point", kServiceRunning, 2, {kServiceStartPending, 2, 500}, 1s, true},
        {"target reached", kServiceRunning, 2, {kServiceRunning, 0, 0}, 1s, false},
        {"check-point went back", kServiceRunning, 5, {kServiceStartPending, 2, 500}, 1s, false},
        // Check-points are unsigned: past 0x7FFFFFFF they still count upwards.
        {"check-point rose past the sign bit", kServiceRunning, 0x7FFFFFFFul, {kServiceStartPending, 0x80000000ul, 0},
         1s, true},
        {"check-point fell from past the sign bit", kServiceRunning, 0x80000000ul, {kServiceStartPending, 1, 0}, 1s,
         false},
        {"stopped during its own start", kServiceRunning, 0, {kServiceStopped, 0, 0}, 1s, false},
        {"paused instead of stopped", kServiceStopped, 0, {kServicePaused, 0, 0}, 0s, false},
        {"stop pending", kServiceStopped, 1, {kServiceStopPending, 1, 0}, 59999ms, true},
        {"the bound", kServiceStopped, 1, {kServiceStopPending, 1, 0}, 60s, false},
        {"state unknown", kServiceRunning, 0, {0, 0, 0}, 0s, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keepWaitingForService(c.target, c.previousCheckPoint, c.now, c.waited, limits), c.keepWaiting)
            << c.name;
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
