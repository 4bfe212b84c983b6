// The autorun and shortcut step of the options dialog's confirmation.
#pragma once

namespace options {

// Starts vk_reg of the program folder with the one empty argument; it reads
// the wishes from the settings file, which must therefore be written first.
// Raises platform::StartError, whose text names vk_reg, when it is missing
// or cannot be started.
void regautoandlink();

}  // namespace options
