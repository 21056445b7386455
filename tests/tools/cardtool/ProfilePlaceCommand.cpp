// cardtool profile-place: lays personal details onto one side of a design as the editor's details
// dialog does after OK, and saves the result to another design file.
#include "Command.h"
#include "DesignLoading.h"

#include "data/DataSourceChoices.h"
#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "platform/PictureReader.h"
#include "platform/RegularFile.h"
#include "profile/DocumentPlacementSide.h"
#include "profile/PersonalDetailsPlacement.h"
#include "profile/User_Profile_Class.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{
// A details file holds a dozen short entries.
constexpr qint64 MaxDetailsBytes = 1024 * 1024;

// Fills one detail from its JSON entry: {"value": TEXT}, {"series": NAME} or {"column": N}.
bool readDetail(const QString &id, const QJsonValue &entry, User_Profile_Class::Detail &d,
                const cardtool::LoadedDesign &design, const QString &dataFolder, QString *error)
{
    const QJsonObject o = entry.toObject();
    if (!entry.isObject() || o.size() != 1) {
        *error = QStringLiteral("%1 needs one of \"value\", \"series\" or \"column\"").arg(id);
        return false;
    }
    if (o.contains(QLatin1String("value"))) {
        if (!o.value(QLatin1String("value")).isString()) {
            *error = QStringLiteral("the value of %1 must be text").arg(id);
            return false;
        }
        d.value = o.value(QLatin1String("value")).toString();
        User_Profile_Class::setFixed(d);
        if (id == QLatin1String("Fup_Photo") && !d.value.isEmpty() && !QFileInfo::exists(d.value)) {
            *error = QStringLiteral("the photo %1 does not exist").arg(d.value);
            return false;
        }
        if (id == QLatin1String("Fup_Photo") && !d.value.isEmpty()) {
            if (const QString why = PictureReader::probe(d.value); !why.isEmpty()) {
                *error = QStringLiteral("cannot use the photo %1: %2").arg(d.value, why);
                return false;
            }
        }
        return true;
    }
    if (o.contains(QLatin1String("series"))) {
        const QString name = o.value(QLatin1String("series")).toString();
        if (dataFolder.isEmpty()) {
            *error = QStringLiteral("%1 is bound to a series: give the series folder with --data").arg(id);
            return false;
        }
        const int index = int(DataSourceChoices::seriesItems(dataFolder).indexOf(name));
        if (name.isEmpty() || index < 0) {
            *error = QStringLiteral("there is no series \"%1\" in %2").arg(name, dataFolder);
            return false;
        }
        d.value = DataSourceChoices::Get_First_Value_Of_Dataset(dataFolder, name);
        User_Profile_Class::setSeries(d, name, index);
        return true;
    }
    if (o.contains(QLatin1String("column"))) {
        const QJsonValue c = o.value(QLatin1String("column"));
        const double n = c.toDouble(-1);
        if (!c.isDouble() || n != double(int(n)) || n < 0 ||
            int(n) >= design.design().binding.columnCount()) {
            *error = QStringLiteral(
                         "column of %1 must be a whole number from 0 to %2 (the design's binding table)")
                         .arg(id)
                         .arg(design.design().binding.columnCount() - 1);
            return false;
        }
        d.value = design.design().binding.Get_First_Value_Of_Excel_Binding(int(n));
        User_Profile_Class::setColumn(d, int(n));
        return true;
    }
    *error = QStringLiteral("%1 needs one of \"value\", \"series\" or \"column\"").arg(id);
    return false;
}
} // namespace

CARDTOOL_COMMAND(profilePlace, "profile-place",
                 "DESIGN --details FILE.json --side F|B --out OUT.dcard [--data DIR]")
{
    QStringList rest = args;
    QString detailsPath, side, out, dataFolder;
    if (!cardtool::takeOption(rest, QStringLiteral("--details"), &detailsPath) ||
        !cardtool::takeOption(rest, QStringLiteral("--side"), &side) ||
        !cardtool::takeOption(rest, QStringLiteral("--out"), &out)) {
        cardtool::fail(QStringLiteral("profile-place: --details, --side and --out are required"));
        return 1;
    }
    cardtool::takeOption(rest, QStringLiteral("--data"), &dataFolder);
    if (side != QLatin1String("F") && side != QLatin1String("B")) {
        cardtool::fail(QStringLiteral("profile-place: --side must be F or B"));
        return 1;
    }
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--"))) {
        cardtool::fail(QStringLiteral("profile-place: give exactly one design file"));
        return 1;
    }

    // A FIFO would block and a device or a huge file fill the memory: refused as the program does.
    const RegularFile::Contents detailsText = RegularFile::readAll(detailsPath, MaxDetailsBytes);
    if (!detailsText.ok()) {
        cardtool::fail(
            QStringLiteral("profile-place: cannot read %1: %2").arg(detailsPath, detailsText.error));
        return 1;
    }
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(detailsText.bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !json.isObject()) {
        cardtool::fail(QStringLiteral("profile-place: %1 is not a JSON object%2")
                           .arg(detailsPath, parseError.error != QJsonParseError::NoError
                                                 ? QStringLiteral(" (%1 at offset %2)")
                                                       .arg(parseError.errorString())
                                                       .arg(parseError.offset)
                                                 : QString()));
        return 1;
    }

    cardtool::LoadedDesign design;
    QString error;
    if (!cardtool::loadDesign(rest.first(), QStringLiteral("L"), design, &error)) {
        cardtool::fail(QStringLiteral("profile-place: ") + error);
        return 1;
    }

    User_Profile_Class record;
    record.Reset_All_Values();
    const QJsonObject details = json.object();
    for (auto it = details.begin(); it != details.end(); ++it) {
        const int index = User_Profile_Class::indexOfId(it.key());
        if (index < 0) {
            cardtool::fail(QStringLiteral("profile-place: unknown detail \"%1\" (known: %2)")
                               .arg(it.key(), User_Profile_Class::identifiers().join(QStringLiteral(", "))));
            return 1;
        }
        if (!readDetail(it.key(), it.value(), record.detail(index), design, dataFolder, &error)) {
            cardtool::fail(QStringLiteral("profile-place: ") + error);
            return 1;
        }
        if (record.detail(index).value.isEmpty())
            cardtool::fail(QStringLiteral("profile-place: %1 is empty and is not placed").arg(it.key()));
    }
    // As the dialog's OK: the design uses the binding table while it holds rows.
    DesignSettings settings = design.design().settings();
    settings.binding.Excel_Binding_Use = settings.binding.rowCount() > 0;
    design.document.putSettingsUnrecorded(settings);

    DocumentPlacementSide target(design.document,
                                 side == QLatin1String("B") ? SKTDocument::Back : SKTDocument::Front);
    const QSizeF card = design.design().cardSize();
    const PersonalDetailsPlacement::Report report = PersonalDetailsPlacement::place(record, target, card);
    if (!report.error.isEmpty()) {
        cardtool::fail(QStringLiteral("profile-place: ") + report.error);
        return 1;
    }

    DesignFile writer(design.document);
    EditorState::instance().Project_File_Name = out;
    const DesignResult saved = writer.Save_project_file(false, false);
    if (!saved.ok()) {
        cardtool::fail(QStringLiteral("profile-place: the design could not be written: ") + saved.reason);
        return 1;
    }
    cardtool::writeStdout(QStringLiteral("%1 details placed\n").arg(report.placed).toUtf8());
    return 0;
}
