#pragma once

#include <QString>

#include <vector>

// A serial port as the communication setup lists it: the number people know (COM3) with
// what the system knows of the adapter behind it.
struct SerialPortEntry
{
    int number = 0;
    QString device;       // the device path
    QString description;  // the adapter's product text, empty when unknown
    QString manufacturer; // empty when unknown
    QString serialNumber; // empty when unknown

    // "COM3  /dev/ttyUSB0  FT232R USB UART (FTDI), serial A50285BI"
    QString Label() const;
};

// Every port of this machine (bindings first, then in number order), described from the
// system's serial port information.
std::vector<SerialPortEntry> ListSerialPorts();
