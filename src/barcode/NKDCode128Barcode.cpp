#include "barcode/NKDCode128Barcode.h"

#include <QDebug>

#include <array>
#include <climits>

namespace
{

constexpr int kShift = 98;
constexpr int kCodeC = 99;
constexpr int kCodeBFromA = 100; // also from set C
constexpr int kCodeAFromB = 101; // also from set C

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int valueInSet(char c, int set)
{
    const int u = static_cast<unsigned char>(c);
    if (set == NKDCode128Barcode::SetA) {
        if (u >= 32 && u <= 95)
            return u - 32;
        if (u < 32)
            return u + 64;
    } else if (set == NKDCode128Barcode::SetB) {
        if (u >= 32 && u <= 127)
            return u - 32;
    }
    return -1;
}

int switchValue(int from, int to)
{
    if (to == NKDCode128Barcode::SetC)
        return kCodeC;
    if (to == NKDCode128Barcode::SetB)
        return kCodeBFromA;
    Q_UNUSED(from);
    return kCodeAFromB;
}

} // namespace

QByteArray NKDCode128Barcode::patternOfValue(int value)
{
    // Bar and space widths of every symbol value; 106 is the stop character.
    static const char *const kWidths[107] = {
        "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
        "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
        "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
        "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
        "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
        "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
        "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
        "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
        "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
        "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
        "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};
    // Spelled out once: every card asks for a dozen of them.
    static const std::array<QByteArray, 107> kPatterns = [] {
        std::array<QByteArray, 107> patterns;
        for (size_t v = 0; v < patterns.size(); ++v)
            for (int i = 0; kWidths[v][i]; ++i)
                patterns[v].append(kWidths[v][i] - '0', i % 2 == 0 ? '1' : '0');
        return patterns;
    }();
    if (value < 0 || value > 106)
        return {};
    return kPatterns[size_t(value)];
}

bool NKDCode128Barcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content, printsCaption))
        return false;
    m_planned = plan();
    if (m_codeSet == Automatic && m_planned)
        m_codeSet = m_startSet;
    generateChecksum();
    calculateWidth();
    return true;
}

QByteArray NKDCode128Barcode::initiator() const
{
    if (m_codeSet < SetA || m_codeSet > Automatic) {
        qWarning("Invalid codeSet value: %d", m_codeSet);
        return {};
    }
    const int set = m_planned ? m_startSet : m_codeSet;
    if (set == Automatic)
        return {};
    return patternOfValue(103 + set);
}

QByteArray NKDCode128Barcode::_encodeChar(char c, int set)
{
    return patternOfValue(valueInSet(c, set));
}

bool NKDCode128Barcode::_canEncodeChar(char c, int set)
{
    return valueInSet(c, set) >= 0;
}

QByteArray NKDCode128Barcode::_encodeChar(char c) const
{
    if (m_codeSet == Automatic)
        return _canEncodeChar(c, SetB) ? _encodeChar(c, SetB) : _encodeChar(c, SetA);
    return _encodeChar(c, m_codeSet);
}

QByteArray NKDCode128Barcode::_encodeNumberPair(const QByteArray &pair)
{
    bool ok = false;
    const int v = pair.toInt(&ok);
    if (!ok || v < 0 || v > 102)
        return {};
    return patternOfValue(v);
}

bool NKDCode128Barcode::plan()
{
    m_values.clear();
    if (!isAscii())
        return false;
    const QByteArray b = bytes();
    if (m_codeSet == Automatic)
        return planAutomatic(b);
    if (m_codeSet < SetA || m_codeSet > SetC)
        return false;
    return planFixed(b, m_codeSet);
}

