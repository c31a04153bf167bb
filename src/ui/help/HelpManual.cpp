#include "HelpManual.h"

#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

constexpr QLatin1StringView ResourceFolder{":/help/"};
constexpr QLatin1StringView ProjectFile{"runlatch.qhp"};

// Reads the <section> elements below the one the reader stands on.
QList<HelpTopic> readSections(QXmlStreamReader& xml)
{
    QList<HelpTopic> topics;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"section") {
            xml.skipCurrentElement();
            continue;
        }
        HelpTopic topic;
        topic.title = xml.attributes().value(QLatin1StringView("title")).toString();
        topic.ref = xml.attributes().value(QLatin1StringView("ref")).toString();
        topic.children = readSections(xml);
        topics << topic;
    }
    return topics;
}

QList<HelpKeyword> readKeywords(QXmlStreamReader& xml)
{
    QList<HelpKeyword> keywords;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"keyword")
            keywords << HelpKeyword{xml.attributes().value(QLatin1StringView("name")).toString(),
                                    xml.attributes().value(QLatin1StringView("ref")).toString()};
        xml.skipCurrentElement();
    }
    return keywords;
}

QStringList readFiles(QXmlStreamReader& xml)
{
    QStringList files;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"file")
            files << xml.readElementText().trimmed();
        else
            xml.skipCurrentElement();
    }
    return files;
}

} // namespace

HelpManual::HelpManual()
{
    QXmlStreamReader xml(fileData(ProjectFile));
    // The three lists sit inside <filterSection>, which sits inside the project; everything
    // else of the project format is Qt Help's and of no use here.
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"toc")
            m_contents = readSections(xml);
        else if (xml.name() == u"keywords")
            m_keywords = readKeywords(xml);
        else if (xml.name() == u"files")
            m_files = readFiles(xml);
    }
    if (xml.hasError())
        m_error = QStringLiteral("%1 line %2: %3")
                      .arg(ProjectFile)
                      .arg(xml.lineNumber())
                      .arg(xml.errorString());
    std::stable_sort(m_keywords.begin(), m_keywords.end(),
                     [](const HelpKeyword& a, const HelpKeyword& b) {
                         return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
                     });
}

QStringList HelpManual::pages() const
{
    QStringList pages;
    for (const QString& file : m_files)
        if (file.endsWith(u".html"))
            pages << file;
    return pages;
}

QUrl HelpManual::urlOf(const QString& ref)
{
    return QUrl(QStringLiteral("qrc") + ResourceFolder + ref);
}

QByteArray HelpManual::fileData(const QString& file)
{
    // The name is ours, never a user's: it always means the embedded file.
    QFile embedded(ResourceFolder + file);
    return embedded.open(QIODevice::ReadOnly) ? embedded.readAll() : QByteArray();
}

QString HelpManual::homeRef() const
{
    return m_contents.isEmpty() ? QString() : m_contents.constFirst().ref;
}
