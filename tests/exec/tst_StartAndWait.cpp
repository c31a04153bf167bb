#include "ByteText.h"
#include "ChildProcess.h"
#include "ChildRecords.h"
#include "Errors.h"
#include "ScratchDir.h"
#include "StartAndWait.h"
#include "TestFiles.h"
#include "Watchdog.h"

#ifndef Q_OS_WIN
#include "UniqueFd.h"
#endif

#include <QAbstractEventDispatcher>
#include <QFile>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_WIN
#include "WinChildProcess.h"

#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr std::uint16_t swShow = 5;

// What a launch that must be refused before anything starts raised: the message of its error, or
// a note when it raised none or raised a platform error, as a failed start would.
QString refusalOf(const QString& programName, const QString& parameters)
{
    try {
        (void)StartAndWait(programName, parameters, swShow, WaitMode::Blocking);
    } catch (const PlatformError& error) {
        return u"<raised as a platform error: "_s + error.message() + u'>';
    } catch (const RunlatchError& error) {
        return error.message();
    }
    return u"<no error raised>"_s;
}

} // namespace

// Every test runs in a scratch folder of its own, which is the current folder meanwhile.
class TestStartAndWait : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void passesArguments_data();
    void passesArguments();
    void argumentZeroIsTheNameAsGiven_data();
    void argumentZeroIsTheNameAsGiven();
    void unsplittableParametersStartNothing_data();
    void unsplittableParametersStartNothing();
    void missingProgramRaises_data();
    void missingProgramRaises();
    void programThatCannotRunRaises_data();
    void programThatCannotRunRaises();
    void waitModeDecidesWhenTheCallReturns_data();
    void waitModeDecidesWhenTheCallReturns();
    void pumpingWaitDispatchesEvents_data();
    void pumpingWaitDispatchesEvents();
    void nestedLaunchFromATimerReturnsFirst();
    void pumpingWaitSleepsUntilTheEnd();
    void childGetsNoOtherDescriptors();
    void childReadsNullDeviceAndSharesOurOutput();
    void programNamesAreBytes_data();
    void programNamesAreBytes();
    void composesTheCommandLine_data();
    void composesTheCommandLine();
    void overlongCommandLineRaises_data();
    void overlongCommandLineRaises();
    void unrunnableFileRaisesWin32Error_data();
    void unrunnableFileRaisesWin32Error();
    void childGetsNoOtherHandles();
    void childEndsWhenAskedOrMade_data();
    void childEndsWhenAskedOrMade();

private:
    [[nodiscard]] QList<ChildRecord> records() const { return m_children->records(); }
    [[nodiscard]] QString readScratchFile(const QString& name) const
    {
        return QString::fromUtf8(readBytes(m_scratch->filePath(name)));
    }
    void writeScratchFile(const QString& name, const QByteArray& content,
                          QFile::Permissions permissions) const;

    std::unique_ptr<ScratchDir> m_scratch;
    std::optional<ChildLog> m_children;
};

void TestStartAndWait::init()
{
    m_scratch = std::make_unique<ScratchDir>();
    QVERIFY(m_scratch->isValid());
    QVERIFY(QDir::current().mkdir(u"sub"_s));
    m_children.emplace(m_scratch->path());
}

void TestStartAndWait::cleanup()
{
    m_children.reset();
    m_scratch.reset();
}

void TestStartAndWait::writeScratchFile(const QString& name, const QByteArray& content,
                                        QFile::Permissions permissions) const
{
    const QString path = m_scratch->filePath(name);
    QVERIFY(writeBytes(path, content));
    QVERIFY(QFile::setPermissions(path, permissions));
}

void TestStartAndWait::passesArguments_data()
{
#ifdef Q_OS_WIN
    QSKIP("POSIX only: the parameter string is split into arguments here; Windows passes it whole "
          "(composesTheCommandLine)");
#endif
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QStringList>("arguments");

    // How the text is split is the splitter's own test; this shows the launcher passes its result.
    QTest::newRow("split by the splitter")
        << " a  'b  c' \"d 'e'\"\tf " << QStringList{u"a"_s, u"b  c"_s, u"d 'e'"_s, u"f"_s};
}

