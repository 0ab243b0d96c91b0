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

// Tests and the command-line tool may point the data folder elsewhere.
void SetDataFolderOverride(const QString& folder);
