// Reads the resources back from a built Calendar.dll and checks them against
// what the host expects: the string table, the tool image and its mask (both
// as stored and as the platform decodes them), the version resource, and the
// language of every resource.
//
// Usage: resources_test [gtest flags] <path of Calendar.dll>
// A Unix path (as the build passes it) is taken to be on Wine's Z: drive.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "resource.h"

namespace {

std::string g_dll_path;

std::string ToWindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string out = "Z:" + path;
    for (char& c : out) {
        if (c == '/')
            c = '\\';
    }
    return out;
}

const WORD kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const int kSize = 16;

struct Rgb {
    BYTE r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

std::ostream& operator<<(std::ostream& os, const Rgb& c)
{
    return os << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

const Rgb kBlack{0, 0, 0};
const Rgb kRed{255, 0, 0};
const Rgb kWhite{255, 255, 255};

// [row][column], top row first.
using Picture = std::array<std::array<Rgb, kSize>, kSize>;

const std::array<Rgb, 16> kPalette16 = {{
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};
const std::array<Rgb, 2> kPalette2 = {{{0, 0, 0}, {255, 255, 255}}};

// The tool image: leaf 1 covers rows 0-10 and columns 0-10, leaf 2 covers
// rows 5-15 and columns 5-15 and lies on top. Each leaf has a red border, two
// pixels at the top and one elsewhere; what neither leaf covers is a corner.
enum class Region { kCorner, kBorder, kLeaf1Inside, kLeaf2Inside };

Region RegionOf(int row, int col)
{
    if (row >= 5 && col >= 5) {
        const bool border = row <= 6 || col == 5 || col == 15 || row == 15;
        return border ? Region::kBorder : Region::kLeaf2Inside;
    }
    if (row <= 10 && col <= 10) {
        const bool border = row <= 1 || col == 0 || col == 10 || row == 10;
        return border ? Region::kBorder : Region::kLeaf1Inside;
    }
    return Region::kCorner;
}

// Red borders, white corners, interiors of white paper with black digits.
void ExpectToolImage(const Picture& px)
{
    int black[2] = {0, 0};
    int inside[2] = {0, 0};
    for (int row = 0; row < kSize; ++row) {
        for (int col = 0; col < kSize; ++col) {
            const Rgb c = px[row][col];
            switch (RegionOf(row, col)) {
                case Region::kBorder:
                    EXPECT_EQ(c, kRed) << "border pixel row " << row << " col " << col;
                    break;
                case Region::kCorner:
                    EXPECT_EQ(c, kWhite) << "corner pixel row " << row << " col " << col;
                    break;
                case Region::kLeaf1Inside:
                case Region::kLeaf2Inside: {
                    const int leaf = RegionOf(row, col) == Region::kLeaf1Inside ? 0 : 1;
                    ++inside[leaf];
                    if (c == kBlack) {
                        ++black[leaf];
                    } else {
                        EXPECT_EQ(c, kWhite) << "leaf " << leaf + 1 << " pixel row " << row << " col " << col;
                    }
                    break;
                }
            }
        }
    }
    for (int leaf = 0; leaf < 2; ++leaf) {
        // A number is a few strokes on paper: neither missing nor a filled box.
        EXPECT_GE(black[leaf], 6) << "too few digit pixels on leaf " << leaf + 1;
        EXPECT_LE(black[leaf], inside[leaf] / 2) << "leaf " << leaf + 1 << " is mostly black";
    }
}

bool IsMaskCorner(int row, int col)
{
    return (row <= 4 && col >= 11) || (row >= 11 && col <= 4);
}

// A bitmap resource as stored: header, palette, palette indexes.
struct RawBitmap {
    BITMAPINFOHEADER header{};
    std::vector<Rgb> palette;
    std::array<std::array<int, kSize>, kSize> index{};  // [row][col], top row first
    Picture Colours() const
    {
        Picture px{};
        for (int row = 0; row < kSize; ++row)
            for (int col = 0; col < kSize; ++col)
                px[row][col] = palette.at(index[row][col]);
        return px;
    }
};

// Reads and decodes a 16x16 uncompressed bottom-up bitmap resource, checking
// the header on the way. Fatal failures leave *out incomplete.
void ReadRawBitmap(HMODULE dll, WORD id, WORD bits, DWORD colours, RawBitmap* out)
{
    HRSRC res = FindResourceA(dll, MAKEINTRESOURCEA(id), RT_BITMAP);
    ASSERT_NE(res, nullptr) << "no bitmap " << id;
    const DWORD size = SizeofResource(dll, res);
    HGLOBAL mem = LoadResource(dll, res);
    ASSERT_NE(mem, nullptr);
    const BYTE* data = static_cast<const BYTE*>(LockResource(mem));
    ASSERT_NE(data, nullptr);
    ASSERT_GE(size, sizeof(BITMAPINFOHEADER));

    std::memcpy(&out->header, data, sizeof out->header);
    const BITMAPINFOHEADER& h = out->header;
    ASSERT_EQ(h.biSize, 40u);
    ASSERT_EQ(h.biWidth, kSize);
    ASSERT_EQ(h.biHeight, kSize) << "expected a bottom-up 16x16 bitmap";
    EXPECT_EQ(h.biPlanes, 1);
    ASSERT_EQ(h.biBitCount, bits);
    ASSERT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
    ASSERT_EQ(h.biClrUsed, colours);

    const DWORD stride = ((kSize * bits + 31) / 32) * 4;
    const DWORD palette_bytes = colours * sizeof(RGBQUAD);
    ASSERT_GE(size, h.biSize + palette_bytes + stride * kSize) << "pixel data is cut short";

    const BYTE* quads = data + h.biSize;
    for (DWORD i = 0; i < colours; ++i) {
        RGBQUAD q;
        std::memcpy(&q, quads + i * sizeof q, sizeof q);
        EXPECT_EQ(q.rgbReserved, 0) << "palette entry " << i;
        out->palette.push_back(Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue});
    }

    const BYTE* pixels = quads + palette_bytes;
    const int mask = (1 << bits) - 1;
    for (int row = 0; row < kSize; ++row) {
        const BYTE* line = pixels + stride * (kSize - 1 - row);
        for (int col = 0; col < kSize; ++col) {
            const int bit = col * bits;
            out->index[row][col] = (line[bit / 8] >> (8 - bits - bit % 8)) & mask;
        }
    }
}

// Loads a bitmap the way the host does and reads it back as 32-bit RGB.
void ReadPlatformBitmap(HMODULE dll, WORD id, Picture* out)
{
    HBITMAP bmp = LoadBitmapA(dll, MAKEINTRESOURCEA(id));
    ASSERT_NE(bmp, nullptr) << "LoadBitmapA " << id << " failed, error " << GetLastError();
    BITMAP info{};
    const int got = GetObjectA(bmp, sizeof info, &info);
    EXPECT_EQ(got, static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, kSize);
    EXPECT_EQ(info.bmHeight, kSize);

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = kSize;
    bi.bmiHeader.biHeight = -kSize;  // top-down, like Picture
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::array<DWORD, kSize * kSize> bits{};
    HDC dc = GetDC(nullptr);
    const int lines = GetDIBits(dc, bmp, 0, kSize, bits.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bmp);
    ASSERT_EQ(lines, kSize) << "GetDIBits failed, error " << GetLastError();

    for (int row = 0; row < kSize; ++row) {
        for (int col = 0; col < kSize; ++col) {
            const DWORD v = bits[row * kSize + col];
            (*out)[row][col] =
                Rgb{static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v)};
        }
    }
}

struct ResId {
    bool is_int;
    WORD id;
    std::string name;

