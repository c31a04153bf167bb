#include "AccessibilityChecks.h"
#include "DateTime.h"
#include "EditorScreenshot.h"
#include "JobTable.h"
#include "LayoutChecks.h"
#include "MainFlags.h"
#include "ModalDriver.h"
#include "RunlatchSchedForm.h"
#include "Scheduler.h"
#include "ScriptedPrompts.h"
#include "SettableClock.h"
#include "Timer.h"

#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <cmath>
#include <functional>
#include <limits>

using Kind = ScriptedPrompts::Kind;

namespace {

const QString Question = QStringLiteral("Do you want to start the clock for delayed processing?");

// The schedule dialog with a scheduler built on real timers, opened through its real command:
// the test's actions run inside the modal loop, as the user's would.
struct Dialog {
    ScriptedPrompts prompts;
    JobTable table;
    MainFlags flags;
    SettableClock clock{QDateTime(QDate(2027, 3, 1), QTime(8, 0))};
    Timer startTimer;
    Timer elapsedTimer;
    int runs = 0;
    Scheduler scheduler{table, flags, clock, startTimer, elapsedTimer, [this] {
                            ++runs;
                        }};
    TRunlatchSchedForm form{prompts};
    bool leftOpen = false;

    Dialog()
    {
        table.EveryHours = 1;
        table.EveryMins = 10;
        table.DelayedStart = false;
        table.DelayedStartTime = toDateTime(QDateTime(QDate(2027, 6, 15), QTime(22, 45)));
        // The interval the last schedule gave, as loading the job file leaves it.
        scheduler.SetIntervalFromSchedule();
    }

    // Opens the dialog and runs whileOpen in its modal loop; whileOpen closes it.
    void open(const std::function<void()>& whileOpen)
    {
        whenModalRuns(form, leftOpen, whileOpen);
        form.Schedule1Click(table, scheduler);
    }

    // Opens the dialog, puts the texts into the fields as a paste would, and saves.
    void saveWith(const QString& hours, const QString& minutes)
    {
        open([&] {
            hoursEdt().setText(hours);
            minsEdt().setText(minutes);
            click(QStringLiteral("SaveBtn"));
        });
    }

    template <typename T>
    [[nodiscard]] T& child(const QString& name) const
    {
        return *form.findChild<T*>(name);
    }
    [[nodiscard]] QLineEdit& hoursEdt() const
    {
        return child<QLineEdit>(QStringLiteral("HoursEdt"));
    }
    [[nodiscard]] QLineEdit& minsEdt() const { return child<QLineEdit>(QStringLiteral("MinsEdt")); }
    [[nodiscard]] QDateEdit& datePicker() const
    {
        return child<QDateEdit>(QStringLiteral("DateTimePicker1"));
    }
    [[nodiscard]] QTimeEdit& timePicker() const
    {
        return child<QTimeEdit>(QStringLiteral("DateTimePicker2"));
    }
    // Keyboard focus needs the dialog to be the active window.
    [[nodiscard]] bool activate()
    {
        form.activateWindow();
        return QTest::qWaitForWindowActive(&form);
    }
    void click(const QString& button) const
    {
        QTest::mouseClick(&child<QPushButton>(button), Qt::LeftButton);
    }
};

// Sets the locale that new windows pick up, and puts the previous one back.
class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(m_previous); }
    DefaultLocale(const DefaultLocale&) = delete;
    DefaultLocale& operator=(const DefaultLocale&) = delete;

private:
    QLocale m_previous;
};

// Makes the application's font larger by a factor, as a desktop with larger fonts would, and
// puts the previous one back.
class ApplicationFont {
public:
    explicit ApplicationFont(qreal scale)
    {
        QFont font = m_previous;
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * scale);
        else
            font.setPixelSize(qRound(font.pixelSize() * scale));
        QApplication::setFont(font);
    }
    ~ApplicationFont() { QApplication::setFont(m_previous); }
    ApplicationFont(const ApplicationFont&) = delete;
    ApplicationFont& operator=(const ApplicationFont&) = delete;

private:
    QFont m_previous = QApplication::font();
};

// The dialog's widgets top to bottom, and left to right within a row.
const QStringList Widgets{
    QStringLiteral("Label1"),          QStringLiteral("HoursEdt"),        QStringLiteral("Label2"),
    QStringLiteral("MinsEdt"),         QStringLiteral("Label6"),          QStringLiteral("rgDelay"),
    QStringLiteral("rgDelayNo"),       QStringLiteral("rgDelayYes"),      QStringLiteral("Label4"),
    QStringLiteral("DateTimePicker1"), QStringLiteral("DateTimePicker2"), QStringLiteral("SaveBtn"),
    QStringLiteral("CancelBtn")};

