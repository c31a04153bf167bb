// A child program for the tests. It appends one record of what it was given to the file named
// by RUNLATCH_CHILD_LOG: its start time, end time (steady clock, ns, which is the same clock in
// every process: CLOCK_MONOTONIC, on Windows the performance counter), process id, working
// folder, the show state it was started with and its raw command line (Windows only; -1 and
// empty elsewhere), and its arguments. One write per record, appending, so children never
// interleave.
//
// RUNLATCH_CHILD_SLEEP_MS makes it wait between start and end, RUNLATCH_CHILD_EXIT sets its exit
// status. RUNLATCH_CHILD_ECHO_STDIN=1 makes it read its standard input to the end first, then write
// "read <bytes>" to standard output and "to-error" to standard error. On Windows,
// RUNLATCH_CHILD_WINDOW=1 makes it open a top-level window and run until the window is closed.
#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <climits>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

long long steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Tabs separate the fields and newlines the records, so both are escaped inside a field.
std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '%':
            out += "%25";
            break;
        case '\t':
            out += "%09";
            break;
        case '\n':
            out += "%0A";
            break;
        case '\r':
            out += "%0D";
            break;
        default:
            out += c;
        }
    }
    return out;
}

long envNumber(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::strtol(value, nullptr, 10) : 0;
}

void echoStandardInput()
{
    char buffer[256];
    std::size_t total = 0;
    for (std::size_t got = 0; (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;)
        total += got;
    std::printf("read %zu\n", total);
    std::fflush(stdout);
    std::fputs("to-error\n", stderr);
    std::fflush(stderr);
}

#ifdef _WIN32

std::string utf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();
    return out;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// WM_CLOSE reaches the default procedure, which destroys the window and so ends the loop.
void runWindowUntilClosed()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"RunlatchTestChild";
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Runlatch test child",
                                        WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 200, 100,
                                        nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr)
        return;
    ShowWindow(window, SW_SHOWDEFAULT);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int showState()
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
}

// The arguments as the usual rules of the C runtime split the command line.
std::vector<std::string> arguments(int, char**)
{
    std::vector<std::string> out;
    int count = 0;
    wchar_t** const split = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; split && i < count; ++i)
        out.push_back(utf8(split[i]));
    LocalFree(split);
    return out;
}

std::string fields(long long start, long long end)
{
    wchar_t cwd[32768] = {};
    GetCurrentDirectoryW(32768, cwd);
    return std::to_string(start) + '\t' + std::to_string(end) + '\t' +
           std::to_string(GetCurrentProcessId()) + '\t' + escaped(utf8(cwd)) + '\t' +
           std::to_string(showState()) + '\t' + escaped(utf8(GetCommandLineW()));
}

void append(const std::string& record)
{
    wchar_t path[32768] = {};
    if (GetEnvironmentVariableW(L"RUNLATCH_CHILD_LOG", path, 32768) == 0)
        return;
    const HANDLE file =
        CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
}

#else

std::vector<std::string> arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string fields(long long start, long long end)
{
    char cwd[PATH_MAX] = {};
    if (!getcwd(cwd, sizeof cwd))
        cwd[0] = '\0';
    return std::to_string(start) + '\t' + std::to_string(end) + '\t' + std::to_string(getpid()) +
           '\t' + escaped(cwd) + "\t-1\t";
}

void append(const std::string& record)
{
    const char* const logPath = std::getenv("RUNLATCH_CHILD_LOG");
    if (!logPath)
        return;
    const int fd = open(logPath, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd >= 0) {
        (void)!write(fd, record.data(), record.size());
        close(fd);
    }
}

#endif

} // namespace

int main(int argc, char** argv)
{
    const long long start = steadyNs();
    if (envNumber("RUNLATCH_CHILD_ECHO_STDIN") != 0)
        echoStandardInput();
#ifdef _WIN32
    if (envNumber("RUNLATCH_CHILD_WINDOW") != 0)
        runWindowUntilClosed();
#endif
    if (const long ms = envNumber("RUNLATCH_CHILD_SLEEP_MS"); ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    const long long end = steadyNs();

    std::string record = fields(start, end);
    for (const std::string& argument : arguments(argc, argv))
        record += '\t' + escaped(argument);
    record += '\n';
    append(record);
    return static_cast<int>(envNumber("RUNLATCH_CHILD_EXIT"));
}