    static ResId From(LPCSTR p)
    {
        if (IS_INTRESOURCE(p))
            return ResId{true, static_cast<WORD>(reinterpret_cast<ULONG_PTR>(p)), ""};
        return ResId{false, 0, p};
    }
    LPCSTR Ptr() const { return is_int ? MAKEINTRESOURCEA(id) : name.c_str(); }
    std::string Describe() const
    {
        // Built by appending: GCC 12 warns falsely about operator+ chains at -O2.
        std::string text(is_int ? "#" : "\"");
        text.append(is_int ? std::to_string(id) : name);
        if (!is_int)
            text.append("\"");
        return text;
    }
};

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD lang, LONG_PTR param)
{
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(lang);
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    reinterpret_cast<std::vector<ResId>*>(param)->push_back(ResId::From(name));
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE, LPSTR type, LONG_PTR param)
{
    reinterpret_cast<std::vector<ResId>*>(param)->push_back(ResId::From(type));
    return TRUE;
}

std::vector<WORD> LanguagesOf(HMODULE dll, LPCSTR type, LPCSTR name)
{
    std::vector<WORD> langs;
    EnumResourceLanguagesA(dll, type, name, AddLanguage, reinterpret_cast<LONG_PTR>(&langs));
    return langs;
}

class CalendarResources : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(g_dll_path.empty()) << "usage: resources_test <path of Calendar.dll>";
        // Loaded once and kept: every test reads the same image.
        static HMODULE loaded = LoadLibraryA(g_dll_path.c_str());
        static DWORD error = loaded ? 0 : GetLastError();
        dll_ = loaded;
        ASSERT_NE(dll_, nullptr) << "cannot load " << g_dll_path << ", error " << error;
    }
    HMODULE dll_ = nullptr;
};

