#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <array>
#include <memory>

namespace {

// The name the build gives the program's translations, before "_<language>.qm".
constexpr QLatin1StringView ProgramTranslation{"runlatch"};
// Qt's dialog buttons and file dialog.
constexpr std::array<QLatin1StringView, 1> QtTranslations{QLatin1StringView("qtbase")};

// QTranslator also tries the bare prefix (runlatch.qm) when no language matches; no such file is
// ever built, so an unknown language stays English.
bool installFrom(QCoreApplication& app, const QString& folder, QLatin1StringView prefix,
                 const QLocale& locale, QStringList& loaded)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, prefix, QStringLiteral("_"), folder))
        return false;
    QTranslator* installed = translator.release();
    installed->setParent(&app);
    QCoreApplication::installTranslator(installed);
    loaded << installed->filePath();
    return true;
}

} // namespace

QStringList translationFolders(const QString& programDir)
{
    return {programDir + QStringLiteral("translations"),
            QDir::cleanPath(programDir + QStringLiteral("/../share/runlatch/translations"))};
}

QStringList installTranslations(QCoreApplication& app, const QString& programDir,
                                const QLocale& locale)
{
    QStringList loaded;
    for (const QLatin1StringView qt : QtTranslations)
        installFrom(app, QLibraryInfo::path(QLibraryInfo::TranslationsPath), qt, locale, loaded);
    for (const QString& folder : translationFolders(programDir))
        if (installFrom(app, folder, ProgramTranslation, locale, loaded))
            break;
    return loaded;
}
