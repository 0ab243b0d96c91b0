// lumivant-cli send: compile screens and deliver them to their controllers.
#include "cli/cli_operation_ui.h"
#include "cli/cli_parallel_ui.h"
#include "cli/cli_project.h"
#include "cli/command_link_options.h"

#include "comm/comm_port.h"
#include "comm/parallel_send.h"
#include "comm/send_pipeline.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <csignal>

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

} // namespace

int RunSend(const QStringList& words)
{
    QString error;
    QStringList values = LinkValueOptions();
    values << QStringLiteral("pkg") << QStringLiteral("parallel");
    int usageStatus = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words, values, {QStringLiteral("all"), QStringLiteral("yes"), QStringLiteral("no")}, 1,
        QStringLiteral("send takes one FILE"), usageStatus);
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
    const auto root = LoadProjectForCli(arguments->Positional().first());
    if (!root)
        return CliFailed;

    CSendPipeline pipeline(options);
    if (arguments->Has(QStringLiteral("all"))) {
        for (int i = 0; i < root->GetChildCount(); ++i) {
            auto* screen = dynamic_cast<CScreen*>(root->GetChild(i));
            if (screen && !ApplyLinkOptions(*arguments, *screen, error))
                return CliUsageError(error);
        }
        if (parallel > 1) {
            CCliParallelUi parallelUi(answers);
            const SendAllResult result =
                CParallelSend(options, parallel).SendAll(*root, parallelUi);
            return result.AllSucceeded() ? CliOk : CliFailed;
        }
        CCliOperationUi ui(answers);
        CancelLinkWaitsOnInterrupt();
        const SendAllResult result = pipeline.SendAll(*root, ui);
        ui.Finish();
        return result.AllSucceeded() ? CliOk : CliFailed;
    }

    int status = CliOk;
    CScreen* screen = ScreenForCli(*root, *arguments, status);
    if (!screen)
        return status;
    if (!ApplyLinkOptions(*arguments, *screen, error))
        return CliUsageError(error);
    CCliOperationUi ui(answers);
    CancelLinkWaitsOnInterrupt();
    const bool sent = pipeline.SendScreen(*screen, ui);
    ui.Finish();
    return sent ? CliOk : CliFailed;
}
