// SPDX-License-Identifier: GPL-3.0-or-later
// Removing what Varnock processes that were ended mid-way left behind.
#pragma once

#include "platform/Folder.h"

namespace varnock::platform {

// Removes the temporary files in folder that no process holds locked, that this user made
// and that have not changed for a moment. Housekeeping: what cannot be removed now is tried
// again by the next save.
void sweepLeftovers(const Folder& folder);

}  // namespace varnock::platform
