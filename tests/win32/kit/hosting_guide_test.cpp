// The host guide, docs/hosting.md, against the public header: every message
// number, constant, record size, field offset and field size in its tables
// is the header's, every one of the header's is in the guide, and every name
// of the protocol the guide mentions is spelled as the header spells it.
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "plugin/caltool.h"
#include "tests/win32/support/plugin_loader.h"

namespace {

std::string g_guidePath;
std::string g_headerText;  // caltool.h and cal_protocol.h together

#define CAL_NUMBER(name)                                                                                     \
    {                                                                                                        \
#name, static_cast < long>(name)                                                                     \
    }
const std::map<std::string, long> kNumbers = {CAL_NUMBER(CTM_GETSETTINGS), CAL_NUMBER(CTM_SETSETTINGS),
    CAL_NUMBER(CTM_CREATEPAGE), CAL_NUMBER(CTM_GETIDEALSIZE), CAL_NUMBER(CTM_FITSIZE),
    CAL_NUMBER(CTM_FITSIZE2), CAL_NUMBER(CTM_FITSIZE3), CAL_NUMBER(CTN_SETTINGSCHANGED),
    CAL_NUMBER(CTN_SHOWPROPERTIES), CAL_NUMBER(CTN_PAINTBACKGROUND), CAL_NUMBER(CAL_PAGE_APPLY_COMMAND),
    CAL_NUMBER(CTM_SETDAYMARKS), CAL_NUMBER(CTN_GETDAYMARKS), CAL_NUMBER(CTM_GETSELECTION),
    CAL_NUMBER(CTM_SETSELECTION), CAL_NUMBER(CTN_SELCHANGE), CAL_NUMBER(CTN_SELECT), CAL_NUMBER(CTN_GETDAYTEXT)};
#undef CAL_NUMBER

struct Field {
    size_t offset;
    size_t size;
};
struct Record {
    size_t size;
    std::map<std::string, Field> fields;
};
#define CAL_FIELD(type, name)                                                                                \
    {                                                                                                        \
#name,                                                                                               \
        {                                                                                                    \
            offsetof(type, name), sizeof(static_cast<type*>(nullptr)->name)                                  \
        }                                                                                                    \
    }
const std::map<std::string, Record> kRecords = {
    {"CalToolSettings",
        {sizeof(CalToolSettings),
            {CAL_FIELD(CalToolSettings, weekNumbers), CAL_FIELD(CalToolSettings, firstDay),
                CAL_FIELD(CalToolSettings, chooseFont), CAL_FIELD(CalToolSettings, font),
                CAL_FIELD(CalToolSettings, useBackground)}}},
    {"CalToolTypeInfo",
        {sizeof(CalToolTypeInfo),
            {CAL_FIELD(CalToolTypeInfo, name), CAL_FIELD(CalToolTypeInfo, description),
                CAL_FIELD(CalToolTypeInfo, image), CAL_FIELD(CalToolTypeInfo, mask)}}},
    {"CalBackgroundRequest",
        {sizeof(CalBackgroundRequest),
            {CAL_FIELD(CalBackgroundRequest, window), CAL_FIELD(CalBackgroundRequest, dc),
                CAL_FIELD(CalBackgroundRequest, rect), CAL_FIELD(CalBackgroundRequest, reserved)}}},
    {"CalFitRequest",
        {sizeof(CalFitRequest),
            {CAL_FIELD(CalFitRequest, minWidth), CAL_FIELD(CalFitRequest, minHeight),
                CAL_FIELD(CalFitRequest, maxWidth), CAL_FIELD(CalFitRequest, maxHeight),
                CAL_FIELD(CalFitRequest, byHeight), CAL_FIELD(CalFitRequest, proposed)}}},
    {"CalDayMarks",
        {sizeof(CalDayMarks),
            {CAL_FIELD(CalDayMarks, year), CAL_FIELD(CalDayMarks, month), CAL_FIELD(CalDayMarks, days)}}},
    {"CalDayText",
        {sizeof(CalDayText),
            {CAL_FIELD(CalDayText, date), CAL_FIELD(CalDayText, text), CAL_FIELD(CalDayText, capacity)}}},
};
#undef CAL_FIELD

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.empty() || line.back() != '\r' ? line : line.substr(0, line.size() - 1));
    return lines;
}