// Whether the period field shows a value of five digits whole, without scrolling it.
QString cutsFiveDigits(QLineEdit& field)
{
    field.setText(QStringLiteral("71582"));
    field.end(false);
    // The field scrolls its text when it paints.
    static_cast<void>(field.grab());
    if (field.cursorPositionAt(QPoint(1, field.height() / 2)) == 0)
        return {};
    return QStringLiteral("%1 scrolls 71582 out of sight").arg(LayoutChecks::describe(field));
}

} // namespace

class TestRunlatchSchedForm : public QObject {
    Q_OBJECT

private slots:
    void showsTheTexts();
    void keepsTheDesignOrder_data();
    void keepsTheDesignOrder();
    void showsEverythingWholeInTheDesktopsFont_data();
    void showsEverythingWholeInTheDesktopsFont();
    void fillsFromTheTable_data();
    void fillsFromTheTable();
    void startTimeOutOfRangeIsShownSafely_data();
    void startTimeOutOfRangeIsShownSafely();
    void saveAppliesThePeriod_data();
    void saveAppliesThePeriod();
    void negativeValuesAreKept();
    void dateAndTimeAreCombined_data();
    void dateAndTimeAreCombined();
    void unchangedSaveKeepsTheStartTime_data();
    void unchangedSaveKeepsTheStartTime();
    void typing_data();
    void typing();
    void platformKeyTexts_data();
    void platformKeyTexts();
    void enterAndEscapePressNoButton();
    void focusOrder_data();
    void focusOrder();
    void everyControlIsDescribed();
    void badValueStopsTheSave_data();
    void badValueStopsTheSave();
    void periodTooLongIsRefused_data();
    void periodTooLongIsRefused();
    void closingWithoutSaveChangesNothing_data();
    void closingWithoutSaveChangesNothing();
    void delayOnAsksEverySave();
    void questionComesAfterTheNewPeriod();
    void delayOffAsksNothingAndLeavesTheArmedTimer();
    void screenshot();
};

void TestRunlatchSchedForm::showsTheTexts()
{
    Dialog dialog;
    const auto text = [&](const QString& name) {
        return dialog.child<QLabel>(name).text();
    };

    QCOMPARE(dialog.form.windowTitle(), QStringLiteral("Runlatch Schedule"));
    QCOMPARE(text(QStringLiteral("Label1")),
             QStringLiteral("How Often Do  You Want the Processes to Execute?"));
    QCOMPARE(text(QStringLiteral("Label2")), QStringLiteral("Hours"));
    QCOMPARE(text(QStringLiteral("Label6")), QStringLiteral("Minutes"));
    QCOMPARE(text(QStringLiteral("Label4")), QStringLiteral("Starting When?"));
    QCOMPARE(dialog.child<QGroupBox>(QStringLiteral("rgDelay")).title(),
             QStringLiteral("Do you want to delay the first execution?"));
    QCOMPARE(dialog.child<QRadioButton>(QStringLiteral("rgDelayNo")).text(), QStringLiteral("No"));
    QCOMPARE(dialog.child<QRadioButton>(QStringLiteral("rgDelayYes")).text(),
             QStringLiteral("Yes"));
    QCOMPARE(dialog.child<QPushButton>(QStringLiteral("SaveBtn")).text(), QStringLiteral("&Save"));
    QCOMPARE(dialog.child<QPushButton>(QStringLiteral("CancelBtn")).text(),
             QStringLiteral("&Cancel"));
    QVERIFY(dialog.datePicker().calendarPopup());
}

void TestRunlatchSchedForm::keepsTheDesignOrder_data()
{
    LayoutChecks::addPlacementColumns();
    const auto add = [](const char* first, const char* placement, const char* second) {
        LayoutChecks::addPlacement(QString::fromLatin1(first), QString::fromLatin1(placement),
                                   QString::fromLatin1(second));
    };
    add("Label1", "above", "HoursEdt");
    add("HoursEdt", "left of", "Label2");
    add("Label2", "left of", "MinsEdt");
    add("MinsEdt", "left of", "Label6");
    add("HoursEdt", "above", "rgDelay");
    add("Label6", "above", "rgDelay");
    add("rgDelayNo", "left of", "rgDelayYes");
    add("rgDelay", "above", "Label4");
    add("Label4", "above", "DateTimePicker1");
    add("DateTimePicker1", "left of", "DateTimePicker2");
    add("DateTimePicker1", "above", "SaveBtn");
    add("DateTimePicker2", "above", "CancelBtn");
    add("SaveBtn", "left of", "CancelBtn");
}

