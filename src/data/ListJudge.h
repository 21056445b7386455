// How a reader sees one reading of a list's bytes, word by word: letters inside words, one script a
// word, capitals where names have them, letters some language writes together. ListEncoding ranks
// the readings of a list in every offered character set by these judgements.
#pragma once

#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <unicode/uset.h>

#include <bitset>
#include <memory>
#include <string>

namespace ListJudging
{
struct SetCloser {
    void operator()(USet *set) const { uset_close(set); }
};
using SetPtr = std::unique_ptr<USet, SetCloser>;

// The letters a language of ICU's locale data writes, either case: its main exemplar characters,
// with the auxiliary ones (letters of borrowed names) when asked.
SetPtr lettersOf(const char *locale, bool withAuxiliary);
// Whether the set holds every one of the letters.
bool holds(const USet *set, const QString &letters);

// At most this many languages are told apart (ICU has some 250).
constexpr size_t MaxLanguages = 512;
using LanguageBits = std::bitset<MaxLanguages>;

// What a reader sees in one set's reading of a list, word by word. Only words holding a character
// beyond ASCII count: the rest read alike in every set.
struct Judgement {
    qsizetype words = 0;
    qsizetype garbled = 0;       // words a reader sees as no text: symbols among letters, scripts or
                                 // case mixed as no name has them, letters no language writes together
    qsizetype oddCase = 0;       // small initials count two, words all in capitals one: names are
                                 // written with a capital and small letters
    qsizetype dense = 0;         // Latin words most of whose letters are beyond ASCII
    qsizetype named = 0;         // words of a cased script written so: bytes seldom fall that way
    qsizetype coherentLines = 0; // lines one language writes whole with its main letters
    qsizetype covered = 0;       // the most words one language writes with its main letters
    qsizetype mainFit = 0;       // words some language writes with its main letters
    qsizetype localeFit = 0;     // words the user's language writes
    qsizetype hanWords = 0;      // words in Chinese characters, and of them those some language
    qsizetype hanFit = 0;        // counts among its common characters
    QString letters;             // the letters beyond ASCII, each once
    // Names take rare characters too, but text most of whose words are rare characters is garble.
    bool plausible() const { return garbled == 0 && hanFit * 2 >= hanWords; }
};

// Judges the readings of one list for a user of one locale: each distinct word once, and each
// letter's languages once, whichever set's reading holds them.
class Judge
{
public:
    explicit Judge(const QLocale &locale);
    Judgement judge(QStringView text);

private:
    struct Word {
        bool garbled = false;
        bool han = false;
        bool named = false;
        bool dense = false;
        int oddCase = 0;
        LanguageBits main; // the languages whose main letters write it
        bool locale = false;
        std::u32string letters;
    };
    struct Letter {
        LanguageBits main;
        bool locale = false;
    };

    const Letter &letter(char32_t c);
    const Word &judgeWord(QStringView raw);
    // The languages that write a word's letters, once its characters passed.
    void placeWord(Word &w, bool han);

    SetPtr m_locale;
    QHash<char32_t, Letter> m_letters;
    QHash<QString, Word> m_words;
};
} // namespace ListJudging
