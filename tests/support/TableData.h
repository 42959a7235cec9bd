#pragma once

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

/// The tables written out by hand in tests/data: one entry or row a line, '#' lines are comments.
/// A row's fields are words (numbers, names) and texts in double quotes, blanks kept.
namespace TableData {

inline std::vector<std::string> Rows(const std::string &file)
{
    std::ifstream in(std::string(MXRF_TEST_DATA) + "/" + file);
    EXPECT_TRUE(in.good()) << file;
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#')
            rows.push_back(line);
    }
    return rows;
}

/// The fields of a row in order, a text with its quotes.
inline std::vector<std::string> Fields(const std::string &row)
{
    static const std::regex field(R"("[^"]*"|[^\s"]+)");
    return {std::sregex_token_iterator(row.begin(), row.end(), field), {}};
}

/// The texts of a row in order, without their quotes.
inline std::vector<std::string> Texts(const std::string &row)
{
    std::vector<std::string> texts;
    for (const std::string &field : Fields(row)) {
        if (field[0] == '"')
            texts.push_back(field.substr(1, field.size() - 2));
    }
    return texts;
}

/// The numbers of a row in order.
inline std::vector<double> Numbers(const std::string &row)
{
    std::vector<double> numbers;
    for (const std::string &field : Fields(row)) {
        char *end = nullptr;
        const double value = std::strtod(field.c_str(), &end);
        if (*end == '\0')
            numbers.push_back(value);
    }
    return numbers;
}

/// The numbers of a file's rows in order; a row led by a name counts only for the table of that
/// name.
inline std::vector<double> Entries(const std::string &file, const std::string &table)
{
    std::vector<double> entries;
    for (const std::string &row : Rows(file)) {
        const std::vector<double> numbers = Numbers(row);
        if (std::isdigit(static_cast<unsigned char>(row[0])) || row.starts_with(table + ' '))
            entries.insert(entries.end(), numbers.begin(), numbers.end());
    }
    return entries;
}

} // namespace TableData
