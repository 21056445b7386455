// The stored fields of the page settings in the design file's order, each with its name, kind and
// member: the one list that the design file's writer and reader and the keyed archive go by.
#pragma once

#include "model/Card_Property.h"

#include <array>
#include <string_view>
#include <variant>

namespace CardPageFields
{

// In the order of the Member alternatives below.
enum class Kind { Flag, Color, Int, String, Float, Point, Font };

using Member = std::variant<bool Card_Property::*, QColor Card_Property::*, qint32 Card_Property::*,
                            QString Card_Property::*, float Card_Property::*, QPointF Card_Property::*,
                            FontDescriptor Card_Property::*>;

struct Field {
    const char *name; // the name the keyed archive stores it under
    Kind kind;
    Member member;
};

// A new page field is one more row here (and its member in Card_Property).
inline constexpr std::array<Field, 26> Table{{
    {"Card_border_chk", Kind::Flag, &Card_Property::Card_border_chk},
    {"Card_bordr_clr", Kind::Color, &Card_Property::Card_bordr_clr},
    {"Card_bor_Stepper", Kind::Int, &Card_Property::Card_bor_Stepper},
    {"Card_border_style", Kind::String, &Card_Property::Card_border_style},
    {"Card_fill_chk", Kind::Flag, &Card_Property::Card_fill_chk},
    {"Card_fill_style", Kind::String, &Card_Property::Card_fill_style},
    {"Card_fill_clr", Kind::Color, &Card_Property::Card_fill_clr},
    {"Card_fill_Grd_1_clr", Kind::Color, &Card_Property::Card_fill_Grd_1_clr},
    {"Card_fill_Grd_2_clr", Kind::Color, &Card_Property::Card_fill_Grd_2_clr},
    {"Card_grad_Stepper", Kind::Int, &Card_Property::Card_grad_Stepper},
    {"Card_hatch_style", Kind::String, &Card_Property::Card_hatch_style},
    {"Card_hatch_bk_clr", Kind::Color, &Card_Property::Card_hatch_bk_clr},
    {"Card_alpha_Stepper", Kind::Float, &Card_Property::Card_alpha_Stepper},
    {"Card_Side", Kind::String, &Card_Property::Card_Side},
    {"Card_Side_Name", Kind::String, &Card_Property::Card_Side_Name},
    {"Card_Name", Kind::String, &Card_Property::Card_Name},
    {"Card_Location", Kind::Point, &Card_Property::Card_Location},
    {"Card_Preset", Kind::String, &Card_Property::Card_Preset},
    {"Card_Category", Kind::String, &Card_Property::Card_Category},
    {"Card_Sub_Category", Kind::String, &Card_Property::Card_Sub_Category},
    {"Card_Cat_index", Kind::Int, &Card_Property::Card_Cat_index},
    {"Card_Create_Mode", Kind::String, &Card_Property::Card_Create_Mode},
    {"Card_BG_Image_Path", Kind::String, &Card_Property::Card_BG_Image_Path},
    {"Card_BG_Image_Layout", Kind::String, &Card_Property::Card_BG_Image_Layout},
    {"Card_Content_clr", Kind::Color, &Card_Property::Card_Content_clr},
    {"Card_Content_font", Kind::Font, &Card_Property::Card_Content_font},
}};

inline constexpr int Count = int(Table.size());

// The card's outline and size belong to the design, one for both sides, yet the design file stores
// them on each page among the page fields: the outline code after Card_Side_Name, the size after
// Card_Location. A stored side holds these two and the page fields at the other places.
inline constexpr const char *OutlineName = "Card_Shape";
inline constexpr const char *SizeName = "Card_Size";
inline constexpr int OutlinePlace = 15;
inline constexpr int SizePlace = 18;
inline constexpr int StoredCount = Count + 2;

// The row of Table stored at a place that holds neither the outline nor the size.
constexpr int pageFieldAt(int place)
{
    return place - (place > OutlinePlace ? 1 : 0) - (place > SizePlace ? 1 : 0);
}
static_assert(std::string_view(Table[pageFieldAt(OutlinePlace - 1)].name) == "Card_Side_Name" &&
                  std::string_view(Table[pageFieldAt(SizePlace - 1)].name) == "Card_Location",
              "the outline and size keep their places in a stored side");

constexpr bool kindsMatchMembers()
{
    for (const Field &f : Table)
        if (int(f.kind) != int(f.member.index()))
            return false;
    return true;
}
static_assert(kindsMatchMembers(), "a page field's kind must name its member's type");

// Whether two page settings hold the same value in every stored field.
inline bool sameFields(const Card_Property &a, const Card_Property &b)
{
    for (const Field &f : Table) {
        if (!std::visit([&](auto member) { return a.*member == b.*member; }, f.member))
            return false;
    }
    return true;
}

// The member of a field as a typed pointer: get<QColor>(field) on a Color field.
template <typename T> T Card_Property::*get(const Field &field)
{
    return std::get<T Card_Property::*>(field.member);
}

} // namespace CardPageFields
