#pragma once

// The fixed columns of a QSO line of the station log, counted from 1. Every writer and every
// reader of the log cuts its fields with this one table.
//
// A line is 199 characters: each field is its text padded with spaces to its width, followed
// by the blanks up to the next field. The callsign and the start time touch (columns 11-22,
// 23-27), as do the points field and the two flags (128-132, 133, 134).
namespace tv::logcol {

struct Column {
    int first; // first column, counted from 1
    int width;
    constexpr int last() const { return first + width - 1; }
    constexpr int index() const { return first - 1; } // 0-based offset
};

inline constexpr Column kDate{1, 8};
inline constexpr Column kCallsign{11, 12};
inline constexpr Column kStart{23, 5};
inline constexpr Column kEnd{30, 5};
inline constexpr Column kDepartment{37, 3};
inline constexpr Column kLocator{42, 6};
inline constexpr Column kBand{50, 8};
inline constexpr Column kMode{60, 7};
inline constexpr Column kRstSent{69, 8};
inline constexpr Column kRstReceived{79, 8};
inline constexpr Column kMillReference{89, 20};
inline constexpr Column kFirstName{111, 15};
inline constexpr Column kPoints{128, 5};
inline constexpr Column kNewDepartmentFlag{133, 1};
inline constexpr Column kNewPrefixFlag{134, 1};
// The new-prefix flag of a QSO whose new DXCC entity the operator refused to count: the entity
// is then marked neither when the QSO is recorded nor by the rebuild of the multiplier files.
inline constexpr char kEntityRefused = 'N';
inline constexpr Column kCountArea{135, 20}; // "1" then 19 blanks; copied whole by an edit
inline constexpr Column kCount{135, 1};
inline constexpr Column kDistance{155, 5};
inline constexpr Column kAzimuth{161, 3};
inline constexpr Column kActivity{165, 2};
inline constexpr Column kMillName{169, 30};
inline constexpr Column kEndMarker{199, 1};

inline constexpr int kLineLength = 199;

// A row of the QSO list is the row number right-aligned in 5 characters, one space, then the
// line: a list column is the file column plus this offset.
inline constexpr int kListOffset = 6;

} // namespace tv::logcol
