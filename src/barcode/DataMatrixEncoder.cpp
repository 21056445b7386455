#include "DataMatrixEncoder.h"

#include "barcode/BarcodeSizing.h"
#include "barcode/DataMatrixEcc200.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <unistd.h>

extern "C" {
#include <iec16022/iec16022ecc200.h>
}

namespace
{

QString dataMatrixTr(const char *text)
{
    return QCoreApplication::translate("DataMatrixEncoder", text);
}

// Values a byte takes in C40 (text false) or Text (text true): basic set 1, shifted sets 2,
// bytes above 127 two more for the upper shift.
int tripletValues(unsigned char c, bool text)
{
    const int extra = c >= 128 ? 2 : 0;
    c &= 0x7F;
    const bool basic =
        c == ' ' || (c >= '0' && c <= '9') || (text ? (c >= 'a' && c <= 'z') : (c >= 'A' && c <= 'Z'));
    return extra + (basic ? 1 : 2);
}

// Why the library made no symbol, in the words of the size asked for and of the encoding chosen.
QString refusal(int rows, int columns, bool automatic)
{
    if (rows > 0)
        return automatic ? dataMatrixTr("The text does not fit a Data Matrix of %1 x %2 modules.")
                               .arg(rows)
                               .arg(columns)
                         : dataMatrixTr(
                               "The text does not fit a Data Matrix of %1 x %2 modules with this encoding.")
                               .arg(rows)
                               .arg(columns);
    return automatic ? dataMatrixTr("The text is too long for a Data Matrix.")
                     : dataMatrixTr("The text cannot be encoded as a Data Matrix with this encoding.");
}

// The library prints its reasons on the standard error stream: while it runs, that stream goes to a
// file of our own. What the library said is kept for the log; anything another thread wrote
// meanwhile is passed on.
class LibraryErrorCapture
{
public:
    LibraryErrorCapture()
    {
        std::fflush(stderr);
        m_file = std::tmpfile();
        m_saved = m_file ? ::dup(STDERR_FILENO) : -1;
        if (m_saved >= 0 && ::dup2(::fileno(m_file), STDERR_FILENO) < 0) {
            ::close(m_saved);
            m_saved = -1;
        }
    }
    ~LibraryErrorCapture() { finish(); }

    // Puts the stream back; returns the library's lines.
    QString finish()
    {
        if (m_saved < 0) {
            if (m_file)
                std::fclose(m_file);
            m_file = nullptr;
            return {};
        }
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
        QByteArray captured;
        std::rewind(m_file);
        char buf[4096];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, m_file)) > 0;)
            captured.append(buf, qsizetype(n));
        std::fclose(m_file);
        m_file = nullptr;
        QByteArray library, others;
        for (const QByteArray &line : captured.split('\n')) {
            if (line.isEmpty())
                continue;
            (isLibraryLine(line) ? library : others).append(line + '\n');
        }
        if (!others.isEmpty() && ::write(STDERR_FILENO, others.constData(), size_t(others.size())) < 0) {
            // nowhere left to report it
        }
        return QString::fromLatin1(library).trimmed();
    }

private:
    static bool isLibraryLine(const QByteArray &line)
    {
        static const char *const starts[] = {"Cannot ",          "Barcode too long", "Invalid size",
                                             "Unknown encoding", "Encoding string",  "Could not encode",
                                             "Malloc("};
        for (const char *start : starts) {
            if (line.startsWith(start))
                return true;
        }
        return false;
    }

    std::FILE *m_file = nullptr;
    int m_saved = -1;
};

} // namespace

bool DataMatrixSymbol::isDark(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return false;
    const qsizetype index = static_cast<qsizetype>(height - 1 - y) * width + x;
    return index < grid.size() && grid.at(index) != 0;
}

