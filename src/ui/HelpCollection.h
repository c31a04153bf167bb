#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>

// Where the user manual is found, and a copy of it that Qt Help can work with. The manual is a
// Qt help collection that registers the compressed manual lying beside it.

inline constexpr QLatin1StringView HelpCollectionName{"Runlatch.qhc"};
inline constexpr QLatin1StringView HelpManualName{"Runlatch.qch"};

// The folders searched for the manual, in order: the program's own folder, where the build puts
// it, then the data folder of an installation whose program lies in a bin folder.
[[nodiscard]] QStringList helpFolders(const QString& programDir);

// The collection in the first of the folders that holds one; empty when none does.
[[nodiscard]] QString findHelpCollection(const QStringList& folders);

// Qt Help keeps the full-text search index in a folder beside the collection. A collection whose
// folder cannot be written to is therefore copied, with its manual, into cacheFolder and the copy
// is used; the original is used when copying fails or there is no cacheFolder, which leaves only
// the search without an index.
[[nodiscard]] QString usableHelpCollection(const QString& collection, const QString& cacheFolder);

// Copies the collection and its manual into folder, unless copies of the same size and
// modification time are there already, and returns the copied collection's path; empty when a
// file could not be copied.
[[nodiscard]] QString copyHelpCollection(const QString& collection, const QString& folder);
