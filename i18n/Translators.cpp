#include "i18n/Translators.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <memory>
#include <vector>

namespace velarix {

namespace {

std::vector<QPointer<QTranslator>>& installed() {
    static std::vector<QPointer<QTranslator>> translators;
    return translators;
}

// Translators installed later are asked first.
bool install(std::unique_ptr<QTranslator> translator) {
    if (!QCoreApplication::installTranslator(translator.get()))
        return false;
    translator->setParent(QCoreApplication::instance());
    installed().emplace_back(translator.release());
    return true;
}

bool loadInto(QTranslator& translator, const QLocale& language, const QString& name,
              const QStringList& dirs) {
    for (const QString& dir : dirs)
        if (translator.load(language, name, QStringLiteral("_"), dir))
            return true;
    return false;
}

} // namespace

QStringList translationDirectories() {
    const QString installedDir =
        QDir(QCoreApplication::applicationDirPath())
            .absoluteFilePath(QStringLiteral("../" VELARIX_INSTALLED_TRANSLATIONS_DIR));
    return {QDir::cleanPath(installedDir), QStringLiteral(VELARIX_BUILD_TRANSLATIONS_DIR)};
}

QString installTranslators(const QLocale& locale) {
    for (const QPointer<QTranslator>& translator : installed()) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    installed().clear();

    // Without it tr("%n video(s)", nullptr, n) only puts the number in: "1 video(s)".
    auto english = std::make_unique<QTranslator>();
    if (english->load(QStringLiteral(":/i18n/velarix_en.qm")))
        install(std::move(english));

    // LANGUAGE=de:fr falls back to French only when there is no German; English stops the search,
    // or LANGUAGE=en:de would show German.
    const QStringList dirs = translationDirectories();
    for (const QString& name : locale.uiLanguages()) {
        const QLocale language(name);
        if (language.language() == QLocale::English || language.language() == QLocale::C)
            return {};
        auto ours = std::make_unique<QTranslator>();
        if (!loadInto(*ours, language, QStringLiteral("velarix"), dirs))
            continue;
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            install(std::move(qt));
        install(std::move(ours));
        return QLocale::languageToCode(language.language());
    }
    return {};
}

} // namespace velarix

namespace {

void installSystemTranslators() {
    velarix::installTranslators(QLocale::system());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installSystemTranslators)
