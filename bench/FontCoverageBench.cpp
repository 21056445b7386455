// What choosing a face for every character costs: a text drawn again (answers known), a run's
// check of many distinct names, the first sight of a thousand Chinese characters and of characters
// no installed font has, and a long text of one character.
#include "platform/FontCoverage.h"
#include "platform/FontResolver.h"

#include <benchmark/benchmark.h>

namespace
{

QFont cardFont()
{
    return FontResolver::font(QStringLiteral("TimesNewRomanPS-ItalicMT"), 14);
}

void BM_LatinTextAgain(benchmark::State &state)
{
    const QFont font = cardFont();
    const QString text = QStringLiteral("Dear Mrs Zoë O'Brien, you are invited to our wedding");
    for (auto _ : state)
        benchmark::DoNotOptimize(FontCoverage::fallbackRanges(text, font));
}
BENCHMARK(BM_LatinTextAgain);

void BM_MixedScriptsAgain(benchmark::State &state)
{
    const QFont font = cardFont();
    const QString text = QString::fromUtf8("محمد O'Brien שלום 你好 Привет Zoë");
    for (auto _ : state)
        benchmark::DoNotOptimize(FontCoverage::fallbackRanges(text, font));
}
BENCHMARK(BM_MixedScriptsAgain);

// 10,000 distinct names, as a run's check meets them once each.
void BM_CheckTenThousandNames(benchmark::State &state)
{
    const QFont font = cardFont();
    QStringList names;
    for (int i = 0; i < 10000; ++i)
        names << QStringLiteral("Guest %1 محمد Zoë %2").arg(i).arg(i * 7919 % 10007);
    for (auto _ : state)
        for (const QString &name : names)
            benchmark::DoNotOptimize(FontCoverage::undrawableCharacters(name, font));
}
BENCHMARK(BM_CheckTenThousandNames)->Unit(benchmark::kMillisecond);

// The first sight of a thousand CJK characters (one iteration: afterwards they are known).
void BM_FirstSightOfThousandHanCharacters(benchmark::State &state)
{
    const QFont font = cardFont();
    QString text;
    for (char32_t c = 0x4E00; c < 0x4E00 + 1000; ++c)
        text += QString::fromUcs4(&c, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(FontCoverage::fallbackRanges(text, font));
}
BENCHMARK(BM_FirstSightOfThousandHanCharacters)->Unit(benchmark::kMillisecond)->Iterations(1);

// The first sight of a character no installed font has, then of one in each of ten more blocks
// (one iteration each: afterwards they are known).
QString oneInEachBlock(char32_t first, int blocks)
{
    QString text;
    for (char32_t c = first; c < first + char32_t(blocks) * 256; c += 256)
        text += QString::fromUcs4(&c, 1);
    return text;
}

// Arguments: the first character and the number of blocks, one character in each.
void BM_FirstSightOfCharactersNoFontHas(benchmark::State &state)
{
    const QFont font = cardFont();
    const QString text = oneInEachBlock(char32_t(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(FontCoverage::undrawableCharacters(text, font));
}
BENCHMARK(BM_FirstSightOfCharactersNoFontHas)
    ->Args({0x1F382, 1})
    ->Args({0x30000, 10})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A value of 50,000 copies of one character no font has, checked and laid out.
void BM_FiftyThousandOfOneCharacter(benchmark::State &state)
{
    const QFont font = cardFont();
    const QString text = oneInEachBlock(0x1F382, 1).repeated(50000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FontCoverage::undrawableCharacters(text, font));
        benchmark::DoNotOptimize(FontCoverage::fallbackRanges(text, font));
    }
}
BENCHMARK(BM_FiftyThousandOfOneCharacter)->Unit(benchmark::kMillisecond);

} // namespace
