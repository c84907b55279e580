// SPDX-License-Identifier: GPL-3.0-or-later
// Unregistering the archives selected in the window's list by removing their slots.
#pragma once

#include <string_view>
#include <vector>

#include "ListEntry.h"
#include "UserPrompts.h"

namespace varnock {

// Removes the slots of the selected entries in one save; every later slot moves down by the
// number of removed slots before it, so that an archive the other application loaded stays
// loaded. Confirms when the list's last entry was among them. Changes nothing, and tells the
// user why, when the save fails or the file's slots are no longer those the list shows
// (another program changed it). list holds every slot that holds a value.
enum class Unregistration { EmptyList, NothingSelected, Unregistered, NotUnregistered };
Unregistration unregisterSelected(std::string_view iniPath, const std::vector<ListEntry>& list,
                                  UserPrompts& prompts);

}  // namespace varnock
