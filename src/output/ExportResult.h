// The outcome of an export, told honestly: what was written, what failed, whether it was stopped,
// and the message a user sees ("successfully" only when every card was written).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class ExportResult
{
public:
    int total = 0;      // cards asked for
    int written = 0;    // cards whose files were all written
    int failed = 0;     // cards that could not be made or written
    int incomplete = 0; // cards written, but without a part (a picture that does not read): notes say which
    bool stopped = false;
    bool outOfSpace = false; // the run stopped because the disk was full
    QString refusal;         // set when the export did not start at all
    QString path;            // the file written, or the batch folder
    QStringList problems;    // "Card 3: ..." for the first failures
    QStringList notes;       // "Card 4: ..." for the first cards written without a part
    // The files of a single card written apart, by what each holds ("front", "back"), front first.
    struct SideFile {
        QString side;
        QString path;
    };
    QList<SideFile> sideFiles;

    // Every card written, and each as designed: a card written without a part is not right.
    bool ok() const { return allWritten() && incomplete == 0; }
    bool allWritten() const { return refusal.isEmpty() && !stopped && failed == 0 && written == total; }
    QString message() const;     // for the exported-files dialog or a message box
    QString summaryLine() const; // "N cards written, M failed[, K without a picture]"

    void addProblem(const QString &problem);
    void addNote(const QString &note);
    static constexpr int maxProblems = 20;
};
