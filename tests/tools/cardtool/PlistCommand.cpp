// cardtool plist: converts a property list between XML and binary form.
// "-" reads standard input or writes standard output.
#include "Command.h"

#include "platform/PropertyList.h"

CARDTOOL_COMMAND(plistCommand, "plist", "--to xml|binary IN OUT   convert a property list")
{
    QStringList rest = args;
    QString to;
    if (!cardtool::takeOption(rest, "--to", &to) || (to != "xml" && to != "binary") || rest.size() != 2) {
        cardtool::fail("usage: cardtool plist --to xml|binary IN OUT");
        return 1;
    }
    const auto format = to == "xml" ? PropertyList::Format::Xml : PropertyList::Format::Binary;
    const auto r =
        rest[0] == "-" ? PropertyList::read(cardtool::readStdin()) : PropertyList::readFile(rest[0]);
    if (!r.ok) {
        cardtool::fail(r.error);
        return 1;
    }
    if (rest[1] == "-") {
        const QByteArray out = format == PropertyList::Format::Xml ? PropertyList::writeXml(r.value)
                                                                   : PropertyList::writeBinary(r.value);
        if (!cardtool::writeStdout(out)) {
            cardtool::fail("could not write to standard output");
            return 1;
        }
        return 0;
    }
    QString error;
    if (!PropertyList::writeFile(rest[1], r.value, format, &error)) {
        cardtool::fail(error);
        return 1;
    }
    return 0;
}
