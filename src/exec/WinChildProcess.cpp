#include "WinChildProcess.h"

#include "Errors.h"
#include "SystemError.h"

#include <QCoreApplication>
#include <QWinEventNotifier>

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Owns one handle; an empty one holds nullptr.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle)
        : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle)
    {}
    ~UniqueHandle()
    {
        if (m_handle != nullptr)
            CloseHandle(m_handle);
    }
    UniqueHandle(UniqueHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr))
    {}
    UniqueHandle& operator=(UniqueHandle&&) = delete;
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    [[nodiscard]] HANDLE get() const { return m_handle; }
    [[nodiscard]] HANDLE release() { return std::exchange(m_handle, nullptr); }

private:
    HANDLE m_handle = nullptr;
};

[[noreturn]] void throwLastError(const QString& subject = {})
{
    throw systemError(GetLastError(), subject);
}

// An inheritable copy of one of our standard handles, for the child alone: our own handle keeps
// its flags, so nothing else started meanwhile can inherit it. None when we have no such handle.
UniqueHandle inheritableCopy(DWORD standardHandle)
{
    const HANDLE ours = GetStdHandle(standardHandle);
    HANDLE copy = nullptr;
    if (ours == nullptr || ours == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), ours, GetCurrentProcess(), &copy, 0, TRUE,
                         DUPLICATE_SAME_ACCESS))
        return {};
    return UniqueHandle(copy);
}

// A program that reads its standard input gets end of file at once, instead of waiting for a
// console or a pipe that nobody writes to.
UniqueHandle inheritableNullDevice()
{
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    UniqueHandle nul(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inheritable, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (nul.get() == nullptr)
        throwLastError();
    return nul;
}

// The standard handles the child gets. Standard handles reach a child only through inheritance,
// and inheritance would hand it every inheritable handle of ours, including those a library
// made; the handle list limits it to exactly these three.
class StandardHandles {
public:
    StandardHandles()
        : m_input(inheritableNullDevice())
        , m_output(inheritableCopy(STD_OUTPUT_HANDLE))
        , m_error(inheritableCopy(STD_ERROR_HANDLE))
    {
        for (const UniqueHandle* handle : {&m_input, &m_output, &m_error}) {
            if (handle->get() != nullptr)
                m_inherited.push_back(handle->get());
        }
        SIZE_T size = 0;
        (void)InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        m_listBuffer = std::make_unique<std::byte[]>(size);
        m_list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_listBuffer.get());
        if (!InitializeProcThreadAttributeList(m_list, 1, 0, &size))
            throwLastError();
        m_listReady = true;
        if (!UpdateProcThreadAttribute(m_list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                       m_inherited.data(), m_inherited.size() * sizeof(HANDLE),
                                       nullptr, nullptr))
            throwLastError();
    }
    ~StandardHandles()
    {
        if (m_listReady)
            DeleteProcThreadAttributeList(m_list);
    }
    StandardHandles(const StandardHandles&) = delete;
    StandardHandles& operator=(const StandardHandles&) = delete;

    void fill(STARTUPINFOEXW& startup) const
    {
        startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = m_input.get();
        startup.StartupInfo.hStdOutput = m_output.get();
        startup.StartupInfo.hStdError = m_error.get();
        startup.lpAttributeList = m_list;
    }

private:
    UniqueHandle m_input;
    UniqueHandle m_output;
    UniqueHandle m_error;
    std::vector<HANDLE> m_inherited; // the list points into this
    std::unique_ptr<std::byte[]> m_listBuffer;
    LPPROC_THREAD_ATTRIBUTE_LIST m_list = nullptr;
    bool m_listReady = false;
};

// CreateProcessW may write into the command line, so it gets a copy of its own.
std::vector<wchar_t> writableCopy(const QString& text)
{
    std::vector<wchar_t> buffer(static_cast<std::size_t>(text.size()) + 1, L'\0');
    (void)text.toWCharArray(buffer.data());
    return buffer;
}

const wchar_t* wide(const QString& text)
{
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// A job of its own for the process, which everything it starts joins unless it breaks away on
// purpose. None when the system refuses one: the process then runs without, and a stop reaches
// it alone.
UniqueHandle jobFor(HANDLE process)
{
    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    if (job.get() == nullptr || !AssignProcessToJobObject(job.get(), process))
        return {};
    return job;
}

// The processes of the job now; a job of more than this many gets only these asked, and the
// rest are made to end with the others after the grace time.
constexpr std::size_t MaxAskedProcesses = 1024;

std::vector<DWORD> processesOf(HANDLE job, DWORD process)
{
    if (job == nullptr)
        return {process};
    const std::size_t size = sizeof(JOBOBJECT_BASIC_PROCESS_ID_LIST) +
                             (MaxAskedProcesses - 1) * sizeof(ULONG_PTR);
    const auto buffer = std::make_unique<std::byte[]>(size);
    auto* const list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.get());
    if (!QueryInformationJobObject(job, JobObjectBasicProcessIdList, list,
                                   static_cast<DWORD>(size), nullptr) &&
        GetLastError() != ERROR_MORE_DATA)
        return {process};
    std::vector<DWORD> ids;
    for (DWORD i = 0; i < list->NumberOfProcessIdsInList; ++i)
        ids.push_back(static_cast<DWORD>(list->ProcessIdList[i]));
    return ids;
}

BOOL CALLBACK closeIfOwnedByOneOf(HWND window, LPARAM processIds)
{
    const auto& ids = *reinterpret_cast<const std::vector<DWORD>*>(processIds);
    DWORD owner = 0;
    (void)GetWindowThreadProcessId(window, &owner);
    if (std::find(ids.begin(), ids.end(), owner) != ids.end())
        (void)PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// Statuses from 0xC0000000 up are the system's own (0xC0000005, an access violation), which
// read as it writes them: in hexadecimal.
QString exitCodeText(DWORD code)
{
    if (code >= 0xC0000000)
        return QStringLiteral("0x") + QString::number(code, 16).toUpper();
    return QString::number(code);
}

} // namespace