// The child also reports the working folder it inherited.
void TestStartAndWait::passesArguments()
{
    QFETCH(QString, parameters);
    QFETCH(QStringList, arguments);

    QVERIFY(StartAndWait(testChildPath(), parameters, swShow, WaitMode::Blocking));
    const QList<ChildRecord> started = records();
    QCOMPARE(started.size(), 1);
    QCOMPARE(started[0].args, arguments);
    QCOMPARE(started[0].cwd, m_scratch->path());
}

void TestStartAndWait::argumentZeroIsTheNameAsGiven_data()
{
#ifdef Q_OS_WIN
    QSKIP("POSIX only: argument zero and /bin/sh");
#endif
    QTest::addColumn<QString>("programName");

    // clang-format off
    QTest::newRow("plain relative name")      << "shell";
    QTest::newRow("dot relative name")        << "./shell";
    QTest::newRow("name through a subfolder") << "sub/../shell";
    // clang-format on
}

// sh -c without further operands sets $0 to its argv[0].
void TestStartAndWait::argumentZeroIsTheNameAsGiven()
{
    QFETCH(QString, programName);
    QVERIFY(QFile::link(u"/bin/sh"_s, u"shell"_s));

    QVERIFY(StartAndWait(programName, uR"(-c 'printf %s "$0" > zero.txt')"_s, swShow,
                         WaitMode::Blocking));
    QCOMPARE(readScratchFile(u"zero.txt"_s), programName);
}

void TestStartAndWait::unsplittableParametersStartNothing_data()
{
#ifdef Q_OS_WIN
    QSKIP("POSIX only: Windows does not split the parameters");
#endif
    QTest::addColumn<QString>("parameters");

    QTest::newRow("unterminated single quote") << "a 'b";
}

void TestStartAndWait::unsplittableParametersStartNothing()
{
    QFETCH(QString, parameters);
    const QString refusal = refusalOf(testChildPath(), parameters);
    QVERIFY2(refusal.contains(u'"' + parameters + u'"'), qPrintable(refusal));
    // A child started by the failed call would have ended before this one and recorded first.
    QVERIFY(StartAndWait(testChildPath(), u"after"_s, swShow, WaitMode::Blocking));
    const QList<ChildRecord> started = records();
    QCOMPARE(started.size(), 1);
    QCOMPARE(started[0].args, QStringList{u"after"_s});
}

void TestStartAndWait::missingProgramRaises_data()
{
    QTest::addColumn<QString>("programName");
    QTest::addColumn<QString>("message");

    const QString unable = u"Unable to find application "_s;
#ifdef Q_OS_WIN
    // "cmd.exe" is in the system folder, on the search path; "child" lacks the extension.
    QTest::newRow("missing file") << R"(C:\no\such\folder\prog.exe)" << unable + u"prog.exe"_s;
    QTest::newRow("missing relative name") << "nothere.exe" << unable + u"nothere.exe"_s;
    QTest::newRow("directory") << "sub" << unable + u"sub"_s;
    QTest::newRow("directory, absolute") << R"(C:\windows)" << unable + u"windows"_s;
    QTest::newRow("directory with trailing backslash") << "sub\\" << unable;
    QTest::newRow("slash separates too") << "sub/prog.exe" << unable + u"prog.exe"_s;
    QTest::newRow("drive-relative name") << "C:nothere.exe" << unable + u"nothere.exe"_s;
    QTest::newRow("empty name") << "" << unable;
    QTest::newRow("found only on the search path") << "cmd.exe" << unable + u"cmd.exe"_s;
    QTest::newRow("no default extension") << "child" << unable + u"child"_s;
    QTest::newRow("wildcard star") << "chi*.exe" << unable + u"chi*.exe"_s;
    QTest::newRow("wildcard question mark") << "child.ex?" << unable + u"child.ex?"_s;
    QTest::newRow("quotes are not interpreted") << "\"child.exe\"" << unable + u"\"child.exe\""_s;
#else
    QTest::newRow("missing file") << "/no/such/folder/prog" << unable + u"prog"_s;
    QTest::newRow("missing relative name") << "nothere" << unable + u"nothere"_s;
    QTest::newRow("directory") << "sub" << unable + u"sub"_s;
    QTest::newRow("directory, absolute") << "/usr/bin" << unable + u"bin"_s;
    QTest::newRow("directory with trailing slash") << "sub/" << unable;
    QTest::newRow("file with trailing slash") << "file/" << unable;
    QTest::newRow("empty name") << "" << unable;
    QTest::newRow("found only on PATH: sh") << "sh" << unable + u"sh"_s;
    QTest::newRow("found only on PATH: true") << "true" << unable + u"true"_s;
    QTest::newRow("relative to the current folder only") << "bin/sh" << unable + u"sh"_s;
    QTest::newRow("quotes are not interpreted") << "\"/bin/true\"" << unable + u"true\""_s;
    QTest::newRow("backslash is no separator") << R"(sub\prog)" << unable + uR"(sub\prog)"_s;
#endif
}

