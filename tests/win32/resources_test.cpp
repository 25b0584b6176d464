// Reads the resources back from a built Calendar.dll and checks them against
// what the host expects: the string table, the tool image and its mask (as
// stored and as the platform decodes them), the version resource, the two
// dialog templates, and the language of every resource.
//
// Usage: resources_test [gtest flags] <path of Calendar.dll>
// A Unix path (as the build passes it) is taken to be on Wine's Z: drive.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <string>
#include <vector>

#include "cal_version.h"
#include "resource.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/test_main.h"

namespace {

const WORD kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr int kSize = 16;

// 0x00RRGGBB: how an RGBQUAD reads as a DWORD and how GetDIBits returns
// 32-bit pixels. Printed in hex so that a failure is readable.
struct Rgb {
    DWORD v;
    bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& os, Rgb c)
{
    return os << "0x" << std::hex << std::setw(6) << std::setfill('0') << c.v << std::dec;
}

// The standard 16 colours, then black and white for the mask.
const std::vector<Rgb> kPalette16 = {{0x000000}, {0x800000}, {0x008000}, {0x808000}, {0x000080}, {0x800080},
    {0x008080}, {0xC0C0C0}, {0x808080}, {0xFF0000}, {0x00FF00}, {0xFFFF00}, {0x0000FF}, {0xFF00FF},
    {0x00FFFF}, {0xFFFFFF}};
const std::vector<Rgb> kPalette2 = {{0x000000}, {0xFFFFFF}};

// Top row first. Leaf "11" covers rows 0-10 and columns 0-10, leaf "12"
// rows 5-15 and columns 5-15 and lies on top. 'r' red border (two pixels at
// the top), '#' black digit, '.' white paper, ' ' the white corners neither
// leaf covers, which are exactly what the mask marks transparent.
constexpr char kPicture[kSize][kSize + 1] = {
    "rrrrrrrrrrr     ",
    "rrrrrrrrrrr     ",
    "r.........r     ",
    "r#.#......r     ",
    "r.#.#.....r     ",
    "r.#.#rrrrrrrrrrr",
    "r.#.#rrrrrrrrrrr",
    "r.#.#r.........r",
    "r.#.#r.#...##..r",
    "r....r..#.#..#.r",
    "rrrrrr..#....#.r",
    "     r..#...#..r",
    "     r..#..#...r",
    "     r..#.####.r",
    "     r.........r",
    "     rrrrrrrrrrr",
};

// Checks a 16x16 uncompressed bottom-up bitmap resource: header and palette,
// every stored index against index_of(kPicture), and the platform's decoding
// (what the host draws) against the stored colours.
void ExpectBitmap(HMODULE dll, WORD id, WORD bits, const std::vector<Rgb>& palette, int (*index_of)(char))
{
    HRSRC res = FindResourceA(dll, MAKEINTRESOURCEA(id), RT_BITMAP);
    ASSERT_NE(res, nullptr) << "no bitmap " << id;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(dll, res)));
    ASSERT_NE(data, nullptr);
    const DWORD colours = static_cast<DWORD>(palette.size());
    const DWORD stride = (kSize * bits + 31) / 32 * 4;
    BITMAPINFOHEADER h;
    ASSERT_GE(SizeofResource(dll, res), sizeof h + colours * 4 + stride * kSize) << "cut short";
    std::memcpy(&h, data, sizeof h);
    ASSERT_EQ(h.biSize, sizeof h);
    ASSERT_EQ(h.biWidth, kSize);
    ASSERT_EQ(h.biHeight, kSize) << "expected bottom-up";
    EXPECT_EQ(h.biPlanes, 1);
    ASSERT_EQ(h.biBitCount, bits);
    ASSERT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
    ASSERT_EQ(h.biClrUsed, colours);

    // A nonzero rgbReserved shows up as a high byte.
    std::vector<Rgb> stored(colours);
    std::memcpy(stored.data(), data + sizeof h, colours * 4);
    for (DWORD i = 0; i < colours; ++i)
        EXPECT_EQ(stored[i], palette[i]) << "palette entry " << i;

    HBITMAP bmp = LoadBitmapA(dll, MAKEINTRESOURCEA(id));
    ASSERT_NE(bmp, nullptr) << "LoadBitmapA failed, error " << GetLastError();
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, kSize, -kSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top-down
    std::array<Rgb, kSize * kSize> shown{};
    HDC dc = GetDC(nullptr);
    const int lines = GetDIBits(dc, bmp, 0, kSize, shown.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bmp);
    ASSERT_EQ(lines, kSize) << "GetDIBits failed, error " << GetLastError();

    const BYTE* pixels = data + sizeof h + colours * 4;
    for (int row = 0; row < kSize; ++row) {
        for (int col = 0; col < kSize; ++col) {
            const int bit = col * bits;
            const BYTE* line = pixels + stride * (kSize - 1 - row);
            const int index = (line[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
            EXPECT_EQ(index, index_of(kPicture[row][col]))
                << "stored, row " << row << " col " << col << " '" << kPicture[row][col] << "'";
            // The platform drops rgbReserved; the palette check above reports it.
            EXPECT_EQ(shown[row * kSize + col], Rgb{stored[index].v & 0xFFFFFF})
                << "decoded, row " << row << " col " << col;
        }
    }
}

// A resource type or name as the enumeration hands it over.
struct Id {
    LPCSTR p;
};
std::ostream& operator<<(std::ostream& os, Id id)
{
    if (IS_INTRESOURCE(id.p))
        return os << '#' << reinterpret_cast<ULONG_PTR>(id.p);
    return os << '"' << id.p << '"';
}

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD lang, LONG_PTR langs)
{
    reinterpret_cast<std::vector<WORD>*>(langs)->push_back(lang);
    return TRUE;
}

