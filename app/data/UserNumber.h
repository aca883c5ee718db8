// The two text forms of numbers that users type and read back in the edit fields.
#ifndef VELA_APP_DATA_USERNUMBER_H
#define VELA_APP_DATA_USERNUMBER_H

#include <QString>

#include <optional>

/// Reads one number from the start of a typed text, as a field value: every "," becomes ".",
/// leading blanks are skipped and the longest number there is taken ("12.5 m" gives 12.5).
/// Independent of the locale. Returns nothing when the text does not start with a number, or
/// when the number is not finite ("nan", "inf", "1e999"): such a field counts as missing.
std::optional<double> ParseUserNumber(const QString &text);

/// Writes a number back into a field in the shortest general form ("%g": 6 significant
/// digits, no trailing zeros, exponent form when large or small). Always with a decimal point.
QString FormatUserNumber(double value);

/// Scans one floating-point number starting at `begin` (after optional blanks), as the C "%lf"
/// conversion does, but never locale-dependent. Returns the position after the number, or
/// nullptr when no number starts there. Used by the text readers.
const char *ScanDouble(const char *begin, const char *end, double &value);

#endif // VELA_APP_DATA_USERNUMBER_H
