#include "cli/cli_findings.h"

#include "model/screen.h"
#include "render/project_check.h"

#include <cstdio>

namespace {

constexpr int kWarningLines = 20;

bool Concerns(const ProjectFinding& finding, const CScreen* screen)
{
    if (!screen || finding.path.isEmpty())
        return true;
    const QString& name = screen->GetName();
    return finding.path == name || finding.path.startsWith(name + u'/');
}

} // namespace

QString FindingLine(const ProjectFinding& finding)
{
    return finding.path.isEmpty() ? finding.text
                                  : QStringLiteral("%1: %2").arg(finding.path, finding.text);
}

void WarnAboutProject(const QString& path, const CProjectRoot& root, const CScreen* screen)
{
    int shown = 0;
    int more = 0;
    for (const ProjectFinding& finding : CheckProject(path, root)) {
        if (!Concerns(finding, screen))
            continue;
        if (shown == kWarningLines) {
            ++more;
            continue;
        }
        ++shown;
        std::fprintf(stderr, "warning: %s\n", FindingLine(finding).toUtf8().constData());
    }
    if (more > 0)
        std::fprintf(stderr, "warning: %d more (lumivant-cli check lists them all)\n", more);
    std::fflush(stderr);
}
