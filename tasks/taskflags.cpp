#include "tasks/taskflags.h"

namespace tasks {

bool schedule_changed = false;
std::string taskhint_showing = "0";

void reset_flags()
{
    schedule_changed = false;
    taskhint_showing.assign(1, '0');  // assign(const char*) trips a GCC 12 -Wrestrict false alarm
}

}  // namespace tasks