void TestRunlatchSchedForm::keepsTheDesignOrder()
{
    Dialog dialog;
    dialog.form.show();
    const QString wrong = LayoutChecks::misplacedInRow(dialog.form);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestRunlatchSchedForm::showsEverythingWholeInTheDesktopsFont_data()
{
    QTest::addColumn<qreal>("fontScale");

    QTest::newRow("desktop font") << 1.0;
    QTest::newRow("larger desktop font") << 1.5;
    QTest::newRow("twice the desktop font") << 2.0;
}

// The dialog takes the application's font, the desktop's, and grows beyond the design's size
// only as far as its texts need.
void TestRunlatchSchedForm::showsEverythingWholeInTheDesktopsFont()
{
    QFETCH(qreal, fontScale);
    const ApplicationFont applicationFont(fontScale);
    Dialog dialog;
    dialog.form.show();

    QList<const QWidget*> widgets;
    for (const QString& name : Widgets) {
        auto& widget = dialog.child<QWidget>(name);
        widgets << &widget;
        QCOMPARE(widget.font(), QApplication::font());
        auto* field = qobject_cast<QLineEdit*>(&widget);
        const QString cut = field ? cutsFiveDigits(*field) : LayoutChecks::cutOff(widget);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
    }
    const QString overlap = LayoutChecks::overlapping(widgets);
    QVERIFY2(overlap.isEmpty(), qPrintable(overlap));
    const QSize designSize(392, 346);
    QCOMPARE(dialog.form.size(), designSize.expandedTo(dialog.form.minimumSize()));
    if (fontScale == 1.0)
        QCOMPARE(dialog.form.size(), designSize);
}

void TestRunlatchSchedForm::fillsFromTheTable_data()
{
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<bool>("delay");
    QTest::addColumn<QDateTime>("start");

    QTest::newRow("delay on") << 2 << 30 << true << QDateTime(QDate(2027, 3, 5), QTime(14, 30));
    QTest::newRow("delay off") << 0 << 0 << false << QDateTime(QDate(2026, 12, 24), QTime(6, 5));
    QTest::newRow("negative values")
        << -1 << -45 << false << QDateTime(QDate(2027, 1, 1), QTime(0, 0));
    QTest::newRow("before the day-count origin")
        << 1 << 0 << true << QDateTime(QDate(1850, 1, 1), QTime(6, 0));
    QTest::newRow("seconds") << 1 << 0 << true << QDateTime(QDate(2027, 1, 1), QTime(9, 8, 7));
}

void TestRunlatchSchedForm::fillsFromTheTable()
{
    QFETCH(int, hours);
    QFETCH(int, minutes);
    QFETCH(bool, delay);
    QFETCH(QDateTime, start);
    Dialog dialog;
    dialog.table.EveryHours = hours;
    dialog.table.EveryMins = minutes;
    dialog.table.DelayedStart = delay;
    dialog.table.DelayedStartTime = toDateTime(start);
    QString hoursText;
    QString minsText;
    bool yes = !delay;
    bool no = delay;
    QDate date;
    QTime time;

    dialog.open([&] {
        hoursText = dialog.hoursEdt().text();
        minsText = dialog.minsEdt().text();
        yes = dialog.child<QRadioButton>(QStringLiteral("rgDelayYes")).isChecked();
        no = dialog.child<QRadioButton>(QStringLiteral("rgDelayNo")).isChecked();
        date = dialog.datePicker().date();
        time = dialog.timePicker().time();
        dialog.click(QStringLiteral("CancelBtn"));
    });

    QCOMPARE(hoursText, QString::number(hours));
    QCOMPARE(minsText, QString::number(minutes));
    QCOMPARE(yes, delay);
    QCOMPARE(no, !delay);
    QCOMPARE(date, start.date());
    QCOMPARE(time, start.time());
    QVERIFY(!dialog.leftOpen);
}

void TestRunlatchSchedForm::startTimeOutOfRangeIsShownSafely_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QDate>("shown");

    QTest::newRow("far future") << 1e300 << QDate(9999, 12, 31);
    QTest::newRow("beyond the date field") << 3000000.0 << QDate(9999, 12, 31);
    QTest::newRow("far past") << -1e300 << QDate(100, 1, 1);
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << QDate(9999, 12, 31);
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN()
                                  << QDate(1899, 12, 30);
}

void TestRunlatchSchedForm::startTimeOutOfRangeIsShownSafely()
{
    QFETCH(double, value);
    QFETCH(QDate, shown);
    Dialog dialog;
    dialog.table.DelayedStartTime = value;
    QDate date;

    dialog.open([&] {
        date = dialog.datePicker().date();
        dialog.click(QStringLiteral("SaveBtn"));
    });

    QCOMPARE(date, shown);
    QVERIFY(std::isfinite(dialog.table.DelayedStartTime));
    QCOMPARE(fromDateTime(dialog.table.DelayedStartTime).date(), shown);
    // Saved as it was shown: nothing the user changed.
    QVERIFY(!dialog.table.Modified);
}

