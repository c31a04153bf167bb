#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QCoreApplication;

// The program's texts in the user's language. English is written in the code and needs no file;
// a translation is a compiled runlatch_<language>.qm, such as runlatch_de.qm.

// The folders searched for translations, in order: "translations" in the program's own folder,
// where the build puts them, then the data folder of an installation whose program lies in a bin
// folder. programDir ends with "/".
[[nodiscard]] QStringList translationFolders(const QString& programDir);

// Installs into app, which owns them, the program's translation for locale from the first of the
// folders that holds one, and Qt's own (dialog buttons, the file dialog) from Qt's translations
// folder. Nothing is installed for a language without a file. Returns the files loaded.
QStringList installTranslations(QCoreApplication& app, const QString& programDir,
                                const QLocale& locale);
