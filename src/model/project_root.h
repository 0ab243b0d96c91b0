#pragma once

#include "model/project_object.h"

#include <QString>

class CScreen;

// The invisible root of a project: owns the screens, loads and saves the project file.
class CProjectRoot final : public CProjectObject
{
public:
    CProjectRoot();
    ~CProjectRoot() override;

    int GetKind() const override { return KindRoot; }
    int GetImageIndex() const override { return 0; }

    // Reads a project file into this (empty) root. Returns false, with "Failed on load
    // project." as the last error, when the file cannot be read or parsed.
    bool LoadProject(const QString& path);
    bool LoadProjectBuffer(const QByteArray& bytes);
    // Writes the project. The file is written beside the target and then renamed over
    // it, so a failed save leaves the previous file as it was; the content it replaces is
    // kept as an earlier version (see CEarlierVersions).
    bool SaveProject(const QString& path);
    // Why the last save could not keep the replaced content, or nothing.
    const QString& KeepWarning() const { return m_keepWarning; }
    QByteArray SaveProjectBuffer() const;

    // Adds one default screen when the project has none.
    CScreen* EnsureScreen();
    // A new project: one screen holding one program.
    static std::unique_ptr<CProjectRoot> NewProject();

    const QString& ProjectPath() const { return m_path; }
    void RemoveAllChildren();

private:
    bool LoadFrom(class CXmlNavigator& navigator);
    void WriteDocument(class CXmlNavigator& navigator) const;

    QString m_path;
    QString m_keepWarning;
};