bool NKDCode128Barcode::planFixed(const QByteArray &b, int set)
{
    m_startSet = set;
    if (set == SetC) {
        const QByteArray digits = b.size() % 2 ? QByteArray("0") + b : b;
        for (qsizetype i = 0; i < digits.size(); i += 2) {
            if (!isDigit(digits[i]) || !isDigit(digits[i + 1]))
                return false;
            m_values.push_back((digits[i] - '0') * 10 + (digits[i + 1] - '0'));
        }
        return true;
    }
    const int other = set == SetA ? SetB : SetA;
    for (const char c : b) {
        const int v = valueInSet(c, set);
        if (v >= 0) {
            m_values.push_back(v);
            continue;
        }
        // One character of the other set, announced by SHIFT.
        const int w = valueInSet(c, other);
        if (w < 0)
            return false;
        m_values.push_back(kShift);
        m_values.push_back(w);
    }
    return true;
}

bool NKDCode128Barcode::planAutomatic(const QByteArray &b)
{
    // Fewest symbol characters from position i on while in set s, without (stay) or with one
    // change of set first (best); a later change is always planned at its own position.
    const int n = int(b.size());
    constexpr int kInf = INT_MAX / 4;
    std::vector<std::array<int, 3>> stay(n + 1), best(n + 1);
    for (const char c : b) {
        if (valueInSet(c, SetA) < 0 && valueInSet(c, SetB) < 0)
            return false;
    }
    stay[n] = best[n] = {0, 0, 0};
    for (int i = n - 1; i >= 0; --i) {
        for (int s = 0; s < 3; ++s) {
            int cost = kInf;
            if (s == SetC) {
                if (i + 1 < n && isDigit(b[i]) && isDigit(b[i + 1]))
                    cost = 1 + best[i + 2][SetC];
            } else {
                if (valueInSet(b[i], s) >= 0)
                    cost = 1 + best[i + 1][s];
                else if (valueInSet(b[i], 1 - s) >= 0)
                    cost = 2 + best[i + 1][s];
            }
            stay[i][s] = cost;
        }
        for (int s = 0; s < 3; ++s) {
            int cost = stay[i][s];
            for (int t = 0; t < 3; ++t) {
                if (t != s)
                    cost = std::min(cost, 1 + stay[i][t]);
            }
            best[i][s] = cost;
        }
    }
    // Start in the set that needs fewest symbols; on a tie prefer C, then B.
    int set = SetC;
    for (const int s : {SetB, SetA}) {
        if (stay[0][s] < stay[0][set])
            set = s;
    }
    m_startSet = set;
    int i = 0;
    while (i < n) {
        if (stay[i][set] != best[i][set]) {
            int target = set;
            for (int t = 0; t < 3; ++t) {
                if (t != set && 1 + stay[i][t] == best[i][set]) {
                    target = t;
                    break;
                }
            }
            m_values.push_back(switchValue(set, target));
            set = target;
        }
        if (set == SetC) {
            m_values.push_back((b[i] - '0') * 10 + (b[i + 1] - '0'));
            i += 2;
        } else if (valueInSet(b[i], set) >= 0) {
            m_values.push_back(valueInSet(b[i], set));
            ++i;
        } else {
            m_values.push_back(kShift);
            m_values.push_back(valueInSet(b[i], 1 - set));
            ++i;
        }
    }
    return true;
}

QByteArray NKDCode128Barcode::barcode() const
{
    if (!m_planned)
        return {};
    QByteArray out;
    out.reserve(qsizetype(m_values.size() + 1) * 11); // every symbol value is 11 modules wide
    for (const int v : m_values)
        out += patternOfValue(v);
    if (m_checkDigit >= 0)
        out += patternOfValue(m_checkDigit);
    return out;
}

void NKDCode128Barcode::generateChecksum()
{
    if (!m_planned) {
        m_checkDigit = -1;
        return;
    }
    long long sum = 103 + m_startSet;
    for (size_t i = 0; i < m_values.size(); ++i)
        sum += (long long)(i + 1) * m_values[i];
    m_checkDigit = int(sum % 103);
}

bool NKDCode128Barcode::isContentValid() const
{
    return m_planned;
}
