// The kinds of problem the check before output looks for, one function each: given an object as a
// card shows it (what the design holds, or a data row's value), what is wrong with it, or "". A new
// kind is one more function and one more entry of kinds().
#pragma once

#include "model/SKTGraphic.h"
#include "output/BatchFiller.h"

#include <QRectF>
#include <QString>

#include <vector>

namespace OutputProblems
{

// One object as one card shows it.
struct Shown {
    const SKTGraphic &object;
    const QString *value = nullptr; // the row's value, trimmed; null: what the design holds
    QRectF card;                    // the card, in the objects' points
    const BatchFiller::BarcodeMaker &maker;
    bool fileGone = false; // a picture whose own file is gone (picturesWhoseFileIsGone)
};

// What is wrong, to follow the object's name ("does not fit its box and is cut."); "" when it
// comes out right.
using Kind = QString (*)(const Shown &shown);

// Every kind, in the order the report lists an object's problems.
const std::vector<Kind> &kinds();

// The picture objects of a list that show nothing because their file is gone. One place, so the
// model's own list can take its place.
GraphicList picturesWhoseFileIsGone(const GraphicList &objects);

} // namespace OutputProblems
