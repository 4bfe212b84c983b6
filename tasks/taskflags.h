// The process-wide flags of the task lists.
#pragma once

#include <string>

namespace tasks {

// Set when a task list on screen (the day list or the task manager's) holds
// changes not yet written.
extern bool schedule_changed;
// "1" while a task reminder is on screen, "0" otherwise.
extern std::string taskhint_showing;

// Start-up: both flags back to their first state.
void reset_flags();

}  // namespace tasks
