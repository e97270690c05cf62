#pragma once

#include <QStringView>

#include <array>

// The one table of where everything stands on the prescription sheet and on the injection card.
// All positions and sizes are twips (1/1440 inch, 15 per pixel at 96 dpi) from the top-left
// corner of the sheet or the card; font sizes are points. The on-screen sheet and the printouts
// are both built from these values, so they cannot drift apart.
namespace quilloa::sheet {

struct TwipSize
{
    int width;
    int height;
};

struct TwipPoint
{
    int x;
    int y;
};

struct TwipRect
{
    int left;
    int top;
    int width;
    int height;
};

struct TwipLine
{
    TwipPoint from;
    TwipPoint to;
};

// A caption as it shows on screen. An empty face means the window's default font.
struct CaptionLayout
{
    QStringView text;
    int left;
    int top;
    QStringView face;
    double pointSize;
    bool bold;
};

// A one-line entry field: its place, the most characters a user may type, its screen font.
struct FieldLayout
{
    TwipRect rect;
    int maxLength;
    QStringView face;
    double pointSize;
};

inline constexpr QStringView kHeiti = u"黑体";
inline constexpr QStringView kSongti = u"宋体";
inline constexpr QStringView kKaiti = u"楷体_GB2312";

// ---------------------------------------------------------------------------------------------
// Prescription sheet (Picture2).

inline constexpr TwipSize kSheetSize{5915, 8550};
// The printed sheet is the screen's sheet enlarged by this much, every place and size alike.
inline constexpr double kPaperScale = 1.293;

// The sheet's printed captions (Label3), by index. Index 0 is the title (clinic name + "处方笺"):
// its text comes from the settings and its left is centred at run time, see titleLeft().
enum CaptionIndex
{
    TitleCaption = 0,
    RpCaption = 1,
    NameCaption = 2,
    AgeCaption = 3,
    DateCaption = 4,
    DiagnosisCaption = 5,
    AddressCaption = 6,
    SexCaption = 7,
    DoctorCaption = 8,
    DispenserCaption = 9,
    PricingCaption = 10,
    FeeCaption = 11,
    StampCaption = 12,
};

inline constexpr int kTitleTop = 360;
inline constexpr QStringView kTitleSuffix = u"处方笺";

inline constexpr std::array<CaptionLayout, 13> kCaptions{{
    {u"", 0, kTitleTop, kHeiti, 15.75, false},
    {u"Rp", 480, 1740, kSongti, 18, true},
    {u"姓名：", 480, 960, kHeiti, 10.5, false},
    {u"年龄：", 2880, 960, kHeiti, 10.5, false},
    {u"日期：", 3840, 960, kHeiti, 10.5, false},
    {u"诊断：", 480, 1380, kHeiti, 10.5, false},
    {u"地址：", 2520, 1380, kHeiti, 10.5, false},
    {u"性别：", 1980, 960, kHeiti, 10.5, false},
    {u"医生：", 3900, 7440, kHeiti, 10.5, false},
    {u"配药：", 3900, 7740, kHeiti, 10.5, false},
    {u"划价", 720, 7560, kKaiti, 10.5, false},
    {u"收费", 2880, 7440, kKaiti, 12, false},
    {u"盖章", 2880, 7740, kKaiti, 12, false},
}};

// The sheet's nine fields (Text4), by index: what the doctor fills in.
enum FieldIndex
{
    NameField = 0,
    SexField = 1,
    AgeField = 2,
    VisitDateField = 3,
    DiagnosisField = 4,
    AddressField = 5,
    DoctorField = 6,
    DispenserField = 7,
    FeeField = 8,
};

inline constexpr std::array<FieldLayout, 9> kFields{{
    {{1080, 980, 795, 270}, 4, u"", 0},
    {{2520, 980, 255, 270}, 1, u"", 0},
    {{3420, 980, 255, 270}, 4, u"", 0},
    {{4380, 980, 975, 270}, 10, u"", 0},
    {{1080, 1410, 1455, 225}, 8, u"", 0},
    {{3060, 1410, 2355, 225}, 18, u"", 0},
    {{4440, 7455, 795, 270}, 4, kKaiti, 9},
    {{4440, 7755, 795, 270}, 4, kKaiti, 9},
    {{1560, 7560, 675, 270}, 6, kSongti, 10.5},
}};

// Line1 indices 0 to 7: three rules across the sheet, then the fee box split at 1380.
inline constexpr std::array<TwipLine, 8> kLines{{
    {{480, 840}, {5400, 840}},
    {{480, 1680}, {5400, 1680}},
    {{480, 7260}, {5400, 7260}},
    {{480, 7380}, {2280, 7380}},
    {{480, 7380}, {480, 7980}},
    {{1380, 7380}, {1380, 7980}},
    {{2280, 7380}, {2280, 7980}},
    {{480, 7980}, {2280, 7980}},
}};

// The prescription body R1.
inline constexpr TwipRect kBodyRect{1380, 2160, 3915, 4815};

// Lookup lists below the diagnosis field (list2) and the address field (list5).
inline constexpr TwipRect kDiagnosisListRect{1080, 1620, 1695, 1575};
inline constexpr TwipRect kAddressListRect{3060, 1620, 2475, 1575};

// The record key label Label10 at the foot of the sheet; it is never shown.
inline constexpr TwipRect kKeyLabelRect{1680, 8280, 3795, 195};

// The title is centred on the sheet at whatever width its text takes.
double titleLeft(double titleWidth);

// ---------------------------------------------------------------------------------------------
// Injection card (Picture4), beside the sheet on the desk.

inline constexpr TwipSize kCardSize{3855, 5499};

// The injection card's captions (Label6), by index.
enum CardCaptionIndex
{
    CardTitleCaption = 0,
    CardPatientCaption = 1,
    CardDateCaption = 2,
};

inline constexpr QStringView kCardTitle = u"门诊注射卡";

// Index 0 has its fixed text; 1 (name，sex，age) and 2 (visit date) follow the sheet fields.
inline constexpr std::array<CaptionLayout, 3> kCardCaptions{{
    {kCardTitle, 1320, 300, kHeiti, 12, false},
    {u"", 300, 660, kSongti, 9.75, false},
    {u"", 2460, 660, kSongti, 9.75, false},
}};

// Line5 indices 0 to 3: the frame around the card body.
inline constexpr std::array<TwipLine, 4> kCardLines{{
    {{300, 900}, {3540, 900}},
    {{300, 5280}, {3540, 5280}},
    {{300, 900}, {300, 5280}},
    {{3540, 5280}, {3540, 900}},
}};

// The card body R2.
inline constexpr TwipRect kCardBodyRect{540, 1140, 2835, 4035};
inline constexpr QStringView kCardBodyFace = kSongti;
inline constexpr double kCardBodyPointSize = 9.75;

} // namespace quilloa::sheet