struct ExpectedString {
    UINT id;
    const char* text;
};

const ExpectedString kStrings[] = {
    {IDS_PROPERTIES, "Properties"},
    {IDS_ABOUT, "About Calendar"},
    {IDS_TOOLNAME, "Calendar"},
    {IDS_TOOLDESC, "Calendar Tool for Halvex"},
    {IDS_NOTICE, "Copyright (C) 2026 The Calendar Tool developers"},
    {IDS_FIRSTDAY, "First day of the week"},
    {IDS_WEEKNUMBERS, "Week numbers"},
    {IDS_SELECTFONT, "Select Font"},
    {IDS_USEBACKGROUND, "User Halvex background"},
};

TEST_F(CalendarResources, StringTableHoldsExactlyTheExpectedTexts)
{
    for (const ExpectedString& s : kStrings) {
        char buf[256] = {};
        const int n = LoadStringA(dll_, s.id, buf, sizeof buf);
        EXPECT_EQ(std::string(buf, n > 0 ? n : 0), s.text) << "string " << s.id;
    }
    // Nothing stray next to them, where a mistyped id would land.
    for (UINT id = 100; id <= 130; ++id) {
        if (id >= IDS_PROPERTIES && id <= IDS_USEBACKGROUND)
            continue;
        char buf[256] = {};
        EXPECT_EQ(LoadStringA(dll_, id, buf, sizeof buf), 0) << "unexpected string " << id << ": " << buf;
    }
}

TEST_F(CalendarResources, ToolImageShowsTwoLeaves)
{
    RawBitmap raw;
    ASSERT_NO_FATAL_FAILURE(ReadRawBitmap(dll_, IDB_TOOLIMAGE, 4, 16, &raw));
    for (size_t i = 0; i < kPalette16.size(); ++i)
        EXPECT_EQ(raw.palette[i], kPalette16[i]) << "palette entry " << i;
    for (int row = 0; row < kSize; ++row) {
        for (int col = 0; col < kSize; ++col) {
            const int i = raw.index[row][col];
            EXPECT_TRUE(i == 0 || i == 9 || i == 15) << "index " << i << " at row " << row << " col " << col;
        }
    }
    const Picture stored = raw.Colours();
    {
        SCOPED_TRACE("as stored");
        ExpectToolImage(stored);
    }

    Picture shown{};
    ASSERT_NO_FATAL_FAILURE(ReadPlatformBitmap(dll_, IDB_TOOLIMAGE, &shown));
    {
        SCOPED_TRACE("as loaded by LoadBitmapA");
        ExpectToolImage(shown);
    }
    for (int row = 0; row < kSize; ++row)
        for (int col = 0; col < kSize; ++col)
            EXPECT_EQ(shown[row][col], stored[row][col]) << "row " << row << " col " << col;
}

TEST_F(CalendarResources, ToolMaskMarksOnlyTheUncoveredCorners)
{
    RawBitmap raw;
    ASSERT_NO_FATAL_FAILURE(ReadRawBitmap(dll_, IDB_TOOLMASK, 1, 2, &raw));
    for (size_t i = 0; i < kPalette2.size(); ++i)
        EXPECT_EQ(raw.palette[i], kPalette2[i]) << "palette entry " << i;
    for (int row = 0; row < kSize; ++row)
        for (int col = 0; col < kSize; ++col)
            EXPECT_EQ(raw.index[row][col], IsMaskCorner(row, col) ? 1 : 0) << "row " << row << " col " << col;

    Picture shown{};
    ASSERT_NO_FATAL_FAILURE(ReadPlatformBitmap(dll_, IDB_TOOLMASK, &shown));
    for (int row = 0; row < kSize; ++row)
        for (int col = 0; col < kSize; ++col)
            EXPECT_EQ(shown[row][col], IsMaskCorner(row, col) ? kWhite : kBlack)
                << "row " << row << " col " << col;
}

