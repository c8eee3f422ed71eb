// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include "lang/language_sections.h"

namespace qzm {

QString localeNameFor(const std::filesystem::path& languageFile) {
    const std::string named = faceLocale(languageFile);
    if (!named.empty()) {
        return QString::fromStdString(named);
    }
    return QLocale::system().name();
}

QtTranslations::~QtTranslations() {
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
    }
}

void QtTranslations::follow(const std::filesystem::path& languageFile) {
    const QString locale = localeNameFor(languageFile);
    if (following_ && locale == locale_) {
        return;
    }
    following_ = true;
    locale_ = locale;
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    // "qtbase" holds the standard buttons and the file and print dialogs.
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QLocale(locale), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        !translator->isEmpty()) {
        QCoreApplication::installTranslator(translator.get());
        translator_ = std::move(translator);
    }
}

}  // namespace qzm
