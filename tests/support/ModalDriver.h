#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>

// Runs whileOpen inside the dialog's modal loop once the command that shows it has started it,
// as the user's actions would run. A test that failed before closing the dialog must not hang
// the suite: the dialog is then rejected and leftOpen set, for the test to check.
inline void whenModalRuns(QDialog& dialog, bool& leftOpen, const std::function<void()>& whileOpen)
{
    leftOpen = false;
    QTimer::singleShot(0, &dialog, [&dialog, &leftOpen, whileOpen] {
        whileOpen();
        if (dialog.isVisible()) {
            leftOpen = true;
            dialog.reject();
        }
    });
}
