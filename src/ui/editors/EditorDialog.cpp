#include "EditorDialog.h"

#include <QKeyEvent>

EditorDialog::EditorDialog(QWidget* parent)
    : QDialog(parent)
{}

void EditorDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