void TestRunlatchSchedForm::saveAppliesThePeriod_data()
{
    QTest::addColumn<QString>("hoursText");
    QTest::addColumn<QString>("minsText");
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<uint>("interval");
    QTest::addColumn<bool>("modified"); // the job table, so that closing asks to save it

    QTest::newRow("empty hours, 5 minutes")
        << QString() << QStringLiteral("5") << 0 << 5 << 300000u << true;
    QTest::newRow("007 hours") << QStringLiteral("007") << QStringLiteral("0") << 7 << 0
                               << 25200000u << true;
    QTest::newRow("0 and 0") << QStringLiteral("0") << QStringLiteral("0") << 0 << 0 << 0u << true;
    QTest::newRow("90 minutes stay 90")
        << QStringLiteral("1") << QStringLiteral("90") << 1 << 90 << 9000000u << true;
    QTest::newRow("blanks trimmed")
        << QStringLiteral(" 2\t") << QStringLiteral("\n30 ") << 2 << 30 << 9000000u << true;
    QTest::newRow("hexadecimal") << QStringLiteral("$2") << QStringLiteral("0x1E") << 2 << 30
                                 << 9000000u << true;
    QTest::newRow("longest period")
        << QStringLiteral("1193") << QStringLiteral("2") << 1193 << 2 << 4294920000u << true;
    QTest::newRow("the same period written anew")
        << QStringLiteral(" 1") << QStringLiteral("010") << 1 << 10 << 4200000u << false;
}

void TestRunlatchSchedForm::saveAppliesThePeriod()
{
    QFETCH(QString, hoursText);
    QFETCH(QString, minsText);
    QFETCH(int, hours);
    QFETCH(int, minutes);
    QFETCH(uint, interval);
    QFETCH(bool, modified);
    Dialog dialog;

    dialog.saveWith(hoursText, minsText);

    QCOMPARE(dialog.table.EveryHours, hours);
    QCOMPARE(dialog.table.EveryMins, minutes);
    QCOMPARE(dialog.elapsedTimer.interval(), interval);
    // The trimmed texts are what the fields show from then on.
    QCOMPARE(dialog.hoursEdt().text(), hoursText.trimmed());
    QCOMPARE(dialog.minsEdt().text(), minsText.trimmed());
    QCOMPARE(dialog.table.Modified, modified);
    QVERIFY(dialog.prompts.asked.isEmpty());
    QVERIFY(!dialog.leftOpen);
}

void TestRunlatchSchedForm::negativeValuesAreKept()
{
    Dialog dialog;
    dialog.table.EveryHours = -2;
    dialog.table.EveryMins = 150;

    dialog.open([&] { dialog.click(QStringLiteral("SaveBtn")); });

    QCOMPARE(dialog.table.EveryHours, -2);
    QCOMPARE(dialog.table.EveryMins, 150);
    QCOMPARE(dialog.elapsedTimer.interval(), 1800000u);
}

void TestRunlatchSchedForm::dateAndTimeAreCombined_data()
{
    QTest::addColumn<QDateTime>("dateField");
    QTest::addColumn<QDateTime>("timeField");
    QTest::addColumn<QDateTime>("start");

    QTest::newRow("5 March at 14:30")
        << QDateTime(QDate(2027, 3, 5), QTime(9, 13)) << QDateTime(QDate(2000, 1, 1), QTime(14, 30))
        << QDateTime(QDate(2027, 3, 5), QTime(14, 30));
    QTest::newRow("before the day-count origin")
        << QDateTime(QDate(1850, 1, 1), QTime(23, 0)) << QDateTime(QDate(2000, 1, 1), QTime(6, 0))
        << QDateTime(QDate(1850, 1, 1), QTime(6, 0));
    QTest::newRow("the origin itself")
        << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << QDateTime(QDate(2000, 1, 1), QTime(18, 0))
        << QDateTime(QDate(1899, 12, 30), QTime(18, 0));
}

void TestRunlatchSchedForm::dateAndTimeAreCombined()
{
    QFETCH(QDateTime, dateField);
    QFETCH(QDateTime, timeField);
    QFETCH(QDateTime, start);
    Dialog dialog;

    dialog.open([&] {
        dialog.datePicker().setDateTime(dateField);
        dialog.timePicker().setDateTime(timeField);
        dialog.child<QRadioButton>(QStringLiteral("rgDelayYes")).click();
        dialog.click(QStringLiteral("SaveBtn"));
    });

    QCOMPARE(fromDateTime(dialog.table.DelayedStartTime), start);
    QVERIFY(dialog.table.DelayedStart);
    QVERIFY(dialog.table.Modified);
}

