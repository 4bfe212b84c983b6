// The settings file vkset.vki (INI, GBK, section "option") and the Settings
// held in memory while the program runs.
#pragma once

#include <string>

struct Settings {
    int pos_top = -1;
    int pos_left = -1;
    int form_blend = 255;
    std::string desktoplink = "1";
    std::string autorun = "1";
    std::string note_fontname = "微软雅黑";
    std::string note_fontcolor = "16711680";
    int note_fontsize = 9;
    std::string taskhint_use = "1";
    int taskhint_time = 2;
};

// The program's Settings, filled at start-up and written at shutdown.
extern Settings app_settings;

// program_folder() + "vkset.vki"
std::string settings_file_path();

// Reads a settings file; a missing file, key or unreadable number keeps the
// default.
Settings read_settings(const std::string& path);

// Writes the section "option" into the file at `path`, keeping every other
// section, key and comment.  Written to a temporary file and renamed over
// the old one; raises std::runtime_error "Unable to write to <path>".
void write_settings(const std::string& path, const Settings& settings, int window_left, int window_top);

// Start-up: app_settings := read_settings(settings_file_path()).
void initapp_fromlocalset();
// Shutdown: writes app_settings with the window's current position.
void save_local_vki(int window_left, int window_top);
