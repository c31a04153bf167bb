#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;

// The box Change Parameter opens: one line wide enough for a long parameter string, offering
// the row's parameters selected, so that typing replaces them and OK alone keeps them. Enter
// presses OK and Escape Cancel.
class ParameterBox : public QDialog {
    Q_OBJECT

public:
    // The field holds at most this many characters, unless the parameters offered are longer.
    static constexpr int MaxLength = 255;

    ParameterBox(const QString& caption, const QString& prompt, QWidget* parent = nullptr);

    // Shows the box modally with current offered; the text after OK, nullopt after Cancel.
    [[nodiscard]] std::optional<QString> ask(const QString& current);

private:
    void fitWidth(const QString& text);

    QLabel* m_prompt;
    QLineEdit* m_edit;
};
