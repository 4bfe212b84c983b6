// The autorun and shortcut step of the options dialog's confirmation.
#pragma once

#include <functional>

namespace options {

// Starts vk_reg of the program folder with the one empty argument; it reads
// the wishes from the settings file, which must therefore be written first.
// Raises platform::StartError, whose text names vk_reg, when it is missing
// or cannot be started.
void regautoandlink();

// Replaces the start of vk_reg (tests see the moment it would start, and
// what the settings file holds then); an empty hook restores it.
using VkRegStartHook = std::function<void()>;
void set_vk_reg_start_hook(VkRegStartHook hook);

}  // namespace options
