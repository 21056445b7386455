// The files of one exported card, drawn and encoded in memory before any is written, so that a card
// whose drawing fails writes nothing and a card is written whole or its files are taken away again.
#pragma once

#include "output/CardRenderer.h"
#include "output/ExportFilePlan.h"
#include "output/ImageFileWriter.h"
#include "platform/OpResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class CardFiles
{
public:
    struct File {
        QString path;
        QByteArray bytes;
    };

    // Draws the sides the plan needs (the back first) for data row `row`, then encodes every
    // planned file. On failure error() says why, lower case so it can follow "Card 3: ", and there are no
    // files.
    static CardFiles make(CardRenderer &renderer, int row, const ExportFilePlan &plan,
                          ImageFileWriter::Format format, double dpi);
    static CardFiles failure(const QString &error);

    bool ok() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    const std::vector<File> &files() const { return m_files; }
    // What the card was written without (see CardRenderer::takeNotes).
    const QStringList &notes() const { return m_notes; }

    // Writes the files in order, each atomically. On a failure the result says why, and the files
    // this call had written are removed again (their earlier versions are already replaced).
    // *noSpace tells a full disk, after which no further card can be written either.
    OpResult write(bool *noSpace = nullptr) const;

    // Several cards written as write() writes each, with one wait for the disk for all their files
    // (see ImageFileWriter::WriteGroup): making the group begins every file, and finish() syncs
    // and names one card's, then lets its bytes go. Cards not finished stay unwritten.
    class WriteGroup
    {
    public:
        explicit WriteGroup(std::vector<CardFiles> cards);
        OpResult finish(size_t card, bool *noSpace = nullptr);
        const CardFiles &card(size_t index) const { return m_cards.at(index); }

    private:
        std::vector<CardFiles> m_cards;
        std::vector<size_t> m_first; // each card's first file in m_files
        ImageFileWriter::WriteGroup m_files;
    };

private:
    std::vector<File> m_files;
    QString m_error;
    QStringList m_notes;
};