// The cells of a table row, trimmed; empty for a line that is no table row.
std::vector<std::string> Cells(const std::string& line)
{
    std::vector<std::string> cells;
    if (line.size() < 2 || line.front() != '|' || line.back() != '|')
        return cells;
    std::istringstream in(line.substr(1, line.size() - 2));
    for (std::string cell; std::getline(in, cell, '|');) {
        const size_t first = cell.find_first_not_of(' ');
        const size_t last = cell.find_last_not_of(' ');
        cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
    }
    return cells;
}

// `name` -> name; anything else -> "".
std::string Quoted(const std::string& cell)
{
    static const std::regex quoted("`([A-Za-z_][A-Za-z0-9_]*)`");
    std::smatch m;
    return std::regex_match(cell, m, quoted) ? m[1].str() : "";
}

bool Number(const std::string& cell, long* value)
{
    static const std::regex number("(0x[0-9A-Fa-f]+|[0-9]+)");
    if (!std::regex_match(cell, number))
        return false;
    *value = std::stol(cell, nullptr, 0);
    return true;
}

// What the guide's tables say: message rows, record headings and field rows.
struct GuideTables {
    std::map<std::string, std::pair<long, long>> numbers;  // name -> hex cell, decimal cell
    std::map<std::string, long> recordSizes;
    std::map<std::string, std::map<std::string, Field>> fields;
    std::vector<std::string> problems;
};

GuideTables ReadTables(const std::string& text)
{
    static const std::regex recordHeading("### `([A-Za-z]+)` \\(([0-9]+) bytes\\)");
    GuideTables guide;
    std::string record;
    for (const std::string& line : Lines(text)) {
        std::smatch m;
        if (std::regex_match(line, m, recordHeading)) {
            record = m[1];
            guide.recordSizes[record] = std::stol(m[2]);
            continue;
        }
        if (line.rfind("#", 0) == 0)
            record.clear();
        const std::vector<std::string> cells = Cells(line);
        long a = 0, b = 0;
        if (cells.size() >= 3 && !Quoted(cells[0]).empty() && Number(cells[1], &a)) {
            if (!Number(cells[2], &b))
                guide.problems.push_back("no decimal number in: " + line);
            guide.numbers[Quoted(cells[0])] = {a, b};
        } else if (cells.size() >= 3 && Number(cells[0], &a) && Number(cells[1], &b) &&
            !Quoted(cells[2]).empty()) {
            if (record.empty())
                guide.problems.push_back("a field row outside a record's section: " + line);
            else
                guide.fields[record][Quoted(cells[2])] = {size_t(a), size_t(b)};
        }
    }
    return guide;
}

class HostingGuide : public testing::Test {
protected:
    void SetUp() override
    {
        text_ = ReadText(g_guidePath);
        ASSERT_FALSE(text_.empty()) << "cannot read " << g_guidePath;
        guide_ = ReadTables(text_);
    }
    std::string text_;
    GuideTables guide_;
};

TEST_F(HostingGuide, MessageNumbersAreTheHeaders)
{
    EXPECT_TRUE(guide_.problems.empty()) << guide_.problems.front();
    for (const auto& [name, value] : kNumbers) {
        const auto found = guide_.numbers.find(name);
        if (found == guide_.numbers.end()) {
            ADD_FAILURE() << name << " is missing from the guide's message table";
            continue;
        }
        EXPECT_EQ(found->second.first, value) << name << " in hexadecimal";
        EXPECT_EQ(found->second.second, value) << name << " in decimal";
    }
    for (const auto& [name, value] : guide_.numbers)
        EXPECT_TRUE(kNumbers.count(name))
            << "the guide numbers " << name << ", which the header does not define";
}

