// The object panels' table of fields, read below the window: for each control, which kinds of
// object have the field it writes, and that its write over one object of every kind leaves the
// saved objects of the other kinds as they were.
#include "PanelsFixture.h"

#include "model/EditStep.h"

#include <QSet>

#include <map>

namespace
{
using Labels = QSet<QString>;

const Labels Shapes = {QStringLiteral("R"), QStringLiteral("C"), QStringLiteral("RR"), QStringLiteral("T"),
                       QStringLiteral("D"), QStringLiteral("S"), QStringLiteral("DS"), QStringLiteral("P")};

Labels with(Labels labels, std::initializer_list<const char *> more)
{
    for (const char *label : more)
        labels.insert(QString::fromLatin1(label));
    return labels;
}

// Each control's name, and the objects its field belongs to (a name some pages share with
// different fields lists each).
std::map<QString, QList<Labels>> expectedTable()
{
    const Labels bordered = with(Shapes, {"text", "picture", "signature", "fingerprint"});
    const Labels filled = with(Shapes, {"text"});
    const Labels line{QStringLiteral("line")};
    const Labels text{QStringLiteral("text")};
    const Labels picture{QStringLiteral("picture")};
    std::map<QString, QList<Labels>> table;
    for (const char *name : {"Border", "Border Colour", "Border Width", "Border Style"})
        table[QString::fromLatin1(name)] = {bordered};
    for (const char *name :
         {"Fill", "Fill Colour", "Gradient Colour", "Gradient Angle", "Solid Fill", "Gradient Fill"})
        table[QString::fromLatin1(name)] = {filled};
    table[QStringLiteral("Opacity")] = {filled, line}; // a fill's, a line's own
    for (const char *name : {"Pattern Fill", "Pattern", "Pattern Background"})
        table[QString::fromLatin1(name)] = {Shapes};
    table[QStringLiteral("Corner Radius")] = {{QStringLiteral("RR")}};
    table[QStringLiteral("Points")] = {{QStringLiteral("DS")}};
    table[QStringLiteral("Polygon Shape")] = {{QStringLiteral("P")}};
    for (const char *name : {"Line Colour", "Line Width", "Line Style", "Line Cap", "Orientation"})
        table[QString::fromLatin1(name)] = {line};
    for (const char *name : {"Text Colour", "Letter Spacing", "Alignment", "Case"})
        table[QString::fromLatin1(name)] = {text};
    for (const char *name :
         {"Flip Horizontally", "Flip Vertically", "Invert", "Grey Scale", "Sepia", "Rotation", "Transparency",
          "Hue", "Saturation", "Brightness", "Contrast", "Sharpness", "Exposure", "Blur"})
        table[QString::fromLatin1(name)] = {picture};
    return table;
}
} // namespace

class FieldTable : public PanelsFixture
{
protected:
    // One object of every kind, a shape of every shape code, labelled as the table names them.
    QList<std::pair<QString, GraphicPtr>> roster()
    {
        QList<std::pair<QString, GraphicPtr>> objects = {
            {QStringLiteral("text"), SKTGraphic::create(SKTGraphic::Kind::Text)},
            {QStringLiteral("picture"), SKTGraphic::create(SKTGraphic::Kind::Image)},
            {QStringLiteral("signature"),
             SKTSignature::initWithPosition(QPointF(), host->sign_sample_img(), SignatureCode::Signature)},
            {QStringLiteral("fingerprint"),
             SKTSignature::initWithPosition(QPointF(), host->fp_sample_img(), SignatureCode::Fingerprint)},
            {QStringLiteral("barcode"), SKTGraphic::create(SKTGraphic::Kind::Barcode)},
            {QStringLiteral("line"), SKTGraphic::create(SKTGraphic::Kind::Line)},
        };
        for (const QString &code : Shapes) {
            GraphicPtr shape = SKTGraphic::create(SKTGraphic::Kind::Shape);
            shape->Set_Shape_Type(code);
            objects.append({code, shape});
        }
        return objects;
    }
    QList<ObjectPanel::EditedField> fields() const
    {
        return shapes->editedFields() + texts->editedFields() + pictures->editedFields();
    }
};

TEST_F(FieldTable, EachControlsFieldBelongsToTheKindsThatHaveItAndNoOther)
{
    const auto table = expectedTable();
    const auto objects = roster();
    QSet<QString> seen;
    for (const ObjectPanel::EditedField &f : fields()) {
        SCOPED_TRACE(f.name.toStdString());
        Labels having;
        for (const auto &[label, g] : objects)
            if (f.field.has(*g))
                having.insert(label);
        const auto row = table.find(f.name);
        ASSERT_NE(row, table.end()) << "a control the table does not know";
        EXPECT_TRUE(row->second.contains(having)) << QStringList(having.values()).join(u' ').toStdString();
        seen.insert(f.name);
    }
    for (const auto &[name, kinds] : table)
        EXPECT_TRUE(seen.contains(name)) << name.toStdString() << ": no control writes it";
}

TEST_F(FieldTable, AWriteOverEveryKindLeavesTheKindsWithoutTheFieldAsSaved)
{
    const auto table = expectedTable();
    const auto objects = roster();
    QList<int> all;
    for (const auto &[label, g] : objects) {
        g->setBounds(QRectF(20, 20, 50, 50));
        host->document().insertGraphicsIntoSide(0, {g}, {int(all.size())});
        all.append(int(all.size()));
    }
    select(all);
    for (const ObjectPanel::EditedField &f : fields()) {
        SCOPED_TRACE(f.name.toStdString());
        Labels owners;
        for (const Labels &kinds : table.at(f.name))
            owners.unite(kinds);
        QList<GraphicPtr> before;
        for (const auto &[label, g] : objects)
            before.append(g->clone());
        PanelEdits::writeField(*host, f.name, f.field);
        for (int i = 0; i < objects.size(); ++i) {
            if (!owners.contains(objects.at(i).first)) {
                EXPECT_TRUE(GraphicStates::sameState(*objects.at(i).second, *before.at(i)))
                    << objects.at(i).first.toStdString();
            }
        }
    }
}
