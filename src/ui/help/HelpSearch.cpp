#include "HelpSearch.h"

#include "HelpManual.h"

#include <QTextDocument>

#include <algorithm>

namespace {

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

template <typename Visit>
void forEachWord(const QString& text, Visit visit)
{
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool inWord = i < text.size() && isWordCharacter(text.at(i));
        if (inWord && start < 0)
            start = i;
        else if (!inWord && start >= 0) {
            visit(text.mid(start, i - start).toCaseFolded());
            start = -1;
        }
    }
}

QMap<QString, int> wordCounts(const QString& text)
{
    QMap<QString, int> counts;
    forEachWord(text, [&counts](const QString& word) { ++counts[word]; });
    return counts;
}

// Occurrences of the words beginning with prefix; the map keeps them together, in order.
int countWithPrefix(const QMap<QString, int>& counts, const QString& prefix)
{
    int found = 0;
    for (auto it = counts.lowerBound(prefix); it != counts.cend() && it.key().startsWith(prefix);
         ++it)
        found += it.value();
    return found;
}

} // namespace

HelpSearch::HelpSearch(const QList<Topic>& topics)
{
    for (const Topic& topic : topics)
        m_topics << Indexed{topic.ref, topic.title, wordCounts(topic.text),
                            wordCounts(topic.title)};
}

HelpSearch HelpSearch::ofManual(const HelpManual& manual)
{
    QList<Topic> topics;
    for (const QString& page : manual.pages()) {
        QTextDocument document;
        // Links and the style sheet resolve within the manual, never against the current folder.
        document.setBaseUrl(HelpManual::urlOf(page));
        document.setHtml(QString::fromUtf8(HelpManual::fileData(page)));
        topics << Topic{page, document.metaInformation(QTextDocument::DocumentTitle),
                        document.toPlainText()};
    }
    return HelpSearch(topics);
}

std::optional<HelpSearch::Ranked> HelpSearch::rank(const Indexed& topic, const QStringList& asked)
{
    Ranked ranked{{topic.ref, topic.title, 0}, 0};
    for (const QString& word : asked) {
        const int inText = countWithPrefix(topic.textWords, word);
        if (inText == 0)
            return std::nullopt;
        ranked.hit.count += inText;
        ranked.score += inText + TitleWeight * countWithPrefix(topic.titleWords, word);
    }
    return ranked;
}

QList<HelpSearch::Hit> HelpSearch::find(const QString& query) const
{
    const QStringList asked = words(query);
    if (asked.isEmpty())
        return {};
    QList<Ranked> ranked;
    for (const Indexed& topic : m_topics)
        if (const std::optional<Ranked> entry = rank(topic, asked))
            ranked << *entry;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.score > b.score; });
    QList<Hit> hits;
    for (const Ranked& entry : std::as_const(ranked))
        hits << entry.hit;
    return hits;
}

QStringList HelpSearch::words(const QString& text)
{
    QStringList found;
    forEachWord(text, [&found](const QString& word) {
        if (!found.contains(word))
            found << word;
    });
    return found;
}