void TestRunlatchSchedForm::unchangedSaveKeepsTheStartTime_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("start");

    for (const QString& locale : {QStringLiteral("C"), QStringLiteral("en_US"),
                                  QStringLiteral("de_DE"), QStringLiteral("ja_JP")}) {
        const QByteArray name = locale.toUtf8();
        QTest::addRow("%s, seconds", name.constData())
            << locale << QDateTime(QDate(2027, 1, 1), QTime(21, 8, 7));
        QTest::addRow("%s, before the day-count origin", name.constData())
            << locale << QDateTime(QDate(1850, 7, 4), QTime(6, 30));
        QTest::addRow("%s, far future", name.constData())
            << locale << QDateTime(QDate(2399, 12, 31), QTime(23, 59, 59));
    }
}

void TestRunlatchSchedForm::unchangedSaveKeepsTheStartTime()
{
    QFETCH(QString, locale);
    QFETCH(QDateTime, start);
    const DefaultLocale defaultLocale{QLocale(locale)};
    Dialog dialog;
    dialog.table.DelayedStartTime = toDateTime(start);
    QString dateText;
    QString timeText;

    dialog.open([&] {
        dateText = dialog.datePicker().text();
        timeText = dialog.timePicker().text();
        dialog.click(QStringLiteral("SaveBtn"));
    });

    QCOMPARE(fromDateTime(dialog.table.DelayedStartTime), start);
    QVERIFY(!dialog.table.Modified);
    // The whole year and the seconds are shown, not only kept.
    QVERIFY2(dateText.contains(QString::number(start.date().year())), qPrintable(dateText));
    QVERIFY2(timeText.contains(start.time().toString(QStringLiteral(":mm:ss"))),
             qPrintable(timeText));
}

void TestRunlatchSchedForm::typing_data()
{
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");

    QTest::newRow("digit") << 2 << QKeySequence(Qt::Key_5) << QStringLiteral("125") << 0;
    QTest::newRow("keypad digit") << 2 << QKeySequence(Qt::KeypadModifier | Qt::Key_3)
                                  << QStringLiteral("123") << 0;
    QTest::newRow("Backspace") << 2 << QKeySequence(Qt::Key_Backspace) << QStringLiteral("12") << 1;
    QTest::newRow("letter") << 2 << QKeySequence(Qt::Key_A) << QStringLiteral("12") << 1;
    QTest::newRow("minus sign") << 0 << QKeySequence(Qt::Key_Minus) << QStringLiteral("12") << 1;
    QTest::newRow("blank") << 1 << QKeySequence(Qt::Key_Space) << QStringLiteral("12") << 1;
    QTest::newRow("Enter") << 2 << QKeySequence(Qt::Key_Return) << QStringLiteral("12") << 1;
    QTest::newRow("Escape") << 2 << QKeySequence(Qt::Key_Escape) << QStringLiteral("12") << 1;
    QTest::newRow("Delete") << 0 << QKeySequence(Qt::Key_Delete) << QStringLiteral("2") << 0;
    QTest::newRow("arrow, then digit")
        << 2 << QKeySequence(Qt::Key_Left, Qt::Key_7) << QStringLiteral("172") << 0;
    QTest::newRow("Home, then digit")
        << 2 << QKeySequence(Qt::Key_Home, Qt::Key_9) << QStringLiteral("912") << 0;
    QTest::newRow("select all, type over")
        << 1 << QKeySequence(Qt::CTRL | Qt::Key_A, QKeyCombination(Qt::Key_4))
        << QStringLiteral("4") << 0;
}

void TestRunlatchSchedForm::typing()
{
    QFETCH(int, cursor);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, text);
    QFETCH(int, beeps);

    for (const QString& name : {QStringLiteral("HoursEdt"), QStringLiteral("MinsEdt")}) {
        Dialog dialog;
        dialog.table.EveryHours = 12;
        dialog.table.EveryMins = 12;
        QString typed;
        bool stillOpen = false;

        dialog.open([&] {
            auto& field = dialog.child<QLineEdit>(name);
            field.setFocus();
            field.setCursorPosition(cursor);
            QTest::keySequence(&field, keys);
            typed = field.text();
            stillOpen = dialog.form.isVisible();
            dialog.click(QStringLiteral("CancelBtn"));
        });

        QCOMPARE(typed, text);
        QCOMPARE(dialog.prompts.count(Kind::Beep), beeps);
        QVERIFY(stillOpen);
        QVERIFY(!dialog.leftOpen);
    }
}

