#pragma once

#include "EditorDialog.h"

class Prompts;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;
class Scheduler;
struct JobTable;

// The schedule dialog: the repeat period in whole hours and minutes, and whether and when the
// first timed run is held back. It is filled from the job table each time it opens and writes
// back only on Save, after which the repeat timer takes the new period and, with the delay on,
// the user may arm the delayed start. A Save that changes the schedule marks the job table
// modified.
class TRunlatchSchedForm : public EditorDialog {
    Q_OBJECT

public:
    explicit TRunlatchSchedForm(Prompts& prompts, QWidget* parent = nullptr);

    // Configure > Schedule: fills the dialog, shows it modally and applies it on Save.
    void Schedule1Click(JobTable& table, Scheduler& scheduler);

private:
    void createWidgets();
    void setFocusOrder();
    void fill(const JobTable& table);
    void apply(JobTable& table, Scheduler& scheduler);

    Prompts& m_prompts;
    QLineEdit* m_hoursEdt = nullptr;
    QLineEdit* m_minsEdt = nullptr;
    QRadioButton* m_delayNo = nullptr;
    QRadioButton* m_delayYes = nullptr;
    QDateEdit* m_dateTimePicker1 = nullptr;
    QTimeEdit* m_dateTimePicker2 = nullptr;
    QPushButton* m_saveBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
};