void TestStartAndWait::missingProgramRaises()
{
    QFETCH(QString, programName);
    QFETCH(QString, message);
    writeScratchFile(u"file"_s, "#!/bin/sh\n", QFile::ReadOwner | QFile::ExeOwner);
#ifdef Q_OS_WIN
    QVERIFY(QFile::copy(testChildPath(), u"child.exe"_s));
#endif
    QCOMPARE(refusalOf(programName, QString()), message);
}

void TestStartAndWait::programThatCannotRunRaises_data()
{
#ifdef Q_OS_WIN
    QSKIP("POSIX only: errno values of exec (unrunnableFileRaisesWin32Error on Windows)");
#endif
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("permissions");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");

    const int readWrite = QFile::ReadOwner | QFile::WriteOwner;
    const int runnable = readWrite | QFile::ExeOwner;
    QTest::newRow("not executable") << QByteArray("#!/bin/sh\nexit 0\n") << readWrite << EACCES
                                    << "System Error.  Code: 13.\nPermission denied";
    QTest::newRow("unknown format") << QByteArray("plain text\n") << runnable << ENOEXEC
                                    << "System Error.  Code: 8.\nExec format error";
    QTest::newRow("missing interpreter")
        << QByteArray("#!/no/such/interpreter\n") << runnable << ENOENT
        << "System Error.  Code: 2.\nNo such file or directory";
}

// The failure comes back from the start itself, not as a child that exits with 127.
void TestStartAndWait::programThatCannotRunRaises()
{
    QFETCH(QByteArray, content);
    QFETCH(int, permissions);
    QFETCH(int, code);
    QFETCH(QString, message);
    writeScratchFile(u"prog"_s, content, QFile::Permissions(permissions));
    try {
        (void)StartAndWait(u"prog"_s, QString(), swShow, WaitMode::NoWait);
        QFAIL("no error raised");
    } catch (const PlatformError& error) {
        QCOMPARE(error.code(), code);
        QCOMPARE(error.message(), message);
    }
}

void TestStartAndWait::waitModeDecidesWhenTheCallReturns_data()
{
    QTest::addColumn<std::uint32_t>("wait");
    QTest::addColumn<int>("childSleepMs");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<bool>("endedAtReturn");

    // clang-format off
    QTest::newRow("no wait")                     << WaitMode::NoWait     << 1000 << 0   << false;
    QTest::newRow("blocking")                    << WaitMode::Blocking   << 300  << 0   << true;
    QTest::newRow("pumping")                     << WaitMode::Pumping    << 300  << 0   << true;
    QTest::newRow("pumping, exit status 259")    << WaitMode::Pumping    << 300  << 259 << true;
    QTest::newRow("shortest time limit")         << std::uint32_t{3}     << 1000 << 0   << false;
    QTest::newRow("100 ms limit")                << std::uint32_t{100}   << 1000 << 0   << false;
    QTest::newRow("limit longer than the child") << std::uint32_t{60000} << 0    << 0   << true;
    // clang-format on
}

