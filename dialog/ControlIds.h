// Ids of the main window's controls. Captions and places are in Layout.cpp.
#pragma once

enum ControlId : int {
    IDC_STATIC = -1,  // group boxes and static texts: never reached by id
    IDOK = 1,         // hidden default button "确定"
    IDCANCEL = 2,     // "Exit"

    // Module 1 - Comm Setting
    IDC_SEARCH_COM = 1000,
    IDC_OPEN_COM = 1001,
    IDC_LOG = 1004,
    IDC_COMM = 1005,  // the serial port control: no visible function
    IDC_PORT_LIST = 1006,
    // Module 2 - Online
    IDC_POLL_ADDR = 1002,
    IDC_HART_COMM = 1003,
    IDC_SEARCH_ADDR = 1109,
    IDC_SET_ADDR = 1111,
    // Module 3 - Inst. Infor.
    IDC_MFR = 1112,
    IDC_DEV_TYPE = 1113,
    IDC_DEV_ID = 1114,
    IDC_SENSOR_UPPER = 1088,
    IDC_SENSOR_LOWER = 1018,
    IDC_MIN_SPAN = 1115,
    // Module 4 - Process Variables
    IDC_PV = 1008,
    IDC_PV_UNIT = 1009,
    IDC_PERCENT = 1011,
    IDC_CURRENT = 1010,
    IDC_AUTO_READ = 1089,
    IDC_STOP_READ = 1118,
    // Module 5 - Range Setting
    IDC_RANGE_UPPER = 1090,
    IDC_RANGE_LOWER = 1019,
    IDC_RANGE_UNIT = 1094,
    IDC_APPLY_0 = 1120,
    IDC_APPLY_100 = 1121,
    IDC_SET_RANGE = 1093,
    IDC_READ_RANGE = 1119,
    // Module 6 - Sensor Trim
    IDC_TRIM_UPPER = 1096,
    IDC_TRIM_LOWER = 1095,
    IDC_TRIM_UNIT = 1100,
    IDC_APPLY_LOWER = 1098,
    IDC_APPLY_UPPER = 1099,
    IDC_SHIFT_ZERO = 1097,
    IDC_READ_TRIM = 1102,
    // Module 7 - Loop Test/Trim
    IDC_D_CURR = 1105,
    IDC_FIXED_CURR = 1103,
    IDC_EXIT_FIXED = 1104,
    IDC_A_CURR = 1107,
    IDC_TRIM_4MA = 1106,
    IDC_TRIM_20MA = 1108,
    // Module 8 - Burst Setting
    IDC_BURST_CMD1 = 1140,
    IDC_BURST_CMD2 = 1141,
    IDC_BURST_CMD3 = 1142,
    IDC_STATUS = 1156,
    IDC_ENTER_BURST = 1154,
    IDC_EXIT_BURST = 1155,
    // Module 9 - Common Settings
    IDC_TRANS_FUNC = 1131,
    IDC_READ_TRANS_FUNC = 1132,
    IDC_SET_TRANS_FUNC = 1133,
    IDC_UNIT_LIST = 1134,
    IDC_READ_UNIT = 1135,
    IDC_SET_UNIT = 1136,
    IDC_DAMPING = 1137,
    IDC_READ_DAMPING = 1138,
    IDC_SET_DAMPING = 1139,
    IDC_TAG = 1083,
    IDC_DESCRIPTOR = 1084,
    IDC_DATE = 1085,
    IDC_READ_TAG = 1086,
    IDC_SET_TAG = 1087,
    IDC_MESSAGE = 1145,
    IDC_READ_MESSAGE = 1143,
    IDC_SET_MESSAGE = 1144,
    IDC_ASSEMBLY = 1148,
    IDC_READ_ASSEMBLY = 1146,
    IDC_SET_ASSEMBLY = 1147,
    // Module 10 - Specific Settings
    IDC_WRITE_PROTECT = 1122,
    IDC_READ_WP = 1123,
    IDC_SET_WP = 1124,
    IDC_ALARM = 1125,
    IDC_READ_ALARM = 1126,
    IDC_SET_ALARM = 1127,
    IDC_DISPLAY = 1128,
    IDC_READ_DISPLAY = 1129,
    IDC_SET_DISPLAY = 1130,
    IDC_VERSION = 1151,
    IDC_READ_VERSION = 1149,
};
