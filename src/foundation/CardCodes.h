// The codes that card records, page settings and design files store, by name: fills, page
// outlines, shapes, sides, the arrangement of both sides, borders, signatures, data sources and
// selection handles.
// The stored texts and numbers stay as they are; code compares these names instead of literals.
#pragma once

#include <QLatin1String>

// Fill of a card object or a page ("I" only for pages).
namespace FillCode
{
inline constexpr QLatin1String Solid{"S"};
inline constexpr QLatin1String Gradient{"G"};
inline constexpr QLatin1String Hatch{"H"};
inline constexpr QLatin1String Picture{"I"}; // the page's background picture
} // namespace FillCode

// Outline of the card, one for both sides (stored as `Card_Shape` on each page).
namespace OutlineCode
{
inline constexpr QLatin1String Rectangle{"R"};
inline constexpr QLatin1String RoundedRectangle{"RR"};
inline constexpr QLatin1String Ellipse{"E"};
} // namespace OutlineCode

// Kind of a shape object.
namespace ShapeCode
{
inline constexpr QLatin1String Rectangle{"R"};
inline constexpr QLatin1String Circle{"C"};
inline constexpr QLatin1String RoundedRectangle{"RR"};
inline constexpr QLatin1String Triangle{"T"};
inline constexpr QLatin1String Diamond{"D"};
inline constexpr QLatin1String Star{"S"};
inline constexpr QLatin1String DoubleStar{"DS"};
inline constexpr QLatin1String Polygon{"P"};
} // namespace ShapeCode

// Card sides, and the sides an export or a print run produces.
namespace SideCode
{
inline constexpr QLatin1String Front{"F"};
inline constexpr QLatin1String Back{"B"};
inline constexpr QLatin1String Both{"BOTH"};
} // namespace SideCode

// How the two sides of one printed label are arranged.
namespace ArrangementCode
{
inline constexpr QLatin1String FrontAboveBack{"U"};
inline constexpr QLatin1String FrontLeftOfBack{"L"};
} // namespace ArrangementCode

// Dash style of an object's or a page's border (`_stroke_border_type`, `Card_border_style`).
namespace BorderCode
{
inline constexpr QLatin1String Solid{"S"};
inline constexpr QLatin1String Dash{"DA"};
inline constexpr QLatin1String Dot{"DO"};
inline constexpr QLatin1String DashDot{"DD"};
inline constexpr QLatin1String DashDotDot{"DDD"};
} // namespace BorderCode

// What a signature object shows (`sign_or_fingureprint`).
namespace SignatureCode
{
inline constexpr QLatin1String Signature{"S"};
inline constexpr QLatin1String Fingerprint{"F"};
} // namespace SignatureCode

// Where a text, picture or barcode object takes its value from (`data_source_type`).
namespace DataSourceCode
{
inline constexpr int Fixed = 0;         // the object's own value
inline constexpr int Series = 1;        // the bound series
inline constexpr int BindingColumn = 2; // a column of the Excel binding table
} // namespace DataSourceCode

// Selection handles on an object's bounds, numbered as the canvas and resizing use them.
namespace GraphicHandle
{
inline constexpr int None = 0;
inline constexpr int UpperLeft = 1;
inline constexpr int UpperMiddle = 2;
inline constexpr int UpperRight = 3;
inline constexpr int MiddleLeft = 4;
inline constexpr int MiddleRight = 5;
inline constexpr int LowerLeft = 6;
inline constexpr int LowerMiddle = 7;
inline constexpr int LowerRight = 8;
} // namespace GraphicHandle

// The two handles of a line object.
namespace LineHandle
{
inline constexpr int Begin = 1;
inline constexpr int End = 2;
} // namespace LineHandle

// A line's orientation setting (`_line_ori`): free, or held horizontal or vertical.
namespace LineOrientation
{
inline constexpr int Free = 0;
inline constexpr int Horizontal = 1;
inline constexpr int Vertical = 2;
} // namespace LineOrientation
