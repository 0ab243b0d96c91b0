#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

// Exit statuses of lumivant-cli.
enum CliStatus : int { CliOk = 0, CliFailed = 1, CliUsage = 2 };

// The words after the command name: positional arguments and "--name [value]" options.
class CliArguments
{
public:
    // flagNames are options without a value; every other option takes one.
    static std::optional<CliArguments> Parse(const QStringList& words,
                                             const QStringList& valueNames,
                                             const QStringList& flagNames, QString& error);

    // Parse for a command that takes exactly positionalCount positional arguments; on a
    // usage error prints it (usage when the count is wrong) and sets status.
    static std::optional<CliArguments> ParseCommand(const QStringList& words,
                                                    const QStringList& valueNames,
                                                    const QStringList& flagNames,
                                                    int positionalCount, const QString& usage,
                                                    int& status);

    const QStringList& Positional() const { return m_positional; }
    bool Has(const QString& name) const { return m_options.count(name) != 0; }
    QString Value(const QString& name, const QString& fallback = {}) const;
    // An integer option; false (with an error text) when it is not a number in range.
    bool IntValue(const QString& name, int low, int high, int& value, QString& error) const;

private:
    QStringList m_positional;
    std::map<QString, QString> m_options;
};

// Prints the system's message for a failure on stderr and returns CliFailed.
int CliFail(const QString& message);
// Prints a usage error on stderr and returns CliUsage.
int CliUsageError(const QString& message);
// Prints a line on stdout.
void CliPrint(const QString& line);

// One command of the tool.
struct CliCommand
{
    const char* name;
    const char* synopsis;
    int (*run)(const QStringList& words);
};
