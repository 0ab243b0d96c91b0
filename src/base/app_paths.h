#pragma once

#include <QString>

// Where the program keeps its files. The settings file, "default.ledprj" and
// "temp.ledprj" live beside the program when its folder is writable, else in the user's
// configuration folder.
QString ProgramFolder();
QString DataFolder();
QString SettingsFilePath();
QString DefaultProjectPath();
QString TempProjectPath();

// Tests and the command-line tool may point the data folder elsewhere.
void SetDataFolderOverride(const QString& folder);
