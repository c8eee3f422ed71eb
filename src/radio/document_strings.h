// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace qzm {

// The fields of the document type, for the window's title, file dialogs and the
// registration of the file type.
inline constexpr std::string_view kDocumentWindowTitle = "PC Software";
inline constexpr std::string_view kDocumentName = "Item";
inline constexpr std::string_view kDocumentFilterName = "Radio Program Data Files(*.836)";
inline constexpr std::string_view kDocumentFilterPattern = "*.836";
inline constexpr std::string_view kDocumentFilterExtension = ".836";
inline constexpr std::string_view kDocumentFileTypeId = "836";
inline constexpr std::string_view kDocumentFileTypeName = "Radio Data Files";

// Language keys of the document's messages.
inline constexpr std::string_view kTextWarnClear = "IDS_WARN_CLEAR";
inline constexpr std::string_view kTextWarnSave = "IDS_WARN_SAVE";
inline constexpr std::string_view kTextWarnLoad = "IDS_WARN_LOAD";
inline constexpr std::string_view kTextWarnLoadDamaged = "IDS_WARN_LOAD_DAMAGED";
inline constexpr std::string_view kTextPrompt = "IDS_PROMPT";
inline constexpr std::string_view kTextOff = "IDS_OFF";

}  // namespace qzm
