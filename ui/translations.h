#pragma once

#include <QLocale>
#include <QStringList>

class QCoreApplication;

namespace tarvelo {

// The folders the program's translations are looked for in, first match wins:
// translations/ beside the program (the build tree) and ../share/tarvelo/translations
// from the program's folder (installed).
QStringList translationFolders();

// Installs the translations for the first of the locale's user interface languages that
// has them (QLocale::system() honours LANGUAGE): the window's texts (tarvelo_LANG.qm), the
// core's messages (tarvelo_core_LANG.qm) and Qt's own (qtbase_LANG.qm, for the standard
// buttons). Numbers and dates keep their formats; only texts change. Returns how many
// catalogs were installed; none for English, the source language.
int installTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system(),
                        const QStringList& folders = translationFolders());

} // namespace tarvelo
