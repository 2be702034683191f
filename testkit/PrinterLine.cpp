#include "PrinterLine.h"

namespace testkit {

std::wstring ServicePort(int line)
{
    return L"COM" + std::to_wstring(20 + line);
}

std::wstring PrinterPort(int line)
{
    return L"COM" + std::to_wstring(120 + line);
}

namespace {

com::Handle OpenPort(const std::wstring& port, DWORD flags)
{
    const std::wstring path = L"\\\\.\\" + port;
    return com::Handle(
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, flags, nullptr));
}

}  // namespace

PrinterLine::PrinterLine(const std::wstring& port)
    : Port(OpenPort(port, FILE_FLAG_OVERLAPPED)), Done(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    if (!Port) return;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 20;
    timeouts.ReadTotalTimeoutConstant = 100;
    (void)SetCommTimeouts(Port.Get(), &timeouts);  // reads then end at once on data
    (void)PurgeComm(Port.Get(), PURGE_RXCLEAR | PURGE_TXCLEAR);  // a left-over is no failure
}

bool PrinterLine::Write(const std::vector<std::uint8_t>& bytes)
{
    OVERLAPPED overlapped{};
    overlapped.hEvent = Done.Get();
    DWORD written = 0;
    if (!WriteFile(Port.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &overlapped) &&
        GetLastError() != ERROR_IO_PENDING)
        return false;
    return GetOverlappedResult(Port.Get(), &overlapped, &written, TRUE) && written == bytes.size();
}

std::vector<std::uint8_t> PrinterLine::Read(size_t count, DWORD timeoutMs)
{
    std::vector<std::uint8_t> got;
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (got.size() < count && GetTickCount64() < end) {
        std::uint8_t buffer[256];
        OVERLAPPED overlapped{};
        overlapped.hEvent = Done.Get();
        DWORD n = 0;
        if (!ReadFile(Port.Get(), buffer, sizeof buffer, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING)
            break;
        if (WaitForSingleObject(Done.Get(), 1000) != WAIT_OBJECT_0) (void)CancelIoEx(Port.Get(), &overlapped);
        if (GetOverlappedResult(Port.Get(), &overlapped, &n, TRUE)) got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

std::vector<std::uint8_t> PrinterLine::ReadUntilQuiet(DWORD quietMs)
{
    std::vector<std::uint8_t> got;
    for (;;) {
        const std::vector<std::uint8_t> more = Read(SIZE_MAX, quietMs);
        if (more.empty()) return got;
        got.insert(got.end(), more.begin(), more.end());
    }
}

DCB CurrentLineState(const std::wstring& port)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    com::Handle handle = OpenPort(port, 0);
    if (handle) (void)GetCommState(handle.Get(), &dcb);  // a zero DCB fails the caller's checks
    return dcb;
}

bool SetLineState(const std::wstring& port, DWORD rate, BYTE stopBits)
{
    com::Handle handle = OpenPort(port, 0);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!handle || !GetCommState(handle.Get(), &dcb)) return false;
    dcb.BaudRate = rate;
    dcb.StopBits = stopBits;
    return SetCommState(handle.Get(), &dcb) != FALSE;
}

}  // namespace testkit
