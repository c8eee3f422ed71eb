// SPDX-License-Identifier: GPL-3.0-or-later
// Planted: std-only radio code reaching Qt and a higher layer.
#include <string>
#include <QString>
#include "link/transfer.h"
#include "platform/qt/colour.h"
#include "radio/zavo_doc.h"