// The child records itself when it ends. One that is not waited for to its end keeps running
// and records itself later; no child is left behind as a zombie.
void TestStartAndWait::waitModeDecidesWhenTheCallReturns()
{
    QFETCH(std::uint32_t, wait);
    QFETCH(int, childSleepMs);
    QFETCH(int, exitStatus);
    QFETCH(bool, endedAtReturn);
    m_children->setSleepMs(childSleepMs);
    m_children->setExitStatus(exitStatus);

    std::optional<ProgramEnd> end;
    QVERIFY(StartAndWait(testChildPath(), u"waited"_s, swShow, wait, nullptr, &end));
    QCOMPARE(records().size(), endedAtReturn ? 1 : 0);
    // Only the waits without a limit see the end, and so tell how the program ended.
    QCOMPARE(end.has_value(), wait == WaitMode::Blocking || wait == WaitMode::Pumping);

    QTRY_COMPARE_WITH_TIMEOUT(records().size(), 1, 10000);
    const qint64 pid = records()[0].pid;
    QTRY_VERIFY_WITH_TIMEOUT(processGone(pid), 10000);
}

void TestStartAndWait::pumpingWaitDispatchesEvents_data()
{
    QTest::addColumn<bool>("quickProgram");
    QTest::addColumn<bool>("posted");
    QTest::addColumn<int>("timerMs");
    QTest::addColumn<bool>("dispatchedDuringWait");

    // clang-format off
    QTest::newRow("0 ms timer, 300 ms child")                << false << false << 0  << true;
    QTest::newRow("20 ms timer, 300 ms child")               << false << false << 20 << true;
    QTest::newRow("posted event, 300 ms child")              << false << true  << 0  << true;
    QTest::newRow("0 ms timer, program that ends at once")   << true  << false << 0  << false;
    QTest::newRow("posted event, program that ends at once") << true  << true  << 0  << false;
    // clang-format on
}

// The event is queued before the call. A child that does not wait ends within the first slice of
// the wait, which comes before the event loop runs at all.
void TestStartAndWait::pumpingWaitDispatchesEvents()
{
    QFETCH(bool, quickProgram);
    QFETCH(bool, posted);
    QFETCH(int, timerMs);
    QFETCH(bool, dispatchedDuringWait);
#ifdef Q_OS_WIN
    if (quickProgram)
        QSKIP("Starting and ending a process on Windows takes about as long as the first slice, "
              "so whether it ends within it depends on the machine's speed");
#endif
    m_children->setSleepMs(quickProgram ? 0 : 300);
    bool dispatched = false;
    const auto dispatch = [&dispatched] {
        dispatched = true;
    };
    QTimer timer;
    timer.setSingleShot(true);
    timer.setInterval(timerMs);
    connect(&timer, &QTimer::timeout, this, dispatch);
    if (posted)
        QMetaObject::invokeMethod(this, dispatch, Qt::QueuedConnection);
    else
        timer.start();

    QVERIFY(StartAndWait(testChildPath(), QString(), swShow, WaitMode::Pumping));
    QCOMPARE(dispatched, dispatchedDuringWait);
    QCOMPARE(records().size(), 1);
    QTRY_VERIFY(dispatched);
}

// A timer handler that runs inside a pumping wait makes a launch of its own; the outer wait goes
// on after the inner one has returned and ends only with its own child.
void TestStartAndWait::nestedLaunchFromATimerReturnsFirst()
{
    m_children->setSleepMs(500);
    bool innerReturned = false;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setInterval(20);
    connect(&timer, &QTimer::timeout, this, [this, &innerReturned] {
        m_children->setSleepMs(50);
        innerReturned = StartAndWait(testChildPath(), u"inner"_s, swShow, WaitMode::Pumping);
    });
    timer.start();

    QVERIFY(StartAndWait(testChildPath(), u"outer"_s, swShow, WaitMode::Pumping));
    QVERIFY(innerReturned);
    QStringList ended;
    for (const ChildRecord& record : records())
        ended << record.args;
    ended.sort();
    QCOMPARE(ended, (QStringList{u"inner"_s, u"outer"_s}));
}

