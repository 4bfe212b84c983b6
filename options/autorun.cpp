#include "options/autorun.h"

#include <utility>

#include "platform/platform.h"
#include "storage/paths.h"

namespace options {

namespace {

VkRegStartHook& hook()
{
    static VkRegStartHook instance;
    return instance;
}

}  // namespace

void set_vk_reg_start_hook(VkRegStartHook h) { hook() = std::move(h); }

void regautoandlink()
{
    if (hook())
        hook()();
    else
        platform::regautoandlink(program_folder());
}

}  // namespace options
