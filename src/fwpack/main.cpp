// lumivant-fwpack: builds a firmware package (*.rzbin) from a firmware image for one
// controller model, and checks packages.
#include "cli/cli_command.h"

#include "base/bounded_file.h"
#include "base/durable_file.h"
#include "base/string_table.h"
#include "comm/firmware_package.h"
#include "comm/firmware_packer.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int kWriteFailed = 41029; // "Write file failed!"

void PrintHelp()
{
    std::printf(
        "Usage:\n"
        "  lumivant-fwpack IMAGE --model CODE --variant V --password P --out FILE.rzbin\n"
        "  lumivant-fwpack --check FILE --password P [--model CODE --variant V]\n"
        "\n"
        "The first form builds a firmware package: bytes 49 to 65 of the image receive the\n"
        "package header (the marker, then the model code and the model variant), the image is\n"
        "completed with zeros to whole 8-byte blocks and encrypted with the key of the\n"
        "password (1 to 31 Latin-1 characters). CODE and V are the first two bytes a\n"
        "controller reports when identified, 0 to 255 (decimal or 0x hex).\n"
        "\n"
        "The second form decrypts a package and tells whether it is valid, and when a model\n"
        "and variant are given, whether it fits that controller.\n"
        "\n"
        "Exit status: 0 success, 1 failure (the reason on stderr), 2 usage error.\n");
}

int UsageError(const QString& message)
{
    std::fprintf(stderr, "lumivant-fwpack: %s (see lumivant-fwpack --help)\n",
                 message.toUtf8().constData());
    return CliUsage;
}

bool ByteOption(const CliArguments& arguments, const QString& name, std::uint8_t& value,
                QString& error)
{
    bool ok = false;
    const int number = arguments.Value(name).trimmed().toInt(&ok, 0);
    if (!ok || number < 0 || number > 255) {
        error = QStringLiteral("--%1 takes a number from 0 to 255").arg(name);
        return false;
    }
    value = std::uint8_t(number);
    return true;
}

// Both or neither of --model and --variant; required says whether neither is allowed.
bool TargetOptions(const CliArguments& arguments, bool required,
                   std::optional<FirmwareTarget>& target, QString& error)
{
    const bool model = arguments.Has(QStringLiteral("model"));
    const bool variant = arguments.Has(QStringLiteral("variant"));
    if (!model && !variant && !required)
        return true;
    if (!model || !variant) {
        error = QStringLiteral("--model and --variant go together");
        return false;
    }
    FirmwareTarget value;
    if (!ByteOption(arguments, QStringLiteral("model"), value.model, error) ||
        !ByteOption(arguments, QStringLiteral("variant"), value.variant, error))
        return false;
    target = value;
    return true;
}

int Build(const CliArguments& arguments)
{
    if (arguments.Positional().size() != 1)
        return UsageError(QStringLiteral("give exactly one firmware image"));
    if (!arguments.Has(QStringLiteral("out")) || arguments.Value(QStringLiteral("out")).isEmpty())
        return UsageError(QStringLiteral("--out FILE is required"));
    if (!arguments.Has(QStringLiteral("password")))
        return UsageError(QStringLiteral("--password is required"));
    QString error;
    std::optional<FirmwareTarget> target;
    if (!TargetOptions(arguments, true, target, error))
        return UsageError(error);
    const QString password = arguments.Value(QStringLiteral("password"));
    if (password.isEmpty() || password.size() > kFirmwarePasswordLength ||
        !IsFirmwarePasswordEncodable(password))
        return UsageError(QStringLiteral("--password takes 1 to %1 Latin-1 characters")
                              .arg(kFirmwarePasswordLength));

    const QString imagePath = arguments.Positional().first();
    const QString outPath = arguments.Value(QStringLiteral("out"));
    const QFileInfo imageInfo(imagePath);
    if (!imageInfo.exists())
        return CliFail(LoadString(CFirmwarePackage::MessageFileMissing) + u' ' + imagePath);
    if (QFileInfo(outPath).exists() &&
        QFileInfo(outPath).canonicalFilePath() == imageInfo.canonicalFilePath())
        return UsageError(QStringLiteral("the package must not replace its image"));
    // A file or a pipe, at most what fits a package with its padding.
    constexpr qint64 kMaxImageBytes = CFirmwarePackage::kMaximumFileSize - 8;
    QByteArray imageBytes;
    QString reason;
    if (!ReadFileBounded(imagePath, kMaxImageBytes, &imageBytes, &reason))
        return CliFail(CannotReadText(imagePath, reason));

    QByteArray package;
    if (!BuildFirmwarePackage(imageBytes, *target, password, package, error))
        return CliFail(error);
    // Written beside the target and renamed, so that a failure leaves an older file whole.
    if (!WriteFileDurably(outPath, package, &reason))
        return CliFail(SaveFailureText(LoadString(kWriteFailed), reason));
    CliPrint(QStringLiteral("%1: %2 bytes for model %3 variant %4")
                 .arg(outPath)
                 .arg(package.size())
                 .arg(target->model)
                 .arg(target->variant));
    return CliOk;
}

int Check(const CliArguments& arguments)
{
    if (!arguments.Positional().isEmpty())
        return UsageError(
            QStringLiteral("unexpected argument '%1'").arg(arguments.Positional().first()));
    if (arguments.Has(QStringLiteral("out")))
        return UsageError(QStringLiteral("--out does not go with --check"));
    const QString path = arguments.Value(QStringLiteral("check"));
    if (path.isEmpty())
        return UsageError(QStringLiteral("--check FILE needs a file"));
    QString error;
    std::optional<FirmwareTarget> target;
    if (!TargetOptions(arguments, false, target, error))
        return UsageError(error);
    CFirmwarePackage package;
    int message = 0;
    if (!CFirmwarePackage::LoadFile(path, arguments.Value(QStringLiteral("password")), target,
                                    package, message))
        return CliFail(LoadString(message));
    CliPrint(QStringLiteral("%1: valid, %2 bytes, model %3 variant %4")
                 .arg(path)
                 .arg(package.Length())
                 .arg(package.Model())
                 .arg(package.Variant()));
    return CliOk;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SetLanguage(Language::English);
    const QStringList words = QCoreApplication::arguments().mid(1);
    if (words.isEmpty()) {
        PrintHelp();
        return CliUsage;
    }
    if (words.contains(QStringLiteral("--help")) || words.contains(QStringLiteral("-h"))) {
        PrintHelp();
        return CliOk;
    }
    QString error;
    const auto arguments = CliArguments::Parse(words,
                                               {QStringLiteral("model"), QStringLiteral("variant"),
                                                QStringLiteral("password"), QStringLiteral("out"),
                                                QStringLiteral("check")},
                                               {}, error);
    if (!arguments)
        return UsageError(error);
    return arguments->Has(QStringLiteral("check")) ? Check(*arguments) : Build(*arguments);
}
