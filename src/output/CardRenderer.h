// What export needs of a card: each side of a data row as an image. Batch export makes one
// renderer per worker thread, so an implementation may keep per-thread state without locks.
#pragma once

#include "platform/Units.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Which sides an export writes: "BOTH", "F" or "B".
enum class ExportSide { Both, Front, Back };

class CardRenderer
{
public:
    virtual ~CardRenderer() = default;
    // The side of data row `row` (from 0; 0 for a single export) as an image; a null image and
    // *error on failure.
    virtual QImage renderSide(int row, bool back, QString *error) = 0;
    // What the sides drawn since the last call left out (a bound picture that could not be read),
    // lower case so each can follow "Card 3: "; the list is emptied.
    virtual QStringList takeNotes() { return {}; }
};

using CardRendererFactory = std::function<std::unique_ptr<CardRenderer>()>;

struct ExportOptions {
    ExportSide side = ExportSide::Front;
    bool combined = false; // both sides in one picture, front above back
    QString extension = QStringLiteral("png");
    double dpi = Units::PointsPerInch; // recorded in the files; the renderer draws at it
    int threads = 0;                   // 0: every core
    qint64 cardBytes = 0; // memory one card takes while it is made (0 unknown): bounds the workers
    // A batch's folder; empty: the usual one inside the folder chosen.
    QString batchFolder;
    // The cards an earlier export left in the batch folder are removed before the first card.
    bool replaceEarlier = false;
};
