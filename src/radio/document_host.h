// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace qzm {

class CZavoDoc;

// What the document needs from the application and its framework side: the quiet-New
// flag the application owns, the save-changes question asked before a modified document
// is replaced, and the caption of application message boxes.
class DocumentHost {
  public:
    virtual ~DocumentHost() = default;

    // While set, the next New asks no question; the New clears it.
    virtual bool skipClearPrompt() const = 0;
    virtual void setSkipClearPrompt(bool value) = 0;

    // Called only for a modified document before it is replaced (New, Open).  Asks whether
    // to save the changes and saves when told to (through CZavoDoc::saveAs, after a file
    // dialog when the document has no path).  True to go on: the changes were saved or
    // discarded; false abandons the command (Cancel, or the save failed).
    virtual bool saveModified(CZavoDoc& document) = 0;

    // The framework's default caption, used for application message boxes.
    virtual std::string applicationName() const = 0;
};

}  // namespace qzm
