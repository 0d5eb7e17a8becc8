#pragma once
// Serial ports in the shape of the Win32 comm calls the link makes, on termios. A port name
// "COM1" to "COM4" stands for a device path: /dev/ttyS0 to /dev/ttyS3 unless the environment
// variable of the same name ("COM1=/dev/ttyUSB0") or SetCommPortDevice names another.
//
// The port keeps its own input queue, as the driver does on the original: WaitCommEvent (the
// watch thread) moves what arrives into it and reports the event character; ReadComm (the
// window) takes from it. The calls may come from the two threads at once.
#include "platform/win/WinTypes.h"

// Line settings: the fields of the original's DCB that the link sets.
#define NOPARITY 0
#define ODDPARITY 1
#define EVENPARITY 2
#define MARKPARITY 3
#define SPACEPARITY 4
#define ONESTOPBIT 0
#define ONE5STOPBITS 1
#define TWOSTOPBITS 2
#define DTR_CONTROL_DISABLE 0
#define DTR_CONTROL_ENABLE 1
#define DTR_CONTROL_HANDSHAKE 2
#define RTS_CONTROL_DISABLE 0
#define RTS_CONTROL_ENABLE 1
#define RTS_CONTROL_HANDSHAKE 2
struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    DWORD fDummy2 : 17;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};
typedef DCB* LPDCB;

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};
struct COMSTAT {
    DWORD cbInQue;
    DWORD cbOutQue;
};

#define EV_RXCHAR 0x0001
#define EV_RXFLAG 0x0002
#define SETRTS 3
#define CLRRTS 4
#define SETDTR 5
#define CLRDTR 6
#define PURGE_TXABORT 0x0001
#define PURGE_RXABORT 0x0002
#define PURGE_TXCLEAR 0x0004
#define PURGE_RXCLEAR 0x0008
#define CE_RXOVER 0x0001
#define CE_OVERRUN 0x0002
#define CE_FRAME 0x0008
#define CE_IOE 0x0400
#define INFINITE 0xFFFFFFFF
#define MAXDWORD 0xFFFFFFFF

// The device path of a port name, and a replacement for it (null goes back to the default).
void SetCommPortDevice(LPCSTR pszPort, LPCSTR pszDevice);
BOOL GetCommPortDevice(LPCSTR pszPort, LPSTR pszDevice, int nSize);

// Opens the port for exclusive use: INVALID_HANDLE_VALUE on failure (GetLastError tells why).
// CloseHandle closes it; a thread waiting in WaitCommEvent must have been released first.
HANDLE OpenCommPort(LPCSTR pszPort);

// A speed termios cannot set, or a byte size, parity or stop-bit value it cannot take, is
// refused: FALSE with ERROR_INVALID_PARAMETER and the port left as it was.
BOOL GetCommState(HANDLE hComm, LPDCB pDcb);
BOOL SetCommState(HANDLE hComm, const DCB* pDcb);
BOOL SetupComm(HANDLE hComm, DWORD dwInQueue, DWORD dwOutQueue);
BOOL SetCommTimeouts(HANDLE hComm, const COMMTIMEOUTS* pTimeouts);
// A new mask releases a thread waiting in WaitCommEvent: it returns TRUE with *pdwEvents 0.
BOOL SetCommMask(HANDLE hComm, DWORD dwEvents);
// Blocks until an event of the mask: EV_RXFLAG when the event character has arrived (or the
// input queue is full), EV_RXCHAR for any byte. FALSE when the port failed or was hung up.
BOOL WaitCommEvent(HANDLE hComm, LPDWORD pdwEvents);
BOOL EscapeCommFunction(HANDLE hComm, DWORD dwFunction);
BOOL PurgeComm(HANDLE hComm, DWORD dwFlags);
BOOL ClearCommError(HANDLE hComm, LPDWORD pdwErrors, COMSTAT* pStat);
// Reads what has arrived, at most nCount bytes, without waiting.
BOOL ReadComm(HANDLE hComm, void* pBuffer, DWORD nCount, LPDWORD pdwRead);
// Writes, waiting at most dwWaitMs for the port to take everything; what it took by then
// is *pdwWritten, and FALSE when that is not all.
BOOL WriteComm(HANDLE hComm, const void* pBuffer, DWORD nCount, LPDWORD pdwWritten, DWORD dwWaitMs);

// Events for the watch thread and the window: manual or automatic reset.
#define WAIT_OBJECT_0 0
#define WAIT_TIMEOUT 258
#define WAIT_FAILED 0xFFFFFFFF
HANDLE CreateEventA(void* pSecurity, BOOL bManualReset, BOOL bInitialState, LPCSTR pszName);
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
// Closes a port or an event.
BOOL CloseHandle(HANDLE hObject);
