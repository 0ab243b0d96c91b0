#pragma once

#include "cli/cli_command.h"

#include "base/project_lock.h"

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

// Takes the lock of a project this command is about to read and write (waiting while
// another program writes it); false after printing why.
bool LockProjectForCli(const QString& path, CProjectLock& lock);
// Saves a project read when the file had the stamp readStamp, for a command that talked to
// a controller in between: under the lock, and only when no one wrote the file since.
// False after printing why.
bool SaveProjectForCli(CProjectRoot& root, const QString& path, const FileStamp& readStamp);
