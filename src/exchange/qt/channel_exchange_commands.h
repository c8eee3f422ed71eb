// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qzm {

class AppShell;
class CZavoDoc;

// File > Import channels: a channel list (our own table or CHIRP's CSV) into
// the document, after a preview of every row's outcome.  OK enters the rows
// as edits (the document is modified, the views refill once); Cancel changes
// nothing.
void importChannels(AppShell& shell, CZavoDoc& document);

// File > Export channels: the channel table as our own CSV or as CHIRP's,
// chosen by the file type in the save dialog.
void exportChannels(AppShell& shell, CZavoDoc& document);

}  // namespace qzm
