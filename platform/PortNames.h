#pragma once

#include <string>

// The device that stands for COM port n when the profile names none: on
// POSIX the n-th UART, /dev/ttyS(n-1); on Windows the port itself, \\.\COMn.
std::string DefaultComPortDevice(int comPort);

// The highest n of a "COMn" that names a port: 4 on POSIX, where only the
// settings' COM1 to COM4 are mapped to devices; 256 on Windows, where every
// COM port has that name.
int HighestComPortNumber();
