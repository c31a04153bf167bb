#include "ChildRecords.h"
#include "ExportCommand.h"
#include "ScheduleExport.h"
#include "ScratchDir.h"
#include "TestFiles.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTest>
#include <QTextStream>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;
Q_DECLARE_METATYPE(ExportTarget)

namespace {

const QDateTime Now(QDate(2026, 12, 24), QTime(6, 0));

QByteArray jobFileText(int everyMins)
{
    return processesSection({{u"/bin/true"_s, {}}}) +
           "[Schedule]\r\nEveryMins=" + QByteArray::number(everyMins) + "\r\n";
}

// The lines of a unit's section, without its head.
QStringList section(const QByteArray& unit, const QString& name)
{
    QStringList lines = QString::fromUtf8(unit).split(u'\n');
    lines = lines.mid(lines.indexOf(u'[' + name + u']') + 1);
    return lines.mid(0, lines.indexOf(QString()));
}

// What systemd makes of a value: specifiers ("%%" is "%") and, in a command line, variables
// ("$$" is "$") and double-quoted words with backslash escapes. What it would expand shows as "?".
QStringList unitWords(const QStringList& section, const QString& key)
{
    const QString line =
        section.filter(QRegularExpression(u'^' + key + u'=')).value(0).mid(key.size() + 1);
    const bool command = line.startsWith(u'"');
    QStringList words{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        const bool special = c == u'%' || (command && c == u'$');
        if (command && c == u'"') {
            quoted = !quoted;
            if (!quoted)
                words << QString();
        } else if (command && !quoted) {
            continue;
        } else if ((command && c == u'\\') ||
                   (special && i + 1 < line.size() && line[i + 1] == c)) {
            words.last() += line[++i];
        } else {
            words.last() += special ? u'?' : c;
        }
    }
    return command ? words.mid(0, words.size() - 1) : words;
}

} // namespace

class TestScheduleExport : public QObject {
    Q_OBJECT

private slots:
    void scheduleFollowsTheJob_data();
    void scheduleFollowsTheJob();
    void unitsRunTheJobFileAsGiven_data();
    void unitsRunTheJobFileAsGiven();
    void commandLine_data();
    void commandLine();
};

void TestScheduleExport::scheduleFollowsTheJob_data()
{
    QTest::addColumn<int>("mins");
    QTest::addColumn<int>("delayedStartDays"); // from now; 0: none
    QTest::addColumn<QStringList>("timer");    // the timing lines, or the error
    QTest::addColumn<QString>("task");         // the task's trigger, or the error

    const QString nothing = u"/home/u/job.ini has nothing to schedule"_s;
    // clang-format off
    QTest::newRow("repeat") << 150 << 0
        << QStringList{"OnActiveSec=2h 30min", "OnUnitActiveSec=2h 30min"}
        << "<StartBoundary>2026-12-24T06:00:00</StartBoundary><Repetition><Interval>PT2H30M<";
    QTest::newRow("delayed start") << 0 << 5 << QStringList{"OnCalendar=2026-12-29 06:00:00"}
        << "<TimeTrigger><Enabled>true</Enabled><StartBoundary>2026-12-29T06:00:00</StartBoundary></TimeTrigger>";
    QTest::newRow("both") << 1800 << 5
        << QStringList{"OnCalendar=2026-12-29 06:00:00", "OnUnitActiveSec=30h"}
        << "<StartBoundary>2026-12-29T06:00:00</StartBoundary><Repetition><Interval>P1DT6H<";
    QTest::newRow("delayed start passed") << 44640 << -1
        << QStringList{"OnActiveSec=744h", "OnUnitActiveSec=744h"}
        << "<StartBoundary>2026-12-24T06:00:00</StartBoundary><Repetition><Interval>P31D<";
    QTest::newRow("beyond 31 days") << 44641 << 0
        << QStringList{"OnActiveSec=744h 1min", "OnUnitActiveSec=744h 1min"}
        << "The Task Scheduler repeats a task at most every 31 days";
    QTest::newRow("passed, no repeat") << 0 << -1 << QStringList{nothing} << nothing;
    QTest::newRow("neither") << 0 << 0 << QStringList{nothing} << nothing;
    // clang-format on
}

