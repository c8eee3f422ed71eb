// SPDX-License-Identifier: GPL-3.0-or-later
#include "layer_rules.h"

#include <sstream>

namespace qzm::layering {
namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string describe(const Layer& layer, bool qt) {
    if (layer.program || layer.qtOnly || !qt) {
        return layer.folder;
    }
    return layer.folder + "/qt";
}

}  // namespace

std::optional<LayerRules> LayerRules::parse(const std::string& text, std::string& error) {
    LayerRules rules;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream words(line);
        Layer layer;
        if (!(words >> layer.folder) || layer.folder.front() == '#') {
            continue;
        }
        for (std::string kind; words >> kind;) {
            if (kind == "std") {
                layer.hasStd = true;
            } else if (kind == "qt") {
                layer.hasQt = true;
            } else if (kind == "qt-only") {
                layer.qtOnly = true;
            } else if (kind == "program") {
                layer.program = true;
            } else {
                error = "line " + std::to_string(number) + ": unknown kind '" + kind + "'";
                return std::nullopt;
            }
        }
        if (!layer.hasStd && !layer.hasQt && !layer.qtOnly) {
            error = "line " + std::to_string(number) + ": '" + layer.folder + "' has no kind";
            return std::nullopt;
        }
        rules.layers_.push_back(layer);
    }
    if (rules.layers_.empty()) {
        error = "no layers";
        return std::nullopt;
    }
    return rules;
}

std::optional<Place> LayerRules::placeOfFile(const std::string& path) const {
    for (std::size_t i = 0; i < layers_.size(); ++i) {
        const Layer& layer = layers_[i];
        const std::string root = (layer.program ? "" : "src/") + layer.folder + "/";
        if (!startsWith(path, root)) {
            continue;
        }
        if (layer.program) {
            // A program is Qt code when it is declared so; std programs stay std.
            return Place{i, layer.hasQt};
        }
        return Place{i, layer.qtOnly || startsWith(path, root + "qt/")};
    }
    return std::nullopt;
}

std::optional<Place> LayerRules::placeOfInclude(const std::string& include) const {
    for (std::size_t i = 0; i < layers_.size(); ++i) {
        const Layer& layer = layers_[i];
        if (layer.program || !startsWith(include, layer.folder + "/")) {
            continue;
        }
        return Place{i, layer.qtOnly || startsWith(include, layer.folder + "/qt/")};
    }
    return std::nullopt;
}

std::string LayerRules::refusal(const Place& from, const Place& to) const {
    const Layer& source = layers_[from.layer];
    const Layer& target = layers_[to.layer];
    if (to.layer > from.layer) {
        return describe(target, to.qt) + " is a layer above " + describe(source, from.qt);
    }
    if (to.qt && !from.qt) {
        return describe(source, from.qt) + " is std-only code and " + describe(target, to.qt) +
               " is Qt code";
    }
    return {};
}

bool isQtHeader(const std::string& include) {
    if (include.size() >= 2 && include[0] == 'Q' && include[1] >= 'A' && include[1] <= 'Z') {
        return true;
    }
    return startsWith(include, "Qt") || startsWith(include, "qglobal") ||
           startsWith(include, "qobject");
}

}  // namespace qzm::layering
