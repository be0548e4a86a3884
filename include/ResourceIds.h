// Numbers of the resources in the desktop client's resource library
// (qksjres.dll) and the help module's (qkres.dll). The .rc files and the code
// both take them from here, so a number is written once. Plain #defines only:
// the resource compiler reads this file too.
#pragma once

// --- Icons ---------------------------------------------------------------
#define IDI_APP                   102    // the main frame's window class
#define IDI_FRAME                 166    // the frame's own big and small icons, the error dialog's icon
#define IDI_TRAY_SIGNED_IN        246
#define IDI_TRAY_SIGNED_OUT       428
#define IDI_SKIN_CAPTION          31002  // the skin's caption icon

// --- Menus and accelerators ----------------------------------------------
#define IDR_COMMAND_BAR           102    // menu of the command bar; also the frame's accelerators
#define IDR_TRAY_MENU             116
#define IDR_ITEM_MENU             130    // a meeting item's context menu

// --- Commands ------------------------------------------------------------
#define ID_MEETING_START          40001
#define ID_MEETING_SCHEDULE       40002
#define ID_MEETING_REFRESH        40003
#define ID_MEETING_VIEW_ALL       40004
#define ID_ACCOUNT_SETTINGS       40005
#define ID_AUDIO_VIDEO_TEST       40006
#define ID_APP_ABOUT_QK           40008
#define ID_TRAY_SIGN_IN           40009
#define ID_ACCOUNT_DETAILS        40013
#define ID_GO_TO_SITE             40014
#define ID_APP_EXIT_QK            40017
#define ID_ITEM_EDIT              40018
#define ID_ITEM_OPEN_INFO         40020
#define ID_TRAY_OPEN              40021
#define ID_ITEM_ADD_TO_CALENDAR   40024
#define ID_ITEM_VIEW_DETAILS      40026
#define ID_ACCOUNT_SIGN_OUT       40027
#define ID_ACCOUNT_SWITCH         40028
#define ID_CONNECT_TO_COMPUTER    40030
#define ID_MEETING_PERSONAL_CONF  40032
#define ID_HELP_QK                57670

// --- Dialog templates ----------------------------------------------------
#define IDD_ITEM_TALL             122    // a meeting on now or within the hour
#define IDD_DATE_STRIP            123
#define IDD_ITEM_NORMAL           124
#define IDD_LIST_VIEW             131
#define IDD_MEETING_PASSWORD      270
#define IDD_EMPTY_VIEW            276
#define IDD_PHONE_CONNECTION      327    // the messaging connection's hidden window
#define IDD_PHONE_START_CONFIRM   356
#define IDD_PHONE_JOIN_CONFIRM    359
#define IDD_PASSWORD_REFUSED      1112

// --- Controls ------------------------------------------------------------
// The phone's confirmation dialogs (start and join).
#define IDC_CONFIRM_ALWAYS        1008
#define IDC_CONFIRM_BOTTOM_TEXT   1009
#define IDC_CONFIRM_TOPIC         1155
// Meeting items (ordinary and tall).
#define IDC_ITEM_START_TIME       1029
#define IDC_ITEM_TOPIC            1031
#define IDC_ITEM_BUTTON           1033
#define IDC_ITEM_HOST_LINE        1034
#define IDC_ITEM_STATUS           1035
#define IDC_ITEM_SPARE_1          1057   // spare captions the item keeps hidden
#define IDC_ITEM_SPARE_2          1058
#define IDC_ITEM_SPARE_3          1059
#define IDC_ITEM_RECORDING        1069
// Date strip.
#define IDC_DATE_PREVIOUS         1037
#define IDC_DATE_NEXT             1038
#define IDC_DATE_TEXT             1039   // spare text whose tooltip is its own text
#define IDC_DATE_LABEL            1040
// Empty view.
#define IDC_EMPTY_HINT            1071
#define IDC_EMPTY_LINK            1072
// Meeting password and refused-password dialogs.
#define IDC_PASSWORD_EDIT         1122
#define IDC_PASSWORD_PROMPT       1134
#define IDC_REFUSED_MESSAGE       1156

// --- Bitmaps of the skin ---------------------------------------------------
#define IDB_CAPTION_BUTTONS       104
#define IDB_BORDER_BOTTOM         105
#define IDB_BORDER_RIGHT          106
#define IDB_BORDER_TOP            107
#define IDB_BORDER_LEFT           108
#define IDB_SHADOW_BODY           251
#define IDB_SHADOW_TAIL           252
#define IDB_BUTTON_DISABLED       313
#define IDB_BUTTON_PUSHED         314
#define IDB_BUTTON_HOT            315
#define IDB_BUTTON_NORMAL         317

