#include "RunlatchSchedForm.h"

#include "DateTime.h"
#include "DigitsOnlyKeyFilter.h"
#include "IntegerText.h"
#include "JobTable.h"
#include "Prompts.h"
#include "Scheduler.h"
#include "ScopeExit.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Room for five digits in the field's own font: the longest period the repeat timer takes is
// 1193 hours or 71582 minutes. The 2 pixels a side are the margin QLineEdit keeps around its text.
int periodFieldWidth(const QLineEdit& field)
{
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.lineWidth = field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field);
    const QFontMetrics metrics = field.fontMetrics();
    const QSize text(metrics.horizontalAdvance(QStringLiteral("00000")) + 2 * 2, metrics.height());
    return field.style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, &field).width();
}

// The locale's short date with the year in full: with two digits, 1850 and 2050 would look the
// same, and a year typed into the field would land in a century of Qt's choosing.
QString shortDateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

// The locale's short time with seconds: a start time loaded from the job file may carry them,
// and the field should show the time that will be saved.
QString timeFormat()
{
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    if (!format.contains(u's'))
        format.replace(QLatin1String("mm"), QLatin1String("mm:ss"));
    return format;
}

// The start time to show for the job table's value. A hand-edited job file can hold any number
// there, far outside the years the date field can show, or even "NaN". Rather than invent a
// date, the value is brought to the nearest one the field can hold (and "NaN" to the day-count
// origin): a year such as 9999 stands out, and the user can correct it or leave the delay off.
QDateTime shownStartTime(TDateTime value, const QDateEdit& picker)
{
    if (std::isnan(value))
        value = 0.0;
    const TDateTime first = toDateTime(QDateTime(picker.minimumDate(), QTime(0, 0)));
    const TDateTime last = toDateTime(QDateTime(picker.maximumDate(), QTime(23, 59, 59)));
    return fromDateTime(std::clamp(value, first, last));
}

// The schedule as the dialog shows it. A start time beyond what the fields can hold counts as the
// one they show, so that saving what was shown changes nothing the user could see.
struct ShownSchedule {
    std::int32_t hours;
    std::int32_t minutes;
    bool delayed;
    QDateTime start;

    friend bool operator==(const ShownSchedule&, const ShownSchedule&) = default;
};

ShownSchedule shownSchedule(const JobTable& table, const QDateEdit& picker)
{
    return {table.EveryHours, table.EveryMins, table.DelayedStart,
            shownStartTime(table.DelayedStartTime, picker)};
}

// Trims the field's text and writes the trimmed text back, as the field then shows it.
QString takeTrimmedText(QLineEdit& field)
{
    const QString text = trimmedText(field.text());
    field.setText(text);
    return text;
}

// An empty field means 0.
std::optional<std::int32_t> fieldValue(const QString& trimmed)
{
    if (trimmed.isEmpty())
        return 0;
    return parseInt32(trimmed);
}

QString notAnInteger(const QString& text)
{
    return QCoreApplication::translate("TRunlatchSchedForm", "'%1' is not a valid integer value")
        .arg(text);
}

QString periodTooLong(std::int32_t hours, std::int32_t minutes)
{
    return QCoreApplication::translate(
               "TRunlatchSchedForm",
               "The repeat period of %1 hours and %2 minutes is too long: Runlatch can "
               "time at most 49 days, 17 hours and 2 minutes (1193 hours and 2 "
               "minutes). Nothing was changed.")
        .arg(hours)
        .arg(minutes);
}

// A date or time field that Tab leaves at once instead of walking through its day, month and
// year first: one stop a field, as for every other control. The arrow keys and the mouse still
// reach each part.
template <typename Edit>
class OneStopEdit final : public Edit {
public:
    using Edit::Edit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

void describe(QWidget& widget, const QString& name, const QString& description)
{
    widget.setAccessibleName(name);
    widget.setAccessibleDescription(description);
}

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // Neither button answers Enter: only a click or the button's access key presses it.
    button->setAutoDefault(false);
    return button;
}

} // namespace

