#pragma once

#include "cli/cli_command.h"

#include <memory>

class CProjectRoot;
class CScreen;

// Loads a project for a command; null after printing the system's message.
std::unique_ptr<CProjectRoot> LoadProjectForCli(const QString& path);
// Loads the project and picks the screen named by --screen N; null with status set (after
// printing why) when either fails.
CScreen* LoadScreenForCli(const QString& path, const CliArguments& arguments,
                          std::unique_ptr<CProjectRoot>& root, int& status);
// The screen named by --screen N (from 1, default 1); null after printing a usage error.
CScreen* ScreenForCli(CProjectRoot& root, const CliArguments& arguments, int& status);