void TestRunlatchSchedForm::platformKeyTexts_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("beeps");

    QTest::newRow("Delete giving DEL")
        << Qt::Key_Delete << QStringLiteral("\x7f") << Qt::KeyboardModifiers(Qt::NoModifier)
        << QStringLiteral("2") << 0;
    QTest::newRow("Ctrl+A giving SOH")
        << Qt::Key_A << QStringLiteral("\x01") << Qt::KeyboardModifiers(Qt::ControlModifier)
        << QStringLiteral("12") << 0;
    QTest::newRow("Backspace giving BS")
        << Qt::Key_Backspace << QStringLiteral("\b") << Qt::KeyboardModifiers(Qt::NoModifier)
        << QStringLiteral("12") << 1;
    QTest::newRow("digit with Shift giving a sign")
        << Qt::Key_Exclam << QStringLiteral("!") << Qt::KeyboardModifiers(Qt::ShiftModifier)
        << QStringLiteral("12") << 1;
}

// Keys as a platform may report them, with a control character as their text.
void TestRunlatchSchedForm::platformKeyTexts()
{
    QFETCH(Qt::Key, key);
    QFETCH(QString, text);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, result);
    QFETCH(int, beeps);
    Dialog dialog;
    dialog.table.EveryHours = 12;
    QString typed;

    dialog.open([&] {
        QLineEdit& field = dialog.hoursEdt();
        field.setCursorPosition(0);
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(&field, &press);
        QApplication::sendEvent(&field, &release);
        typed = field.text();
        dialog.click(QStringLiteral("CancelBtn"));
    });

    QCOMPARE(typed, result);
    QCOMPARE(dialog.prompts.count(Kind::Beep), beeps);
}

void TestRunlatchSchedForm::enterAndEscapePressNoButton()
{
    Dialog dialog;
    QStringList openAfter;
    bool active = false;

    dialog.open([&] {
        active = dialog.activate();
        for (const QString& name : {QStringLiteral("SaveBtn"), QStringLiteral("CancelBtn"),
                                    QStringLiteral("DateTimePicker1")}) {
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                dialog.child<QWidget>(name).setFocus();
                QWidget* focus = QApplication::focusWidget();
                if (!focus || !dialog.form.isVisible())
                    return;
                QTest::keyClick(focus, key);
                if (dialog.form.isVisible())
                    openAfter << name;
            }
        }
        dialog.click(QStringLiteral("CancelBtn"));
    });

    QVERIFY(active);
    QCOMPARE(openAfter.size(), 9);
    QVERIFY(!dialog.leftOpen);
    QCOMPARE(dialog.elapsedTimer.interval(), 4200000u);
}

void TestRunlatchSchedForm::focusOrder_data()
{
    QTest::addColumn<bool>("delayed");
    QTest::addColumn<QString>("chosen");

    QTest::newRow("delay off") << false << QStringLiteral("rgDelayNo");
    QTest::newRow("delay on") << true << QStringLiteral("rgDelayYes");
}

// Tab goes top to bottom and left to right, one press a control: the delay group is entered at
// its chosen item, and a date or time field is left at once rather than part by part.
void TestRunlatchSchedForm::focusOrder()
{
    QFETCH(bool, delayed);
    QFETCH(QString, chosen);
    Dialog dialog;
    dialog.table.DelayedStart = delayed;
    QStringList forwards;
    QStringList backwards;
    bool active = false;

    dialog.open([&] {
        active = dialog.activate();
        dialog.hoursEdt().setFocus();
        forwards = AccessibilityChecks::tabStops(7);
        dialog.timePicker().setFocus();
        backwards = AccessibilityChecks::tabStops(2, true);
        dialog.click(QStringLiteral("CancelBtn"));
    });

    QVERIFY(active);
    QCOMPARE(forwards, QStringList({QStringLiteral("HoursEdt"), QStringLiteral("MinsEdt"), chosen,
                                    QStringLiteral("DateTimePicker1"),
                                    QStringLiteral("DateTimePicker2"), QStringLiteral("SaveBtn"),
                                    QStringLiteral("CancelBtn"), QStringLiteral("HoursEdt")}));
    QCOMPARE(backwards, QStringList({QStringLiteral("DateTimePicker2"),
                                     QStringLiteral("DateTimePicker1"), chosen}));
    QCOMPARE(dialog.prompts.count(Kind::Beep), 0);
}

void TestRunlatchSchedForm::everyControlIsDescribed()
{
    Dialog dialog;
    QString missing;

    dialog.open([&] {
        missing = AccessibilityChecks::undescribedControls(dialog.form);
        dialog.click(QStringLiteral("CancelBtn"));
    });

    QVERIFY2(missing.isEmpty(), qPrintable(missing));
}

