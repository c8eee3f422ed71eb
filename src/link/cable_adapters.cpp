// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/cable_adapters.h"

#include <algorithm>
#include <cctype>

namespace qzm {
namespace {

bool sameHex(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::optional<CableAdapter> findCableAdapter(std::string_view vendor, std::string_view product) {
    for (const CableAdapter& adapter : kCableAdapters) {
        if (sameHex(adapter.id.vendor, vendor) && sameHex(adapter.id.product, product)) {
            return adapter;
        }
    }
    return std::nullopt;
}

}  // namespace qzm