std::unique_ptr<ChildProcess>
ChildProcess::launch(const QString& program, const QString& parameters, std::uint16_t showWindow)
{
    return WinChildProcess::start(program, parameters, showWindow);
}

QString WinChildProcess::commandLine(const QString& program, const QString& parameters)
{
    return u'"' + program + QStringLiteral("\" ") + parameters;
}

std::unique_ptr<WinChildProcess>
WinChildProcess::start(const QString& program, const QString& parameters, std::uint16_t showWindow)
{
    const QString line = commandLine(program, parameters);
    if (line.size() > MaxCommandLine) {
        throw RunlatchError(
            QCoreApplication::translate(
                "WinChildProcess",
                "The command line for %1 is %2 characters long; the system takes at most %3.")
                .arg(program, QString::number(line.size()), QString::number(MaxCommandLine)));
    }
    std::vector<wchar_t> buffer = writableCopy(line);

    const StandardHandles handles;
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = showWindow;
    handles.fill(startup);

    // Suspended until it is in its job, so that nothing it starts can be outside.
    PROCESS_INFORMATION created{};
    if (!CreateProcessW(wide(program), buffer.data(), nullptr, nullptr, TRUE,
                        NORMAL_PRIORITY_CLASS | CREATE_UNICODE_ENVIRONMENT |
                            EXTENDED_STARTUPINFO_PRESENT | CREATE_SUSPENDED,
                        nullptr, nullptr, &startup.StartupInfo, &created))
        throwLastError(program);
    const UniqueHandle thread(created.hThread);
    UniqueHandle process(created.hProcess);
    UniqueHandle job = jobFor(process.get());
    if (ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        const DWORD error = GetLastError();
        (void)TerminateProcess(process.get(), 1);
        throw systemError(error);
    }
    auto child =
        std::make_unique<WinChildProcess>(process.get(), created.dwProcessId, job.get());
    (void)process.release();
    (void)job.release();
    return child;
}

WinChildProcess::WinChildProcess(void* process, unsigned long processId, void* job)
    : m_process(process)
    , m_processId(processId)
    , m_job(job)
{}

// Closing the job leaves its processes running: it was made without the limit that would end
// them with it.
WinChildProcess::~WinChildProcess()
{
    if (m_job != nullptr)
        CloseHandle(m_job);
    CloseHandle(m_process);
}

// Waits of more than 49 days are as good as none; INFINITE itself would be no limit at all.
bool WinChildProcess::waitForEnd(std::chrono::milliseconds limit)
{
    const auto ms = std::clamp<std::chrono::milliseconds::rep>(limit.count(), 0, INFINITE - 1);
    return WaitForSingleObject(m_process, static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
}

void WinChildProcess::waitForEnd()
{
    (void)WaitForSingleObject(m_process, INFINITE);
}

// The handle stays signalled once the process has ended: the notifier is switched off at its
// first report so that it does not report again and again.
std::unique_ptr<QObject> WinChildProcess::watchEnd(std::function<void()> ended)
{
    auto notifier = std::make_unique<QWinEventNotifier>(m_process);
    QWinEventNotifier* const watch = notifier.get();
    QObject::connect(watch, &QWinEventNotifier::activated, watch,
                     [watch, ended = std::move(ended)] {
                         watch->setEnabled(false);
                         ended();
                     });
    return notifier;
}

void WinChildProcess::dispatchEventsUntilEnd()
{
    HANDLE process = m_process;
    for (;;) {
        // Events already queued in the event loop go first: they may not have a message of
        // their own waiting.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_ALLINPUT,
                                                        MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED)
            return;
    }
}

std::optional<ProgramEnd> WinChildProcess::end() const
{
    DWORD code = 0;
    if (!hasEnded() || !GetExitCodeProcess(m_process, &code))
        return std::nullopt;
    ProgramEnd end;
    end.value = code;
    end.text = QStringLiteral("ended with exit code %1").arg(exitCodeText(code));
    return end;
}

void WinChildProcess::askToEnd()
{
    if (hasEnded())
        return;
    const std::vector<DWORD> ids = processesOf(m_job, m_processId);
    (void)EnumWindows(closeIfOwnedByOneOf, reinterpret_cast<LPARAM>(&ids));
}

// Exit code 1, as a program that failed: 0 would claim that it finished its work. The job ends
// whatever is left of it even after the process itself has ended.
void WinChildProcess::makeEnd()
{
    if (m_job != nullptr)
        (void)TerminateJobObject(m_job, 1);
    else if (!hasEnded())
        (void)TerminateProcess(m_process, 1);
}

// Told by the signalled handle, never by the exit code: a program may exit with 259, the code
// that otherwise means it is still running.
bool WinChildProcess::hasEnded() const
{
    return WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
}

// The wide call reaches every name the file system can hold. FindFirstFileW would expand * and ?,
// so a name holding them names no file here; GetFileAttributesW takes the name as it is.
bool ChildProcess::isProgramFile(const QString& program)
{
    if (program.contains(u'*') || program.contains(u'?'))
        return false;
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(program.utf16()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A drive prefix ("C:prog.exe") ends the folder part as a separator does.
qsizetype ChildProcess::fileNameStart(const QString& program)
{
    const qsizetype last = std::max(
        {program.lastIndexOf(u'\\'), program.lastIndexOf(u'/'), program.lastIndexOf(u':')});
    return last + 1;
}