QString DataMatrixSymbol::report() const
{
    return QStringLiteral(
               "No barcode produced\nSize    : %1x%2\nEncoded : %3 of %4 bytes with %5 bytes of ecc\n"
               "Barcode : %6\nEncoding: %7\n%8")
        .arg(width)
        .arg(height)
        .arg(encodedBytes)
        .arg(capacity)
        .arg(eccBytes)
        .arg(QString::fromUtf8(value), QString::fromLatin1(encoding),
             libraryText.isEmpty() ? QString() : libraryText + QLatin1Char('\n'));
}

QStringList DataMatrixEncoder::formats()
{
    QStringList out{QStringLiteral("Auto")};
    for (const DataMatrixEcc200::Size &size : DataMatrixEcc200::sizes())
        out.append(QStringLiteral("C%1X%2").arg(size.rows).arg(size.columns));
    return out;
}

QStringList DataMatrixEncoder::encodings()
{
    return {QStringLiteral("Auto"), QStringLiteral("Ascii"), QStringLiteral("C40"), QStringLiteral("Text"),
            QStringLiteral("Base256")};
}

void DataMatrixEncoder::parseFormat(const QString &format, int &rows, int &columns)
{
    rows = columns = 0;
    if (format == QLatin1String("Auto") || format.isEmpty())
        return;
    const QString rest = format.mid(1);
    const int x = rest.indexOf(QLatin1Char('X'));
    if (x < 0)
        return;
    rows = rest.left(x).trimmed().toInt();
    columns = rest.mid(x + 1).trimmed().toInt();
}

QByteArray DataMatrixEncoder::encodingString(const QString &encoding, const QByteArray &bytes)
{
    char letter = 0;
    if (encoding == QLatin1String("Ascii"))
        letter = 'A';
    else if (encoding == QLatin1String("C40"))
        letter = 'C';
    else if (encoding == QLatin1String("Text"))
        letter = 'T';
    else if (encoding == QLatin1String("Base256"))
        letter = 'B';
    else
        return {};
    QByteArray out(bytes.size(), letter);
    if (letter == 'C' || letter == 'T') {
        // The longest prefix whose values fill whole triples stays in C40 or Text.
        int values = 0, whole = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            values += tripletValues(static_cast<unsigned char>(bytes.at(i)), letter == 'T');
            if (values % 3 == 0)
                whole = static_cast<int>(i) + 1;
        }
        for (qsizetype i = whole; i < out.size(); ++i)
            out[i] = 'A';
    }
    return out;
}

// The symbology's default character set is ISO 8859-1: text it holds is written in it, as
// readers expect. Any other text goes as UTF-8 behind ECI 26, which the library cannot write.
DataMatrixSymbol DataMatrixEncoder::encode(const QString &value, const QString &format,
                                           const QString &encoding)
{
    const bool latin1 = std::all_of(value.begin(), value.end(), [](QChar c) { return c.unicode() <= 0xFF; });
    if (!latin1)
        return encodeUtf8(value.toUtf8(), format, encoding);
    int rows = 0, columns = 0;
    parseFormat(format, rows, columns);
    const QByteArray bytes = value.toLatin1();
    if (encodingString(encoding, bytes).isEmpty() && encoding != QLatin1String("Base256"))
        return encodeAutomatically(bytes, rows, columns);
    DataMatrixSymbol symbol = encodeBytes(bytes, rows, columns, encodingString(encoding, bytes));
    if (!symbol.ok() && encoding == QLatin1String("Base256"))
        symbol.error = dataMatrixTr(
            "The Data Matrix library cannot encode in Base256. Choose Auto, Ascii, C40 or Text.");
    return symbol;
}

DataMatrixSymbol DataMatrixEncoder::encodeUtf8(const QByteArray &bytes, const QString &format,
                                               const QString &encoding)
{
    int rows = 0, columns = 0;
    parseFormat(format, rows, columns);
    DataMatrixSymbol symbol;
    symbol.value = bytes;
    symbol.error = inputProblem(bytes, rows, columns, {});
    if (!symbol.error.isEmpty())
        return symbol; // no text, too long, or no such size
    const DataMatrixEcc200::Mode mode = encoding == QLatin1String("Ascii") ? DataMatrixEcc200::Mode::Ascii
                                        : encoding == QLatin1String("Base256")
                                            ? DataMatrixEcc200::Mode::Base256
                                            : DataMatrixEcc200::Mode::Smallest;
    symbol = DataMatrixEcc200::encode(bytes, 26, rows, columns, mode);
    if (!symbol.ok())
        symbol.error = refusal(rows, columns, mode == DataMatrixEcc200::Mode::Smallest);
    return symbol;
}