BOOL CALLBACK ExpectOnlyUsEnglish(HMODULE dll, LPCSTR type, LPSTR name, LONG_PTR count)
{
    std::vector<WORD> langs;
    EnumResourceLanguagesA(dll, type, name, AddLanguage, reinterpret_cast<LONG_PTR>(&langs));
    EXPECT_EQ(langs, std::vector<WORD>{kUsEnglish}) << "resource type " << Id{type} << " name " << Id{name};
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK WalkNames(HMODULE dll, LPSTR type, LONG_PTR count)
{
    EnumResourceNamesA(dll, type, ExpectOnlyUsEnglish, count);
    return TRUE;
}

// A plain (not extended) dialog template, read field by field from the
// resource bytes, every read checked against the resource's size.
struct DialogItem {
    DWORD style, exStyle;
    short x, y, cx, cy;
    WORD id;
    std::string cls, text;  // an ordinal reads "#n"
    WORD extraBytes;
};
struct Dialog {
    DWORD style, exStyle;
    short x, y, cx, cy;
    std::string menu, cls, caption, face;
    WORD pointSize;
    std::vector<DialogItem> items;
};

class TemplateReader {
public:
    TemplateReader(const BYTE* data, DWORD size)
        : data_(data)
        , size_(size)
    {
    }
    bool ok() const { return ok_; }
    size_t offset() const { return at_; }

    template <typename T> T Read()
    {
        T v{};
        if (at_ + sizeof v > size_) {
            ok_ = false;
            return v;
        }
        std::memcpy(&v, data_ + at_, sizeof v);
        at_ += sizeof v;
        return v;
    }
    // A zero-terminated UTF-16 text; non-ASCII shows as '?'.
    std::string Text()
    {
        std::string s;
        for (WORD c = Read<WORD>(); ok_ && c != 0; c = Read<WORD>())
            s.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        return s;
    }
    std::string TextOrOrdinal()
    {
        const size_t start = at_;
        if (Read<WORD>() == 0xFFFF) {
            char ordinal[8];
            std::snprintf(ordinal, sizeof ordinal, "#%u", static_cast<unsigned>(Read<WORD>()));
            return ordinal;
        }
        at_ = start;
        return Text();
    }
    void AlignToDword() { at_ = (at_ + 3) & ~size_t{3}; }

private:
    const BYTE* data_;
    DWORD size_;
    size_t at_ = 0;
    bool ok_ = true;
};

// Reads dialog template id; fails the test when it is missing, extended or
// cut short.
void ReadDialog(HMODULE dll, WORD id, Dialog& d)
{
    HRSRC res = FindResourceA(dll, MAKEINTRESOURCEA(id), RT_DIALOG);
    ASSERT_NE(res, nullptr) << "no dialog template " << id;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(dll, res)));
    ASSERT_NE(data, nullptr);
    TemplateReader r(data, SizeofResource(dll, res));
    d.style = r.Read<DWORD>();
    ASSERT_NE(d.style, 0xFFFF0001u) << "an extended template, not a plain one";
    d.exStyle = r.Read<DWORD>();
    const WORD count = r.Read<WORD>();
    d.x = r.Read<short>();
    d.y = r.Read<short>();
    d.cx = r.Read<short>();
    d.cy = r.Read<short>();
    d.menu = r.TextOrOrdinal();
    d.cls = r.TextOrOrdinal();
    d.caption = r.Text();
    d.pointSize = 0;
    if (d.style & DS_SETFONT) {
        d.pointSize = r.Read<WORD>();
        d.face = r.Text();
    }
    for (WORD i = 0; i < count && r.ok(); ++i) {
        r.AlignToDword();
        DialogItem item{};
        item.style = r.Read<DWORD>();
        item.exStyle = r.Read<DWORD>();
        item.x = r.Read<short>();
        item.y = r.Read<short>();
        item.cx = r.Read<short>();
        item.cy = r.Read<short>();
        item.id = r.Read<WORD>();
        item.cls = r.TextOrOrdinal();
        item.text = r.TextOrOrdinal();
        item.extraBytes = r.Read<WORD>();
        for (WORD b = 0; b < item.extraBytes && r.ok(); ++b)
            r.Read<BYTE>();
        d.items.push_back(item);
    }
    ASSERT_TRUE(r.ok()) << "template " << id << " is cut short at byte " << r.offset();
}

