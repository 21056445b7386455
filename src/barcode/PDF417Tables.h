// Constant tables of the PDF417 symbology: the symbol character patterns of the three clusters
// and the character sets of the Mixed and Punctuation text sub-modes.
#pragma once

namespace PDF417Tables
{

// CLUSTERS[row % 3][codeword]: the 17-module bar-space pattern, most significant bit first.
extern const int CLUSTERS[3][929];

constexpr int START_PATTERN = 130728; // 17 modules
constexpr int STOP_PATTERN = 260649;  // 18 modules

// A symbol holds at most 928 codewords; the least error correction takes two of them.
constexpr int MAX_DATA_CODEWORDS = 926;

// Values 0-24 of the Mixed sub-mode and 0-28 of the Punctuation sub-mode; the shared
// characters (CR, HT, comma, colon, hyphen, full stop, dollar, slash, asterisk) sit at the
// same position in both.
inline constexpr char MIXED_SET[25] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '&', '\r', '\t',
                                       ',', ':', '#', '-', '.', '$', '/', '+', '%', '*', '=', '^'};
inline constexpr char PUNCTUATION_SET[29] = {';', '<',  '>',  '@', '[', '\\', ']', '_', '`', '~',
                                             '!', '\r', '\t', ',', ':', '\n', '-', '.', '$', '/',
                                             '"', '|',  '*',  '(', ')', '?',  '{', '}', '\''};

} // namespace PDF417Tables
