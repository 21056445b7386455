// The kinds of problem the check before output looks for, one function each: given an object as a
// card shows it (what the design holds, or a data row's value), what is wrong with it, or "". A new
// kind is one more function and one more entry of kinds().
#pragma once

#include "model/SKTGraphic.h"
#include "model/SKTImage.h"
#include "output/BatchFiller.h"

#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

namespace OutputProblems
{

// One object as one card shows it.
struct Shown {
    const SKTGraphic &object;
    const QString *value = nullptr; // the row's value, trimmed; null: what the design holds
    QRectF card;                    // the card, in the objects' points
    // Makes each barcode in full to judge it; null: the generator measures it instead, which
    // judges it the same and takes much less.
    const BatchFiller::BarcodeMaker *maker = nullptr;
    // A picture whose own file gives no picture, as SKTImage::missingPictures finds it.
    const SKTImage::MissingPicture *missing = nullptr;
    // The side the object is on and its place there: the objects before it are drawn over it.
    const GraphicList *side = nullptr;
    qsizetype index = -1;
};

// What is wrong, to follow the object's name ("does not fit its box and is cut."); "" when it
// comes out right.
using Kind = QString (*)(const Shown &shown);

// Every kind, in the order the report lists an object's problems.
const std::vector<Kind> &kinds();

// How the check names a barcode: `barcode "ABC" (Code 39)`, by the value shown (the row's, when
// given, else its own) and its type.
QString barcodeName(const SKTGraphic &barcode, const QString *value = nullptr);

// Characters of what an object draws (a text, a barcode's header and footer) that no installed font
// has, so that the card shows nothing in their place.
struct Undrawable {
    static constexpr int Named = 8; // a report names this many
    QStringList characters;         // distinct, in the order met, at most Named
    bool more = false;              // there are others beyond them
    bool isEmpty() const { return characters.isEmpty(); }
    void add(const Undrawable &other);
};
Undrawable undrawable(const Shown &shown);
// "has characters no font here can draw: …", to follow the object's name.
QString undrawableProblem(const SKTGraphic &object, const Undrawable &found);

} // namespace OutputProblems
