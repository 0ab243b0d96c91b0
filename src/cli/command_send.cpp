// lumivant-cli send: compile screens and deliver them to their controllers.
#include "cli/cli_findings.h"
#include "cli/cli_operation_ui.h"
#include "cli/cli_parallel_ui.h"
#include "cli/cli_project.h"
#include "cli/command_link_options.h"

#include "base/string_table.h"
#include "comm/comm_port.h"
#include "comm/parallel_send.h"
#include "comm/send_overlap.h"
#include "comm/send_pipeline.h"
#include "model/params_mismatch.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <csignal>
#include <cstdio>
#include <vector>

namespace {

// An automatic Yes tries a failed chunk this many more times before giving up on it.
constexpr int kAutomaticRetries = 3;

// Ctrl+C also sets the controller link's cancel flag, so that a wait for a reply ends at
// once; the operation face's own handler runs after it.
using SignalHandler = void (*)(int);
SignalHandler g_previousHandler = nullptr;

extern "C" void OnSendInterrupt(int signal)
{
    SetCommCancel(true);
    if (g_previousHandler && g_previousHandler != SIG_DFL && g_previousHandler != SIG_IGN)
        g_previousHandler(signal);
}

void CancelLinkWaitsOnInterrupt()
{
    g_previousHandler = std::signal(SIGINT, OnSendInterrupt);
}

// The send compiles for the parameter block the controller reports (it replaces the
// screen's in memory): say so when that is not the geometry the project was made for.
void WarnAboutGeometry(const CScreen& screen, const ControllerParams& projectParams)
{
    const QString mismatch = ParamsMismatchText(projectParams, screen.Params());
    if (!mismatch.isEmpty())
        std::fprintf(stderr, "warning: %s: %s\n", screen.GetName().toUtf8().constData(),
                     mismatch.toUtf8().constData());
}

// Without --ignore-overlap a screen with overlapping windows stops the send before anything
// is sent; with it the question is answered "send anyway". With several screens every
// line starts with the screen's name, as the send's own messages do.
bool SettleOverlaps(const QList<CScreen*>& screens, bool ignore, bool named, CCliOperationUi& ui)
{
    for (CScreen* screen : screens) {
        const QString question = SendOverlapQuestion(*screen);
        if (question.isEmpty())
            continue;
        const QString prefix = named ? screen->GetName() + QStringLiteral(": ") : QString();
        if (!ignore) {
            const QString failed =
                named ? QStringLiteral("%1%2windows overlap or leave the screen")
                            .arg(prefix, LoadString(43027))
                      : QStringLiteral("%1 %2: windows overlap or leave the screen")
                            .arg(LoadString(43027), screen->GetName());
            CliFail(QStringLiteral("%1%2\n%3; --ignore-overlap sends anyway")
                        .arg(prefix, question, failed));
            return false;
        }
        ui.AnswerNo(prefix + question);
    }
    return true;
}

} // namespace

