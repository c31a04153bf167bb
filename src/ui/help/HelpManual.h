#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// One entry of the manual's contents: a topic and the topics under it.
struct HelpTopic {
    QString title;
    QString ref; // a file of the manual, perhaps with "#anchor"
    QList<HelpTopic> children;
};

// One entry of the manual's index.
struct HelpKeyword {
    QString name;
    QString ref;
};

// The user manual as the program carries it: the pages of resources/help, embedded as Qt
// resources, and the help project runlatch.qhp beside them, which names every file, the
// contents and the index keywords. Embedding them means the manual can never be missing or
// out of step with the program, whatever the platform or the way it was installed.
class HelpManual {
public:
    // Reads the help project from the resources; a project that cannot be read leaves the
    // manual empty and says why in error().
    HelpManual();

    [[nodiscard]] const QList<HelpTopic>& contents() const { return m_contents; }
    // Sorted without regard to case, as a reader scans an index.
    [[nodiscard]] const QList<HelpKeyword>& keywords() const { return m_keywords; }
    // Every file of the manual, pages and style sheet, in the project's order.
    [[nodiscard]] const QStringList& files() const { return m_files; }
    // The pages among files().
    [[nodiscard]] QStringList pages() const;
    [[nodiscard]] const QString& error() const { return m_error; }

    // Where the browser finds a file of the manual; ref may carry an anchor.
    [[nodiscard]] static QUrl urlOf(const QString& ref);
    // The file's bytes; empty for a file the manual does not hold.
    [[nodiscard]] static QByteArray fileData(const QString& file);
    // The first page of the contents, where Help > Contents opens.
    [[nodiscard]] QString homeRef() const;

private:
    QList<HelpTopic> m_contents;
    QList<HelpKeyword> m_keywords;
    QStringList m_files;
    QString m_error;
};
