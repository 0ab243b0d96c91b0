#include "model/project_root.h"

#include "base/bounded_file.h"
#include "base/durable_file.h"
#include "base/earlier_versions.h"
#include "base/last_error.h"
#include "base/string_table.h"
#include "model/load_failure.h"
#include "model/program.h"
#include "model/screen.h"
#include "model/xml_navigator.h"

#include <QFileInfo>

namespace {

// Why a file is not even parsed, or nothing. A missing file or a folder is left to
// FileProblem, which names them more precisely.
QString RefuseProjectFile(const QString& path)
{
    const QFileInfo info(path);
    QString reason;
    if (info.exists() && !info.isDir() &&
        !IsSafeNamedFile(path, &reason, file_limits::kProjectFile))
        return reason;
    return {};
}

} // namespace

namespace {

QString ParseFailureText(const CXmlNavigator& navigator)
{
    const QString& reason = navigator.ParseErrorText();
    return reason.isEmpty() ? LoadFailureText(LoadProblem::NoRoot)
                            : LoadFailureText(LoadProblem::NotXml, reason);
}

} // namespace

CProjectRoot::CProjectRoot() : CProjectObject(nullptr)
{
    SetFore(0);
}

CProjectRoot::~CProjectRoot() = default;

void CProjectRoot::RemoveAllChildren()
{
    while (GetChildCount() > 0)
        RemoveChildAt(GetChildCount() - 1);
}

CScreen* CProjectRoot::EnsureScreen()
{
    if (GetChildCount() == 0)
        AddChild(std::make_unique<CScreen>(this));
    return GetChild(0)->GetKind() == KindScreen ? static_cast<CScreen*>(GetChild(0)) : nullptr;
}

std::unique_ptr<CProjectRoot> CProjectRoot::NewProject()
{
    auto root = std::make_unique<CProjectRoot>();
    CScreen* screen = root->EnsureScreen();
    screen->AddChild(std::make_unique<CProgram>(screen));
    return root;
}

void CProjectRoot::WriteDocument(CXmlNavigator& navigator) const
{
    navigator.Create();
    navigator.AddProcessingInstruction("xml", "version = \"1.0\"");
    navigator.AddElem("project");
    SaveXml(navigator);
}

QByteArray CProjectRoot::SaveProjectBuffer() const
{
    CXmlNavigator navigator;
    WriteDocument(navigator);
    return navigator.SaveToBuffer();
}

bool CProjectRoot::SaveProject(const QString& path)
{
    if (path.isEmpty()) {
        RecordError(QStringLiteral("File name error."));
        return false;
    }
    m_path = path;
    const QByteArray bytes = SaveProjectBuffer();
    QString reason;
    m_keepWarning.clear();
    if (!ReplaceFileKeepingVersion(path, bytes, &reason, &m_keepWarning)) {
        RecordError(SaveFailureText(QStringLiteral("Error on save project!"), reason));
        return false;
    }
    return true;
}

bool CProjectRoot::LoadFrom(CXmlNavigator& navigator)
{
    if (!navigator.FindElem()) {
        RecordError(LoadFailureText(LoadProblem::NoRoot));
        return false;
    }
    const QString rootName = QString::fromUtf8(navigator.ElemName());
    navigator.IntoElem();
    if (!navigator.FindElem("Varnolite")) {
        RecordError(LoadFailureText(LoadProblem::NotAProject, rootName));
        return false;
    }
    navigator.IntoElem();
    if (!LoadXml(navigator)) {
        // Nested deeper than any real project: refuse the whole file.
        RemoveAllChildren();
        RecordError(LoadFailureText(LoadProblem::TooDeep));
        return false;
    }
    return true;
}

bool CProjectRoot::LoadProject(const QString& path)
{
    m_path = path;
    // A pipe or a device would block the reads below; a huge file would fill the memory.
    if (const QString refusal = RefuseProjectFile(path); !refusal.isEmpty()) {
        RecordError(LoadString(59142) + u' ' + refusal);
        return false;
    }
    QString detail;
    if (const LoadProblem problem = FileProblem(path, detail); problem != LoadProblem::Unknown) {
        RecordError(LoadFailureText(problem, detail));
        return false;
    }
    CXmlNavigator navigator;
    if (!navigator.Load(path)) {
        RecordError(ParseFailureText(navigator));
        return false;
    }
    return LoadFrom(navigator);
}

bool CProjectRoot::LoadProjectBuffer(const QByteArray& bytes)
{
    CXmlNavigator navigator;
    if (!navigator.LoadBuffer(bytes.constData(), static_cast<std::size_t>(bytes.size()))) {
        RecordError(ParseFailureText(navigator));
        return false;
    }
    return LoadFrom(navigator);
}
