// The periodic task reminder.
#pragma once

struct Settings;
class QTimer;

namespace tasks {

// Arms `timer` from the settings: every taskhint_time hours while
// taskhint_use is "1", stopped otherwise.  Run at start-up and whenever the
// options change.
void configure_taskhint_timer(QTimer& timer, const Settings& settings);

}  // namespace tasks
