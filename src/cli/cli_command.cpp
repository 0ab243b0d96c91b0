#include "cli/cli_command.h"

#include <cstdio>

std::optional<CliArguments> CliArguments::Parse(const QStringList& words,
                                                const QStringList& valueNames,
                                                const QStringList& flagNames, QString& error)
{
    CliArguments arguments;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (!word.startsWith(QStringLiteral("--")) || word == QStringLiteral("--")) {
            arguments.m_positional.append(word);
            continue;
        }
        QString name = word.mid(2);
        QString value;
        const qsizetype equals = name.indexOf(u'=');
        const bool inlineValue = equals >= 0;
        if (inlineValue) {
            value = name.mid(equals + 1);
            name = name.left(equals);
        }
        if (flagNames.contains(name) && !inlineValue) {
            arguments.m_options[name] = QString();
        } else if (valueNames.contains(name)) {
            if (!inlineValue) {
                if (i + 1 >= words.size()) {
                    error = QStringLiteral("option --%1 needs a value").arg(name);
                    return std::nullopt;
                }
                value = words[++i];
            }
            arguments.m_options[name] = value;
        } else {
            error = QStringLiteral("unknown option --%1").arg(name);
            return std::nullopt;
        }
    }
    return arguments;
}

std::optional<CliArguments> CliArguments::ParseCommand(const QStringList& words,
                                                       const QStringList& valueNames,
                                                       const QStringList& flagNames,
                                                       int positionalCount, const QString& usage,
                                                       int& status)
{
    QString error;
    auto arguments = Parse(words, valueNames, flagNames, error);
    if (!arguments) {
        status = CliUsageError(error);
        return std::nullopt;
    }
    if (arguments->Positional().size() != positionalCount) {
        status = CliUsageError(usage);
        return std::nullopt;
    }
    return arguments;
}

QString CliArguments::Value(const QString& name, const QString& fallback) const
{
    const auto it = m_options.find(name);
    return it == m_options.end() ? fallback : it->second;
}

bool CliArguments::IntValue(const QString& name, int low, int high, int& value,
                            QString& error) const
{
    if (!Has(name))
        return true;
    bool ok = false;
    const int number = Value(name).toInt(&ok);
    if (!ok || number < low || number > high) {
        error =
            QStringLiteral("--%1 takes a whole number from %2 to %3").arg(name).arg(low).arg(high);
        return false;
    }
    value = number;
    return true;
}

int CliFail(const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    return CliFailed;
}

int CliUsageError(const QString& message)
{
    std::fprintf(stderr, "lumivant-cli: %s (see lumivant-cli --help)\n",
                 message.toUtf8().constData());
    return CliUsage;
}

void CliPrint(const QString& line)
{
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
}
