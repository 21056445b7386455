// cardtool zip / unzip: packing files and folders into an archive and unpacking one, as the
// workbook export and import do.
#include "Command.h"

#include "data/SSZipArchive.h"

CARDTOOL_COMMAND(zipCommand, "zip", "OUT PATH...   pack files and folders into a zip archive")
{
    if (args.size() < 2) {
        cardtool::fail(QStringLiteral("zip needs OUT and at least one PATH"));
        return 1;
    }
    QStringList failed;
    ZipError error;
    if (!SSZipArchive::createZipFileAtPath(args.first(), args.mid(1), &failed, &error)) {
        cardtool::fail(error.message);
        for (const QString &p : failed)
            cardtool::fail(QStringLiteral("not added: ") + p);
        return 1;
    }
    return 0;
}

CARDTOOL_COMMAND(unzipCommand, "unzip", "ZIP DIR   unpack a zip archive into a folder")
{
    if (args.size() != 2) {
        cardtool::fail(QStringLiteral("unzip needs ZIP and DIR"));
        return 1;
    }
    ZipError error;
    if (!SSZipArchive::unzipFileAtPath(args.at(0), args.at(1), true, QString(), &error)) {
        cardtool::fail(QStringLiteral("%1 (%2 %3)").arg(error.message, error.domain).arg(error.code));
        return 1;
    }
    return 0;
}
