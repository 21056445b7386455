#include "model/DesignSettings.h"

#include "foundation/CardCodes.h"
#include "model/CardPageFields.h"

#include <algorithm>
#include <vector>

namespace
{
bool sameFacts(const WorkbookFacts &a, const WorkbookFacts &b)
{
    return a.size == b.size && a.modifiedMs == b.modifiedMs && a.sha256 == b.sha256 &&
           a.loadedAt == b.loadedAt && a.sheet == b.sheet && a.firstRow == b.firstRow &&
           a.columns == b.columns;
}

bool sameMarks(const UncomputedFormulas &a, const UncomputedFormulas &b)
{
    const std::vector<UncomputedFormulas::Run> x = a.runs(), y = b.runs();
    return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const auto &r, const auto &s) {
        return r.column == s.column && r.first == s.first && r.last == s.last;
    });
}
} // namespace

DesignSettings::Outline DesignSettings::outlineOf(const QString &code)
{
    if (code == OutlineCode::RoundedRectangle)
        return RoundedRectangle;
    if (code == OutlineCode::Ellipse)
        return Ellipse;
    return Rectangle;
}

QString DesignSettings::codeOf(int outline)
{
    return outline == RoundedRectangle ? QString(OutlineCode::RoundedRectangle)
           : outline == Ellipse        ? QString(OutlineCode::Ellipse)
                                       : QString(OutlineCode::Rectangle);
}

QSizeF DesignSettings::cardSize() const
{
    return m_cardSize.isValid() && !m_cardSize.isEmpty() ? m_cardSize : DefaultCardSize;
}

void DesignSettings::resetPages()
{
    const QColor black(0, 0, 0);
    frontPage.resetForNewDesign(black, Card_Property::defaultContentFont());
    backPage.resetForNewDesign(black, Card_Property::defaultContentFont());
    m_outlineCode = OutlineCode::Rectangle;
    m_cardSize = QSizeF(0, 0);
}

bool DesignSettings::operator==(const DesignSettings &other) const
{
    return m_outlineCode == other.m_outlineCode && m_cardSize == other.m_cardSize &&
           samePage(frontPage, other.frontPage) && samePage(backPage, other.backPage) &&
           sameBinding(binding, other.binding);
}

bool DesignSettings::samePicture(const std::optional<Picture> &a, const std::optional<Picture> &b)
{
    if (!a || !b)
        return !a && !b;
    // A picture kept encoded is its source: comparing pixels would decode it in full.
    if (a->sameContent(*b))
        return true;
    return !a->encoded() && !b->encoded() && a->size() == b->size() && a->vector() == b->vector() &&
           a->drawing() == b->drawing() && a->image() == b->image();
}

bool DesignSettings::samePage(const Card_Property &a, const Card_Property &b)
{
    // The background picture follows its path, except when it could not be read: compare both.
    return samePicture(a.Card_BG_Image, b.Card_BG_Image) && CardPageFields::sameFields(a, b);
}

bool DesignSettings::sameBinding(const ExcelBindingTable &a, const ExcelBindingTable &b)
{
    return a.Excel_Binding_Use == b.Excel_Binding_Use && a.Excel_Source_Path == b.Excel_Source_Path &&
           a.columnTitles() == b.columnTitles() && a.rows() == b.rows() && a.sheetRows() == b.sheetRows() &&
           sameMarks(a.uncomputedFormulas(), b.uncomputedFormulas()) &&
           sameFacts(a.sourceFacts, b.sourceFacts);
}
