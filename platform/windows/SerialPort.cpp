#include "SerialPort.h"

#include "WideText.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr DWORD kWriteStallMilliseconds = 1000;

// "COM7" and "\\.\COM7" both open COM port 7; any other text is taken as
// the device's own path.
std::wstring DeviceName(const std::string& devicePath)
{
    const bool bareCom = devicePath.size() > 3 && (devicePath[0] == 'C' || devicePath[0] == 'c') &&
                         (devicePath[1] == 'O' || devicePath[1] == 'o') && (devicePath[2] == 'M' || devicePath[2] == 'm') &&
                         std::all_of(devicePath.begin() + 3, devicePath.end(), [](char c) { return c >= '0' && c <= '9'; });
    return WideFromUtf8(bareCom ? "\\\\.\\" + devicePath : devicePath);
}

OpenResult Refusal(DWORD error)
{
    OpenResult result;
    result.SystemText = SystemErrorText(error);
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_NAME:
        result.Failure = OpenFailure::NotFound;
        break;
    // A COM port is opened without sharing: while another program has it,
    // Windows says access is denied.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        result.Failure = OpenFailure::InUse;
        result.Hint = kPortInUseHint;
        break;
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
        result.Failure = OpenFailure::NoHardware;
        result.Hint = kNoPortHardwareHint;
        break;
    default:
        result.Failure = OpenFailure::Other;
        break;
    }
    return result;
}

// 8 data bits, no parity, one stop bit, binary, no flow control of any kind.
bool SetLine(HANDLE port, int baudRate)
{
    DCB line{};
    line.DCBlength = sizeof line;
    if (!::GetCommState(port, &line)) {
        return false;
    }
    line.BaudRate = static_cast<DWORD>(baudRate);
    line.ByteSize = 8;
    line.Parity = NOPARITY;
    line.StopBits = ONESTOPBIT;
    line.fBinary = TRUE;
    line.fParity = FALSE;
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    line.fDsrSensitivity = FALSE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    line.fErrorChar = FALSE;
    line.fNull = FALSE;
    line.fAbortOnError = FALSE;
    return ::SetCommState(port, &line) != 0;
}

}  // namespace

// The handle, an event for each direction's overlapped I/O, and the byte that
// a wait has already read.
struct SerialPort::State {
    HANDLE Port = INVALID_HANDLE_VALUE;
    HANDLE ReadEvent = nullptr;
    HANDLE WriteEvent = nullptr;
    bool HasByte = false;
    std::uint8_t Byte = 0;
    DWORD ReadTimeout = MAXDWORD;  // the total time-out the driver has now

    ~State()
    {
        if (Port != INVALID_HANDLE_VALUE) {
            ::CloseHandle(Port);
        }
        for (HANDLE event : {ReadEvent, WriteEvent}) {
            if (event != nullptr) {
                ::CloseHandle(event);
            }
        }
    }

    // Reads up to count bytes; a read of more than is queued waits for at
    // most the read time-out.
    DWORD ReadBytes(std::uint8_t* buffer, DWORD count, DWORD timeout)
    {
        if (timeout != ReadTimeout) {
            // {0, 0, T}: a read returns when it has its bytes or after T ms.
            COMMTIMEOUTS timeouts{0, 0, timeout, 0, kWriteStallMilliseconds};
            if (!::SetCommTimeouts(Port, &timeouts)) {
                return 0;
            }
            ReadTimeout = timeout;
        }
        OVERLAPPED overlapped{};
        overlapped.hEvent = ReadEvent;
        DWORD got = 0;
        if (!::ReadFile(Port, buffer, count, &got, &overlapped)) {
            if (::GetLastError() != ERROR_IO_PENDING || !::GetOverlappedResult(Port, &overlapped, &got, TRUE)) {
                return 0;
            }
        }
        return got;
    }

    DWORD Queued() const
    {
        DWORD errors = 0;
        COMSTAT status{};
        if (!::ClearCommError(Port, &errors, &status)) {
            return 0;
        }
        return status.cbInQue;
    }
};

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() { Close(); }

OpenResult SerialPort::Open(const std::string& devicePath, int baudRate)
{
    if (IsOpen()) {
        return {};
    }
    auto state = std::make_unique<State>();
    state->Port = ::CreateFileW(DeviceName(devicePath).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (state->Port == INVALID_HANDLE_VALUE) {
        return Refusal(::GetLastError());
    }
    state->ReadEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    state->WriteEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (state->ReadEvent == nullptr || state->WriteEvent == nullptr || !SetLine(state->Port, baudRate)) {
        return Refusal(::GetLastError());
    }
    state_ = std::move(state);
    DiscardInput();
    return {};
}

void SerialPort::Close() { state_.reset(); }

void SerialPort::Write(const std::uint8_t* bytes, std::size_t count)
{
    if (!IsOpen() || count == 0) {
        return;
    }
    OVERLAPPED overlapped{};
    overlapped.hEvent = state_->WriteEvent;
    DWORD written = 0;
    if (!::WriteFile(state_->Port, bytes, static_cast<DWORD>(count), &written, &overlapped) &&
        ::GetLastError() == ERROR_IO_PENDING) {
        // The write time-out of the port ends a write the driver does not take.
        ::GetOverlappedResult(state_->Port, &overlapped, &written, TRUE);
    }
}

std::size_t SerialPort::BufferedCount() const
{
    if (!IsOpen()) {
        return 0;
    }
    return (state_->HasByte ? 1 : 0) + state_->Queued();
}

std::size_t SerialPort::Read(std::uint8_t* buffer, std::size_t maxCount)
{
    if (!IsOpen() || maxCount == 0) {
        return 0;
    }
    std::size_t got = 0;
    if (state_->HasByte) {
        buffer[got++] = state_->Byte;
        state_->HasByte = false;
    }
    const DWORD queued = static_cast<DWORD>(std::min<std::size_t>(state_->Queued(), maxCount - got));
    if (queued > 0) {
        // Queued bytes come at once whatever the total time-out is; the one
        // the driver has is kept, which saves setting it anew.
        const DWORD timeout = state_->ReadTimeout == MAXDWORD ? kWriteStallMilliseconds : state_->ReadTimeout;
        got += state_->ReadBytes(buffer + got, queued, timeout);
    }
    return got;
}

void SerialPort::DiscardInput()
{
    if (IsOpen()) {
        state_->HasByte = false;
        ::PurgeComm(state_->Port, PURGE_RXCLEAR | PURGE_RXABORT);
    }
}

bool SerialPort::WaitForInput(int milliseconds)
{
    if (BufferedCount() > 0) {
        return true;
    }
    if (milliseconds <= 0) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    if (IsOpen()) {
        // A read of one byte with the wait as its total time-out: it returns
        // as soon as a byte is there. (Interval time-outs and WaitCommEvent
        // are not dependable on every driver.)
        if (state_->ReadBytes(&state_->Byte, 1, static_cast<DWORD>(milliseconds)) == 1) {
            state_->HasByte = true;
            return true;
        }
    }
    // Closed port or a failed read: wait out the time, so that callers never spin.
    std::this_thread::sleep_until(deadline);
    return false;
}
