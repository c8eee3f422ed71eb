// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTranslator>
#include <filesystem>
#include <memory>

namespace qzm {

// Qt's own texts (standard buttons, file and print dialogs) in the language of
// the current language file: its [Face] locale, else the system locale.  The
// catalogues come from Qt's translations folder (Debian: qt6-translations-l10n);
// without one for the locale, Qt's English texts stay.
class QtTranslations {
  public:
    QtTranslations() = default;
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Installs the translations for `languageFile`'s locale when it differs
    // from the one in place, so calling it at every text refresh costs little.
    // Installing sends the LanguageChange event that makes Qt's widgets retitle.
    void follow(const std::filesystem::path& languageFile);

    // The locale now followed, and whether a catalogue for it was found.
    const QString& localeName() const { return locale_; }
    bool loaded() const { return translator_ != nullptr; }

  private:
    QString locale_;
    bool following_ = false;
    std::unique_ptr<QTranslator> translator_;
};

// The locale a language file asks for: Face/locale, else the system's.
QString localeNameFor(const std::filesystem::path& languageFile);

}  // namespace qzm
