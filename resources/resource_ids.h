// Numeric ids of the program's resources (shared by the .rc script and the code).
#pragma once

#define IDI_MAIN 107       // main icon: browse window class icon
#define IDI_ALTERNATE 108  // alternate icon: second frame of the about box animation

// Browse window: menu 109 (also the accelerator table), pop-ups for a selection
// (106) and for the empty list (107).
#define IDR_BROWSE_MENU 109
#define IDR_BROWSE_ACCEL 109
#define IDR_ITEM_POPUP 106
#define IDR_BACKGROUND_POPUP 107

// Viewer window: menu 103, accelerators 102, pop-up menu 129.
#define IDR_VIEWER_MENU 103
#define IDR_VIEWER_ACCEL 102
#define IDR_VIEWER_POPUP 129

#define IDB_TOOLBAR 108        // 40 toolbar images of 16 x 16
#define IDB_ABOUT 112          // about box picture
#define IDB_POSITION_FIRST 2000  // print position pictures 2000..2008, row-major 3 x 3

#define IDC_PAN_HELD 101
#define IDC_PAN_READY 102
#define IDC_SELECT 103
#define IDC_SELECT_ADD 104

// About box and its controls.
#define IDD_ABOUT 100
#define IDC_ABOUT_VERSION 113
#define IDC_ABOUT_ICON 128
#define IDC_ABOUT_VISIT 1032
#define IDC_ABOUT_PRODUCT 1035
#define IDC_ABOUT_PICTURE 1036

// Notice before a slide show started from the browse window.
#define IDD_SLIDE_SHOW_NOTICE 113
#define IDC_NOTICE_ICON 1037
#define IDC_NOTICE_DONT_SHOW 1038

// Strings.
#define IDS_VERSION 101
#define IDS_PHOTO_COUNT 102
#define IDS_NO_BROWSE_WINDOW 200
#define IDS_NO_WEB_BROWSER 202
#define IDS_OVERVIEW_UNREADABLE 203
#define IDS_INFO_UNREADABLE 204
#define IDS_NO_DISC_FOUND 205
#define IDS_CANNOT_OPEN_IMAGE 206
#define IDS_COPY_FAILED 207
#define IDS_NO_DISC 208
#define IDS_PRODUCT_HOME_PAGE 500
#define IDS_MAKER_HOME_PAGE 501
#define IDS_COPY_IMAGE_FAILED 1005
#define IDS_COPY_CAPTION 1117
#define IDS_COPYING 1118

// ---- Export option dialogs and the progress window (export_dialogs.rc) ----
#define IDD_PROGRESS 503             // progress window
#define IDC_PROGRESS_TEXT 507        // its text line
#define IDC_PROGRESS_BAR 520         // its progress bar

#define IDC_RESET_ALL 3              // "Reset all" in both option dialogs
#define IDC_SAVE_AS_DEFAULTS 530     // "Save these settings as the defaults", both dialogs

#define IDD_JPEG_OPTIONS 507
#define IDC_JPEG_QUALITY_SLIDER 522
#define IDC_JPEG_QUALITY 523         // quality field, buddy of the spin
#define IDC_JPEG_QUALITY_SPIN 524
#define IDC_JPEG_OPTIMIZE 525
#define IDC_JPEG_PROGRESSIVE 526
#define IDC_JPEG_SAMPLING 527
#define IDC_JPEG_SMOOTHING 528       // smoothing field, buddy of the spin
#define IDC_JPEG_SMOOTHING_SPIN 529

#define IDD_TIFF_OPTIONS 511
#define IDC_TIFF_NONE 540            // compression buttons 540..545 in index order
#define IDC_TIFF_CCITT3 541
#define IDC_TIFF_CCITT4 542
#define IDC_TIFF_LZW 543
#define IDC_TIFF_DEFLATE 544
#define IDC_TIFF_JPEG 545
#define IDC_TIFF_DPI_X 546
#define IDC_TIFF_DPI_Y 547

#define IDS_SAMPLING_NONE 6400       // "YUV 111 (None)"
#define IDS_SAMPLING_DEFAULT 6401    // "YUV 122 (Default)"
// ---- end of export option dialogs ----