// Each encoding the window offers is tried and the smallest symbol kept: the library's own choice
// refuses some texts that another encoding takes, and reads memory it never set near capacity.
DataMatrixSymbol DataMatrixEncoder::encodeAutomatically(const QByteArray &bytes, int rows, int columns)
{
    DataMatrixSymbol best;
    for (const QString &encoding : {QStringLiteral("Ascii"), QStringLiteral("C40"), QStringLiteral("Text")}) {
        DataMatrixSymbol symbol = encodeBytes(bytes, rows, columns, encodingString(encoding, bytes));
        const bool first = best.value.isEmpty() && best.error.isEmpty();
        if (symbol.ok() ? !best.ok() || symbol.width * symbol.height < best.width * best.height : first)
            best = std::move(symbol);
    }
    if (!best.ok() && best.error == refusal(rows, columns, false))
        best.error = refusal(rows, columns, true);
    return best;
}

QString DataMatrixEncoder::inputProblem(const QByteArray &bytes, int rows, int columns,
                                        const QByteArray &encoding)
{
    if (bytes.isEmpty())
        return dataMatrixTr("There is no text to encode as a Data Matrix.");
    if (bytes.size() > MAXBARCODE)
        return dataMatrixTr("The text is too long for a Data Matrix: %1 bytes, at most %2.")
            .arg(bytes.size())
            .arg(MAXBARCODE);
    const auto &sizes = DataMatrixEcc200::sizes();
    const bool known = (rows == 0 && columns == 0) ||
                       std::any_of(sizes.begin(), sizes.end(), [&](const DataMatrixEcc200::Size &s) {
                           return s.rows == rows && s.columns == columns;
                       });
    if (!known)
        return dataMatrixTr("%1 x %2 modules is not a Data Matrix size.").arg(rows).arg(columns);
    if (!encoding.isEmpty() && encoding.size() != bytes.size())
        return dataMatrixTr("The Data Matrix encoding does not match the text.");
    return {};
}

DataMatrixSymbol DataMatrixEncoder::encodeBytes(const QByteArray &bytes, int rows, int columns,
                                                const QByteArray &encoding)
{
    DataMatrixSymbol symbol;
    symbol.value = bytes;
    symbol.encoding = encoding;
    symbol.error = inputProblem(bytes, rows, columns, encoding);
    if (!symbol.error.isEmpty())
        return symbol;

    int width = columns, height = rows;
    // The library reads the encoding string and may hand back one of its own: both are freed here.
    char *encodingCopy = encoding.isEmpty() ? nullptr : strdup(encoding.constData());
    char *const mine = encodingCopy;
    QByteArray input = bytes; // the library takes a writable buffer
    unsigned char *grid = nullptr;
    {
        // The library keeps its Reed-Solomon tables in globals that every call rebuilds: one call
        // at a time, or batch threads corrupt each other's symbols and the heap.
        static std::mutex libraryMutex;
        const std::lock_guard<std::mutex> lock(libraryMutex);
        LibraryErrorCapture capture;
        grid = iec16022ecc200(&width, &height, &encodingCopy, static_cast<int>(input.size()),
                              reinterpret_cast<unsigned char *>(input.data()), &symbol.encodedBytes,
                              &symbol.capacity, &symbol.eccBytes);
        symbol.libraryText = capture.finish();
    }
    if (encodingCopy != mine)
        free(encodingCopy);
    free(mine);
    symbol.width = width;
    symbol.height = height;
    if (!grid || width <= 0 || height <= 0) {
        free(grid);
        symbol.error = refusal(rows, columns, false);
        return symbol;
    }
    symbol.grid = QByteArray(reinterpret_cast<const char *>(grid), static_cast<qsizetype>(width) * height);
    free(grid);
    return symbol;
}

