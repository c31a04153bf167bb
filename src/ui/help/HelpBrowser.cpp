#include "HelpBrowser.h"

#include <QColor>
#include <QDesktopServices>
#include <QRegularExpression>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

HelpBrowser::HelpBrowser(QWidget* parent)
    : QTextBrowser(parent)
    , m_openLink(&QDesktopServices::openUrl)
{
    // QTextBrowser would try to load a mail address as a page, and says nothing when the desktop
    // cannot open a web address: every link comes through followLink instead.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
    connect(this, &QTextBrowser::sourceChanged, this, [this] { setExtraSelections({}); });
}

void HelpBrowser::followLink(const QUrl& link)
{
    // Pages name one another relatively, as they would on disk.
    const QUrl url = source().resolved(link);
    if (url.scheme() == u"qrc")
        setSource(url);
    else if (!m_openLink(url))
        emit linkFailed(url);
}

void HelpBrowser::highlight(const QStringList& words)
{
    if (words.isEmpty()) {
        setExtraSelections({});
        return;
    }
    QStringList escaped;
    for (const QString& word : words)
        escaped << QRegularExpression::escape(word);
    // The search splits words the same way: letters, digits and underscores.
    const QRegularExpression pattern(QStringLiteral("\\b(?:%1)\\w*").arg(escaped.join(u'|')),
                                     QRegularExpression::CaseInsensitiveOption |
                                         QRegularExpression::UseUnicodePropertiesOption);

    QList<ExtraSelection> marks;
    QTextCharFormat marked;
    // Dark on yellow whatever the palette, as a marker pen.
    marked.setBackground(QColor(0xff, 0xe0, 0x66));
    marked.setForeground(QColor(Qt::black));
    for (QTextCursor found = document()->find(pattern); !found.isNull();
         found = document()->find(pattern, found))
        marks << ExtraSelection{found, marked};
    setExtraSelections(marks);
    if (!marks.isEmpty()) {
        setTextCursor(marks.constFirst().cursor);
        ensureCursorVisible();
    }
}
