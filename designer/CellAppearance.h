#pragma once

#include <QString>
#include <QtGlobal>

// Colours of the designer grid as colour values 0x00BBGGRR; the two system
// colours stand for the window background and the active border and are
// taken from the window's palette when painted.
namespace GridColour {
inline constexpr quint32 kWindowBackground = 0x80000005u;  // empty cells
inline constexpr quint32 kActiveBorder = 0x8000000Au;      // frame and caption of empty cells
inline constexpr quint32 kBlack = 0x000000u;
inline constexpr quint32 kConflict = 0x0000FFu;            // red: several persons share the cell
inline constexpr quint32 kRootBorder = 0xFF0000u;          // blue: the tree's root person
inline constexpr quint32 kMale = 0xE6D8ADu;                // light blue
inline constexpr quint32 kFemale = 0xCBC0FFu;              // pink
inline constexpr quint32 kOtherSex = 0xD3D3D3u;            // light grey
inline constexpr quint32 kLine = 0x28AB28u;                // spouse and child lines, rubber bands
inline constexpr quint32 kHotLine = 0x0000FFu;             // a hovered child line
inline bool isSystem(quint32 colour) { return (colour & 0x80000000u) != 0; }
}  // namespace GridColour

// How one cell of the grid is shown: the person key it shows ("" for an empty
// cell), its caption ("\" marks a line break), the picture path, and its
// colours and border. Occupied cells stand in front of the lines and circles,
// empty ones behind them.
struct CellAppearance {
    QString tag;
    QString caption;
    QString image;
    quint32 borderColour = GridColour::kActiveBorder;
    int borderWidth = 1;
    quint32 backColour = GridColour::kWindowBackground;
    quint32 foreColour = GridColour::kActiveBorder;
    bool occupied = false;

    bool operator==(const CellAppearance&) const = default;
};
