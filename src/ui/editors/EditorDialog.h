#pragma once

#include <QDialog>

// A modal editor window that only its own commands close: Escape does not cancel it, as it
// would a plain QDialog, so a stray key press cannot throw away the user's edits. The close box
// still cancels.
class EditorDialog : public QDialog {
    Q_OBJECT

public:
    explicit EditorDialog(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