int RunSend(const QStringList& words)
{
    QString error;
    QStringList values = LinkValueOptions();
    values << QStringLiteral("pkg") << QStringLiteral("parallel");
    int usageStatus = CliOk;
    const auto arguments =
        CliArguments::ParseCommand(words, values,
                                   {QStringLiteral("all"), QStringLiteral("yes"),
                                    QStringLiteral("no"), QStringLiteral("ignore-overlap")},
                                   1, QStringLiteral("send takes one FILE"), usageStatus);
    if (!arguments)
        return usageStatus;
    if (arguments->Has(QStringLiteral("all")) && arguments->Has(QStringLiteral("screen")))
        return CliUsageError(QStringLiteral("--screen and --all exclude each other"));
    if (arguments->Has(QStringLiteral("yes")) && arguments->Has(QStringLiteral("no")))
        return CliUsageError(QStringLiteral("--yes and --no exclude each other"));

    int parallel = 1;
    if (!arguments->IntValue(QStringLiteral("parallel"), 1, CParallelSend::kMaxParallel, parallel,
                             error))
        return CliUsageError(error);
    if (arguments->Has(QStringLiteral("parallel")) && !arguments->Has(QStringLiteral("all")))
        return CliUsageError(QStringLiteral("--parallel goes with --all"));

    SendOptions options;
    if (arguments->Has(QStringLiteral("pkg"))) {
        const QString pkg = arguments->Value(QStringLiteral("pkg"));
        if (pkg != QStringLiteral("64") && pkg != QStringLiteral("128") &&
            pkg != QStringLiteral("256"))
            return CliUsageError(QStringLiteral("--pkg takes 64, 128 or 256"));
        options.chunkSize = pkg.toInt();
    }
    auto answers = CCliOperationUi::Answers::Ask;
    if (arguments->Has(QStringLiteral("yes"))) {
        answers = CCliOperationUi::Answers::AlwaysYes;
        options.retryLimit = kAutomaticRetries;
    } else if (arguments->Has(QStringLiteral("no"))) {
        answers = CCliOperationUi::Answers::AlwaysNo;
    }

    // The project is only read: what the send learns (the controller's parameters, its
    // address) stays out of the file.
    const QString path = arguments->Positional().first();
    const auto root = LoadProjectForCli(path);
    if (!root)
        return CliFailed;
    const bool ignoreOverlap = arguments->Has(QStringLiteral("ignore-overlap"));

    CSendPipeline pipeline(options);
    if (arguments->Has(QStringLiteral("all"))) {
        for (int i = 0; i < root->GetChildCount(); ++i) {
            auto* screen = dynamic_cast<CScreen*>(root->GetChild(i));
            if (screen && !ApplyLinkOptions(*arguments, *screen, error))
                return CliUsageError(error);
        }
        WarnAboutProject(path, *root, nullptr);
        CCliOperationUi ui(answers);
        QList<CScreen*> marked;
        for (int i = 0; i < root->GetChildCount(); ++i) {
            auto* screen = dynamic_cast<CScreen*>(root->GetChild(i));
            if (screen && screen->GetSelected())
                marked.append(screen);
        }
        if (!SettleOverlaps(marked, ignoreOverlap, true, ui))
            return CliFailed;
        if (parallel > 1) {
            CCliParallelUi parallelUi(answers);
            for (CScreen* screen : marked) {
                if (const QString question = SendOverlapQuestion(*screen); !question.isEmpty())
                    parallelUi.AnswerNo(question);
            }
            const SendAllResult result =
                CParallelSend(options, parallel).SendAll(*root, parallelUi);
            if (parallelUi.CancelAll())
                return parallelUi.Canceled();
            return result.AllSucceeded() ? CliOk : CliFailed;
        }
        options.namedMessages = true;
        CSendPipeline namedPipeline(options);
        std::vector<ControllerParams> projectParams;
        for (const CScreen* screen : marked)
            projectParams.push_back(screen->Params());
        CancelLinkWaitsOnInterrupt();
        const SendAllResult result = namedPipeline.SendAll(*root, ui);
        ui.Finish();
        for (qsizetype i = 0; i < marked.size(); ++i)
            WarnAboutGeometry(*marked[i], projectParams[static_cast<size_t>(i)]);
        if (CCliOperationUi::Interrupted())
            return ui.Canceled();
        return result.AllSucceeded() ? CliOk : CliFailed;
    }

    int status = CliOk;
    CScreen* screen = ScreenForCli(*root, *arguments, status);
    if (!screen)
        return status;
    if (!ApplyLinkOptions(*arguments, *screen, error))
        return CliUsageError(error);
    WarnAboutProject(path, *root, screen);
    CCliOperationUi ui(answers);
    if (!SettleOverlaps({screen}, ignoreOverlap, false, ui))
        return CliFailed;
    CancelLinkWaitsOnInterrupt();
    const ControllerParams projectParams = screen->Params();
    const bool sent = pipeline.SendScreen(*screen, ui);
    ui.Finish();
    WarnAboutGeometry(*screen, projectParams);
    if (CCliOperationUi::Interrupted())
        return ui.Canceled();
    return sent ? CliOk : CliFailed;
}
