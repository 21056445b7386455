// PDF417 encoder, compaction stage: cuts the text into text, numeric and byte segments and
// writes each with its compaction mode (text sub-modes with byte shifts, base 900 numbers, bytes).
#include "PDF417Encoder.h"

#include "PDF417Tables.h"

#include <cstring>

namespace
{

enum TextType { Alpha = 1, Lower = 2, Mixed = 4, Punctuation = 8 };

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool isText(unsigned char c)
{
    return (c >= 32 && c <= 126) || c == '\r' || c == '\n' || c == '\t';
}

int position(const char *set, int size, unsigned char c)
{
    for (int i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(set[i]) == c)
            return i;
    }
    return -1;
}

// The sub-modes a byte belongs to (0 for a byte that needs a shift) and its value there.
int textTypeAndValue(const QByteArray &text, int end, int index, int &value)
{
    value = 0;
    if (index >= end)
        return 0;
    const auto c = static_cast<unsigned char>(text.at(index));
    if (c >= 'A' && c <= 'Z') {
        value = c - 'A';
        return Alpha;
    }
    if (c >= 'a' && c <= 'z') {
        value = c - 'a';
        return Lower;
    }
    if (c == ' ') {
        value = 26;
        return Alpha | Lower | Mixed;
    }
    const int mixed = position(PDF417Tables::MIXED_SET, sizeof PDF417Tables::MIXED_SET, c);
    const int punctuation = position(PDF417Tables::PUNCTUATION_SET, sizeof PDF417Tables::PUNCTUATION_SET, c);
    if (mixed >= 0 || punctuation >= 0) {
        value = mixed >= 0 ? mixed : punctuation;
        return (mixed >= 0 ? Mixed : 0) | (punctuation >= 0 ? Punctuation : 0);
    }
    return 0;
}

using Segment = PDF417Encoder::Segment;

void appendTextOrBytes(std::vector<Segment> &list, const QByteArray &text, int start, int end)
{
    for (int i = start; i < end; ++i) {
        const char type = isText(static_cast<unsigned char>(text.at(i))) ? 'T' : 'B';
        if (!list.empty() && list.back().type == type && list.back().end == i)
            list.back().end = i + 1;
        else
            list.push_back({type, i, i + 1});
    }
}

bool isType(const std::vector<Segment> &list, int index, char type)
{
    return index >= 0 && index < static_cast<int>(list.size()) && list[index].type == type;
}

int lengthAt(const std::vector<Segment> &list, int index)
{
    return index >= 0 && index < static_cast<int>(list.size()) ? list[index].length() : 0;
}

} // namespace

