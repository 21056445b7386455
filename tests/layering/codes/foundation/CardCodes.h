// The names themselves hold the literals.
namespace FillCode
{
inline constexpr QLatin1String Solid{"S"};
}