// --- Pictures (type "IMAGE") ---------------------------------------------
#define IDIMG_COMMAND_SETTINGS            143
#define IDIMG_COMMAND_HELP                144
#define IDIMG_COMMAND_AUDIO_VIDEO         145
#define IDIMG_RECORDING_INDICATOR         148
#define IDIMG_REFRESH                     149
#define IDIMG_DATE_PREVIOUS               150
#define IDIMG_DATE_NEXT                   151
#define IDIMG_SCROLL_UP                   173
#define IDIMG_SCROLL_UP_DISABLED          174
#define IDIMG_SCROLL_DOWN                 175
#define IDIMG_SCROLL_DOWN_DISABLED        176
#define IDIMG_MEETING_PRIMARY_NORMAL      179
#define IDIMG_MEETING_PRIMARY_PUSHED      180
#define IDIMG_MEETING_PRIMARY_HOT         181
#define IDIMG_MEETING_PRIMARY_DISABLED    182
#define IDIMG_MEETING_SECONDARY_NORMAL    183
#define IDIMG_MEETING_SECONDARY_HOT       184
#define IDIMG_MEETING_SECONDARY_PUSHED    185
#define IDIMG_MEETING_SECONDARY_DISABLED  186
#define IDIMG_IN_PROGRESS_MARK            216
#define IDIMG_COMMAND_EDIT                228
#define IDIMG_START_MEETING               230
#define IDIMG_SCHEDULE_MEETING            239
#define IDIMG_HAS_RECORDING_MARK          259
#define IDIMG_SERVICE_RX_MARK             290
#define IDIMG_SERVICE_RY_MARK             291
#define IDIMG_RECURRING_MARK              292
// The refresh button's busy frames: twelve consecutive numbers.
#define IDIMG_BUSY_00                     410
#define IDIMG_BUSY_01                     411
#define IDIMG_BUSY_02                     412
#define IDIMG_BUSY_03                     413
#define IDIMG_BUSY_04                     414
#define IDIMG_BUSY_05                     415
#define IDIMG_BUSY_06                     416
#define IDIMG_BUSY_07                     417
#define IDIMG_BUSY_08                     418
#define IDIMG_BUSY_09                     419
#define IDIMG_BUSY_10                     420
#define IDIMG_BUSY_11                     421
#define IDIMG_BUSY_COUNT                  12
#define IDIMG_EXCEPTION_MARK              422
#define IDIMG_FILE_GENERIC                600
#define IDIMG_FILE_DOCUMENT               601
#define IDIMG_FILE_SPREADSHEET            602
#define IDIMG_FILE_PRESENTATION           603
#define IDIMG_FILE_PDF                    604
#define IDIMG_FILE_PICTURE                605
#define IDIMG_FILE_ARCHIVE                606
#define IDIMG_FILE_MEDIA                  607
#define IDIMG_TIP_CLOSE_NORMAL            610
#define IDIMG_TIP_CLOSE_HOT               611
#define IDIMG_TIP_CLOSE_PUSHED            612

// --- Strings ---------------------------------------------------------------
#define IDS_PHONE_PASSWORD_REFUSED        48
#define IDS_ITEM_RESTART                  49
#define IDS_PHONE_TOPIC_SUFFIX            50
#define IDS_PHONE_NO_TOPIC                51
#define IDS_SIGNED_IN_SITE_BALLOON        79
#define IDS_TOOLKIT_SETTING               111
#define IDS_BUBBLE_TIME                   61404
#define IDS_BUBBLE_HOST                   61407
#define IDS_BUBBLE_INVITEES               61408
#define IDS_BUBBLE_AGENDA                 61412
#define IDS_BUBBLE_FILES                  61413
#define IDS_BUBBLE_NO_INVITEES            61414
#define IDS_BUBBLE_RECURRENCE             61415
#define IDS_BUBBLE_EDIT                   61416
#define IDS_BUBBLE_VIEW                   61418
#define IDS_DURATION_ONE_HOUR             61449
#define IDS_DURATION_MINUTE               61450
#define IDS_ITEM_START                    61462
#define IDS_ITEM_JOIN                     61463
#define IDS_ITEM_IN_PROGRESS              61464
#define IDS_PAST_MEETING_TIP              61477
#define IDS_DURATION_HOURS                61481
#define IDS_DURATION_MINUTES              61482
#define IDS_LIST_REFRESH_TIP              61491
#define IDS_DATE_PREVIOUS_TIP             61494
#define IDS_DATE_NEXT_TIP                 61495
#define IDS_SCROLL_UP_TIP                 61496
#define IDS_SCROLL_DOWN_TIP               61497
#define IDS_ITEM_NOT_STARTED              61499
#define IDS_TRAY_SIGNED_OUT               61506
#define IDS_TRAY_UP_TO_DATE               61507
#define IDS_APP_TITLE                     61535
#define IDS_LIST_START_TIP                61573
#define IDS_LIST_SCHEDULE_TIP             61574
#define IDS_ITEM_RECORDING_TIP            61575
#define IDS_DATE_TODAY                    61608
#define IDS_DATE_TOMORROW                 61609
#define IDS_DATE_YESTERDAY                61610
#define IDS_AUTORUN_BALLOON               61625  // started with the system
#define IDS_TRAY_SYNCHRONISING            61627
#define IDS_SIGNED_IN_BALLOON             61645
#define IDS_DURATION_HOURS_MINUTES        61663
#define IDS_DURATION_ONE_HOUR_MINUTES     61664
#define IDS_DETAIL_TIME                   61665
// The skin's colours as "red,green,blue", in the skin manager's slot order.
#define IDS_SKIN_COLOR_TEXT               32120
#define IDS_SKIN_COLOR_GRAY_TEXT          32121
#define IDS_SKIN_COLOR_LINK               32122
#define IDS_SKIN_COLOR_LINK_HOT           32123
#define IDS_SKIN_COLOR_BORDER             32124
#define IDS_SKIN_COLOR_BACKGROUND         32125
#define IDS_SKIN_COLOR_SELECTION          32126

// --- The help module's library (qkres.dll) ---------------------------------
#define IDS_HELP_SITE_LANGUAGE            52
#define IDS_HELP_GENERAL                  1113
#define IDS_HELP_MEETINGS                 1114
#define IDS_HELP_SCHEDULING               1115
#define IDS_HELP_LANGUAGE                 1116
#define IDS_HELP_SETTINGS                 1117
