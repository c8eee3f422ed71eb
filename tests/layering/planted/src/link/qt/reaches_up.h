// SPDX-License-Identifier: GPL-3.0-or-later
// Planted: the link's Qt half reaching the safety layer above it.
#pragma once
#include <QDialog>
#include "link/transfer.h"
#include "safety/backup_store.h"
