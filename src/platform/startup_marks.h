#pragma once
// Hooks for the start-up benchmark (bench/startup_bench.cpp). They do nothing unless the
// benchmark's environment variables are set, so a normal start pays one variable look-up.
namespace fbwb::platform {

// FBWB_STARTUP_TRACE names a file: appends the step (one word) and the milliseconds since the process
// was created.
void markStartupStep(const char* step);

// Call before each wait for a message: the first time the queue is empty (every window of the thread
// painted, no work posted), records the step "idle" and sets the event named by FBWB_IDLE_EVENT.
void noteIdleOnce();

}  // namespace fbwb::platform
