#include "ui/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace tarvelo {

namespace {

bool installCatalog(QCoreApplication& app, const QLocale& locale, const QString& name, const QStringList& folders)
{
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(locale, name, QStringLiteral("_"), folder, QStringLiteral(".qm"))
            && QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
    }
    return false;
}

} // namespace

QStringList translationFolders()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    return {programDir.filePath(QStringLiteral("translations")),
            QDir::cleanPath(programDir.filePath(QStringLiteral("../share/tarvelo/translations")))};
}

int installTranslations(QCoreApplication& app, const QLocale& locale, const QStringList& folders)
{
    // The user's languages in the order of preference; English, the source language, ends
    // the search (LANGUAGE=en:de means English). The window's catalog decides: without it
    // the program stays English throughout, rather than showing Qt's buttons in one
    // language and its own texts in another.
    QLocale chosen;
    bool found = false;
    for (const QString& language : locale.uiLanguages()) {
        const QLocale candidate(language);
        if (candidate.language() == QLocale::English || candidate.language() == QLocale::C)
            return 0;
        if (installCatalog(app, candidate, QStringLiteral("tarvelo"), folders)) {
            chosen = candidate;
            found = true;
            break;
        }
    }
    if (!found)
        return 0;
    int installed = 1;
    installed += installCatalog(app, chosen, QStringLiteral("tarvelo_core"), folders) ? 1 : 0;
    installed += installCatalog(app, chosen, QStringLiteral("qtbase"),
                                {QLibraryInfo::path(QLibraryInfo::TranslationsPath)})
                     ? 1
                     : 0;
    return installed;
}

} // namespace tarvelo