std::string VersionString(const std::vector<BYTE>& info, const char* key)
{
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + key;
    char* value = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &len) ||
        value == nullptr)
        return "<missing>";
    return value;
}

TEST_F(CalendarResources, VersionResourceDescribesTheDll)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(g_dll_path.c_str(), &handle);
    ASSERT_GT(size, 0u) << "no version resource, error " << GetLastError();
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(g_dll_path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(len, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000003u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000003u);
    EXPECT_EQ(fixed->dwFileFlagsMask, static_cast<DWORD>(VS_FFI_FILEFLAGSMASK));
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    EXPECT_EQ(fixed->dwFileSubtype, static_cast<DWORD>(VFT2_UNKNOWN));

    WORD* translation = nullptr;
    len = 0;
    ASSERT_TRUE(VerQueryValueA(
        info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &len));
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(len, 2 * sizeof(WORD)) << "expected exactly one language/code page pair";
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    EXPECT_EQ(VersionString(info, "CompanyName"), "The Calendar Tool developers");
    EXPECT_EQ(VersionString(info, "FileDescription"), "Calendar");
    EXPECT_EQ(VersionString(info, "FileVersion"), "1.00.00.03");
    EXPECT_EQ(VersionString(info, "InternalName"), "Calendar");
    EXPECT_EQ(VersionString(info, "LegalCopyright"), "Copyright (C) 2026 The Calendar Tool developers");
    EXPECT_EQ(VersionString(info, "OriginalFilename"), "Calendar.dll");
    EXPECT_EQ(VersionString(info, "ProductName"), "Calendar Tool");
    EXPECT_EQ(VersionString(info, "ProductVersion"), "1.00.00.03");
}

TEST_F(CalendarResources, EveryResourceIsUsEnglish)
{
    const std::vector<WORD> only_us = {kUsEnglish};
    // The resources the host asks for by language.
    EXPECT_NE(FindResourceExA(dll_, RT_BITMAP, MAKEINTRESOURCEA(IDB_TOOLIMAGE), kUsEnglish), nullptr);
    EXPECT_NE(FindResourceExA(dll_, RT_BITMAP, MAKEINTRESOURCEA(IDB_TOOLMASK), kUsEnglish), nullptr);
    EXPECT_NE(FindResourceExA(dll_, RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), kUsEnglish), nullptr);
    // Strings are stored sixteen to a block; block n holds ids 16(n-1)..16n-1.
    const WORD string_block = (IDS_PROPERTIES >> 4) + 1;
    static_assert(
        (IDS_USEBACKGROUND >> 4) + 1 == (IDS_PROPERTIES >> 4) + 1, "all strings are expected in one block");
    EXPECT_NE(FindResourceExA(dll_, RT_STRING, MAKEINTRESOURCEA(string_block), kUsEnglish), nullptr);

    EXPECT_EQ(LanguagesOf(dll_, RT_BITMAP, MAKEINTRESOURCEA(IDB_TOOLIMAGE)), only_us);
    EXPECT_EQ(LanguagesOf(dll_, RT_BITMAP, MAKEINTRESOURCEA(IDB_TOOLMASK)), only_us);
    EXPECT_EQ(LanguagesOf(dll_, RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO)), only_us);
    EXPECT_EQ(LanguagesOf(dll_, RT_STRING, MAKEINTRESOURCEA(string_block)), only_us);

    // And nothing else in the file carries another language either.
    std::vector<ResId> types;
    ASSERT_TRUE(EnumResourceTypesA(dll_, AddType, reinterpret_cast<LONG_PTR>(&types)));
    for (const ResId& type : types) {
        std::vector<ResId> names;
        EnumResourceNamesA(dll_, type.Ptr(), AddName, reinterpret_cast<LONG_PTR>(&names));
        for (const ResId& name : names) {
            EXPECT_EQ(LanguagesOf(dll_, type.Ptr(), name.Ptr()), only_us)
                << "resource type " << type.Describe() << " name " << name.Describe();
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc >= 2)
        g_dll_path = ToWindowsPath(argv[1]);
    return RUN_ALL_TESTS();
}
