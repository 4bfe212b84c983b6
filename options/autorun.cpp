#include "options/autorun.h"

#include "platform/platform.h"
#include "storage/paths.h"

namespace options {

void regautoandlink() { platform::regautoandlink(program_folder()); }

}  // namespace options
