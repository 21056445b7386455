// A large picture kept as its file or its encoded bytes and decoded at the size it is drawn, a
// power of two below its full size. Decodings are shared through one cache of bounded bytes, so
// a photo costs memory for what is shown. Immutable; safe to use from any thread.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

class EncodedPicture
{
public:
    // Where the encoded picture is: a file named by its path, or bytes held here.
    struct Origin {
        QString path;
        QByteArray bytes;
        QByteArray formatHint;
    };

    // storedPixels: the pixels as stored in the file, before turning upright; fullPixels: what a
    // full read gives within the reader's budget, as stored; turned: upright is a quarter turn away.
    EncodedPicture(Origin origin, QSize storedPixels, QSize fullPixels, bool turned, qint64 maxPixels);
    ~EncodedPicture();
    EncodedPicture(const EncodedPicture &) = delete;
    EncodedPicture &operator=(const EncodedPicture &) = delete;

    // Levels: 0 the full read; k > 0 each stored side over 2^k (rounded up), only where that is
    // smaller than the full read.
    static constexpr int MostLevel = 7;
    // The upright pixels of a level.
    QSize pixelsAt(int level) const;
    // The coarsest level whose pixels cover `needed` upright pixels on both sides.
    int levelFor(QSize needed) const;
    // The level's upright pixels, decoded now or taken from the cache; null when the file no
    // longer reads. Threads asking for the same level at once wait for one decoding.
    QImage pixels(int level) const;
    // Whether pixels(level) would answer without decoding.
    bool isDecoded(int level) const;
    // The level's pixels when kept decoded (null when the file no longer read), never decoding.
    std::optional<QImage> heldPixels(int level) const;
    // Keeps pixels already decoded (while the picture was checked) as the level's.
    void keep(int level, const QImage &image) const;

    const Origin &origin() const { return m_origin; }
    qint64 maxPixels() const { return m_maxPixels; }

    // The decodings kept, at most BudgetBytes together with those let go while a drawing still
    // held them (found again while held, never decoded twice at once); the least recently used
    // go first, those no drawing holds before those drawn with.
    static constexpr qint64 BudgetBytes = qint64(192) * 1024 * 1024;
    static qint64 cachedBytes();
    static void clearCache();
    // Levels decoded for drawing so far in this process (tests).
    static qint64 decodings();

private:
    QSize storedAt(int level) const;

    Origin m_origin;
    QSize m_stored;
    QSize m_full;
    bool m_turned;
    qint64 m_maxPixels;
    quint64 m_id; // the cache's key, never given twice in a run
};
