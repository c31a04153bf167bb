#pragma once

#include <QObject>

class Prompts;

// Lets only the digits 0 to 9 be typed into the text fields it is installed on. Every other
// typed character, Backspace, Enter and Escape included, is dropped with a beep. Keys that type
// no character (Delete, the arrows, Home and End, Tab, shortcuts such as Ctrl+A or Ctrl+V) pass,
// so a digit can still be removed with Delete or by typing over a selection, and text that is
// pasted is taken as it is.
class DigitsOnlyKeyFilter : public QObject {
    Q_OBJECT

public:
    DigitsOnlyKeyFilter(Prompts& prompts, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Prompts& m_prompts;
};