void TestRunlatchSchedForm::badValueStopsTheSave_data()
{
    QTest::addColumn<QString>("hoursText");
    QTest::addColumn<QString>("minsText");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("hours");

    QTest::newRow("bad minutes keep the new hours")
        << QStringLiteral("3") << QStringLiteral(" 99999999999 ")
        << QStringLiteral("'99999999999' is not a valid integer value") << 3;
    QTest::newRow("bad hours change nothing")
        << QStringLiteral("9999999999") << QStringLiteral("5")
        << QStringLiteral("'9999999999' is not a valid integer value") << 1;
    QTest::newRow("pasted text") << QStringLiteral("1,5") << QStringLiteral("0")
                                 << QStringLiteral("'1,5' is not a valid integer value") << 1;
    QTest::newRow("bad minutes with too many hours")
        << QStringLiteral("5000") << QStringLiteral("x")
        << QStringLiteral("'x' is not a valid integer value") << 5000;
}

void TestRunlatchSchedForm::badValueStopsTheSave()
{
    QFETCH(QString, hoursText);
    QFETCH(QString, minsText);
    QFETCH(QString, message);
    QFETCH(int, hours);
    Dialog dialog;
    const double start = dialog.table.DelayedStartTime;
    bool openWhileAsked = true;
    dialog.prompts.whileAsking = [&](const ScriptedPrompts::Asked&) {
        openWhileAsked = dialog.form.isVisible();
    };

    dialog.open([&] {
        dialog.hoursEdt().setText(hoursText);
        dialog.minsEdt().setText(minsText);
        dialog.datePicker().setDate(QDate(2030, 1, 1));
        dialog.child<QRadioButton>(QStringLiteral("rgDelayYes")).click();
        dialog.click(QStringLiteral("SaveBtn"));
    });

    QCOMPARE(dialog.prompts.texts(Kind::Error), QStringList({message}));
    QCOMPARE(dialog.prompts.asked.size(), 1);
    QVERIFY(!openWhileAsked);
    QCOMPARE(dialog.table.EveryHours, hours);
    QCOMPARE(dialog.table.EveryMins, 10);
    QCOMPARE(dialog.table.DelayedStartTime, start);
    QVERIFY(!dialog.table.DelayedStart);
    // The period is not recomputed: still the 1 hour 10 minutes of before.
    QCOMPARE(dialog.elapsedTimer.interval(), 4200000u);
    QVERIFY(!dialog.startTimer.enabled());
    // What a bad field stopped part-way still changed the table.
    QCOMPARE(dialog.table.Modified, hours != 1);
}

void TestRunlatchSchedForm::periodTooLongIsRefused_data()
{
    QTest::addColumn<QString>("hoursText");
    QTest::addColumn<QString>("minsText");

    QTest::newRow("1194 hours") << QStringLiteral("1194") << QStringLiteral("0");
    QTest::newRow("1193 hours 3 minutes") << QStringLiteral("1193") << QStringLiteral("3");
    QTest::newRow("71583 minutes") << QString() << QStringLiteral("71583");
    QTest::newRow("largest numbers")
        << QStringLiteral("2147483647") << QStringLiteral("2147483647");
}

void TestRunlatchSchedForm::periodTooLongIsRefused()
{
    QFETCH(QString, hoursText);
    QFETCH(QString, minsText);
    Dialog dialog;
    const double start = dialog.table.DelayedStartTime;

    dialog.open([&] {
        dialog.hoursEdt().setText(hoursText);
        dialog.minsEdt().setText(minsText);
        dialog.child<QRadioButton>(QStringLiteral("rgDelayYes")).click();
        dialog.datePicker().setDate(QDate(2030, 1, 1));
        dialog.click(QStringLiteral("SaveBtn"));
    });

    const QStringList errors = dialog.prompts.texts(Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.constFirst().contains(QStringLiteral("too long")), qPrintable(errors.first()));
    QVERIFY2(errors.constFirst().contains(QStringLiteral("49 days, 17 hours and 2 minutes")),
             qPrintable(errors.first()));
    QCOMPARE(dialog.prompts.asked.size(), 1);
    QCOMPARE(dialog.table.EveryHours, 1);
    QCOMPARE(dialog.table.EveryMins, 10);
    QCOMPARE(dialog.table.DelayedStartTime, start);
    QVERIFY(!dialog.table.DelayedStart);
    QCOMPARE(dialog.elapsedTimer.interval(), 4200000u);
}