TRunlatchSchedForm::TRunlatchSchedForm(Prompts& prompts, QWidget* parent)
    : EditorDialog(parent)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("RunlatchSchedForm"));
    setWindowTitle(tr("Runlatch Schedule"));
    createWidgets();
    setFocusOrder();
    resize(392, 346);
}

void TRunlatchSchedForm::createWidgets()
{
    auto* layout = new QVBoxLayout(this);
    auto* label1 = new QLabel(tr("How Often Do  You Want the Processes to Execute?"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label1);

    auto* keyFilter = new DigitsOnlyKeyFilter(m_prompts, this);
    auto* period = new QHBoxLayout;
    const auto addPeriodField = [&](const QString& name, const QString& labelName,
                                    const QString& caption) {
        auto* field = new QLineEdit(this);
        field->setObjectName(name);
        field->setFixedWidth(periodFieldWidth(*field));
        field->installEventFilter(keyFilter);
        auto* label = new QLabel(caption, this);
        label->setObjectName(labelName);
        label->setBuddy(field);
        period->addWidget(field);
        period->addWidget(label);
        period->addSpacing(fontMetrics().height());
        return field;
    };
    m_hoursEdt = addPeriodField(QStringLiteral("HoursEdt"), QStringLiteral("Label2"), tr("Hours"));
    describe(*m_hoursEdt, tr("Hours"),
             tr("Whole hours of the repeat period. With 0 hours and 0 minutes the "
                "processes never run by themselves."));
    m_minsEdt = addPeriodField(QStringLiteral("MinsEdt"), QStringLiteral("Label6"), tr("Minutes"));
    describe(*m_minsEdt, tr("Minutes"),
             tr("Whole minutes of the repeat period, added to the hours."));
    period->addStretch();
    layout->addLayout(period);
    layout->addStretch(1);

    auto* rgDelay = new QGroupBox(tr("Do you want to delay the first execution?"), this);
    rgDelay->setObjectName(QStringLiteral("rgDelay"));
    rgDelay->setAccessibleDescription(
        tr("Whether the first timed run waits for the start date and time."));
    auto* choices = new QGridLayout(rgDelay);
    auto* group = new QButtonGroup(rgDelay);
    m_delayNo = new QRadioButton(tr("No"), rgDelay);
    m_delayNo->setObjectName(QStringLiteral("rgDelayNo"));
    m_delayYes = new QRadioButton(tr("Yes"), rgDelay);
    m_delayYes->setObjectName(QStringLiteral("rgDelayYes"));
    describe(*m_delayNo, tr("No"), tr("The first timed run comes one repeat period after saving."));
    describe(*m_delayYes, tr("Yes"), tr("The first timed run waits for the date and time below."));
    group->addButton(m_delayNo, 0);
    group->addButton(m_delayYes, 1);
    choices->addWidget(m_delayNo, 0, 0);
    choices->addWidget(m_delayYes, 0, 1);
    layout->addWidget(rgDelay);
    layout->addStretch(1);

    auto* label4 = new QLabel(tr("Starting When?"), this);
    label4->setObjectName(QStringLiteral("Label4"));
    layout->addWidget(label4);
    auto* when = new QHBoxLayout;
    m_dateTimePicker1 = new OneStopEdit<QDateEdit>(this);
    m_dateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    m_dateTimePicker1->setDisplayFormat(shortDateFormat());
    m_dateTimePicker1->setCalendarPopup(true);
    // Dates before the day-count origin are valid start times too.
    m_dateTimePicker1->setMinimumDate(QDate(100, 1, 1));
    m_dateTimePicker2 = new OneStopEdit<QTimeEdit>(this);
    m_dateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    m_dateTimePicker2->setDisplayFormat(timeFormat());
    label4->setBuddy(m_dateTimePicker1);
    describe(*m_dateTimePicker1, tr("Start date"), tr("The day of the delayed first run."));
    describe(*m_dateTimePicker2, tr("Start time"), tr("The time of day of the delayed first run."));
    when->addWidget(m_dateTimePicker1);
    when->addWidget(m_dateTimePicker2);
    when->addStretch();
    layout->addLayout(when);
    layout->addStretch(3);

    auto* buttons = new QHBoxLayout;
    m_saveBtn = makeButton(QStringLiteral("SaveBtn"), tr("&Save"), this);
    m_cancelBtn = makeButton(QStringLiteral("CancelBtn"), tr("&Cancel"), this);
    m_saveBtn->setAccessibleDescription(
        tr("Keeps the schedule and gives the repeat timer the new period."));
    m_cancelBtn->setAccessibleDescription(
        tr("Closes the dialog and leaves the schedule as it was."));
    connect(m_saveBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(m_saveBtn);
    buttons->addWidget(m_cancelBtn);
    buttons->addStretch();
    layout->addLayout(buttons);
}

// Top to bottom and left to right, as the controls stand.
void TRunlatchSchedForm::setFocusOrder()
{
    QWidget::setTabOrder(m_hoursEdt, m_minsEdt);
    QWidget::setTabOrder(m_minsEdt, m_delayNo);
    QWidget::setTabOrder(m_delayNo, m_delayYes);
    QWidget::setTabOrder(m_delayYes, m_dateTimePicker1);
    QWidget::setTabOrder(m_dateTimePicker1, m_dateTimePicker2);
    QWidget::setTabOrder(m_dateTimePicker2, m_saveBtn);
    QWidget::setTabOrder(m_saveBtn, m_cancelBtn);
}

void TRunlatchSchedForm::Schedule1Click(JobTable& table, Scheduler& scheduler)
{
    fill(table);
    if (exec() != QDialog::Accepted)
        return;
    // The schedule lives in the job file too: a change, even one a bad field stopped part-way,
    // must not be lost on closing without a question.
    const ShownSchedule before = shownSchedule(table, *m_dateTimePicker1);
    const ScopeExit markChange([&] {
        if (shownSchedule(table, *m_dateTimePicker1) != before)
            table.Modified = true;
    });
    apply(table, scheduler);
}

void TRunlatchSchedForm::fill(const JobTable& table)
{
    m_hoursEdt->setText(QString::number(table.EveryHours));
    m_minsEdt->setText(QString::number(table.EveryMins));
    const QDateTime start = shownStartTime(table.DelayedStartTime, *m_dateTimePicker1);
    m_dateTimePicker1->setDate(start.date());
    m_dateTimePicker2->setTime(start.time());
    QRadioButton* chosen = table.DelayedStart ? m_delayYes : m_delayNo;
    chosen->setChecked(true);
    // Tab enters the group at its chosen item, and the arrow keys move within it.
    for (QRadioButton* item : {m_delayNo, m_delayYes})
        item->setFocusPolicy(item == chosen ? Qt::StrongFocus : Qt::ClickFocus);
    m_hoursEdt->setFocus();
}

void TRunlatchSchedForm::apply(JobTable& table, Scheduler& scheduler)
{
    const QString hoursText = takeTrimmedText(*m_hoursEdt);
    const QString minsText = takeTrimmedText(*m_minsEdt);
    const std::optional<std::int32_t> hours = fieldValue(hoursText);
    const std::optional<std::int32_t> mins = fieldValue(minsText);
    // A period the repeat timer cannot hold is refused before anything changes, so the job
    // table never carries a schedule that would run at some other period than the one shown.
    if (hours && mins && repeatPeriodMs(*hours, *mins) > MaxTimerInterval) {
        m_prompts.error(periodTooLong(*hours, *mins));
        return;
    }
    // A field that is not a number stops here, keeping what was applied before it.
    if (!hours) {
        m_prompts.error(notAnInteger(hoursText));
        return;
    }
    table.EveryHours = *hours;
    if (!mins) {
        m_prompts.error(notAnInteger(minsText));
        return;
    }
    table.EveryMins = *mins;
    table.DelayedStartTime = combineDateAndTime(toDateTime(m_dateTimePicker1->dateTime()),
                                                toDateTime(m_dateTimePicker2->dateTime()));
    table.DelayedStart = m_delayYes->isChecked();

    scheduler.SetIntervalFromSchedule();
    if (table.DelayedStart)
        scheduler.armAfterScheduleSave(m_prompts);
}
