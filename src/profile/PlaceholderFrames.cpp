#include "profile/PlaceholderFrames.h"

#include "profile/User_Profile_Class.h"

#include <array>

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
