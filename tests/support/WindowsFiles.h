#pragma once

// Windows file helpers for tests.

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <QDir>
#include <QString>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// A file that another program holds open while this lives. Windows lets nobody else do with the
// file what the holder does not share: read it, write it, or delete or replace it.
class HeldFile {
public:
    enum Sharing : DWORD {
        ShareNothing = 0,
        ShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE,
    };

    HeldFile(const QString& path, Sharing sharing)
        : m_handle(::CreateFileW(
              reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
              GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {}
    ~HeldFile()
    {
        if (isHeld())
            ::CloseHandle(m_handle);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    [[nodiscard]] bool isHeld() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

// Wine stands in for Windows in the cross build's test runs, and a few of its system calls do
// less than Windows' own; a test expects those to fail there, saying why.
inline bool runsUnderWine()
{
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
#endif
