// Identifiers of the program's resources, shared by the resource scripts
// (windres includes this file) and the C++ sources. Plain #defines only, so
// that the resource compiler can read it.
#pragma once

// Dialog templates.
#define IDD_ABOUT 100
#define IDD_LINE_SETTINGS 101

// Accelerator table, menu, icon group and bitmap.
#define IDA_MAIN 200
#define IDM_MAIN 300
#define IDI_MAIN 400
#define IDB_ABOUT 500

// Menu commands of the main window.
#define IDC_CMD_CONNECT 256
#define IDC_CMD_DISCONNECT 257
#define IDC_CMD_QUIT 258
#define IDC_CMD_SHOW_DUMP 259
#define IDC_CMD_SHOW_TEXT 260
#define IDC_CMD_SHOW_GRAPHIC 261
#define IDC_CMD_LINE_SETTINGS 262
#define IDC_CMD_ABOUT 263
#define IDC_CMD_DEBUG_INFO 264
#define IDC_CMD_AUTO_RECONNECT 265
#define IDC_CMD_TRACE 266

// Controls of the About box.
#define IDC_ABOUT_ICON 528
#define IDC_ABOUT_PLATFORM_VERSION 529
#define IDC_ABOUT_PROGRAM_VERSION 530
#define IDC_ABOUT_CREDIT 531
#define IDC_ABOUT_MODE 532

// String table.
#define IDS_CREDIT 768
#define IDS_PORT_NAME 784

// Child window identifiers inside the main window.
#define IDW_TAB_CONTROL 0x1000
#define IDW_TERMINAL 0x1002
