#pragma once

#include <QString>

#include <functional>
#include <vector>

// Serial ports keep the number users know ("COM3" is number 3). On Linux number n is
// /dev/ttyS(n-1) for the fixed ports; USB and ACM adapters are numbered after the fixed
// ports in a stable order (ttyUSB0, ttyUSB1, ..., then ttyACM0, ...). The settings file
// section [Serial] binds any number to any device path, e.g. "COM7=/dev/pts/4".

// The device of a port number; empty for numbers below 1.
QString SerialDevicePath(int number);
// The port numbers that exist on this machine, bindings first, then in number order.
std::vector<int> EnumerateSerialPorts();
// The number of a device path: a binding, a fixed port or an adapter; 0 when unknown.
int SerialPortNumberOf(const QString& devicePath);

// Binds a number to a device for this process (on top of the settings file); an empty
// path removes the binding.
void BindSerialDevice(int number, const QString& devicePath);
// A number no binding or device uses yet, for a device named on a command line.
int BindSerialDeviceAnywhere(const QString& devicePath);
// Rereads the [Serial] section of the settings file.
void ReloadSerialBindings();
