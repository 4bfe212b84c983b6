// The program's folder and process-wide state set at start-up.
#pragma once

#include <string>

// The executable's folder with a trailing separator; every file the program
// reads or writes lies there.
const std::string& program_folder();
// Replaces the program folder (tests run each case in a folder of its own).
void set_program_folder(const std::string& folder);

// Short date and time formats used wherever a conversion names none.
inline constexpr const char* short_date_format = "yyyy-mm-dd";
inline constexpr const char* short_time_format = "hh:mm:ss";

// Start-up: fixes program_folder.  The task lists reset their own flags.
void initvar();
