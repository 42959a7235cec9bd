#pragma once

#include <array>
#include <cstdint>

#include <QLocale>
#include <QString>

/// The locale's decimal separator and the one conversion between numbers and their text that
/// every summary and editor uses. Depends on nothing else of ours.
namespace ModCountry {

/// 1 when the user's language writes decimals with a comma; 0 until `CheckLocale` ran.
extern std::int32_t CommaLocale;

/// Windows language identifiers (four lower-case hex digits) whose locales use a decimal comma,
/// kept as the unit's software has always listed them, duplicates and odd entries included.
extern const std::array<const char *, 83> CommaLanguages;

/// The locale text of type `type` for a Windows locale identifier; only type 1 (the language
/// identifier as four lower-case hex digits) is known here. Locale 0 is the user's locale,
/// taken from the default QLocale (the system's unless the program set another).
QString GetLocaleText(std::uint32_t locale, int type);

/// The Windows language identifier of a locale, found by language, script and territory
/// ("de_DE" -> 0x0407, "fr_BE" -> 0x080c); a locale the table lacks gets its language's main
/// identifier, and an unknown language (or the C locale) English (United States), 0x0409.
std::uint16_t LanguageIdOf(const QLocale &locale);

/// True when `languageText` is one of `CommaLanguages` (exact, case-sensitive comparison).
bool IsCommaLanguage(const QString &languageText);

/// Sets `CommaLocale` from the user's locale.
void CheckLocale();

/// A number as the program shows it: shortest form with up to 15 significant digits, no
/// trailing zeros, whole numbers without a separator, the locale's decimal separator.
QString NumberText(double value);

/// A typed number: surrounding blanks are ignored and both the locale's separator and a full
/// stop are read as the decimal separator (a comma only when `CommaLocale` is 1). `ok` tells
/// whether the whole text was a finite number; the result is 0 when it was not.
double ParseNumber(const QString &text, bool *ok);

} // namespace ModCountry