void TestScheduleExport::scheduleFollowsTheJob()
{
    QFETCH(int, mins);
    QFETCH(int, delayedStartDays);
    QFETCH(QStringList, timer);
    QFETCH(QString, task);
    JobTable job;
    job.JobFileName = u"/home/u/job.ini"_s;
    job.EveryMins = mins;
    job.DelayedStart = delayedStartDays != 0;
    job.DelayedStartTime = toDateTime(Now.addDays(delayedStartDays));
    ExportPlan plans[2];
    const auto plan = [&](ExportTarget target) {
        return errorOf([&] {
            plans[static_cast<int>(target)] = planScheduleExport(
                target, job, u"/usr/bin/runlatch"_s, u"/units"_s, toDateTime(Now));
        });
    };
    const QString systemdError = plan(ExportTarget::Systemd);
    if (systemdError.isEmpty())
        QCOMPARE(section(plans[0].files.at(1).contents, u"Timer"_s),
                 (timer + QStringList{u"Persistent=true"_s, u"AccuracySec=1s"_s}));
    else
        QVERIFY2(systemdError.startsWith(timer.value(0)), qPrintable(systemdError));
    const QString taskError = plan(ExportTarget::TaskScheduler);
    QVERIFY2(taskError.isEmpty() || taskError.startsWith(task), qPrintable(taskError));
    if (!taskError.isEmpty())
        return;
    const QByteArray bytes = plans[1].files.at(0).contents;
    QVERIFY(bytes.startsWith("\xff\xfe<\0?\0x\0m\0l\0"_ba));
    QString xml = QStringDecoder(QStringDecoder::Utf16).decode(bytes);
    QXmlStreamReader reader(xml);
    while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::StartElement) {
    }
    QCOMPARE(reader.namespaceUri(), u"http://schemas.microsoft.com/windows/2004/02/mit/task"_s);
    while (!reader.atEnd())
        reader.readNext();
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    xml.remove(QRegularExpression(u"\\n *"_s));
    for (const QString& part :
         {task, u"<MultipleInstancesPolicy>IgnoreNew<"_s, u"<StartWhenAvailable>true<"_s,
          u"<DisallowStartIfOnBatteries>false<"_s, u"<StopIfGoingOnBatteries>false<"_s,
          u"<ExecutionTimeLimit>PT0S<"_s,
          u"<Arguments>--run &quot;%1&quot;<"_s.arg(QDir::toNativeSeparators(job.JobFileName)),
          u"<WorkingDirectory>%1<"_s.arg(QDir::toNativeSeparators(u"/home/u"_s))})
        QVERIFY2(xml.contains(part), qPrintable(part));
    QVERIFY(!xml.contains(u"Duration"_s));
}

void TestScheduleExport::unitsRunTheJobFileAsGiven_data()
{
    QTest::addColumn<QString>("name"); // of the job file without ".ini", and of its folder
    QTest::addColumn<QString>("unit");

    // clang-format off
    QTest::newRow("plain")       << "job"             << "runlatch-job";
    QTest::newRow("blanks, dash") << "my -job "       << "runlatch-my\\x20\\x2djob\\x20";
    QTest::newRow("quotes")      << "say \"hi\" 'x'"   << "runlatch-say\\x20\\x22hi\\x22\\x20\\x27x\\x27";
    QTest::newRow("specifiers, variables") << "1% $A ${B} %n"
        << "runlatch-1\\x25\\x20\\x24A\\x20\\x24\\x7bB\\x7d\\x20\\x25n";
    QTest::newRow("backslashes") << "a\\b\\"          << "runlatch-a\\x5cb\\x5c";
    QTest::newRow("leading dot, non-ASCII, colon") << ".\u00e9:_" << "runlatch-\\x2e\\xc3\\xa9\\x3a_";
    // clang-format on
}

// The service, run by hand as systemd runs it, hands the job file to the program exactly, in the
// job file's folder; its name is systemd-escape's, and systemd finds nothing to say of the units.
void TestScheduleExport::unitsRunTheJobFileAsGiven()
{
    QFETCH(QString, name);
    QFETCH(QString, unit);
#ifdef Q_OS_WIN
    QSKIP("systemd's units are for Linux");
#endif
    ScratchDir scratch;
    const QString folder = scratch.filePath(name);
    const QString jobFile = folder + u'/' + name + u".ini"_s;
    QVERIFY(QDir().mkpath(folder) && writeBytes(jobFile, jobFileText(60)));
    const ExportPlan plan =
        planScheduleExport(ExportTarget::Systemd, readJobToExport(jobFile, toDateTime(Now)),
                           testChildPath(), scratch.filePath(u"units"_s), toDateTime(Now));
    writeScheduleExport(plan);
    QCOMPARE(plan.files[0].path, scratch.filePath(u"units/"_s + unit + u".service"_s));
    const QStringList service = section(plan.files.at(0).contents, u"Service"_s);
    const QStringList words = unitWords(service, u"ExecStart"_s);
    ChildLog children(scratch.path());
    QProcess process;
    process.setWorkingDirectory(unitWords(service, u"WorkingDirectory"_s).value(0));
    process.start(words.value(0), words.mid(1));
    QVERIFY(process.waitForFinished());
    QCOMPARE(children.records().value(0).args, (QStringList{u"--run"_s, jobFile}));
    QCOMPARE(children.records().value(0).cwd, folder);

    if (const QString escape = QStandardPaths::findExecutable(u"systemd-escape"_s);
        !escape.isEmpty()) {
        process.start(escape, {u"--"_s, name});
        QVERIFY(process.waitForFinished());
        const QString escaped = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        QCOMPARE(u"runlatch-"_s + QString(escaped).replace(u":"_s, u"\\x3a"_s), unit);
    }
    const QString analyze = QStandardPaths::findExecutable(u"systemd-analyze"_s);
    if (analyze.isEmpty())
        QSKIP("systemd-analyze is not installed");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_RUNTIME_DIR"_s, scratch.path());
    environment.insert(u"HOME"_s, scratch.path());
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(analyze, {u"verify"_s, u"--user"_s, plan.files[0].path, plan.files[1].path});
    QVERIFY(process.waitForFinished());
    QCOMPARE(QString::fromUtf8(process.readAll()), QString());
    QCOMPARE(process.exitCode(), 0);
}

