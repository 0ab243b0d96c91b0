// lumivant-cli ports: the serial ports with what the system knows of their adapters.
#include "cli/cli_command.h"

#include "comm/serial_port_list.h"

int RunPorts(const QStringList& words)
{
    int usageStatus = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words, {}, {}, 0, QStringLiteral("ports takes no argument"), usageStatus);
    if (!arguments)
        return usageStatus;
    const std::vector<SerialPortEntry> ports = ListSerialPorts();
    if (ports.empty())
        CliPrint(QStringLiteral("No serial ports."));
    for (const SerialPortEntry& port : ports)
        CliPrint(port.Label());
    return CliOk;
}
