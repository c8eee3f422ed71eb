// SPDX-License-Identifier: GPL-3.0-or-later
// Planted: includes that keep to the order.
#include "editor/settings_entries.h"
#include "radio/zavo_doc.h"
#include "local_header.h"
