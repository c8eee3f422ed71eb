// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qzm::layering {

// One line of src/layers.txt.
struct Layer {
    std::string folder;  // "link", or "tools/sim" for a program outside src/
    bool hasStd = false;
    bool hasQt = false;    // a qt/ subfolder
    bool qtOnly = false;   // the whole folder is Qt code
    bool program = false;  // outside src/, above every layer
};

// Where a file sits: its layer (index into the list) and whether it is Qt code.
struct Place {
    std::size_t layer = 0;
    bool qt = false;
};

class LayerRules {
  public:
    // Reads the text of src/layers.txt; nullopt and `error` set when a line is not
    // understood.
    static std::optional<LayerRules> parse(const std::string& text, std::string& error);

    const std::vector<Layer>& layers() const { return layers_; }

    // The place of a file given by its path from the repository's root
    // ("src/link/qt/port_dialog.cpp", "bench/clone.cpp"); nullopt outside every layer.
    std::optional<Place> placeOfFile(const std::string& path) const;
    // The place of a header included as "link/transfer.h" (a path from src/);
    // nullopt when it does not start with a layer's folder.
    std::optional<Place> placeOfInclude(const std::string& include) const;

    // Why `from` may not include `to`, or an empty text when it may.
    std::string refusal(const Place& from, const Place& to) const;

  private:
    std::vector<Layer> layers_;
};

// A Qt header included with angle brackets: <QDialog>, <QtCore/QString>, <qglobal.h>.
bool isQtHeader(const std::string& include);

}  // namespace qzm::layering