// The predefined classes, which a plain template names by atom.
constexpr const char* kButton = "#128";
constexpr const char* kStatic = "#130";

struct ExpectedItem {
    WORD id;
    const char* cls;
    DWORD style;
    short x, y, cx, cy;
    const char* text;
};

void ExpectItems(const Dialog& d, const std::vector<ExpectedItem>& want)
{
    ASSERT_EQ(d.items.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        const DialogItem& got = d.items[i];
        const ExpectedItem& w = want[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + " (" + w.text + ")");
        EXPECT_EQ(got.id, w.id);
        EXPECT_EQ(got.cls, w.cls);
        EXPECT_EQ(got.style, w.style) << std::hex << "got 0x" << got.style << ", want 0x" << w.style;
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(got.x, w.x);
        EXPECT_EQ(got.y, w.y);
        EXPECT_EQ(got.cx, w.cx);
        EXPECT_EQ(got.cy, w.cy);
        EXPECT_EQ(got.text, w.text);
        EXPECT_EQ(got.extraBytes, 0) << "no creation data";
    }
}

class CalendarResources : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(g_calTestDllPath.empty()) << "usage: resources_test <path of Calendar.dll>";
        // Loaded once and kept: every test reads the same image.
        static HMODULE loaded = LoadLibraryA(g_calTestDllPath.c_str());
        static DWORD error = loaded ? 0 : GetLastError();
        dll_ = loaded;
        ASSERT_NE(dll_, nullptr) << "cannot load " << g_calTestDllPath << ", error " << error;
    }
    HMODULE dll_ = nullptr;
};