void TestRunlatchSchedForm::closingWithoutSaveChangesNothing_data()
{
    QTest::addColumn<bool>("closeBox");

    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

void TestRunlatchSchedForm::closingWithoutSaveChangesNothing()
{
    QFETCH(bool, closeBox);
    Dialog dialog;
    dialog.elapsedTimer.setEnabled(true);
    const double start = dialog.table.DelayedStartTime;
    const auto nextTick = dialog.elapsedTimer.nextTick();

    dialog.open([&] {
        dialog.hoursEdt().setText(QStringLiteral("5"));
        dialog.minsEdt().setText(QStringLiteral("0"));
        dialog.datePicker().setDate(QDate(2030, 1, 1));
        dialog.child<QRadioButton>(QStringLiteral("rgDelayYes")).click();
        if (closeBox)
            dialog.form.close();
        else
            dialog.click(QStringLiteral("CancelBtn"));
    });
    QString hoursShownAgain;
    dialog.open([&] {
        hoursShownAgain = dialog.hoursEdt().text();
        dialog.form.close();
    });

    QVERIFY(!dialog.leftOpen);
    QCOMPARE(dialog.table.EveryHours, 1);
    QCOMPARE(dialog.table.EveryMins, 10);
    QCOMPARE(dialog.table.DelayedStartTime, start);
    QVERIFY(!dialog.table.DelayedStart);
    QCOMPARE(dialog.elapsedTimer.interval(), 4200000u);
    QVERIFY(dialog.elapsedTimer.nextTick() == nextTick);
    QVERIFY(dialog.prompts.asked.isEmpty());
    QCOMPARE(hoursShownAgain, QStringLiteral("1"));
}

void TestRunlatchSchedForm::delayOnAsksEverySave()
{
    Dialog dialog;
    dialog.table.DelayedStart = true;
    dialog.elapsedTimer.setEnabled(true);
    const auto nextTick = dialog.elapsedTimer.nextTick();
    dialog.prompts.confirmAnswers << false << true;

    dialog.open([&] { dialog.click(QStringLiteral("SaveBtn")); });
    const bool armedAfterNo = dialog.startTimer.enabled();
    // An unchanged period leaves the repeat timer's phase alone.
    const bool samePhase = dialog.elapsedTimer.nextTick() == nextTick;
    const bool modifiedUnchanged = dialog.table.Modified;
    dialog.saveWith(QStringLiteral("3"), QStringLiteral("0"));

    QCOMPARE(dialog.prompts.texts(Kind::Confirm), QStringList({Question, Question}));
    QVERIFY(!armedAfterNo);
    QVERIFY(samePhase);
    QVERIFY(dialog.startTimer.enabled());
    QCOMPARE(dialog.startTimer.interval(), 60000u);
    QVERIFY(dialog.table.DelayedStart);
    QCOMPARE(dialog.elapsedTimer.interval(), 10800000u);
    QVERIFY(!modifiedUnchanged);
    QVERIFY(dialog.table.Modified);
}

void TestRunlatchSchedForm::questionComesAfterTheNewPeriod()
{
    Dialog dialog;
    dialog.table.DelayedStart = true;
    std::uint32_t intervalWhenAsked = 0;
    dialog.prompts.whileAsking = [&](const ScriptedPrompts::Asked&) {
        intervalWhenAsked = dialog.elapsedTimer.interval();
    };
    dialog.prompts.confirmAnswers << true;

    dialog.saveWith(QStringLiteral("2"), QStringLiteral("0"));

    QCOMPARE(intervalWhenAsked, 7200000u);
}

void TestRunlatchSchedForm::delayOffAsksNothingAndLeavesTheArmedTimer()
{
    Dialog dialog;
    dialog.table.DelayedStart = true;
    dialog.scheduler.armDelayedStart();

    dialog.open([&] {
        dialog.child<QRadioButton>(QStringLiteral("rgDelayNo")).click();
        dialog.click(QStringLiteral("SaveBtn"));
    });

    QVERIFY(dialog.prompts.asked.isEmpty());
    QVERIFY(!dialog.table.DelayedStart);
    QVERIFY(dialog.startTimer.enabled());
    QCOMPARE(dialog.startTimer.interval(), 60000u);
}

void TestRunlatchSchedForm::screenshot()
{
    Dialog dialog;
    dialog.table.EveryHours = 2;
    dialog.table.EveryMins = 30;
    dialog.table.DelayedStart = true;
    dialog.table.DelayedStartTime = toDateTime(QDateTime(QDate(2027, 3, 5), QTime(14, 30)));
    QSize size;
    bool saved = false;

    dialog.open([&] {
        size = dialog.form.size();
        saved = saveEditorScreenshot(dialog.form, QStringLiteral("schedule-dialog.png"));
        dialog.click(QStringLiteral("CancelBtn"));
    });

    QVERIFY(saved);
    QCOMPARE(size, QSize(392, 346));
}

QTEST_MAIN(TestRunlatchSchedForm)
#include "tst_RunlatchSchedForm.moc"
