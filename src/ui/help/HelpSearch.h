#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

class HelpManual;

// The help window's full-text search: which topics hold every word asked for, best first.
// A word asked for matches the words of a topic that begin with it, without regard to case, so
// "delay" finds "delayed" and "Delay". Topics are ranked by how often the words occur, where a
// word in the title counts TitleWeight times more, as a topic named for it is about it; topics
// that rank alike keep the manual's order.
class HelpSearch {
public:
    struct Topic {
        QString ref;
        QString title;
        QString text;
    };
    struct Hit {
        QString ref;
        QString title;
        int count = 0; // occurrences of the words in the page's text
    };

    explicit HelpSearch(const QList<Topic>& topics);
    // Every page of the manual, with its title and text as the browser shows them.
    [[nodiscard]] static HelpSearch ofManual(const HelpManual& manual);

    [[nodiscard]] QList<Hit> find(const QString& query) const;

    // The words of a text as the search sees them: runs of letters, digits and underscores,
    // case-folded, each once.
    [[nodiscard]] static QStringList words(const QString& text);

    static constexpr int TitleWeight = 10;

private:
    struct Indexed {
        QString ref;
        QString title;
        QMap<QString, int> textWords;
        QMap<QString, int> titleWords;
    };
    struct Ranked {
        Hit hit;
        int score;
    };

    // The topic's rank, or nothing when it lacks one of the words asked for.
    [[nodiscard]] static std::optional<Ranked> rank(const Indexed& topic, const QStringList& asked);

    QList<Indexed> m_topics;
};
