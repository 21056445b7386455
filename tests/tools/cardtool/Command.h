// The command table of cardtool: each subcommand file registers one entry at start-up.
// A command returns the process exit status; it reports bad input on stderr and returns 1.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace cardtool
{

using CommandFn = std::function<int(const QStringList &args)>;

struct CommandRegistrar {
    CommandRegistrar(const char *name, const char *usage, CommandFn fn);
};

// Small helpers shared by the commands.
void fail(const QString &message); // writes "cardtool: message" to stderr
bool takeOption(QStringList &args, const QString &name, QString *value); // --name VALUE
bool takeFlag(QStringList &args, const QString &name);                   // --name
QByteArray readStdin();
bool writeStdout(const QByteArray &bytes);

} // namespace cardtool

#define CARDTOOL_COMMAND(ident, name, usage)                                                                 \
    static int ident(const QStringList &args);                                                               \
    static const cardtool::CommandRegistrar ident##_registrar(name, usage, ident);                           \
    static int ident(const QStringList &args)
