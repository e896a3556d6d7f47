// Resource identifiers shared by morrowby.rc and the code. The numbers are fixed:
// stored settings, tests and the menus all rely on them.
#pragma once

// Icons
#define IDI_MORROWBY 129 // the program's icon, also the unlocked tray icon
#define IDI_LOCKED 131   // the tray icon while locked

// Bitmaps
#define IDB_SPLASH 130  // the splash at 100 % display scale
#define IDB_PADLOCK 147 // the padlock at 100 %
#define IDB_EYE 178

// Artwork for the other display scales, as PNG resources (resource type
// "PNG"). An id is its picture's base plus the scale in percent, so
// IDPNG_SPLASH + 150 is the splash drawn for 150 %. The splash and the padlock
// at 100 % are the bitmaps above; the moon has every scale here.
#define IDPNG_SPLASH 2000
#define IDPNG_PADLOCK 3000
#define IDPNG_MOON 4000 // the padlock's size, for the last minute of a viewing-time limit
#define IDPNG_SPLASH_125 2125
#define IDPNG_SPLASH_150 2150
#define IDPNG_SPLASH_175 2175
#define IDPNG_SPLASH_200 2200
#define IDPNG_PADLOCK_125 3125
#define IDPNG_PADLOCK_150 3150
#define IDPNG_PADLOCK_175 3175
#define IDPNG_PADLOCK_200 3200
#define IDPNG_MOON_100 4100
#define IDPNG_MOON_125 4125
#define IDPNG_MOON_150 4150
#define IDPNG_MOON_175 4175
#define IDPNG_MOON_200 4200

// Menus and accelerators
#define IDR_MAINMENU 109 // class menu of the hidden main window; also the accelerator table
#define IDR_TRAYMENU 143 // tray popup menu; also the tray icon id

// Dialogs
#define IDD_SETTINGS 141
#define IDD_UNLOCKWORD 142

// String table
#define IDS_APP_TITLE 103
#define IDS_ENABLE_BLUE 105
#define IDS_DISABLE_BLUE 106
#define IDS_UNLOCK_ITEM 107
#define IDS_MAIN_CLASS 109
#define IDS_LOCK_ITEM 111
#define IDS_LOCK_TIP 132
#define IDS_UNLOCK_TIP 133

// Every other text the program shows, whole sentences; a %s or %d is filled
// in by FormatText (win/string_table.h).
// Splash status lines and the splash's version line
#define IDS_ALREADY_RUNNING 200     // "%s is already running", the product name filled in
#define IDS_STARTING 201            // "Starting application..."
#define IDS_MINIMIZING 202          // "Minimizing to system tray"
#define IDS_SETTINGS_UNREADABLE 203 // "SETTINGS: The software can't read the settings registry"
#define IDS_VERSION_LINE 204        // "Version %s", the version's numbers filled in
// The splash's error boxes
#define IDS_ERROR_CAPTION 210
#define IDS_REGISTER_CLASS_FAILED 211 // "... error %d"
#define IDS_CREATE_WINDOW_FAILED 212  // "... error %d"
// Tray balloons of the lock
#define IDS_BALLOON_TEN_SECONDS 220
#define IDS_BALLOON_FIVE_SECONDS 221
#define IDS_BALLOON_LOCKED 222
#define IDS_BALLOON_NO_OPTIONS 223
// Message boxes of the settings dialog and the unlock word prompt
#define IDS_UNLOCK_WORD_CHECK 230 // caption of both unlock word boxes
#define IDS_WORD_MISMATCH 231
#define IDS_WORDS_DIFFER 232
#define IDS_RESTART_CAPTION 233
#define IDS_RESTART_NEEDED 234
// The settings dialog's blue light modes, in the list's order
#define IDS_BLUE_ALWAYS 240
#define IDS_BLUE_MENU 241
#define IDS_BLUE_WITH_SHIELD 242
// The viewing-time limit: the settings dialog's two lists, item by item, in
// list order (each item a whole phrase, so each translates on its own)...
#define IDS_VIEWING_OFF 300
#define IDS_VIEWING_5 301
#define IDS_VIEWING_10 302
#define IDS_VIEWING_15 303
#define IDS_VIEWING_20 304
#define IDS_VIEWING_30 305
#define IDS_VIEWING_45 306
#define IDS_VIEWING_60 307
#define IDS_VIEWING_90 308
#define IDS_VIEWING_120 309
#define IDS_FINISH_OFF 310
#define IDS_FINISH_2 311
#define IDS_FINISH_5 312
#define IDS_FINISH_10 313
#define IDS_FINISH_15 314
// ...and what the tray shows while a lock has one (%d: minutes).
#define IDS_LIMIT_BALLOON 320       // the lock balloon's second line
#define IDS_LIMIT_TIP_LEFT 321      // the tooltip's second line before the limit
#define IDS_LIMIT_TIP_FINISHING 322 // past the limit, while the video finishes
#define IDS_LIMIT_TIP_OVER 323      // once the viewing has been stopped

#define IDS_UNLOCK_WORD_HINT 250 // the settings dialog's word field, while it is empty

// Menu commands
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_LOCK 106
#define IDM_SETTINGS 32780
#define IDM_BLUELIGHT 32781

// Settings dialog controls
#define IDC_PASSWORD 1000
#define IDC_PASSWORD_AGAIN 1001
#define IDC_TOUCH_SHIELD 1002
#define IDC_YOUTUBE_COUNT 1004
#define IDC_BLUE_MODE 1005
#define IDC_YOUTUBE_MAX 1007
#define IDC_PROMPT 1008
#define IDC_DISABLE_KEYBOARD 1009
#define IDC_LOCK_AT_STARTUP 1010
#define IDC_DISABLE_MOUSE 1011
#define IDC_BLUE_LIGHT 1012
#define IDC_GREEN_GAMMA 1054
#define IDC_REVEAL_EYE 1059
#define IDC_LESS_LABEL 1063
#define IDC_MORE_LABEL 1064
#define IDC_VIEWING_MINUTES 1065 // the viewing-time limit (Limits key, ViewingMinutes)
#define IDC_FINISH_VIDEO 1066    // the minutes a video may finish in (FinishVideoMinutes)

// Unlock word prompt controls
#define IDC_UNLOCK_WORD 1013

// The version record and the manifest use the standard ids 1 and VS_VERSION_INFO.
