// Identifiers of the line settings dialog's controls and list strings, shared
// by the resource script and the C++ sources. Plain #defines only, so that the
// resource compiler can read it.
#pragma once

// Drop-down lists.
#define IDC_SETTINGS_PORT 544
#define IDC_SETTINGS_BAUD_RATE 545
#define IDC_SETTINGS_DATA_BITS 546
#define IDC_SETTINGS_PARITY 547
#define IDC_SETTINGS_STOP_BITS 548

// Check boxes.
#define IDC_SETTINGS_DTR_DSR 549
#define IDC_SETTINGS_RTS_CTS 550
#define IDC_SETTINGS_XON_XOFF 551
#define IDC_SETTINGS_AUTO_WRAP 552
#define IDC_SETTINGS_NEW_LINE 553
#define IDC_SETTINGS_LOCAL_ECHO 554
#define IDC_SETTINGS_CN_RECEIVE 556
#define IDC_SETTINGS_DISPLAY_ERRORS 557

// The button that opens the font dialog.
#define IDC_SETTINGS_FONT 555

// First string of each list's texts; the entries follow one string each.
#define IDS_BAUD_RATE_FIRST 800
#define IDS_PARITY_FIRST 832
#define IDS_STOP_BITS_FIRST 848

// The network address dialog the port list's last entry opens.
#define IDD_NETWORK_ADDRESS 600
#define IDC_NETWORK_KIND 601
#define IDC_NETWORK_ADDRESS 602
