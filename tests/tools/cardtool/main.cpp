// Entry of cardtool, the command-line harness over the core library used for checks from outside.
// Subcommands live one per file and register themselves here.
#include "Command.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <map>
#include <string>

namespace cardtool
{

namespace
{
struct Entry {
    std::string usage;
    CommandFn fn;
};
std::map<std::string, Entry> &table()
{
    static std::map<std::string, Entry> t;
    return t;
}
} // namespace

CommandRegistrar::CommandRegistrar(const char *name, const char *usage, CommandFn fn)
{
    table()[name] = Entry{usage, std::move(fn)};
}

void fail(const QString &message)
{
    QByteArray m = "cardtool: " + message.toUtf8() + "\n";
    std::fwrite(m.constData(), 1, size_t(m.size()), stderr);
}

bool takeOption(QStringList &args, const QString &name, QString *value)
{
    int i = args.indexOf(name);
    if (i < 0 || i + 1 >= args.size())
        return false;
    *value = args.at(i + 1);
    args.remove(i, 2);
    return true;
}

bool takeFlag(QStringList &args, const QString &name)
{
    return args.removeOne(name);
}

QByteArray readStdin()
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return {};
    return in.readAll();
}

bool writeStdout(const QByteArray &bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
           std::fflush(stdout) == 0;
}

} // namespace cardtool

static void usage()
{
    std::fputs("usage: cardtool COMMAND [ARGS...]\n", stderr);
    for (const auto &[name, e] : cardtool::table())
        std::fprintf(stderr, "  %s %s\n", name.c_str(), e.usage.c_str());
}

int main(int argc, char **argv)
{
    // Rendering needs fonts and a paint device, so a headless GUI application is set up.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        usage();
        return 1;
    }
    const std::string name = args.takeFirst().toStdString();
    auto it = cardtool::table().find(name);
    if (it == cardtool::table().end()) {
        cardtool::fail(QString::fromStdString("unknown command " + name));
        usage();
        return 1;
    }
    try {
        return it->second.fn(args);
    } catch (const std::exception &e) {
        cardtool::fail(QString::fromUtf8(e.what()));
        return 1;
    }
}
