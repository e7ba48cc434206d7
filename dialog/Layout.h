// The main window and the About box as data: the one description of every
// control, its place (dialog units), caption, initial state and styles. Hosts
// build their windows from it; OnInitDialog takes the text limits from it.
#pragma once

#include <span>
#include <string_view>

enum class ControlKind {
    GroupBox,
    StaticText,
    Button,
    RadioButton,    // automatic radio button, a group of its own
    Edit,           // input edit with a border
    ReadOnlyEdit,   // display field: always enabled
    ComboBox,       // drop-down list, unsorted, vertical scroll bar
    ListBox,        // unsorted, vertical scroll bar
    SerialControl,  // the serial port control: present, not visible
};

enum ControlStyle : unsigned {
    kStyleNone = 0,
    kStyleCentered = 1u << 0,   // text centred
    kStyleUpperCase = 1u << 1,  // typed letters become upper case
    kStyleMultiLine = 1u << 2,  // button caption may wrap
    kStyleNoHScroll = 1u << 3,  // edit does not scroll horizontally
    kStyleHidden = 1u << 4,     // not shown
    kStyleLeftAlign = 1u << 5,  // static text or label left-aligned
    kStyleIcon = 1u << 6,       // static shows the application icon
};

// Where a field's label stands.
enum class LabelPlace {
    None,
    Left,         // left of the field, right-aligned, from the group's left edge
    LeftAligned,  // left of the field, left-aligned
    Above,        // on the line above the field
};

struct DluRect {
    int x, y, w, h;
};

struct ControlSpec {
    int id;  // ControlId, or IDC_STATIC
    ControlKind kind;
    std::string_view caption;                   // button caption, static text, group caption
    DluRect rect;                               // for a combo box, the height is the dropped list
    bool enabled;                               // initial state
    unsigned style;                             // ControlStyle bits
    int textLimit;                              // 0: none
    std::span<const std::string_view> entries;  // initial combo box entries
    std::string_view label;                     // text of the field's label, if any
    LabelPlace labelPlace;
    std::string_view unitLabel;  // small text right of the field ("s")
};

struct DialogSpec {
    std::string_view title;
    int width, height;  // dialog units
    std::string_view fontFace;
    int fontPoints;
    std::span<const ControlSpec> controls;
};

const DialogSpec& MainDialogLayout();
const DialogSpec& AboutDialogLayout();

// The main window's control with this id, or nullptr.
const ControlSpec* FindControl(int id);

// Resource strings.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;
inline constexpr int IDS_ABOUTBOX = 101;
std::string_view LoadResourceString(int id);
