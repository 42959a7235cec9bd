#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "TableData.h"
#include "shell/ModCountry.h"

namespace {

class Locale : public ::testing::Test
{
protected:
    void TearDown() override
    {
        QLocale::setDefault(QLocale::system());
        ModCountry::CommaLocale = 0;
    }
};

TEST_F(Locale, EveryCommaLanguageWritesADecimalComma)
{
    const std::vector<std::string> rows = TableData::Rows("comma_languages.txt");
    ASSERT_EQ(rows.size(), ModCountry::CommaLanguages.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::vector<std::string> fields = TableData::Fields(rows[i]); // identifier, locale
        const QString id = QString::fromStdString(fields[0]);
        EXPECT_EQ(ModCountry::CommaLanguages[i], fields[0]) << i;
        EXPECT_TRUE(ModCountry::IsCommaLanguage(id)) << fields[0];
        if (fields.size() < 2)
            continue;
        QLocale::setDefault(QLocale(QString::fromStdString(fields[1])));
        ModCountry::CheckLocale();
        EXPECT_EQ(ModCountry::GetLocaleText(0, 1), id) << fields[1];
        EXPECT_EQ(ModCountry::NumberText(0.5), "0,5") << fields[1];
    }
}

TEST_F(Locale, OtherLanguagesWriteADecimalPoint)
{
    const char *rows[][2] = {{"en_US", "0409"}, {"en_GB", "0809"}, {"fr_FR", "040c"},
                             {"ja_JP", "0411"}, {"zh_CN", "0804"}, {"zh_TW", "0404"},
                             {"es_MX", "080a"}, {"de_CH", "0807"}, {"C", "0409"}};
    for (const auto &[name, id] : rows) {
        QLocale::setDefault(QLocale(QLatin1String(name)));
        ModCountry::CheckLocale();
        EXPECT_EQ(ModCountry::GetLocaleText(0, 1), id) << name;
        EXPECT_EQ(ModCountry::NumberText(0.5), "0.5") << name;
    }
    EXPECT_EQ(ModCountry::LanguageIdOf(QLocale("de_BE")), 0x0407); // by its language
    EXPECT_EQ(ModCountry::LanguageIdOf(QLocale("es_CU")), 0x040a); // Spanish, not US English
    EXPECT_EQ(ModCountry::GetLocaleText(0x0407, 2), "");
    EXPECT_FALSE(ModCountry::IsCommaLanguage("0C0C")); // exact text comparison
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