TEST_F(HostingGuide, RecordSizesOffsetsAndFieldsAreTheHeaders)
{
    EXPECT_EQ(CAL_SETTINGS_SIZE, 132);
    for (const auto& [name, record] : kRecords) {
        ASSERT_TRUE(guide_.recordSizes.count(name)) << "no section for " << name;
        EXPECT_EQ(size_t(guide_.recordSizes[name]), record.size) << name << "'s size";
        const auto& described = guide_.fields[name];
        for (const auto& [field, where] : record.fields) {
            const auto found = described.find(field);
            if (found == described.end()) {
                ADD_FAILURE() << name << "." << field << " is missing from the guide";
                continue;
            }
            EXPECT_EQ(found->second.offset, where.offset) << name << "." << field << "'s offset";
            EXPECT_EQ(found->second.size, where.size) << name << "." << field << "'s size";
        }
        for (const auto& [field, where] : described)
            EXPECT_TRUE(record.fields.count(field)) << "the guide gives " << name << " a field " << field;
    }
    for (const auto& [name, size] : guide_.recordSizes)
        EXPECT_TRUE(kRecords.count(name)) << "the guide describes a record " << name;
}

// Every name of the protocol in the guide (entry points, pointer types,
// records, messages, constants, helpers) occurs in the header as a whole word.
TEST_F(HostingGuide, EveryProtocolNameIsSpelledAsInTheHeader)
{
    static const std::regex quoted("`([A-Za-z_][A-Za-z0-9_]*)");
    static const std::regex protocol(
        "(CTM_|CTN_|CAL_|Cal[A-Z]|CALTOOL|EnumeratePanelTypes|InitCalToolType).*");
    std::set<std::string> names;
    for (auto it = std::sregex_iterator(text_.begin(), text_.end(), quoted); it != std::sregex_iterator();
         ++it)
        if (std::regex_match((*it)[1].str(), protocol))
            names.insert((*it)[1].str());
    EXPECT_GE(names.size(), 20u) << "the guide names too little of the protocol to be checked";
    for (const std::string& name : names) {
        // A prefix such as `CTM_` stands for the family: some name must start with it.
        const bool prefix = name.back() == '_';
        const std::regex word("\\b" + name + (prefix ? "[A-Z]" : "\\b"));
        EXPECT_TRUE(std::regex_search(g_headerText, word))
            << name << (prefix ? " begins no name in the header" : " is not in the header");
    }
    for (const char* entry : {"EnumeratePanelTypes", "InitCalToolType", "CalToolCreate", "CalToolCleanup"})
        EXPECT_TRUE(names.count(entry)) << "the guide does not name the entry point " << entry;
}

TEST(HostingGuideReader, ReadsWhatItIsGivenAndFlagsAWrongNumber)
{
    // The reader itself, on a guide with one wrong number and one stray field:
    // what the checks above rely on to notice drift.
    const GuideTables guide = ReadTables("| `CTM_GETSETTINGS` | 0x469 | 1130 | host |\n"
                                         "### `CalFitRequest` (24 bytes)\n"
                                         "| 0 | 4 | `minWidth` | x |\n"
                                         "| 8 | 4 | `bogus` | y |\n"
                                         "## Next\n"
                                         "| 4 | 4 | `orphan` | z |\n");
    ASSERT_EQ(guide.numbers.count("CTM_GETSETTINGS"), 1u);
    EXPECT_EQ(guide.numbers.at("CTM_GETSETTINGS").first, CTM_GETSETTINGS);
    EXPECT_NE(guide.numbers.at("CTM_GETSETTINGS").second, CTM_GETSETTINGS);
    EXPECT_EQ(guide.recordSizes.at("CalFitRequest"), 24);
    EXPECT_EQ(guide.fields.at("CalFitRequest").at("bogus").offset, 8u);
    EXPECT_EQ(guide.problems.size(), 1u) << "the field row after another heading";
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: hosting_guide_test hosting.md caltool.h cal_protocol.h\n");
        return 2;
    }
    g_guidePath = CalTestWindowsPath(argv[1]);
    g_headerText = ReadText(CalTestWindowsPath(argv[2])) + ReadText(CalTestWindowsPath(argv[3]));
    return RUN_ALL_TESTS();
}
