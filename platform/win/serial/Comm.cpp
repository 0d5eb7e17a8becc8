#include "platform/win/serial/Comm.h"
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>
#include "platform/win/kernel/Kernel.h"

namespace {
// Ports and events share CloseHandle; the tag tells them apart and catches stale handles.
struct CTbKernelObject {
    enum Kind { PORT = 0x504F5254, EVENT = 0x45564E54 };
    explicit CTbKernelObject(Kind k) : nKind(k) {}
    virtual ~CTbKernelObject() { nKind = 0; }
    unsigned nKind;
};

struct CTbEvent : CTbKernelObject {
    CTbEvent(BOOL bManual, BOOL bSet) : CTbKernelObject(EVENT), bManualReset(bManual), bSignalled(bSet) {}
    std::mutex mutex;
    std::condition_variable cv;
    BOOL bManualReset;
    BOOL bSignalled;
};

struct CTbCommPort : CTbKernelObject {
    CTbCommPort() : CTbKernelObject(PORT) {}
    ~CTbCommPort() override
    {
        if (fd >= 0)
            close(fd);
        if (fdWake >= 0)
            close(fdWake);
    }
    int fd = -1;
    int fdWake = -1;                // SetCommMask releases a waiting thread through it
    std::mutex mutex;               // guards everything below
    std::vector<BYTE> input;        // arrived, not yet read
    size_t nInputMax = 4096;
    DWORD dwMask = 0;
    DWORD dwMaskGeneration = 0;
    DWORD dwErrors = 0;
    BOOL bEventSeen = FALSE;
    BOOL bCharSeen = FALSE;
    DCB dcb{};
};

CTbCommPort* Port(HANDLE h)
{
    auto* p = static_cast<CTbKernelObject*>(h);
    if (!h || h == INVALID_HANDLE_VALUE || p->nKind != CTbKernelObject::PORT) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return static_cast<CTbCommPort*>(p);
}

CTbEvent* Event(HANDLE h)
{
    auto* p = static_cast<CTbKernelObject*>(h);
    if (!h || h == INVALID_HANDLE_VALUE || p->nKind != CTbKernelObject::EVENT) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return static_cast<CTbEvent*>(p);
}

std::mutex& DeviceMutex()
{
    static std::mutex* s_p = new std::mutex;
    return *s_p;
}
std::map<std::string, std::string>& Devices()
{
    static std::map<std::string, std::string>* s_p = new std::map<std::string, std::string>;
    return *s_p;
}

const struct { DWORD dwBaud; speed_t speed; } s_speeds[] = {
    {110, B110}, {300, B300}, {600, B600}, {1200, B1200}, {2400, B2400}, {4800, B4800}, {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
};

// Moves what the device has into the input queue, up to its size; notes the event character.
// Called with the port's lock held. FALSE when the device failed or hung up.
BOOL Fill(CTbCommPort& port)
{
    BYTE buf[1024];
    while (port.input.size() < port.nInputMax) {
        const size_t nWant = std::min(sizeof buf, port.nInputMax - port.input.size());
        const ssize_t n = read(port.fd, buf, nWant);
        if (n > 0) {
            if (std::memchr(buf, port.dcb.EvtChar, static_cast<size_t>(n)))
                port.bEventSeen = TRUE;
            port.bCharSeen = TRUE;
            port.input.insert(port.input.end(), buf, buf + n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            return TRUE;
        port.dwErrors |= CE_IOE;
        return FALSE;
    }
    // A full queue must be read before anything more can come in.
    port.bEventSeen = TRUE;
    return TRUE;
}
}

void SetCommPortDevice(LPCSTR pszPort, LPCSTR pszDevice)
{
    if (!pszPort)
        return;
    std::lock_guard<std::mutex> lock(DeviceMutex());
    if (pszDevice)
        Devices()[pszPort] = pszDevice;
    else
        Devices().erase(pszPort);
}

BOOL GetCommPortDevice(LPCSTR pszPort, LPSTR pszDevice, int nSize)
{
    if (!pszPort || !pszDevice || nSize <= 0)
        return FALSE;
    std::string strPath;
    {
        std::lock_guard<std::mutex> lock(DeviceMutex());
        auto it = Devices().find(pszPort);
        if (it != Devices().end())
            strPath = it->second;
    }
    if (strPath.empty()) {
        if (const char* pszEnv = std::getenv(pszPort))
            strPath = pszEnv;
    }
    if (strPath.empty()) {
        if (std::strncmp(pszPort, "COM", 3) != 0 || pszPort[3] < '1' || pszPort[3] > '9' || pszPort[4])
            return FALSE;
        strPath = "/dev/ttyS" + std::to_string(pszPort[3] - '1');
    }
    if (static_cast<int>(strPath.size()) >= nSize)
        return FALSE;
    std::memcpy(pszDevice, strPath.c_str(), strPath.size() + 1);
    return TRUE;
}

HANDLE OpenCommPort(LPCSTR pszPort)
{
    char szDevice[MAX_PATH];
    if (!GetCommPortDevice(pszPort, szDevice, sizeof szDevice)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const int fd = open(szDevice, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    termios tio{};
    // Exclusive, as the original opens its ports; a device that is no terminal is refused.
    if (tcgetattr(fd, &tio) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tcsetattr(fd, TCSANOW, &tio);
    auto* pPort = new CTbCommPort;
    pPort->fd = fd;
    pPort->fdWake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    pPort->dcb.DCBlength = sizeof(DCB);
    pPort->dcb.BaudRate = 9600;
    pPort->dcb.fBinary = 1;
    pPort->dcb.ByteSize = 8;
    pPort->dcb.XonChar = 17;
    pPort->dcb.XoffChar = 19;
    return pPort;
}

BOOL GetCommState(HANDLE hComm, LPDCB pDcb)
{
    CTbCommPort* pPort = Port(hComm);
    if (!pPort || !pDcb)
        return FALSE;
    std::lock_guard<std::mutex> lock(pPort->mutex);
    *pDcb = pPort->dcb;
    return TRUE;
}

BOOL SetCommState(HANDLE hComm, const DCB* pDcb)
{
    CTbCommPort* pPort = Port(hComm);
    if (!pPort || !pDcb)
        return FALSE;
    speed_t speed = 0;
    for (const auto& s : s_speeds)
        if (s.dwBaud == pDcb->BaudRate)
            speed = s.speed;
    static const tcflag_t s_sizes[] = {CS5, CS6, CS7, CS8};
    if (!speed || pDcb->ByteSize < 5 || pDcb->ByteSize > 8 || pDcb->Parity > SPACEPARITY ||
        pDcb->StopBits == ONE5STOPBITS || pDcb->StopBits > TWOSTOPBITS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(pPort->mutex);
    termios tio{};
    if (tcgetattr(pPort->fd, &tio) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= s_sizes[pDcb->ByteSize - 5];
    if (pDcb->Parity != NOPARITY)
        tio.c_cflag |= PARENB;
    if (pDcb->Parity == ODDPARITY || pDcb->Parity == MARKPARITY)
        tio.c_cflag |= PARODD;
    if (pDcb->Parity == MARKPARITY || pDcb->Parity == SPACEPARITY)
        tio.c_cflag |= CMSPAR;
    if (pDcb->StopBits == TWOSTOPBITS)
        tio.c_cflag |= CSTOPB;
    // DSR flow control has no termios counterpart; the modem lines still follow the DCB.
    if (pDcb->fOutxCtsFlow || pDcb->fRtsControl == RTS_CONTROL_HANDSHAKE)
        tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF);
    if (pDcb->fOutX)
        tio.c_iflag |= IXON;
    if (pDcb->fInX)
        tio.c_iflag |= IXOFF;
    tio.c_cc[VSTART] = static_cast<cc_t>(pDcb->XonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(pDcb->XoffChar);
    if (tcsetattr(pPort->fd, TCSANOW, &tio) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pPort->dcb = *pDcb;
    return TRUE;
}

BOOL SetupComm(HANDLE hComm, DWORD dwInQueue, DWORD /*dwOutQueue*/)
{
    CTbCommPort* pPort = Port(hComm);
    if (!pPort)
        return FALSE;
    std::lock_guard<std::mutex> lock(pPort->mutex);
    pPort->nInputMax = std::max<size_t>(dwInQueue, 16);
    return TRUE;
}

BOOL SetCommTimeouts(HANDLE hComm, const COMMTIMEOUTS* pTimeouts)
{
    // Reads always return at once and writes wait as long as WriteComm is told.
    return Port(hComm) && pTimeouts;
}

BOOL SetCommMask(HANDLE hComm, DWORD dwEvents)
{
    CTbCommPort* pPort = Port(hComm);
    if (!pPort)
        return FALSE;
    {
        std::lock_guard<std::mutex> lock(pPort->mutex);
        pPort->dwMask = dwEvents;
        ++pPort->dwMaskGeneration;
    }
    const uint64_t nOne = 1;
    if (write(pPort->fdWake, &nOne, sizeof nOne) < 0) {
        // The counter is full only if nobody ever waits: nothing to release.
    }
    return TRUE;
}

BOOL WaitCommEvent(HANDLE hComm, LPDWORD pdwEvents)
{
    CTbCommPort* pPort = Port(hComm);
    if (!pPort || !pdwEvents)
        return FALSE;
    DWORD dwGeneration;
    {
        std::lock_guard<std::mutex> lock(pPort->mutex);
        dwGeneration = pPort->dwMaskGeneration;
        pPort->bCharSeen = FALSE;
    }
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(pPort->mutex);
            if (pPort->dwMaskGeneration != dwGeneration || !pPort->dwMask) {
                *pdwEvents = 0;
                return TRUE;
            }
            DWORD dwEvents = 0;
            if ((pPort->dwMask & EV_RXFLAG) && pPort->bEventSeen)
                dwEvents |= EV_RXFLAG;
            if ((pPort->dwMask & EV_RXCHAR) && pPort->bCharSeen)
                dwEvents |= EV_RXCHAR;
            if (dwEvents) {
                pPort->bEventSeen = pPort->bCharSeen = FALSE;
                *pdwEvents = dwEvents;
                return TRUE;
            }
        }
        pollfd fds[2] = {{pPort->fd, POLLIN, 0}, {pPort->fdWake, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            return FALSE;
        if (fds[1].revents & POLLIN) {
            uint64_t nCount;
            while (read(pPort->fdWake, &nCount, sizeof nCount) > 0) {
            }
        }
        if (fds[0].revents & POLLIN) {
            std::lock_guard<std::mutex> lock(pPort->mutex);
            if (!Fill(*pPort))
                return FALSE;
        } else if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            std::lock_guard<std::mutex> lock(pPort->mutex);
            pPort->dwErrors |= CE_IOE;
            return FALSE;
        }
    }
}

BOOL EscapeCommFunction(HANDLE hComm, DWORD dwFunction)
{
    CTbCommPort* pPort = Port(hComm);
    if (!pPort)
        return FALSE;
    int nBits = 0;
    unsigned long ulRequest = 0;
    switch (dwFunction) {
    case SETDTR: nBits = TIOCM_DTR; ulRequest = TIOCMBIS; break;
    case CLRDTR: nBits = TIOCM_DTR; ulRequest = TIOCMBIC; break;
    case SETRTS: nBits = TIOCM_RTS; ulRequest = TIOCMBIS; break;
    case CLRRTS: nBits = TIOCM_RTS; ulRequest = TIOCMBIC; break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ioctl(pPort->fd, ulRequest, &nBits) == 0;
}

BOOL PurgeComm(HANDLE hComm, DWORD dwFlags)
{
    CTbCommPort* pPort = Port(hComm);
    if (!pPort)
        return FALSE;
    std::lock_guard<std::mutex> lock(pPort->mutex);
    if (dwFlags & (PURGE_RXABORT | PURGE_RXCLEAR)) {
        pPort->input.clear();
        pPort->bEventSeen = FALSE;
        tcflush(pPort->fd, TCIFLUSH);
    }
    if (dwFlags & (PURGE_TXABORT | PURGE_TXCLEAR))
        tcflush(pPort->fd, TCOFLUSH);
    return TRUE;
}

BOOL ClearCommError(HANDLE hComm, LPDWORD pdwErrors, COMSTAT* pStat)
{
    CTbCommPort* pPort = Port(hComm);
    if (!pPort)
        return FALSE;
    std::lock_guard<std::mutex> lock(pPort->mutex);
    if (pdwErrors)
        *pdwErrors = pPort->dwErrors;
    pPort->dwErrors = 0;
    if (pStat) {
        int nIn = 0, nOut = 0;
        if (ioctl(pPort->fd, FIONREAD, &nIn) != 0)
            nIn = 0;
        if (ioctl(pPort->fd, TIOCOUTQ, &nOut) != 0)
            nOut = 0;
        pStat->cbInQue = static_cast<DWORD>(pPort->input.size()) + static_cast<DWORD>(std::max(nIn, 0));
        pStat->cbOutQue = static_cast<DWORD>(std::max(nOut, 0));
    }
    return TRUE;
}

BOOL ReadComm(HANDLE hComm, void* pBuffer, DWORD nCount, LPDWORD pdwRead)
{
    CTbCommPort* pPort = Port(hComm);
    if (!pPort || !pBuffer || !pdwRead)
        return FALSE;
    std::lock_guard<std::mutex> lock(pPort->mutex);
    *pdwRead = 0;
    const BOOL bOk = Fill(*pPort);
    const size_t nTake = std::min<size_t>(nCount, pPort->input.size());
    if (nTake)
        std::memcpy(pBuffer, pPort->input.data(), nTake);
    pPort->input.erase(pPort->input.begin(), pPort->input.begin() + static_cast<long>(nTake));
    if (pPort->input.empty())
        pPort->bEventSeen = FALSE;      // the window has every line there was
    *pdwRead = static_cast<DWORD>(nTake);
    return bOk || nTake > 0;
}

BOOL WriteComm(HANDLE hComm, const void* pBuffer, DWORD nCount, LPDWORD pdwWritten, DWORD dwWaitMs)
{
    CTbCommPort* pPort = Port(hComm);
    if (!pPort || (!pBuffer && nCount) || !pdwWritten)
        return FALSE;
    *pdwWritten = 0;
    const auto tpEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwWaitMs);
    const BYTE* p = static_cast<const BYTE*>(pBuffer);
    while (*pdwWritten < nCount) {
        const ssize_t n = write(pPort->fd, p + *pdwWritten, nCount - *pdwWritten);
        if (n > 0) {
            *pdwWritten += static_cast<DWORD>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return FALSE;
        const auto nLeft = std::chrono::duration_cast<std::chrono::milliseconds>(tpEnd - std::chrono::steady_clock::now()).count();
        if (nLeft <= 0)
            return FALSE;
        pollfd fd = {pPort->fd, POLLOUT, 0};
        poll(&fd, 1, static_cast<int>(nLeft));
    }
    return TRUE;
}

HANDLE CreateEventA(void* /*pSecurity*/, BOOL bManualReset, BOOL bInitialState, LPCSTR /*pszName*/)
{
    return new CTbEvent(bManualReset, bInitialState);
}

BOOL SetEvent(HANDLE hEvent)
{
    CTbEvent* pEvent = Event(hEvent);
    if (!pEvent)
        return FALSE;
    {
        std::lock_guard<std::mutex> lock(pEvent->mutex);
        pEvent->bSignalled = TRUE;
    }
    pEvent->cv.notify_all();
    return TRUE;
}

BOOL ResetEvent(HANDLE hEvent)
{
    CTbEvent* pEvent = Event(hEvent);
    if (!pEvent)
        return FALSE;
    std::lock_guard<std::mutex> lock(pEvent->mutex);
    pEvent->bSignalled = FALSE;
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    CTbEvent* pEvent = Event(hHandle);
    if (!pEvent)
        return WAIT_FAILED;
    std::unique_lock<std::mutex> lock(pEvent->mutex);
    auto signalled = [pEvent] { return pEvent->bSignalled != FALSE; };
    if (dwMilliseconds == INFINITE)
        pEvent->cv.wait(lock, signalled);
    else if (!pEvent->cv.wait_for(lock, std::chrono::milliseconds(dwMilliseconds), signalled))
        return WAIT_TIMEOUT;
    if (!pEvent->bManualReset)
        pEvent->bSignalled = FALSE;
    return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE hObject)
{
    auto* p = static_cast<CTbKernelObject*>(hObject);
    if (!hObject || hObject == INVALID_HANDLE_VALUE ||
        (p->nKind != CTbKernelObject::PORT && p->nKind != CTbKernelObject::EVENT)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete p;
    return TRUE;
}
