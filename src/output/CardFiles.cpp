#include "output/CardFiles.h"

#include "output/CombinedImage.h"

#include <QFile>

#include <exception>

CardFiles CardFiles::failure(const QString &error)
{
    CardFiles out;
    out.m_error = error;
    return out;
}

CardFiles CardFiles::make(CardRenderer &renderer, int row, const ExportFilePlan &plan,
                          ImageFileWriter::Format format, double dpi)
{
    CardFiles out;
    try {
        QImage back;
        QImage front;
        QString error;
        if (plan.drawsBack()) {
            back = renderer.renderSide(row, true, &error);
            if (back.isNull())
                return failure(error.isEmpty() ? QStringLiteral("the back could not be drawn.") : error);
        }
        if (plan.drawsFront()) {
            front = renderer.renderSide(row, false, &error);
            if (front.isNull())
                return failure(error.isEmpty() ? QStringLiteral("the front could not be drawn.") : error);
        }
        out.m_notes = renderer.takeNotes();
        for (const ExportFilePlan::File &file : plan.files()) {
            QImage image;
            switch (file.content) {
            case ExportFilePlan::Content::Front:
                image = front;
                break;
            case ExportFilePlan::Content::Back:
                image = back;
                break;
            case ExportFilePlan::Content::Combined:
                image = CombinedImage::Export_Combined_Image(front, back);
                if (image.isNull())
                    return failure(QStringLiteral("the combined picture could not be made."));
                break;
            }
            ImageFileWriter::Encoded encoded = ImageFileWriter::encode(image, format, dpi);
            if (!encoded.ok())
                return failure(encoded.error);
            out.m_files.push_back({file.path, std::move(encoded.bytes)});
        }
    } catch (const std::exception &e) {
        return failure(QString::fromUtf8(e.what()));
    } catch (...) {
        return failure(QStringLiteral("an unexpected error occurred."));
    }
    return out;
}

OpResult CardFiles::write(bool *noSpace) const
{
    // A copy shares the bytes.
    WriteGroup group({*this});
    return group.finish(0, noSpace);
}

CardFiles::WriteGroup::WriteGroup(std::vector<CardFiles> cards) : m_cards(std::move(cards))
{
    size_t added = 0;
    for (const CardFiles &card : m_cards) {
        m_first.push_back(added);
        for (const File &file : card.m_files)
            added = m_files.add(file.path, file.bytes) + 1;
    }
}

OpResult CardFiles::WriteGroup::finish(size_t card, bool *noSpace)
{
    if (noSpace)
        *noSpace = false;
    CardFiles &files = m_cards.at(card);
    if (!files.ok())
        return OpResult::failed(files.m_error);
    OpResult result = OpResult::done();
    for (size_t i = 0; i < files.m_files.size(); ++i) {
        const ImageFileWriter::WriteResult w = m_files.finish(m_first[card] + i);
        if (!w.ok) {
            // The files after it are dropped with the group.
            for (size_t j = 0; j < i; ++j)
                QFile::remove(files.m_files[j].path);
            if (noSpace)
                *noSpace = w.noSpace;
            result = OpResult::failed(w.error);
            break;
        }
    }
    files.m_files.clear();
    return result;
}
