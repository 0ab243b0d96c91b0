#pragma once

#include <QString>

// Where the program keeps its files. The settings file, "default.ledprj" and
// "temp.ledprj" live beside the program when its folder is writable and it is not an
// installed program, else in the user's configuration folder.
QString ProgramFolder();
// True when the program runs from an installation (share/lumivant beside its bin folder).
bool IsInstalledProgram();
QString DataFolder();
QString SettingsFilePath();
QString DefaultProjectPath();
QString TempProjectPath();
// The user's state folder: what the program keeps for itself between runs (earlier
// versions of saved files, delivery receipts). $XDG_STATE_HOME/lumivant, by default
// ~/.local/state/lumivant; created on first use.
QString StateFolder();

// Tests and the command-line tool may point the data folder elsewhere.
void SetDataFolderOverride(const QString& folder);
void SetStateFolderOverride(const QString& folder);
