#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "shell/ModCountry.h"

namespace {

QString LanguageText(const char *name)
{
    return QStringLiteral("%1").arg(ModCountry::LanguageIdOf(QLocale(QLatin1String(name))), 4, 16,
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
    EXPECT_EQ(LanguageText("de_DE"), "0407");
    EXPECT_EQ(LanguageText("en_US"), "0409");
    EXPECT_EQ(LanguageText("fr_FR"), "040c");
    EXPECT_EQ(LanguageText("fr_BE"), "080c");
    EXPECT_EQ(LanguageText("fr_CA"), "0c0c");
    EXPECT_EQ(LanguageText("sr_Latn_RS"), "081a");
    EXPECT_EQ(LanguageText("az_Cyrl_AZ"), "082c");
    EXPECT_EQ(LanguageText("zh_TW"), "0404");
    EXPECT_EQ(LanguageText("de_BE"), "0407"); // territory unknown: the language's own
    EXPECT_EQ(LanguageText("C"), "0409");
    EXPECT_EQ(ModCountry::GetLocaleText(0x0c0c, 1), "0c0c");
    EXPECT_EQ(ModCountry::GetLocaleText(0x0407, 2), "");
}

TEST_F(Locale, CommaLocalesAreFoundInTheList)
{
    for (const char *name :
         {"sq_AL",      "az_Latn_AZ", "be_BY",      "bs_Cyrl_BA", "bs_Latn_BA", "bg_BG",
          "ca_ES",      "hr_HR",      "hr_BA",      "cs_CZ",      "da_DK",      "nl_NL",
          "et_EE",      "fo_FO",      "fi_FI",      "fr_LU",      "fr_MC",      "fy_NL",
          "gl_ES",      "ka_GE",      "de_AT",      "de_LU",      "el_GR",      "hu_HU",
          "is_IS",      "id_ID",      "it_IT",      "kk_KZ",      "ky_KG",      "lv_LV",
          "lt_LT",      "ms_BN",      "ms_MY",      "mn_MN",      "nb_NO",      "pl_PL",
          "pt_PT",      "qu_BO",      "qu_EC",      "qu_PE",      "ro_RO",      "ru_RU",
          "sr_Cyrl_BA", "sr_Latn_BA", "sr_Cyrl_RS", "sk_SK",      "sl_SI",      "es_AR",
          "es_BO",      "es_CO",      "es_CL",      "es_CR",      "es_EC",      "es_PY",
          "es_ES",      "es_UY",      "es_VE",      "sv_FI",      "sv_SE",      "tt_RU",
          "tr_TR",      "uk_UA",      "uz_Cyrl_UZ", "uz_Latn_UZ", "vi_VN"})
        EXPECT_TRUE(ModCountry::IsCommaLanguage(LanguageText(name))) << name;
    for (const char *name : {"en_US", "en_GB", "fr_FR", "ja_JP", "zh_CN", "es_MX", "de_CH"})
        EXPECT_FALSE(ModCountry::IsCommaLanguage(LanguageText(name))) << name;
    EXPECT_FALSE(ModCountry::IsCommaLanguage("0C0C")); // exact text comparison
}

TEST_F(Locale, CheckLocaleReadsTheUsersLocale)
{
    struct Row
    {
        const char *locale;
        int comma;
    };
    for (const Row row : {Row {"de_DE", 1}, Row {"en_US", 0}, Row {"fr_FR", 0}, Row {"fr_BE", 1}}) {
        QLocale::setDefault(QLocale(QLatin1String(row.locale)));
        ModCountry::CheckLocale();
        EXPECT_EQ(ModCountry::CommaLocale, row.comma) << row.locale;
    }
}

TEST_F(Locale, NumbersPrintInTheirShortestForm)
{
    EXPECT_EQ(ModCountry::NumberText(0.5), "0.5");
    EXPECT_EQ(ModCountry::NumberText(20000), "20000");
    EXPECT_EQ(ModCountry::NumberText(-90), "-90");
    EXPECT_EQ(ModCountry::NumberText(-0.0), "0");
    EXPECT_EQ(ModCountry::NumberText(300.499 * 0.34), "102.16966");
    EXPECT_EQ(ModCountry::NumberText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(ModCountry::NumberText(0.1 + 0.2), "0.3");
    ModCountry::CommaLocale = 1;
    EXPECT_EQ(ModCountry::NumberText(-12.5), "-12,5");
    EXPECT_EQ(ModCountry::DecimalSeparator(), QLatin1Char(','));
}

TEST_F(Locale, TypedNumbersAcceptTheLocalesSeparator)
{
    bool ok = false;
    EXPECT_EQ(ModCountry::ParseNumber(" -12.1 ", &ok), -12.1);
    EXPECT_TRUE(ok);
    ModCountry::ParseNumber("0,5", &ok);
    EXPECT_FALSE(ok); // a comma is not a decimal separator here
    for (const char *bad : {"", "abc", "1.2.3", "inf", "nan", "-", "1e999"}) {
        EXPECT_EQ(ModCountry::ParseNumber(bad, &ok), 0.0) << bad;
        EXPECT_FALSE(ok) << bad;
    }
    ModCountry::CommaLocale = 1;
    EXPECT_EQ(ModCountry::ParseNumber("0,5", &ok), 0.5);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ModCountry::ParseNumber("0.5", &ok), 0.5);
    EXPECT_TRUE(ok);
    ModCountry::ParseNumber("1,2,3", &ok);
    EXPECT_FALSE(ok);
}

} // namespace
