#include "profile/PlaceholderFrames.h"

#include "profile/User_Profile_Class.h"

#include <algorithm>
#include <array>
#include <limits>

namespace
{
// In record order: name, title, company, slogan, address, phone, fax, e-mail, website, unique
// number, photo. Landscape: the texts down the left, the photo top right, the contact lines in
// two columns along the bottom. Portrait: the photo centred on top, the texts below it.
constexpr std::array<QRectF, User_Profile_Class::DetailCount> landscape = {{
    {8, 8, 150, 20},
    {8, 28, 150, 16},
    {8, 46, 150, 16},
    {8, 62, 150, 16},
    {8, 80, 150, 32},
    {8, 114, 110, 16},
    {8, 130, 110, 16},
    {122, 114, 113, 16},
    {122, 130, 113, 16},
    {162, 82, 73, 16},
    {170, 8, 65, 70},
}};
constexpr std::array<QRectF, User_Profile_Class::DetailCount> portrait = {{
    {8, 72, 138, 20},
    {8, 92, 138, 16},
    {8, 110, 138, 16},
    {8, 126, 138, 16},
    {8, 144, 138, 28},
    {8, 174, 67, 16},
    {79, 174, 67, 16},
    {8, 190, 138, 16},
    {8, 206, 138, 16},
    {8, 222, 138, 16},
    {52, 8, 50, 60},
}};
} // namespace

QRectF PlaceholderFrames::frame(const QString &id, bool isLandscapeCard)
{
    const int index = User_Profile_Class::indexOfId(id);
    if (index < 0)
        return QRectF(0, 0, 0, 0);
    return isLandscapeCard ? landscape[size_t(index)] : portrait[size_t(index)];
}

std::optional<QRectF> PlaceholderFrames::clearFrame(const QRectF &wanted, const QSizeF &card,
                                                    const QList<QRectF> &taken)
{
    // Words that touch read as one line: a little room is kept around what is there.
    constexpr double Gap = 2;
    constexpr double Step = 2;
    const auto clear = [&taken](const QRectF &r) {
        return std::none_of(taken.begin(), taken.end(),
                            [&r](const QRectF &t) { return r.intersects(t.adjusted(-Gap, -Gap, Gap, Gap)); });
    };
    if (QRectF(QPointF(0, 0), card).contains(wanted) && clear(wanted))
        return wanted;
    std::optional<QRectF> best;
    double nearest = std::numeric_limits<double>::max();
    for (double y = 0; y + wanted.height() <= card.height(); y += Step) {
        for (double x = 0; x + wanted.width() <= card.width(); x += Step) {
            const double dx = x - wanted.x();
            const double dy = y - wanted.y();
            const double distance = dx * dx + dy * dy;
            const QRectF r(x, y, wanted.width(), wanted.height());
            if (distance < nearest && clear(r)) {
                nearest = distance;
                best = r;
            }
        }
    }
    return best;
}
