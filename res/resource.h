// Resource ids shared by the code and the .rc files (windres reads only the #define lines).
#ifndef INSTALL_RESOURCE_H
#define INSTALL_RESOURCE_H

// Language-neutral strings
#define IDS_PRODUCT_NAME            1
#define IDS_SHORTCUTS_REDUCED       3
#define IDS_OCX_NOT_FOUND           4
#define IDS_OCX_NOT_REGISTERED      5

// Strings in every user-interface language
#define IDS_NEEDS_NEWER_WINDOWS     128
#define IDS_NO_MEMORY               129
#define IDS_CHOOSE_DIRECTORY        130
#define IDS_DESTINATION_MESSAGE     131
#define IDS_SYSTEM_DLL_ACCESS       132
#define IDS_SYSTEM_DLL_UPDATE       133
#define IDS_FILE_ACCESS             134
#define IDS_FILE_WRITE              135
#define IDS_PROGRESS_CAPTION        136
#define IDS_INSTALLING              137
#define IDS_CREATE_DIRECTORY        138
#define IDS_COPYING                 139
#define IDS_CREATE_FILE             140
#define IDS_SHORTCUTS_FULL          141
#define IDS_RESTART_NEEDED          142
#define IDS_KEY_ACCESS              143
#define IDS_LOGOFF                  144
#define IDS_COMPLETED               145
#define IDS_TYPE_REFUSED            146

// Icon and dialog templates
#define IDI_SETUP                   256
#define IDD_DESTINATION             257
#define IDD_PROGRESS                259
#define IDD_RESTART                 260
#define IDD_FILE_TYPES              261
#define IDD_UPGRADE                 262
// Not IDI_WARNING: the system headers use that name for their own warning icon.
#define IDI_UPGRADE_WARNING         263
#define IDC_HAND_CURSOR             264

// Destination dialog controls
#define IDC_BROWSE                  1024
#define IDC_FOLDER                  1025
#define IDC_MESSAGE                 1032

// Progress dialog controls
#define IDC_PROGRESS_BAR            1027
#define IDC_PERCENT                 1028
#define IDC_FILE_TEXT               1029

// Upgrade-needed dialog controls
#define IDC_DOWNLOAD_LINK           1010

// File types dialog controls
#define IDC_TYPES                   258

// Restart dialog controls: the radio group in this order
#define IDC_RESTART_NOW             1030
#define IDC_RESTART_LATER           1031

#endif
