#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "shell/ModCountry.h"

namespace {

QString LanguageText(const QString &name)
{
    return QStringLiteral("%1").arg(ModCountry::LanguageIdOf(QLocale(name)), 4, 16,
                                    QLatin1Char('0'));
}

class Locale : public ::testing::Test
{
protected:
    void TearDown() override
    {
        QLocale::setDefault(QLocale::system());
        ModCountry::CommaLocale = 0;
    }
};

TEST_F(Locale, LocaleNamesGiveWindowsLanguageIdentifiers)
{
    const char *rows[][2] = {{"de_DE", "0407"}, {"en_US", "0409"},      {"fr_FR", "040c"},
                             {"fr_BE", "080c"}, {"sr_Latn_RS", "081a"}, {"zh_TW", "0404"},
                             {"de_BE", "0407"}, {"C", "0409"}};
    for (const auto &[name, id] : rows)
        EXPECT_EQ(LanguageText(name), id) << name;
    EXPECT_EQ(ModCountry::GetLocaleText(0x0c0c, 1), "0c0c");
    EXPECT_EQ(ModCountry::GetLocaleText(0x0407, 2), "");
}

TEST_F(Locale, CommaLocalesAreFoundInTheList)
{
    const QString commaLocales = QStringLiteral(
        "sq_AL az_Latn_AZ az_Cyrl_AZ be_BY bs_Cyrl_BA bs_Latn_BA bg_BG ca_ES hr_HR hr_BA cs_CZ "
        "da_DK nl_NL et_EE fo_FO fi_FI fr_CA fr_LU fr_MC fy_NL gl_ES ka_GE de_AT de_LU el_GR "
        "hu_HU is_IS id_ID it_IT kk_KZ ky_KG lv_LV lt_LT ms_BN ms_MY mn_MN nb_NO pl_PL pt_PT "
        "qu_BO qu_EC qu_PE ro_RO ru_RU sr_Cyrl_BA sr_Latn_BA sr_Cyrl_RS sk_SK sl_SI es_AR es_BO "
        "es_CO es_CL es_CR es_EC es_PY es_ES es_UY es_VE sv_FI sv_SE tt_RU tr_TR uk_UA uz_Cyrl_UZ "
        "uz_Latn_UZ vi_VN");
    for (const QString &name : commaLocales.split(u' '))
        EXPECT_TRUE(ModCountry::IsCommaLanguage(LanguageText(name))) << name.toStdString();
    for (const char *name : {"en_GB", "ja_JP", "zh_CN", "es_MX", "de_CH"})
        EXPECT_FALSE(ModCountry::IsCommaLanguage(LanguageText(name))) << name;
    EXPECT_FALSE(ModCountry::IsCommaLanguage("0C0C")); // exact text comparison
}

TEST_F(Locale, CheckLocaleReadsTheUsersLocale)
{
    for (const auto &[name, comma] : {std::pair{"de_DE", 1}, {"en_US", 0}, {"fr_FR", 0}}) {
        QLocale::setDefault(QLocale(QLatin1String(name)));
        ModCountry::CheckLocale();
        EXPECT_EQ(ModCountry::CommaLocale, comma) << name;
    }
}

TEST_F(Locale, NumbersPrintInTheirShortestForm)
{
    const std::pair<double, const char *> rows[] = {
        {0.5, "0.5"},       {20000, "20000"},
        {-0.0, "0"},        {300.499 * 0.34, "102.16966"},
        {0.1 + 0.2, "0.3"}, {1.0 / 3, "0.333333333333333"}};
    for (const auto &[value, text] : rows)
        EXPECT_EQ(ModCountry::NumberText(value), text);
    ModCountry::CommaLocale = 1;
    EXPECT_EQ(ModCountry::NumberText(-12.5), "-12,5");
}

TEST_F(Locale, TypedNumbersAcceptTheLocalesSeparator)
{
    bool ok = false;
    EXPECT_EQ(ModCountry::ParseNumber(" -12.1 ", &ok), -12.1);
    EXPECT_TRUE(ok);
    for (const char *bad : {"0,5", "", "abc", "1.2.3", "inf", "nan", "-", "1e999"}) {
        EXPECT_EQ(ModCountry::ParseNumber(bad, &ok), 0.0) << bad;
        EXPECT_FALSE(ok) << bad;
    }
    ModCountry::CommaLocale = 1;
    for (const char *good : {"0,5", "0.5", " 0,5"}) {
        EXPECT_EQ(ModCountry::ParseNumber(good, &ok), 0.5) << good;
        EXPECT_TRUE(ok) << good;
    }
}

} // namespace