std::vector<Segment> PDF417Encoder::breakString(const QByteArray &text, int length)
{
    std::vector<Segment> list;
    list.reserve(20);
    // Runs of 13 or more digits become numeric segments; the rest is cut by text/byte class.
    int start = 0, digits = 0;
    for (int k = 0; k <= length; ++k) {
        if (k < length && isDigit(static_cast<unsigned char>(text.at(k)))) {
            ++digits;
            continue;
        }
        if (digits >= 13) {
            appendTextOrBytes(list, text, start, k - digits);
            list.push_back({'N', k - digits, k});
            start = k;
        }
        digits = 0;
    }
    appendTextOrBytes(list, text, start, length);

    auto join = [&list](int into, int from) {
        list[into].start = std::min(list[into].start, list[from].start);
        list[into].end = std::max(list[into].end, list[from].end);
        list.erase(list.begin() + from);
    };
    // A single byte between text that is worth keeping together joins the text.
    for (int k = 0; k < static_cast<int>(list.size()); ++k) {
        if (isType(list, k, 'B') && list[k].length() == 1 && isType(list, k - 1, 'T') &&
            isType(list, k + 1, 'T') && lengthAt(list, k - 1) + lengthAt(list, k + 1) >= 3) {
            join(k - 1, k + 1);
            join(k - 1, k);
            k = -1;
        }
    }
    // Long text takes in its text and single-byte neighbours.
    for (int k = 0; k < static_cast<int>(list.size()); ++k) {
        if (!isType(list, k, 'T') || list[k].length() < 5)
            continue;
        bool changed = false;
        if ((isType(list, k - 1, 'B') && lengthAt(list, k - 1) == 1) || isType(list, k - 1, 'T')) {
            join(k, k - 1);
            --k;
            changed = true;
        }
        if ((isType(list, k + 1, 'B') && lengthAt(list, k + 1) == 1) || isType(list, k + 1, 'T')) {
            join(k, k + 1);
            changed = true;
        }
        if (changed)
            k = -1;
    }
    // Bytes take in short text and other bytes.
    for (int k = 0; k < static_cast<int>(list.size()); ++k) {
        if (!isType(list, k, 'B'))
            continue;
        bool changed = false;
        if ((isType(list, k - 1, 'T') && lengthAt(list, k - 1) < 5) || isType(list, k - 1, 'B')) {
            join(k, k - 1);
            --k;
            changed = true;
        }
        if ((isType(list, k + 1, 'T') && lengthAt(list, k + 1) < 5) || isType(list, k + 1, 'B')) {
            join(k, k + 1);
            changed = true;
        }
        if (changed)
            k = -1;
    }
    // Only digits, at least eight of them: numeric.
    if (list.size() == 1 && list[0].type == 'T' && list[0].length() >= 8) {
        bool allDigits = true;
        for (int i = list[0].start; i < list[0].end && allDigits; ++i)
            allDigits = isDigit(static_cast<unsigned char>(text.at(i)));
        if (allDigits)
            list[0].type = 'N';
    }
    return list;
}

void PDF417Encoder::textCompaction(int start, int length)
{
    const QByteArray &text = m_p.text;
    const int end = start + length;
    std::vector<int> dest; // values 0-29; a byte shift is stored as -1 - byte
    dest.reserve(static_cast<size_t>(length) * 2 + 2);
    int values = 0, shifts = 0;
    auto put = [&](int v) {
        dest.push_back(v);
        ++values;
    };
    int mode = Alpha;
    for (int k = start; k < end; ++k) {
        int value = 0;
        const int type = textTypeAndValue(text, end, k, value);
        if (type & mode) {
            put(value);
            continue;
        }
        if (type == 0) {
            if (values & 1) {
                put(29);
                if (mode == Punctuation)
                    mode = Alpha;
            }
            dest.push_back(-1 - static_cast<unsigned char>(text.at(k)));
            ++shifts;
            continue;
        }
        auto nextTwoAre = [&](int kind) {
            int ignored = 0;
            return (textTypeAndValue(text, end, k + 1, ignored) & kind) &&
                   (textTypeAndValue(text, end, k + 2, ignored) & kind);
        };
        // From Alpha or Lower: latch to Mixed, latch through Mixed to Punctuation for a run of
        // two or more, or shift to Punctuation for one character.
        auto toMixedOrPunctuation = [&] {
            if (type & Mixed)
                put(28), put(value), mode = Mixed;
            else if (nextTwoAre(Punctuation))
                put(28), put(25), put(value), mode = Punctuation;
            else
                put(29), put(value);
        };
        switch (mode) {
        case Alpha:
            if (type & Lower)
                put(27), put(value), mode = Lower;
            else
                toMixedOrPunctuation();
            break;
        case Lower:
            if (type & Alpha) {
                if (nextTwoAre(Alpha))
                    put(28), put(28), put(value), mode = Alpha;
                else
                    put(27), put(value);
            } else {
                toMixedOrPunctuation();
            }
            break;
        case Mixed:
            if (type & Lower) {
                put(27), put(value), mode = Lower;
            } else if (type & Alpha) {
                put(28), put(value), mode = Alpha;
            } else if (nextTwoAre(Punctuation)) {
                put(25), put(value), mode = Punctuation;
            } else {
                put(29), put(value);
            }
            break;
        default: // Punctuation: back to Alpha, then the same byte again
            put(29);
            mode = Alpha;
            --k;
            break;
        }
    }
    if (values & 1)
        put(29);
    if (m_cwPtr + values / 2 + 2 * shifts > PDF417Tables::MAX_DATA_CODEWORDS) {
        m_p.error = PDF417Param::ErrorTextTooBig;
        return;
    }
    for (size_t i = 0; i < dest.size();) {
        if (dest[i] < 0) {
            m_p.codewords[m_cwPtr++] = 913;
            m_p.codewords[m_cwPtr++] = -1 - dest[i];
            ++i;
        } else {
            m_p.codewords[m_cwPtr++] = dest[i] * 30 + dest[i + 1];
            i += 2;
        }
    }
}

