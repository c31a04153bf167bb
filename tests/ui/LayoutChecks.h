#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QTest>
#include <QWidget>

// Checks of how a window arranges its widgets, for the window tests: what a user would notice,
// not pixel positions. Each gives an empty text when the check holds, else what is wrong, to be
// shown by QVERIFY2.
namespace LayoutChecks {

// A widget's rectangle in the coordinates of its window.
inline QRect windowRect(const QWidget& widget)
{
    return QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size());
}

inline QString describe(const QWidget& widget)
{
    const QRect r = windowRect(widget);
    return QStringLiteral("%1 at (%2, %3) %4 x %5")
        .arg(widget.objectName())
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

// Whether the widget has at least the size it asks for, so that its text shows whole, and
// lies within its parent.
inline QString cutOff(const QWidget& widget)
{
    const QSize hint = widget.sizeHint();
    if (widget.width() < hint.width() || widget.height() < hint.height())
        return QStringLiteral("%1 is smaller than its size hint %2 x %3")
            .arg(describe(widget))
            .arg(hint.width())
            .arg(hint.height());
    if (const QWidget* parent = widget.parentWidget();
        parent && !parent->rect().contains(widget.geometry()))
        return QStringLiteral("%1 reaches out of %2").arg(describe(widget), describe(*parent));
    return {};
}

// Whether two of the widgets overlap; a widget and one it holds do not count.
inline QString overlapping(const QList<const QWidget*>& widgets)
{
    for (qsizetype i = 0; i < widgets.size(); ++i)
        for (qsizetype j = i + 1; j < widgets.size(); ++j) {
            const QWidget& a = *widgets[i];
            const QWidget& b = *widgets[j];
            if (a.isAncestorOf(&b) || b.isAncestorOf(&a))
                continue;
            if (windowRect(a).intersects(windowRect(b)))
                return QStringLiteral("%1 overlaps %2").arg(describe(a), describe(b));
        }
    return {};
}

// Whether first lies wholly above second ("above"), or wholly to its left ("left of").
inline QString misplaced(const QWidget& first, const QString& placement, const QWidget& second)
{
    const QRect a = windowRect(first);
    const QRect b = windowRect(second);
    bool holds = false;
    if (placement == u"above")
        holds = a.bottom() < b.top();
    else if (placement == u"left of")
        holds = a.right() < b.left();
    else
        return QStringLiteral("unknown placement %1").arg(placement);
    if (holds)
        return {};
    return QStringLiteral("%1 is not %2 %3").arg(describe(first), placement, describe(second));
}

// A table of placements, one row for each pair of named widgets: the columns, then the rows.
inline void addPlacementColumns()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("placement");
    QTest::addColumn<QString>("second");
}

inline void addPlacement(const QString& first, const QString& placement, const QString& second)
{
    QTest::addRow("%s %s %s", qPrintable(first), qPrintable(placement), qPrintable(second))
        << first << placement << second;
}

// The current row of such a table, checked in window.
inline QString misplacedInRow(const QWidget& window)
{
    QFETCH(QString, first);
    QFETCH(QString, placement);
    QFETCH(QString, second);
    const auto* a = window.findChild<const QWidget*>(first);
    const auto* b = window.findChild<const QWidget*>(second);
    if (!a || !b)
        return QStringLiteral("no widget %1 or %2").arg(first, second);
    return misplaced(*a, placement, *b);
}

} // namespace LayoutChecks