TEST_F(CalendarResources, StringTableHoldsExactlyTheExpectedTexts)
{
    const std::pair<UINT, const char*> strings[] = {
        {IDS_PROPERTIES, "Properties"},
        {IDS_ABOUT, "About Calendar"},
        {IDS_TOOLNAME, "Calendar"},
        {IDS_TOOLDESC, "Calendar Tool for Halvex"},
        {IDS_NOTICE, "(C) 2026 The Calendar Tool developers"},
        {IDS_FIRSTDAY, "First day of the week"},
        {IDS_WEEKNUMBERS, "Week numbers"},
        {IDS_SELECTFONT, "Select Font"},
        {IDS_USEBACKGROUND, "User Halvex background"},
        {IDS_PICKDAY, "Pick"},
        {IDS_MARKEDDAY, "Marked"},
    };
    // Around them nothing at all, where a mistyped id would land.
    for (UINT id = 100; id <= 130; ++id) {
        const auto* it =
            std::find_if(std::begin(strings), std::end(strings), [&](auto& s) { return s.first == id; });
        char buf[256] = {};
        const int n = LoadStringA(dll_, id, buf, sizeof buf);
        EXPECT_EQ(std::string(buf, n > 0 ? n : 0), it != std::end(strings) ? it->second : "")
            << "string " << id;
    }
}

TEST_F(CalendarResources, ToolImageShowsTwoLeaves)
{
    ExpectBitmap(dll_, IDB_TOOLIMAGE, 4, kPalette16, [](char c) { return c == '#' ? 0 : c == 'r' ? 9 : 15; });
}

TEST_F(CalendarResources, ToolMaskMarksOnlyTheUncoveredCorners)
{
    ExpectBitmap(dll_, IDB_TOOLMASK, 1, kPalette2, [](char c) { return c == ' ' ? 1 : 0; });
}

TEST_F(CalendarResources, VersionResourceDescribesTheDll)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(g_calTestDllPath.c_str(), &handle);
    ASSERT_GT(size, 0u) << "no version resource, error " << GetLastError();
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(g_calTestDllPath.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    ASSERT_GE(len, sizeof *fixed);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    // The project's version, 1.0.0.3, as CMake hands it to every build product.
    const DWORD versionMS = MAKELONG(CAL_VERSION_MINOR, CAL_VERSION_MAJOR);
    const DWORD versionLS = MAKELONG(CAL_VERSION_TWEAK, CAL_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, versionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, versionLS);
    EXPECT_EQ(fixed->dwProductVersionMS, versionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, versionLS);
    EXPECT_EQ(fixed->dwFileFlagsMask, static_cast<DWORD>(VS_FFI_FILEFLAGSMASK));
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    EXPECT_EQ(fixed->dwFileSubtype, static_cast<DWORD>(VFT2_UNKNOWN));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(
        info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &len));
    ASSERT_EQ(len, 2 * sizeof(WORD)) << "expected exactly one language/code page pair";
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    const std::pair<const char*, const char*> strings[] = {
        {"CompanyName", "The Calendar Tool developers"},
        {"FileDescription", "Calendar"},
        {"FileVersion", CAL_VERSION_RESOURCE_TEXT},
        {"InternalName", "Calendar"},
        {"LegalCopyright", "Copyright (C) 2026 The Calendar Tool developers"},
        {"OriginalFilename", "Calendar.dll"},
        {"ProductName", "Calendar Tool"},
        {"ProductVersion", CAL_VERSION_RESOURCE_TEXT},
    };
    for (const auto& [key, want] : strings) {
        std::string query = "\\StringFileInfo\\040904B0\\";
        query.append(key);
        char* value = nullptr;
        const bool found = VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &len);
        EXPECT_EQ(found && value ? value : "<missing>", std::string(want)) << key;
    }
}

