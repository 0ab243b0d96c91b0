#pragma once

#include "cli/cli_command.h"

class CScreen;

// The link options every controller command takes:
//   --udp HOST[:PORT] | --serial DEVICE [--baud 9600|57600], --timeout MS, --panel-id N
QStringList LinkValueOptions();
// Applies the options to the screen's link settings (in memory). False with a usage text
// when an option is malformed.
bool ApplyLinkOptions(const CliArguments& arguments, CScreen& screen, QString& error);
// "Command failed:" followed by the link's error text, on stderr; returns CliFailed.
int CliCommandFailed(CScreen& screen);
