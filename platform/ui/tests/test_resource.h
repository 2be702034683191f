#pragma once

#define IDS_GREETING 1
#define IDS_ONLY_CHINESE 2

#define IDD_NUMBERS 100
#define IDC_FIRST 1001
#define IDC_SECOND 1002
#define IDC_NAME 1003

#define IDD_RADIOS 101
#define IDC_RADIO_A 1010
#define IDC_RADIO_B 1011
#define IDC_RADIO_C 1012
#define IDC_COUNT 1013

#define IDD_PAGE 102
#define IDC_PAGE_TEXT 1020