TEST_F(CalendarResources, EveryResourceIsUsEnglish)
{
    // The resources the host asks for by language. Strings are stored
    // sixteen to a block; block n holds ids 16(n-1)..16n-1.
    static_assert(IDS_PROPERTIES >> 4 == IDS_MARKEDDAY >> 4, "all strings are expected in one block");
    const std::pair<LPCSTR, WORD> wanted[] = {{RT_BITMAP, IDB_TOOLIMAGE}, {RT_BITMAP, IDB_TOOLMASK},
        {RT_VERSION, VS_VERSION_INFO}, {RT_STRING, (IDS_PROPERTIES >> 4) + 1}};
    for (const auto& [type, name] : wanted)
        EXPECT_NE(FindResourceExA(dll_, type, MAKEINTRESOURCEA(name), kUsEnglish), nullptr)
            << "type " << Id{type} << " name " << name;

    // Every resource in the file, so that one added later is held to it too.
    int count = 0;
    ASSERT_TRUE(EnumResourceTypesA(dll_, WalkNames, reinterpret_cast<LONG_PTR>(&count)));
    EXPECT_GE(count, 4) << "the walk missed resources";
}

TEST_F(CalendarResources, PropertiesPageTemplateIsABorderlessChildWithTwelveButtons)
{
    Dialog d;
    ASSERT_NO_FATAL_FAILURE(ReadDialog(dll_, 112, d));
    EXPECT_EQ(d.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | DS_SETFONT)) << std::hex << d.style;
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(d.x, 5);
    EXPECT_EQ(d.y, 10);
    EXPECT_EQ(d.cx, 280);
    EXPECT_EQ(d.cy, 100);
    EXPECT_EQ(d.menu, "");
    EXPECT_EQ(d.cls, "");
    EXPECT_EQ(d.caption, "");
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.face, "MS Sans Serif");

    // Only the check boxes and push buttons are tab stops; nothing starts a group.
    const DWORD base = WS_CHILD | WS_VISIBLE;
    const DWORD radio = base | BS_AUTORADIOBUTTON;
    const DWORD check = base | BS_AUTOCHECKBOX | WS_TABSTOP;
    const DWORD push = base | BS_PUSHBUTTON | WS_TABSTOP;
    const std::vector<ExpectedItem> controls = {
        {0xFFFF, kButton, base | BS_GROUPBOX, 9, 7, 107, 85, "First Day of Week"},
        {1047, kButton, radio, 19, 17, 91, 10, "Sunday"},
        {1048, kButton, radio, 19, 28, 91, 10, "Monday"},
        {1049, kButton, radio, 19, 38, 91, 10, "Tuesday"},
        {1050, kButton, radio, 19, 47, 90, 10, "Wednesday"},
        {1051, kButton, radio, 19, 57, 90, 10, "Thursday"},
        {1052, kButton, radio, 19, 68, 90, 10, "Friday"},
        {1053, kButton, radio, 19, 78, 90, 10, "Saturday"},
        {1054, kButton, check, 127, 10, 138, 15, "Week Numbers"},
        {1057, kButton, push, 168, 46, 97, 19, "Select Font..."},
        {1058, kButton, push, 168, 71, 97, 19, "About Calendar..."},
        {1055, kButton, check, 127, 25, 138, 15, "Use Halvex background"},
    };
    ExpectItems(d, controls);
}

TEST_F(CalendarResources, AboutTemplateIsAModalBoxWithoutSystemMenu)
{
    Dialog d;
    ASSERT_NO_FATAL_FAILURE(ReadDialog(dll_, 122, d));
    EXPECT_EQ(d.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT))
        << std::hex << d.style;
    EXPECT_EQ(d.style & WS_SYSMENU, 0u) << "no close box";
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 0);
    EXPECT_EQ(d.cx, 186);
    EXPECT_EQ(d.cy, 94);
    EXPECT_EQ(d.menu, "");
    EXPECT_EQ(d.cls, "");
    EXPECT_EQ(d.caption, "") << "set from the string table when the box opens";
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.face, "MS Sans Serif");

    const DWORD text = WS_CHILD | WS_VISIBLE | SS_LEFT | WS_GROUP;
    const std::vector<ExpectedItem> controls = {
        {IDOK, kButton, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP, 68, 73, 50, 14, "OK"},
        {1060, kStatic, text, 42, 39, 137, 12, ""},
        {1059, kStatic, text, 66, 17, 113, 12, ""},
    };
    ExpectItems(d, controls);
}

}  // namespace

int main(int argc, char** argv)
{
    return CalTestMain(argc, argv);
}
