#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

// Checks of what a keyboard or screen reader user finds in a window, for the window tests. The
// text checks give an empty text when the check holds, else what is wrong, to be shown by
// QVERIFY2.
namespace AccessibilityChecks {

// Whether the user can act on the widget: reach it with the keyboard or press it. Qt's own
// parts of a composite widget (a date field's inner line, a list's viewport) are described by
// the widget they belong to.
inline bool isControl(const QWidget& widget)
{
    if (widget.objectName().startsWith(u"qt_"))
        return false;
    return widget.focusPolicy() != Qt::NoFocus || qobject_cast<const QAbstractButton*>(&widget);
}

// What a screen reader reads for the widget: its own texts, or what Qt derives from its caption,
// its label or its tooltip.
inline QString readText(QWidget& widget, QAccessible::Text kind)
{
    QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(&widget);
    return readable ? readable->text(kind).trimmed() : QString();
}

// The shown controls of the window that a screen reader would find without a name or without a
// description.
inline QString undescribedControls(const QWidget& window)
{
    QStringList missing;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window) || !isControl(*widget))
            continue;
        QStringList lacks;
        if (readText(*widget, QAccessible::Name).isEmpty())
            lacks << QStringLiteral("name");
        if (readText(*widget, QAccessible::Description).isEmpty())
            lacks << QStringLiteral("description");
        if (!lacks.isEmpty())
            missing << QStringLiteral("%1 %2 has no %3")
                           .arg(QString::fromLatin1(widget->metaObject()->className()),
                                widget->objectName(), lacks.join(QStringLiteral(" and ")));
    }
    return missing.join(QStringLiteral("; "));
}

// The name of the widget with the focus, or of its nearest named ancestor: a date field's focus
// sits in its inner line edit.
inline QString focusName()
{
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith(u"qt_"))
            return widget->objectName();
    return {};
}

// The names of the widgets the focus visits on presses of Tab (or Shift+Tab with backwards), one
// name a press, starting with the widget that has it now. The window must be active.
inline QStringList tabStops(int presses, bool backwards = false)
{
    QStringList stops{focusName()};
    for (int i = 0; i < presses && QApplication::focusWidget(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        stops << focusName();
    }
    return stops;
}

} // namespace AccessibilityChecks
