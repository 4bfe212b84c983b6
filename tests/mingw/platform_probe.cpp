// Calls every function of platform/platform.h, so linking it with the
// Windows implementation shows any that Windows lacks.  Never run.
#include "platform/platform.h"

int main()
{
    platform::executable_path();
    platform::path_separator();
    platform::is_read_only_file("");
    platform::claim_single_instance("probe");
    platform::ask_instance_to_show("probe");
    platform::watch_show_requests("probe");
    platform::take_show_requests();
    platform::watch_session_end();
    platform::take_session_end_request();
    platform::os_name();
    platform::is_administrator();
    platform::lang_text("", "", "");
    platform::start_program("", 0, "", "", "");
    platform::vk_reg_file_name();
    platform::regautoandlink("");
    platform::hide_from_taskbar(0);
    platform::frame_extents(0, nullptr);
    platform::is_frame_announcement(nullptr, 0);
    int x = 0, y = 0;
    platform::frame_position(0, x, y);
    platform::pointer_position(x, y);
    platform::place_window(0, 0, 0);
    platform::move_to_current_desktop(0);
    platform::gbk_to_utf8("");
    platform::utf8_to_gbk("");
    return 0;
}
