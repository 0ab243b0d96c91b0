// lumivant-cli check: what the loader fixes or drops and what will not show as expected.
#include "cli/cli_command.h"
#include "cli/cli_findings.h"
#include "cli/cli_project.h"

#include "model/project_root.h"
#include "render/project_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

int RunCheck(const QStringList& words)
{
    int usageStatus = CliOk;
    const auto arguments =
        CliArguments::ParseCommand(words, {}, {QStringLiteral("json")}, 1,
                                   QStringLiteral("check takes one FILE"), usageStatus);
    if (!arguments)
        return usageStatus;
    const QString path = arguments->Positional().first();
    const auto root = LoadProjectForCli(path);
    if (!root)
        return CliFailed;
    // Rendered as for the controller, so that page counts and borders are known.
    root->Prepare(RenderForm::Controller);
    const ProjectFindings findings = CheckProject(path, *root);

    if (arguments->Has(QStringLiteral("json"))) {
        QJsonArray list;
        for (const ProjectFinding& finding : findings) {
            QJsonObject item;
            item.insert(QStringLiteral("kind"), QLatin1String(FindingKindName(finding.kind)));
            item.insert(QStringLiteral("path"), finding.path);
            item.insert(QStringLiteral("text"), finding.text);
            list.append(item);
        }
        QJsonObject report;
        report.insert(QStringLiteral("file"), path);
        report.insert(QStringLiteral("findings"), list);
        const QByteArray text = QJsonDocument(report).toJson(QJsonDocument::Indented);
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    } else {
        for (const ProjectFinding& finding : findings)
            CliPrint(FindingLine(finding));
    }
    return findings.empty() ? CliOk : CliFailed;
}