void PDF417Encoder::byteCompaction6(int start)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(m_p.text.constData()) + start;
    unsigned long long value = 0;
    for (int i = 0; i < 6; ++i)
        value = (value << 8) | bytes[i];
    for (int i = 4; i >= 0; --i) {
        m_p.codewords[m_cwPtr + i] = static_cast<int>(value % 900);
        value /= 900;
    }
    m_cwPtr += 5;
}

void PDF417Encoder::byteCompaction(int start, int length)
{
    if (m_cwPtr + (length / 6) * 5 + length % 6 > PDF417Tables::MAX_DATA_CODEWORDS) {
        m_p.error = PDF417Param::ErrorTextTooBig;
        return;
    }
    const int end = start + length;
    int k = start;
    for (; k + 6 <= end; k += 6)
        byteCompaction6(k);
    for (; k < end; ++k)
        m_p.codewords[m_cwPtr++] = static_cast<unsigned char>(m_p.text.at(k));
}

void PDF417Encoder::basicNumberCompaction(int start, int length)
{
    // "1" followed by the digits, in base 900, written most significant first.
    std::vector<int> number(1, 1);
    for (int i = 0; i < length; ++i)
        number.push_back(m_p.text.at(start + i) - '0');
    const int count = length / 3 + 1;
    std::vector<int> out(count, 0);
    for (int c = count - 1; c >= 0; --c) {
        int remainder = 0;
        for (int &digit : number) {
            const int current = remainder * 10 + digit;
            digit = current / 900;
            remainder = current % 900;
        }
        out[c] = remainder;
    }
    for (int c = 0; c < count; ++c)
        m_p.codewords[m_cwPtr++] = out[c];
}

void PDF417Encoder::numberCompaction(int start, int length)
{
    const int full = length / 44, rest = length % 44;
    if (m_cwPtr + full * 15 + (rest ? rest / 3 + 1 : 0) > PDF417Tables::MAX_DATA_CODEWORDS) {
        m_p.error = PDF417Param::ErrorTextTooBig;
        return;
    }
    for (int k = 0; k < length; k += 44)
        basicNumberCompaction(start + k, std::min(44, length - k));
}

void PDF417Encoder::assemble(const std::vector<Segment> &list)
{
    for (size_t k = 0; k < list.size() && !m_p.error; ++k) {
        const Segment &segment = list[k];
        if (m_cwPtr + 1 > PDF417Tables::MAX_DATA_CODEWORDS) {
            m_p.error = PDF417Param::ErrorTextTooBig;
            return;
        }
        switch (segment.type) {
        case 'B':
            m_p.codewords[m_cwPtr++] = segment.length() % 6 == 0 ? 924 : 901;
            byteCompaction(segment.start, segment.length());
            break;
        case 'N':
            m_p.codewords[m_cwPtr++] = 902;
            numberCompaction(segment.start, segment.length());
            break;
        default:
            if (k != 0)
                m_p.codewords[m_cwPtr++] = 900;
            textCompaction(segment.start, segment.length());
            break;
        }
    }
}
