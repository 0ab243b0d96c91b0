#pragma once

#include <QString>

// Why a project file could not be loaded.
enum class LoadProblem {
    Unknown,
    Missing,     // no such file
    Folder,      // the name is a folder
    Empty,       // 0 bytes
    Unreadable,  // the system refuses to open it
    NotXml,      // the XML parser's own text and place as the detail
    NoRoot,      // no element at all
    NotAProject, // the root element holds no project; its name as the detail
    TooDeep,     // objects nested deeper than any real project
};

// "Failed on load project." followed by the reason, the text the loader records.
QString LoadFailureText(LoadProblem problem, const QString& detail = {});
// The problem a file has before it is parsed, Unknown when it can be read.
LoadProblem FileProblem(const QString& path, QString& detail);