// The descriptor lacks close-on-exec, as one a library opened might; the child still does not
// get it. Descriptor 1, redirected by the shell itself, shows that the check sees open ones.
void TestStartAndWait::childGetsNoOtherDescriptors()
{
#ifdef Q_OS_WIN
    QSKIP("POSIX only: descriptors (childGetsNoOtherHandles on Windows)");
#else
    const UniqueFd devNull(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    QVERIFY(devNull.isValid());
    const UniqueFd inheritable(::fcntl(devNull.get(), F_DUPFD, 100));
    QVERIFY(inheritable.isValid());
    QCOMPARE(::fcntl(inheritable.get(), F_GETFD) & FD_CLOEXEC, 0);

    const QString check =
        uR"(-c 'for fd in 1 %1; do [ -e /proc/self/fd/$fd ] && echo $fd; done > fds.txt')"_s;
    QVERIFY(StartAndWait(u"/bin/sh"_s, check.arg(inheritable.get()), swShow, WaitMode::Blocking));
    QCOMPARE(readScratchFile(u"fds.txt"_s), u"1\n"_s);
#endif
}

namespace {

#ifdef Q_OS_WIN

// Puts a pipe in place of one of our standard handles while it lives.
class RedirectedStream {
public:
    explicit RedirectedStream(DWORD stream)
        : m_stream(stream)
        , m_saved(GetStdHandle(stream))
    {
        if (!CreatePipe(&m_read, &m_write, nullptr, 0))
            return;
        SetStdHandle(stream, stream == STD_INPUT_HANDLE ? m_read : m_write);
    }
    ~RedirectedStream()
    {
        SetStdHandle(m_stream, m_saved);
        for (const HANDLE end : {m_read, m_write}) {
            if (end != nullptr)
                CloseHandle(end);
        }
    }
    RedirectedStream(const RedirectedStream&) = delete;
    RedirectedStream& operator=(const RedirectedStream&) = delete;

    // What the other side wrote so far; our own write end is closed first.
    QByteArray drain()
    {
        SetStdHandle(m_stream, m_saved);
        CloseHandle(std::exchange(m_write, nullptr));
        QByteArray bytes;
        char buffer[256];
        DWORD got = 0;
        while (ReadFile(m_read, buffer, sizeof buffer, &got, nullptr) && got > 0)
            bytes.append(buffer, static_cast<qsizetype>(got));
        return bytes;
    }

private:
    DWORD m_stream;
    HANDLE m_saved;
    HANDLE m_read = nullptr;
    HANDLE m_write = nullptr;
};

constexpr DWORD inputStream = STD_INPUT_HANDLE;
constexpr DWORD outputStream = STD_OUTPUT_HANDLE;
constexpr DWORD errorStream = STD_ERROR_HANDLE;

#else

// Puts a pipe in place of one of our standard descriptors while it lives.
class RedirectedStream {
public:
    explicit RedirectedStream(int stream)
        : m_stream(stream)
        , m_saved(::dup(stream))
    {
        int ends[2] = {-1, -1};
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return;
        m_read = UniqueFd(ends[0]);
        m_write = UniqueFd(ends[1]);
        ::dup2(stream == STDIN_FILENO ? ends[0] : ends[1], stream);
    }
    ~RedirectedStream() { ::dup2(m_saved.get(), m_stream); }
    RedirectedStream(const RedirectedStream&) = delete;
    RedirectedStream& operator=(const RedirectedStream&) = delete;

    // What the other side wrote so far; our own copy of the write end is closed first.
    QByteArray drain()
    {
        ::dup2(m_saved.get(), m_stream);
        m_write = UniqueFd();
        QByteArray bytes;
        char buffer[256];
        for (ssize_t got = 0; (got = ::read(m_read.get(), buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, static_cast<qsizetype>(got));
        return bytes;
    }

private:
    int m_stream;
    UniqueFd m_saved;
    UniqueFd m_read;
    UniqueFd m_write;
};

constexpr int inputStream = STDIN_FILENO;
constexpr int outputStream = STDOUT_FILENO;
constexpr int errorStream = STDERR_FILENO;

#endif

} // namespace

// Our standard input is a pipe that nobody writes to but that stays open, as a terminal would:
// a child reading it would wait for good, and the watchdog would end the test as a failure. The
// child reads end of file from the null device instead, and writes to our standard output and
// error.
void TestStartAndWait::childReadsNullDeviceAndSharesOurOutput()
{
    RedirectedStream input(inputStream);
    RedirectedStream output(outputStream);
    RedirectedStream error(errorStream);
    bool returned = false;
    {
        const FailInsteadOfHanging watchdog;
#ifdef Q_OS_WIN
        m_children->setEchoStandardInput(true);
        returned = StartAndWait(testChildPath(), QString(), swShow, WaitMode::Blocking);
#else
        returned =
            StartAndWait(u"/bin/sh"_s, uR"(-c 'read line; echo "read $?"; echo to-error >&2')"_s,
                         swShow, WaitMode::Blocking);
#endif
    }
    QVERIFY(returned);
#ifdef Q_OS_WIN
    QCOMPARE(output.drain(), QByteArray("read 0\r\n"));
    QCOMPARE(error.drain(), QByteArray("to-error\r\n"));
#else
    QCOMPARE(output.drain(), QByteArray("read 1\n"));
    QCOMPARE(error.drain(), QByteArray("to-error\n"));
#endif
}

void TestStartAndWait::programNamesAreBytes_data()
{
#ifdef Q_OS_WIN
    QSKIP("POSIX only: file names are bytes there, UTF-16 on Windows");
#else
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<QByteArray>("parameters");
    QTest::addColumn<QByteArray>("received"); // $0 and each argument on a line

    QTest::newRow("not UTF-8") << QByteArray("./caf\xe9") << QByteArray("\xff 'x\xfe y'")
                               << QByteArray("./caf\xe9\n\xff\nx\xfe y\n");
    // A name that starts with ":" is a file like any other, never one of the program's resources.
    QTest::newRow("colon first") << QByteArray(":run") << QByteArray("a")
                                 << QByteArray(":run\na\n");
#endif
}

void TestStartAndWait::programNamesAreBytes()
{
#ifdef Q_OS_WIN
    QSKIP("POSIX only: file names are bytes there, UTF-16 on Windows");
#else
    QFETCH(QByteArray, program);
    QFETCH(QByteArray, parameters);
    QFETCH(QByteArray, received);
    const QByteArray script = "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > received.bin\n";
    {
        const UniqueFd file(::open(program.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0700));
        QVERIFY(file.isValid());
        QCOMPARE(::write(file.get(), script.constData(), static_cast<std::size_t>(script.size())),
                 static_cast<ssize_t>(script.size()));
    }
    QVERIFY(
        StartAndWait(decodeBytes(program), decodeBytes(parameters), swShow, WaitMode::Blocking));
    QCOMPARE(readBytes(u"received.bin"_s), received);
#endif
}

// While the child runs and nothing else happens, the thread sleeps in the event loop: it wakes
// for the child's end, not every few milliseconds to look.
void TestStartAndWait::pumpingWaitSleepsUntilTheEnd()
{
    m_children->setSleepMs(500);
    QAbstractEventDispatcher* const dispatcher = QAbstractEventDispatcher::instance();
    int wakeUps = 0;
    const QMetaObject::Connection counting =
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, [&wakeUps] { ++wakeUps; });
    QVERIFY(StartAndWait(testChildPath(), u"sleeper"_s, swShow, WaitMode::Pumping));
    disconnect(counting);
    QCOMPARE(records().size(), 1);
    QVERIFY2(wakeUps <= 3, qPrintable(u"woke %1 times"_s.arg(wakeUps)));
}

void TestStartAndWait::composesTheCommandLine_data()
{
#ifndef Q_OS_WIN
    QSKIP("Windows only: a command line is composed there, arguments are passed here");
#endif
    QTest::addColumn<QString>("programName"); // <scratch> stands for the scratch folder
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QStringList>("arguments"); // as the child's runtime splits the line

    const QString child = u"child.exe"_s;
    const QString inBlanks = u"my tools\\child.exe"_s;
    QTest::newRow("empty parameters") << child << "" << QStringList();
    QTest::newRow("path with blanks, relative") << inBlanks << "x" << QStringList{u"x"_s};
    QTest::newRow("path with blanks, absolute")
        << u"<scratch>\\"_s + inBlanks << "x" << QStringList{u"x"_s};
    QTest::newRow("slash in the path") << u"my tools/child.exe"_s << "" << QStringList();
    QTest::newRow("quotes and backslashes verbatim")
        << child << R"(a "b c" d\"e)" << QStringList{u"a"_s, u"b c"_s, uR"(d"e)"_s};
    QTest::newRow("blanks as written") << child << "  a   b " << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("unicode") << child << u"Grüße \"日本 語\""_s
                             << QStringList{u"Grüße"_s, u"日本 語"_s};
    QTest::newRow("longer than 519 characters")
        << child << QString(3000, u'x') << QStringList{QString(3000, u'x')};
}

// "my.exe" waits beside "my tools" for a launcher that leaves the path unquoted and gives no
// application name; it would get "tools\child.exe" as its first argument.
void TestStartAndWait::composesTheCommandLine()
{
    QFETCH(QString, programName);
    QFETCH(QString, parameters);
    QFETCH(QStringList, arguments);
    programName.replace(u"<scratch>"_s, QDir::toNativeSeparators(m_scratch->path()));
    QVERIFY(QDir().mkdir(u"my tools"_s));
    QVERIFY(QFile::copy(testChildPath(), u"my tools/child.exe"_s));
    QVERIFY(QFile::copy(testChildPath(), u"child.exe"_s));
    QVERIFY(QFile::copy(testChildPath(), u"my.exe"_s));

    QVERIFY(StartAndWait(programName, parameters, swShow, WaitMode::Blocking));
    const QList<ChildRecord> started = records();
    QCOMPARE(started.size(), 1);
    QCOMPARE(started[0].commandLine, u'"' + programName + u"\" "_s + parameters);
    QCOMPARE(started[0].args, arguments);
    QCOMPARE(started[0].showWindow, int{swShow});
    QCOMPARE(started[0].cwd, m_scratch->path());
}

void TestStartAndWait::overlongCommandLineRaises_data()
{
#ifndef Q_OS_WIN
    QSKIP("Windows only: its command lines have a length limit");
#endif
    QTest::addColumn<int>("excess"); // characters beyond the longest line the system takes
    QTest::addColumn<QString>("message");

    // clang-format off
    QTest::newRow("longest line")  << 0 << "";
    QTest::newRow("one too many")  << 1 << "The command line for child.exe is 32767 characters "
                                           "long; the system takes at most 32766.";
    // clang-format on
}

void TestStartAndWait::overlongCommandLineRaises()
{
#ifdef Q_OS_WIN
    QFETCH(int, excess);
    QFETCH(QString, message);
    QVERIFY(QFile::copy(testChildPath(), u"child.exe"_s));
    const QString quoted = u"\"child.exe\" "_s;
    const QString parameters(WinChildProcess::MaxCommandLine - quoted.size() + excess, u'x');

    QCOMPARE(errorOf([&] {
                 (void)StartAndWait(u"child.exe"_s, parameters, swShow, WaitMode::Blocking);
             }),
             message);
    QCOMPARE(records().size(), message.isEmpty() ? 1 : 0);
#endif
}

void TestStartAndWait::unrunnableFileRaisesWin32Error_data()
{
#ifndef Q_OS_WIN
    QSKIP("Windows only: Win32 error codes (programThatCannotRunRaises here)");
#endif
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("text file named .exe") << QByteArray("plain text\r\n");
    QTest::newRow("empty file named .exe") << QByteArray();
}

// The failure comes from CreateProcessW itself: ERROR_BAD_EXE_FORMAT, with the system's text in
// the user's language after the code.
void TestStartAndWait::unrunnableFileRaisesWin32Error()
{
    QFETCH(QByteArray, content);
    QVERIFY(writeBytes(u"prog.exe"_s, content));
    try {
        (void)StartAndWait(u"prog.exe"_s, QString(), swShow, WaitMode::NoWait);
        QFAIL("no error raised");
    } catch (const PlatformError& error) {
        QCOMPARE(error.code(), 193);
        QVERIFY2(error.message().startsWith(u"Win32 Error.  Code: 193.\n"_s),
                 qPrintable(error.message()));
    }
}

// The pipe's write end is inheritable, as one a library opened might be; the child still does not
// get it, so once we close ours the pipe is broken while the child runs.
void TestStartAndWait::childGetsNoOtherHandles()
{
#ifndef Q_OS_WIN
    QSKIP("Windows only: handles (childGetsNoOtherDescriptors here)");
#else
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    QVERIFY(CreatePipe(&readEnd, &writeEnd, &inheritable, 0));
    m_children->setSleepMs(60000);
    const std::unique_ptr<ChildProcess> child =
        ChildProcess::launch(testChildPath(), QString(), swShow);
    CloseHandle(writeEnd);
    DWORD available = 0;
    const bool open = PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr);
    const DWORD error = GetLastError();
    const bool running = !child->waitForEnd(std::chrono::milliseconds(0));
    child->makeEnd();
    child->waitForEnd();
    CloseHandle(readEnd);

    QVERIFY(running);
    QVERIFY(!open);
    QCOMPARE(error, DWORD{ERROR_BROKEN_PIPE});
#endif
}

namespace {

enum class Ending { Ask, Make };

} // namespace

void TestStartAndWait::childEndsWhenAskedOrMade_data()
{
    QTest::addColumn<bool>("window"); // the child opens a window and runs until it is closed
    QTest::addColumn<int>("ending");
    QTest::addColumn<bool>("endsWhenAsked");
    QTest::addColumn<bool>("recorded"); // it ended by itself, not made to

    const int ask = int(Ending::Ask);
    const int make = int(Ending::Make);
    // clang-format off
#ifdef Q_OS_WIN
    QTest::newRow("window closed when asked")   << true  << ask  << true  << true;
    QTest::newRow("console program not asked")  << false << ask  << false << false;
    QTest::newRow("window made to end")         << true  << make << true  << false;
    QTest::newRow("console program made to end")<< false << make << true  << false;
#else
    QTest::newRow("asked: SIGTERM")             << false << ask  << true  << false;
    QTest::newRow("made: SIGKILL")              << false << make << true  << false;
#endif
    // clang-format on
}

// A child that was not asked, or ignores the asking, is made to end as RunStop does after the
// grace time. Once it has ended, asking and making do nothing.
void TestStartAndWait::childEndsWhenAskedOrMade()
{
    QFETCH(bool, window);
    QFETCH(int, ending);
    QFETCH(bool, endsWhenAsked);
    QFETCH(bool, recorded);
    m_children->setWindow(window);
    m_children->setSleepMs(window ? 0 : 60000);
    const std::unique_ptr<ChildProcess> child =
        ChildProcess::launch(testChildPath(), u"x"_s, swShow);
#ifdef Q_OS_WIN
    // Posted before the window exists, the request would reach no one.
    if (window)
        QTRY_VERIFY_WITH_TIMEOUT(FindWindowW(L"RunlatchTestChild", nullptr) != nullptr, 10000);
#endif
    if (Ending(ending) == Ending::Ask) {
        child->askToEnd();
        // A child that would end does so well within this; one that will not sleeps for a minute.
        QCOMPARE(child->waitForEnd(std::chrono::milliseconds(endsWhenAsked ? 10000 : 300)),
                 endsWhenAsked);
    }
    child->makeEnd();
    QVERIFY(child->waitForEnd(std::chrono::milliseconds(10000)));
    child->askToEnd();
    child->makeEnd();
    QCOMPARE(records().size(), recorded ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestStartAndWait)
#include "tst_StartAndWait.moc"
