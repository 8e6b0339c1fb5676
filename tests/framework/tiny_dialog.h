#pragma once
// Identifiers of the tiny dialogs the framework tests run.

#define IDD_TINY 200
#define IDD_TINY_CHILD 201
#define IDC_TEXT 1001
#define IDC_CHECK 1002
#define IDC_RADIO_FIRST 1003
#define IDC_RADIO_SECOND 1004
#define IDC_RADIO_THIRD 1005
#define IDC_GO 1006
#define IDC_AFTER_GROUP 1007
#define IDC_CHILD_TEXT 1101
