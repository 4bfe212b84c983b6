#include "tasks/reminder.h"

#include <QTimer>
#include <algorithm>
#include <limits>

#include "storage/settings.h"

namespace tasks {

void configure_taskhint_timer(QTimer& timer, const Settings& settings)
{
    if (settings.taskhint_use != "1") {
        timer.stop();
        return;
    }
    // Hours to milliseconds.  A hand-edited 0 would fire without pause,
    // and a timer holds no more than about 596 hours.
    constexpr int ms_per_hour = 3'600'000;
    const int hours = std::clamp(settings.taskhint_time, 1, std::numeric_limits<int>::max() / ms_per_hour);
    timer.setInterval(hours * ms_per_hour);
    timer.start();
}

}  // namespace tasks