QByteArray DataMatrixEncoder::makeEPS_Data_Matrix(const QByteArray &value, int W, int H,
                                                  const QByteArray &grid)
{
    if (W <= 0 || H <= 0 || grid.size() < static_cast<qsizetype>(W) * H)
        return {};
    QByteArray eps;
    eps += "%!PS-Adobe-3.0 EPSF-3.0\n%%Creator: IEC16022 barcode/stamp generator\n%%BarcodeData: " + value +
           "\n";
    eps += QByteArrayLiteral("%%BarcodeSize: ") + QByteArray::number(W) + 'x' + QByteArray::number(H) +
           "\n%%BarcodeFormat: ECC200\n%%DocumentData: Clean7Bit\n%%LanguageLevel: 1\n%%Pages: 1\n";
    eps += QByteArrayLiteral("%%BoundingBox: 0 0 ") + QByteArray::number(W + 2) + ' ' +
           QByteArray::number(H + 2) + "\n%%EndComments\n%%Page: 1 1\n" + QByteArray::number(W) + ' ' +
           QByteArray::number(H) + " 1[1 0 0 1 -1 -1]{<\n";
    int counter = 0;
    for (int y = 0; y < H; ++y) {
        int byte = 0, bits = 0;
        for (int x = 0; x < W; ++x) {
            byte = (byte << 1) | (grid.at(static_cast<qsizetype>(y) * W + x) ? 1 : 0);
            if (++bits == 8) {
                eps += QByteArray::number(byte ^ 0xFF, 16).rightJustified(2, '0').toUpper();
                counter += 2;
                byte = bits = 0;
            }
        }
        if (bits) {
            eps += QByteArray::number((byte << (8 - bits)) ^ 0xFF, 16).rightJustified(2, '0').toUpper();
            counter += 2;
        }
        eps += ' ';
        ++counter;
        if (counter >= 80) {
            eps += '\n';
            counter = 0;
        }
    }
    if (counter)
        eps += '\n';
    eps += "\n>}image\n";
    return eps;
}

QImage DataMatrixEncoder::pageImage(const DataMatrixSymbol &symbol, int dpi)
{
    if (!symbol.ok() || dpi <= 0)
        return {};
    const int unitsW = symbol.width + 2, unitsH = symbol.height + 2;
    // At least one pixel per unit.
    const int pixelsW = std::max(BarcodeSizing::pixelsFor(unitsW, dpi), unitsW);
    const int pixelsH = std::max(BarcodeSizing::pixelsFor(unitsH, dpi), unitsH);
    QImage image(pixelsW, pixelsH, QImage::Format_ARGB32);
    image.fill(qRgba(255, 255, 255, 0));
    auto edge = [](int unit, int units, int pixels) {
        return static_cast<int>(static_cast<long long>(unit) * pixels / units);
    };
    for (int y = 0; y < symbol.height; ++y) {
        const int top = edge(y + 1, unitsH, pixelsH), bottom = edge(y + 2, unitsH, pixelsH);
        for (int x = 0; x < symbol.width; ++x) {
            const QRgb colour = symbol.isDark(x, y) ? qRgba(0, 0, 0, 255) : qRgba(255, 255, 255, 255);
            const int left = edge(x + 1, unitsW, pixelsW), right = edge(x + 2, unitsW, pixelsW);
            for (int py = top; py < bottom; ++py) {
                auto *line = reinterpret_cast<QRgb *>(image.scanLine(py));
                for (int px = left; px < right; ++px)
                    line[px] = colour;
            }
        }
    }
    return image;
}

QSizeF DataMatrixEncoder::pageSize(const DataMatrixSymbol &symbol, int moduleSize)
{
    return QSizeF(static_cast<double>(symbol.width) * moduleSize,
                  static_cast<double>(symbol.height) * moduleSize);
}
