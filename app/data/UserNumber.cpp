#include "app/data/UserNumber.h"

#include <QByteArray>

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

const char *ScanDouble(const char *begin, const char *end, double &value)
{
    const char *p = begin;
    while (p < end && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // from_chars rejects a sign of its own, which is exactly the one place where it
    // differs from "%lf" for the numbers users and instruments write.
    if (p == end || *p == '+' || *p == '-')
        return nullptr;
    double parsed = 0.0;
    const auto result = std::from_chars(p, end, parsed, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument)
        return nullptr;
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range still consumed a number: "%lf" gives infinity on overflow and 0 on
        // underflow, told apart by the sign of the exponent.
        const std::string_view token(p, static_cast<size_t>(result.ptr - p));
        const size_t exponent = token.find_first_of("eE");
        const bool underflow = exponent != std::string_view::npos && exponent + 1 < token.size()
            && token[exponent + 1] == '-';
        parsed = underflow ? 0.0 : std::numeric_limits<double>::infinity();
    }
    value = negative ? -parsed : parsed;
    return result.ptr;
}

std::optional<double> ParseUserNumber(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    bytes.replace(',', '.');
    double value = 0.0;
    // "nan", "inf" or an overflow are no value for a field: every check below compares and
    // divides with it, and NaN passes every comparison that should stop it.
    if (!ScanDouble(bytes.constData(), bytes.constData() + bytes.size(), value)
        || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString FormatUserNumber(double value)
{
    // QString::number is locale-independent, unlike printf once the application has set
    // the user's locale.
    return QString::number(value, 'g', 6);
}