void TestScheduleExport::commandLine_data()
{
    QTest::addColumn<ExportTarget>("target");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("out"); // "@/" is the current folder
    QTest::addColumn<QString>("err");     // how the message begins

    const auto systemd = ExportTarget::Systemd;
    const auto task = ExportTarget::TaskScheduler;
    const QString enable = u"systemctl --user daemon-reload && systemctl --user enable --now "_s;
    // clang-format off
    QTest::newRow("systemd, default folder") << systemd << QStringList{"a b.ini"} << 0
        << QStringList{"@/config/systemd/user/runlatch-a\\x20b.service",
                       "@/config/systemd/user/runlatch-a\\x20b.timer",
                       enable + "'runlatch-a\\x20b.timer'"} << "";
    QTest::newRow("systemd, new folder") << systemd << QStringList{"./Job.INI", "new/units"} << 0
        << QStringList{"@/new/units/runlatch-Job.service", "@/new/units/runlatch-Job.timer",
                       enable + "runlatch-Job.timer"} << "";
    QTest::newRow("task") << task << QStringList{"a b.ini", "tasks"} << 0
        << QStringList{"@/tasks/Runlatch a b.xml",
                       "schtasks /Create /XML \"@/tasks/Runlatch a b.xml\" /TN \"Runlatch a b\""}
        << "";
    QTest::newRow("no job file") << systemd << QStringList{} << 3 << QStringList{}
        << "Usage: runlatch --export-systemd JOBFILE [FOLDER]";
    QTest::newRow("missing job file") << task << QStringList{"none.ini"} << 3 << QStringList{}
        << "@/none.ini not found";
    QTest::newRow("nothing to schedule") << systemd << QStringList{"idle.ini"} << 3
        << QStringList{} << "@/idle.ini has nothing to schedule";
    QTest::newRow("line break") << systemd << QStringList{"a\nb.ini"} << 3 << QStringList{}
        << "@/a\nb.ini holds a line break";
    QTest::newRow("name too long") << systemd << QStringList{QString(99, QChar(0xe9))} << 3
        << QStringList{} << "The name of @/\u00e9";
    QTest::newRow("quote for the task") << task << QStringList{"a\".ini"} << 3 << QStringList{}
        << "@/a\".ini holds a double quote";
    // clang-format on
}

void TestScheduleExport::commandLine()
{
    QFETCH(ExportTarget, target);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, out);
    QFETCH(QString, err);
    ScratchDir scratch;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath(u"config"_s)));
    for (const QString& name :
         {u"a b.ini"_s, u"Job.INI"_s, u"a\nb.ini"_s, u"a\".ini"_s, QString(99, QChar(0xe9))})
        if (!writeBytes(name, jobFileText(5)) && arguments.value(0) == name)
            QSKIP("The file system takes no such name");
    QVERIFY(writeBytes(u"idle.ini"_s, jobFileText(0)));
    QString outText;
    QString errText;
    QTextStream outStream(&outText);
    QTextStream errStream(&errText);
    QCOMPARE(exportScheduleCommand(target, arguments, u"/usr/bin/runlatch"_s, toDateTime(Now),
                                   outStream, errStream),
             status);
    // A path from "@/" up to a double quote, in the system's notation.
    const auto here = [&](QString text) {
        static const QRegularExpression path(u"@(/[^\"]*)"_s);
        const QRegularExpressionMatch match = path.match(text);
        return match.hasMatch()
                   ? text.replace(match.capturedStart(), match.capturedLength(),
                                  QDir::toNativeSeparators(scratch.path() + match.captured(1)))
                   : text;
    };
    QStringList expected;
    for (const QString& line : std::as_const(out))
        expected << here(line);
    QCOMPARE(outText.split(u'\n', Qt::SkipEmptyParts), expected);
    QVERIFY2(err.isEmpty() ? errText.isEmpty() : errText.startsWith(here(err)),
             qPrintable(errText));
    for (const QString& written : expected.mid(0, expected.size() - 1))
        QVERIFY(QFile::exists(written));
    // Nothing refused left a folder behind.
    QCOMPARE(QDir().entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty(), status != 0);
}

QTEST_GUILESS_MAIN(TestScheduleExport)
#include "tst_ScheduleExport.moc"
