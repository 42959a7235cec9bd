#include "shell/ModCountry.h"

#include <cmath>
#include <utility>

namespace ModCountry {

std::int32_t CommaLocale = 0;

const std::array<const char *, 83> CommaLanguages{
    "041c", "082c", "042c", "042a", "0423", "201a", "141a", "0402", "0403", "041a", "101a", "0405",
    "0406", "0831", "0413", "0425", "0438", "040b", "080c", "0c0c", "140c", "180c", "0462", "0456",
    "0437", "0c07", "0407", "1007", "0408", "040e", "040f", "0421", "0410", "043f", "0440", "0426",
    "0427", "083e", "043e", "0450", "0414", "0841", "0415", "0816", "0816", "046b", "086b", "0c6b",
    "0418", "0419", "0243", "0103", "0143", "00c3", "0043", "0083", "0203", "0183", "01c3", "1c1a",
    "181a", "0c1a", "081a", "041b", "0424", "2c0a", "400a", "240a", "340a", "140a", "300a", "3c0a",
    "040a", "380a", "200a", "081d", "041d", "0444", "041f", "0422", "0843", "0443", "042a"};

namespace {

constexpr std::uint16_t EnglishUnitedStates = 0x0409;

/// Locale names (language, language_Script_TERRITORY or language_TERRITORY) and their Windows
/// language identifiers. A bare language names the identifier its main country uses. Serbia
/// and Spain keep the identifiers Windows gave them when the comma list was drawn up.
constexpr std::pair<const char *, std::uint16_t> LanguageIds[] = {
    {"af", 0x0436},         {"af_ZA", 0x0436},      {"ar", 0x0401},         {"ar_AE", 0x3801},
    {"ar_BH", 0x3c01},      {"ar_DZ", 0x1401},      {"ar_EG", 0x0c01},      {"ar_IQ", 0x0801},
    {"ar_JO", 0x2c01},      {"ar_KW", 0x3401},      {"ar_LB", 0x3001},      {"ar_LY", 0x1001},
    {"ar_MA", 0x1801},      {"ar_OM", 0x2001},      {"ar_QA", 0x4001},      {"ar_SA", 0x0401},
    {"ar_SY", 0x2801},      {"ar_TN", 0x1c01},      {"ar_YE", 0x2401},      {"az", 0x042c},
    {"az_Cyrl_AZ", 0x082c}, {"az_Latn_AZ", 0x042c}, {"be", 0x0423},         {"be_BY", 0x0423},
    {"bg", 0x0402},         {"bg_BG", 0x0402},      {"bn", 0x0445},         {"bn_BD", 0x0845},
    {"bn_IN", 0x0445},      {"bs", 0x141a},         {"bs_Cyrl_BA", 0x201a}, {"bs_Latn_BA", 0x141a},
    {"ca", 0x0403},         {"ca_ES", 0x0403},      {"cs", 0x0405},         {"cs_CZ", 0x0405},
    {"cy", 0x0452},         {"cy_GB", 0x0452},      {"da", 0x0406},         {"da_DK", 0x0406},
    {"de", 0x0407},         {"de_AT", 0x0c07},      {"de_CH", 0x0807},      {"de_DE", 0x0407},
    {"de_LI", 0x1407},      {"de_LU", 0x1007},      {"el", 0x0408},         {"el_GR", 0x0408},
    {"en", 0x0409},         {"en_AU", 0x0c09},      {"en_CA", 0x1009},      {"en_GB", 0x0809},
    {"en_IE", 0x1809},      {"en_IN", 0x4009},      {"en_NZ", 0x1409},      {"en_PH", 0x3409},
    {"en_SG", 0x4809},      {"en_US", 0x0409},      {"en_ZA", 0x1c09},      {"es", 0x040a},
    {"es_AR", 0x2c0a},      {"es_BO", 0x400a},      {"es_CL", 0x340a},      {"es_CO", 0x240a},
    {"es_CR", 0x140a},      {"es_DO", 0x1c0a},      {"es_EC", 0x300a},      {"es_ES", 0x040a},
    {"es_GT", 0x100a},      {"es_HN", 0x480a},      {"es_MX", 0x080a},      {"es_NI", 0x4c0a},
    {"es_PA", 0x180a},      {"es_PE", 0x280a},      {"es_PR", 0x500a},      {"es_PY", 0x3c0a},
    {"es_SV", 0x440a},      {"es_US", 0x540a},      {"es_UY", 0x380a},      {"es_VE", 0x200a},
    {"et", 0x0425},         {"et_EE", 0x0425},      {"eu", 0x042d},         {"eu_ES", 0x042d},
    {"fa", 0x0429},         {"fa_IR", 0x0429},      {"fi", 0x040b},         {"fi_FI", 0x040b},
    {"fil", 0x0464},        {"fil_PH", 0x0464},     {"fo", 0x0438},         {"fo_FO", 0x0438},
    {"fr", 0x040c},         {"fr_BE", 0x080c},      {"fr_CA", 0x0c0c},      {"fr_CH", 0x100c},
    {"fr_FR", 0x040c},      {"fr_LU", 0x140c},      {"fr_MC", 0x180c},      {"fy", 0x0462},
    {"fy_NL", 0x0462},      {"ga", 0x083c},         {"ga_IE", 0x083c},      {"gl", 0x0456},
    {"gl_ES", 0x0456},      {"gu", 0x0447},         {"gu_IN", 0x0447},      {"he", 0x040d},
    {"he_IL", 0x040d},      {"hi", 0x0439},         {"hi_IN", 0x0439},      {"hr", 0x041a},
    {"hr_BA", 0x101a},      {"hr_HR", 0x041a},      {"hu", 0x040e},         {"hu_HU", 0x040e},
    {"hy", 0x042b},         {"hy_AM", 0x042b},      {"id", 0x0421},         {"id_ID", 0x0421},
    {"is", 0x040f},         {"is_IS", 0x040f},      {"it", 0x0410},         {"it_CH", 0x0810},
    {"it_IT", 0x0410},      {"ja", 0x0411},         {"ja_JP", 0x0411},      {"ka", 0x0437},
    {"ka_GE", 0x0437},      {"kk", 0x043f},         {"kk_KZ", 0x043f},      {"km", 0x0453},
    {"km_KH", 0x0453},      {"kn", 0x044b},         {"kn_IN", 0x044b},      {"ko", 0x0412},
    {"ko_KR", 0x0412},      {"ky", 0x0440},         {"ky_KG", 0x0440},      {"lb", 0x046e},
    {"lb_LU", 0x046e},      {"lo", 0x0454},         {"lo_LA", 0x0454},      {"lt", 0x0427},
    {"lt_LT", 0x0427},      {"lv", 0x0426},         {"lv_LV", 0x0426},      {"mk", 0x042f},
    {"mk_MK", 0x042f},      {"ml", 0x044c},         {"ml_IN", 0x044c},      {"mn", 0x0450},
    {"mn_MN", 0x0450},      {"mr", 0x044e},         {"mr_IN", 0x044e},      {"ms", 0x043e},
    {"ms_BN", 0x083e},      {"ms_MY", 0x043e},      {"mt", 0x043a},         {"mt_MT", 0x043a},
    {"nb", 0x0414},         {"nb_NO", 0x0414},      {"ne", 0x0461},         {"ne_NP", 0x0461},
    {"nl", 0x0413},         {"nl_BE", 0x0813},      {"nl_NL", 0x0413},      {"nn", 0x0814},
    {"nn_NO", 0x0814},      {"pa", 0x0446},         {"pa_IN", 0x0446},      {"pl", 0x0415},
    {"pl_PL", 0x0415},      {"pt", 0x0416},         {"pt_BR", 0x0416},      {"pt_PT", 0x0816},
    {"qu", 0x046b},         {"qu_BO", 0x046b},      {"qu_EC", 0x086b},      {"qu_PE", 0x0c6b},
    {"rm", 0x0417},         {"rm_CH", 0x0417},      {"ro", 0x0418},         {"ro_RO", 0x0418},
    {"ru", 0x0419},         {"ru_RU", 0x0419},      {"si", 0x045b},         {"si_LK", 0x045b},
    {"sk", 0x041b},         {"sk_SK", 0x041b},      {"sl", 0x0424},         {"sl_SI", 0x0424},
    {"sq", 0x041c},         {"sq_AL", 0x041c},      {"sr", 0x0c1a},         {"sr_Cyrl_BA", 0x1c1a},
    {"sr_Cyrl_ME", 0x301a}, {"sr_Cyrl_RS", 0x0c1a}, {"sr_Latn_BA", 0x181a}, {"sr_Latn_ME", 0x2c1a},
    {"sr_Latn_RS", 0x081a}, {"sv", 0x041d},         {"sv_FI", 0x081d},      {"sv_SE", 0x041d},
    {"sw", 0x0441},         {"sw_KE", 0x0441},      {"ta", 0x0449},         {"ta_IN", 0x0449},
    {"te", 0x044a},         {"te_IN", 0x044a},      {"th", 0x041e},         {"th_TH", 0x041e},
    {"tr", 0x041f},         {"tr_TR", 0x041f},      {"tt", 0x0444},         {"tt_RU", 0x0444},
    {"uk", 0x0422},         {"uk_UA", 0x0422},      {"ur", 0x0420},         {"ur_PK", 0x0420},
    {"uz", 0x0443},         {"uz_Cyrl_UZ", 0x0843}, {"uz_Latn_UZ", 0x0443}, {"vi", 0x042a},
    {"vi_VN", 0x042a},      {"zh", 0x0804},         {"zh_Hans_CN", 0x0804}, {"zh_Hans_SG", 0x1004},
    {"zh_Hant_HK", 0x0c04}, {"zh_Hant_MO", 0x1404}, {"zh_Hant_TW", 0x0404}, {"zu", 0x0435},
    {"zu_ZA", 0x0435}};

bool FindLanguageId(const QString &name, std::uint16_t *id)
{
    for (const auto &[localeName, languageId] : LanguageIds) {
        if (name == QLatin1String(localeName)) {
            *id = languageId;
            return true;
        }
    }
    return false;
}

QString HexText(std::uint16_t languageId)
{
    return QStringLiteral("%1").arg(languageId, 4, 16, QLatin1Char('0'));
}

} // namespace

QString GetLocaleText(std::uint32_t locale, int type)
{
    if (type != 1)
        return {};
    if (locale == 0)
        return HexText(LanguageIdOf(QLocale()));
    return HexText(static_cast<std::uint16_t>(locale & 0xFFFF));
}

std::uint16_t LanguageIdOf(const QLocale &locale)
{
    const QString language = QLocale::languageToCode(locale.language());
    const QString script = QLocale::scriptToCode(locale.script());
    const QString territory = QLocale::territoryToCode(locale.territory());
    std::uint16_t id = EnglishUnitedStates;
    const QString candidates[] = {language + u'_' + script + u'_' + territory,
                                  language + u'_' + territory, language};
    for (const QString &name : candidates) {
        if (FindLanguageId(name, &id))
            break;
    }
    return id;
}

bool IsCommaLanguage(const QString &languageText)
{
    for (const char *entry : CommaLanguages) {
        if (languageText == QLatin1String(entry))
            return true;
    }
    return false;
}

void CheckLocale()
{
    CommaLocale = 0;
    if (IsCommaLanguage(GetLocaleText(0, 1)))
        CommaLocale = 1;
}

QString NumberText(double value)
{
    if (value == 0.0)
        value = 0.0; // no "-0"
    QString text = QString::number(value, 'g', 15);
    if (CommaLocale == 1)
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

double ParseNumber(const QString &text, bool *ok)
{
    QString plain = text.trimmed();
    if (CommaLocale == 1)
        plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool read = false;
    const double value = plain.toDouble(&read);
    const bool finite = read && std::isfinite(value);
    if (ok)
        *ok = finite;
    return finite ? value : 0.0;
}

} // namespace ModCountry
