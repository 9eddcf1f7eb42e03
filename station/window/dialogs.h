#pragma once
// The six dialogs of the station window.

#include "station/window/about_form.h"
#include "station/window/log_cfg_form.h"
#include "station/window/config_sn_form.h"
#include "station/window/kelpra_cfg_form.h"
#include "station/window/chip_select_form.h"
#include "station/window/option_bytes_form.h"
